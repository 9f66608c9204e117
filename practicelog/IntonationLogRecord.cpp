#include "IntonationLogRecord.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace corvane {

namespace {

    constexpr std::array<std::string_view, 12> kNames = { "C",  "Db", "D",  "Eb", "E",  "F",
                                                          "F#", "G",  "Ab", "A",  "Bb", "B" };
    constexpr long kMostReadings = 99'999;
    constexpr long kMostTenths = 999;

    long Tenths(double cents) noexcept
    {
        const double tenths = std::round(cents * 10.0);
        return static_cast<long>(std::clamp(tenths, double(-kMostTenths), double(kMostTenths)));
    }

    // The words of a line, split at single blanks as the writer puts them.
    struct Words
    {
        std::string_view rest;

        std::optional<std::string_view> next() noexcept
        {
            if (rest.empty())
                return std::nullopt;
            const std::size_t blank = rest.find(' ');
            const std::string_view word = rest.substr(0, blank);
            rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
            if (word.empty())
                return std::nullopt;
            return word;
        }

        template<typename Integer>
        bool integer(Integer &value) noexcept
        {
            const auto word = next();
            if (!word)
                return false;
            const char *end = word->data() + word->size();
            const auto [p, error] = std::from_chars(word->data(), end, value);
            return error == std::errc() && p == end;
        }
    };

} // namespace

std::string_view PitchClassName(int pitchClass) noexcept
{
    return kNames[static_cast<std::size_t>(((pitchClass % 12) + 12) % 12)];
}

std::string FormatIntonationLogLine(const IntonationLogRecord &record)
{
    const IntonationFigures &f = record.figures;
    if (f.count <= 0)
        return {};
    long count = f.count;
    long inTune = std::clamp(f.inTune, 0L, f.count);
    if (count > kMostReadings) {
        // Over five hours on one note at five readings a second: the share is what matters.
        inTune = static_cast<long>(std::llround(double(inTune) * kMostReadings / double(count)));
        count = kMostReadings;
    }
    const long spread = std::min(Tenths(f.spreadCents()), kMostTenths);
    char line[96];
    std::snprintf(line, sizeof line, "%lld %lld 0 %s %ld %ld %ld %ld",
                  static_cast<long long>(record.runStart), static_cast<long long>(record.runStart),
                  PitchClassName(record.pitchClass).data(), count, Tenths(f.meanCents), spread,
                  inTune);
    return line;
}

std::optional<IntonationLogRecord> ParseIntonationLogLine(std::string_view line) noexcept
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    if (line.size() > kLongestLogLine)
        return std::nullopt;
    Words words { line };
    IntonationLogRecord record;
    std::int64_t end = -1;
    int active = -1;
    if (!words.integer(record.runStart) || !words.integer(end) || !words.integer(active)
        || record.runStart < 0 || end != record.runStart || active != 0)
        return std::nullopt;
    const auto name = words.next();
    const auto found = name ? std::find(kNames.begin(), kNames.end(), *name) : kNames.end();
    if (found == kNames.end())
        return std::nullopt;
    record.pitchClass = static_cast<int>(found - kNames.begin());
    long count = 0, mean = 0, spread = 0, inTune = 0;
    if (!words.integer(count) || !words.integer(mean) || !words.integer(spread)
        || !words.integer(inTune) || words.next())
        return std::nullopt;
    if (count < 1 || count > kMostReadings || std::abs(mean) > kMostTenths || spread < 0
        || spread > kMostTenths || inTune < 0 || inTune > count)
        return std::nullopt;
    const double spreadCents = double(spread) / 10.0;
    record.figures.count = count;
    record.figures.meanCents = double(mean) / 10.0;
    record.figures.sumOfSquares = spreadCents * spreadCents * double(count);
    record.figures.inTune = inTune;
    return record;
}

std::vector<std::string> IntonationLogLines(std::int64_t runStart,
                                            const IntonationStatistics &byPitchClass)
{
    std::vector<std::string> lines;
    for (int pc = 0; pc < IntonationStatistics::kDegrees; ++pc) {
        std::string line = FormatIntonationLogLine({ runStart, pc, byPitchClass.degree(pc) });
        if (!line.empty())
            lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace corvane
