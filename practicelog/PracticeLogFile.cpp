#include "PracticeLogFile.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

namespace corvane {

namespace {

    struct FileCloser
    {
        void operator()(std::FILE *file) const noexcept { std::fclose(file); }
    };
    using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

    bool isBlank(char c) noexcept
    {
        return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
    }

    const char *skipBlanks(const char *p, const char *end) noexcept
    {
        while (p != end && isBlank(*p))
            ++p;
        return p;
    }

    // Reads one optionally signed decimal integer after optional blanks; nullptr when there is none
    // or it does not fit in 64 bits.
    const char *readInteger(const char *p, const char *end, std::int64_t &value) noexcept
    {
        p = skipBlanks(p, end);
        const bool plus = p != end && *p == '+';
        if (plus)
            ++p;
        if (plus && p != end && *p == '-')
            return nullptr;
        const auto [next, error] = std::from_chars(p, end, value);
        return error == std::errc() ? next : nullptr;
    }

} // namespace

LogRecord CurrentRunRecord(const RunClock &clock, const ActiveTimeCounter &counter)
{
    return { clock.startTime(), clock.currentTime(), counter.wholeActiveSeconds() };
}

std::optional<LogRecord> ParsePracticeLogLine(std::string_view line) noexcept
{
    const char *p = line.data();
    const char *end = p + line.size();
    LogRecord record;
    for (std::int64_t *field : { &record.start, &record.end, &record.active }) {
        p = readInteger(p, end, *field);
        if (!p)
            return std::nullopt;
    }
    if (skipBlanks(p, end) != end)
        return std::nullopt;
    return record;
}

bool AppendPracticeLogLine(const RunClock &clock, const ActiveTimeCounter &counter)
{
    const LogRecord run = CurrentRunRecord(clock, counter);
    char line[3 * 21 + 3];
    std::snprintf(line, sizeof line, "%lld %lld %lld\n", static_cast<long long>(run.start),
                  static_cast<long long>(run.end), static_cast<long long>(run.active));

    FilePtr file { std::fopen(kPracticeLogFileName, "a+b") };
    if (!file)
        return false;
    const bool unfinished =
            std::fseek(file.get(), -1, SEEK_END) == 0 && std::fgetc(file.get()) != '\n';
    // Writes always go to the end of a file opened for appending; the seek only switches the
    // stream from reading to writing.
    std::fseek(file.get(), 0, SEEK_END);
    const bool written = (!unfinished || std::fputc('\n', file.get()) != EOF)
            && std::fputs(line, file.get()) != EOF;
    return std::fclose(file.release()) == 0 && written;
}

void LoadPracticeLog(PracticeLog &log, const RunClock &clock, const ActiveTimeCounter &counter)
{
    log.clear();
    std::ifstream in(kPracticeLogFileName, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (const auto record = ParsePracticeLogLine(line))
            log.push_back(*record);
    }
    log.push_back(CurrentRunRecord(clock, counter));
    std::reverse(log.begin(), log.end());
}

bool ClearPracticeLog()
{
    return std::remove(kPracticeLogFileName) == 0;
}

} // namespace corvane
