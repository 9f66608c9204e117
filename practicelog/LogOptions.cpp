#include "LogOptions.h"

namespace corvane {

LogListing ListingOf(std::uint32_t options) noexcept
{
    if (options & logoption::kTodayLog)
        return LogListing::Today;
    if (options & logoption::kSevenDayLog)
        return LogListing::SevenDay;
    if (options & logoption::kCompleteLog)
        return LogListing::Complete;
    return LogListing::None;
}

std::uint32_t WithListing(std::uint32_t options, LogListing listing) noexcept
{
    options &= ~logoption::kListingBits;
    switch (listing) {
    case LogListing::Today:
        return options | logoption::kTodayLog;
    case LogListing::SevenDay:
        return options | logoption::kSevenDayLog;
    case LogListing::Complete:
        return options | logoption::kCompleteLog;
    case LogListing::None:
        break;
    }
    return options;
}

} // namespace corvane
