#pragma once

// What the practice log's tests share: the log file of the test's working folder as text, and
// a run whose clock stands still.

#include "ActiveTimeCounter.h"
#include "PracticeLogFile.h"
#include "RunClock.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

namespace corvane::test {

inline std::string readLogFile()
{
    std::ifstream in(kPracticeLogFileName, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void writeLogFile(const std::string &text)
{
    std::ofstream(kPracticeLogFileName, std::ios::binary) << text;
}

// A run that started at `start`, has lasted `seconds` and was active for `activeTicks` ticks; its
// clock stands still until the test moves `now`.
struct FakeRun
{
    explicit FakeRun(std::int64_t start, std::int64_t seconds = 0, int activeTicks = 0)
        : now(start)
        , clock([this] { return now; })
    {
        now += seconds;
        for (int i = 0; i < activeTicks; ++i)
            counter.tick(true);
    }
    std::int64_t now;
    RunClock clock;
    ActiveTimeCounter counter { 0 };
};

} // namespace corvane::test
