#include "PracticeLogFile.h"

#include "LineAppender.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
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

bool IsPlausibleRun(const LogRecord &record) noexcept
{
    constexpr std::int64_t kLatest = 253'402'300'799; // 9999-12-31 23:59:59 UTC
    constexpr std::int64_t kLongestRun = 366 * 86'400;
    if (record.start < 0 || record.end < record.start || record.end > kLatest)
        return false;
    const std::int64_t elapsed = record.end - record.start;
    return elapsed <= kLongestRun && record.active >= 0
            && record.active <= elapsed + 5 + elapsed / 100;
}

std::string AppendPracticeLogLine(const RunClock &clock, const ActiveTimeCounter &counter,
                                  const FileFault &fault, const std::filesystem::path &path)
{
    const LogRecord run = CurrentRunRecord(clock, counter);
    bool unended = false;
    if (FilePtr file { std::fopen(path.c_str(), "rb") }) {
        // Only another writer (or an older build) leaves a line unended; ours go whole.
        unended = std::fseek(file.get(), -1, SEEK_END) == 0 && std::fgetc(file.get()) != '\n';
    }
    char line[1 + 3 * 21 + 3];
    std::snprintf(line, sizeof line, "%s%lld %lld %lld", unended ? "\n" : "",
                  static_cast<long long>(run.start), static_cast<long long>(run.end),
                  static_cast<long long>(run.active));
    std::error_code ignored;
    return appendWholeLine(std::filesystem::absolute(path, ignored), line, fault);
}

std::size_t LoadPracticeLog(PracticeLog &log, const RunClock &clock,
                            const ActiveTimeCounter &counter, IntonationLog *intonation,
                            const std::filesystem::path &path)
{
    log.clear();
    if (intonation)
        intonation->clear();
    std::size_t damaged = 0;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        const auto record = ParsePracticeLogLine(line);
        if (record && IsPlausibleRun(*record))
            log.push_back(*record);
        else if (const auto figures = ParseIntonationLogLine(line)) {
            if (intonation)
                intonation->push_back(*figures);
        } else if (skipBlanks(line.data(), line.data() + line.size()) != line.data() + line.size())
            ++damaged;
    }
    // Newest first; lines of one start keep the later line first, as the file's order had it.
    std::reverse(log.begin(), log.end());
    std::stable_sort(log.begin(), log.end(),
                     [](const LogRecord &a, const LogRecord &b) { return a.start > b.start; });
    log.insert(log.begin(), CurrentRunRecord(clock, counter));
    return damaged;
}

std::string AppendIntonationLogLines(std::int64_t runStart,
                                     const IntonationStatistics &byPitchClass,
                                     const FileFault &fault, const std::filesystem::path &file)
{
    std::error_code ignored;
    const std::filesystem::path path = std::filesystem::absolute(file, ignored);
    for (const std::string &line : IntonationLogLines(runStart, byPitchClass)) {
        std::string failure = appendWholeLine(path, line, fault);
        if (!failure.empty())
            return failure;
    }
    return {};
}

std::string DamagedLinesText(std::size_t count)
{
    if (count == 0)
        return {};
    return std::to_string(count)
            + (count == 1 ? " damaged line was skipped" : " damaged lines were skipped");
}

bool ClearPracticeLog(const std::filesystem::path &path)
{
    return std::remove(path.c_str()) == 0;
}

} // namespace corvane
