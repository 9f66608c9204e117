#pragma once

#include <cstdint>

namespace corvane {

// What the printed practice log shows, as the bit set the settings record keeps
// (CTCDefs::GetLogOptions). The three summaries are independent; of the three listings at most
// one is meant to be set, and where a stored set holds more, today's wins over seven days, which
// wins over the complete log.
namespace logoption {
    inline constexpr std::uint32_t kTodaySummary = 0x002;
    inline constexpr std::uint32_t kSevenDaySummary = 0x020;
    inline constexpr std::uint32_t kCompleteSummary = 0x200;
    inline constexpr std::uint32_t kTodayLog = 0x004;
    inline constexpr std::uint32_t kSevenDayLog = 0x040;
    inline constexpr std::uint32_t kCompleteLog = 0x400;
    inline constexpr std::uint32_t kListingBits = kTodayLog | kSevenDayLog | kCompleteLog;
    // A last page with the charts: active and elapsed time over seven and thirty days, and each
    // note's mean deviation over thirty.
    inline constexpr std::uint32_t kCharts = 0x800;
} // namespace logoption

// Which runs the printout lists.
enum class LogListing { None, Today, SevenDay, Complete };

// The listing a bit set selects, by the precedence above.
LogListing ListingOf(std::uint32_t options) noexcept;

// `options` with exactly the listing bit of `listing` (none for LogListing::None); the other
// bits are kept.
std::uint32_t WithListing(std::uint32_t options, LogListing listing) noexcept;

// `options` with its summaries toggled by `summaryBit` (one of the three summary bits).
inline std::uint32_t ToggledSummary(std::uint32_t options, std::uint32_t summaryBit) noexcept
{
    return options ^ summaryBit;
}

} // namespace corvane
