// Any bytes as "corvlog.txt": loading keeps only runs the program could have written, newest
// first behind the current run, and the statistics the printed log shows can be computed from
// whatever was kept.

#include "FuzzFile.h"

#include "PracticeLogFile.h"
#include "PracticeLogStatistics.h"

#include <cstdlib>

using namespace corvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    fuzz::writeInput(kPracticeLogFileName, data, size);
    const RunClock clock([] { return std::int64_t { 1715850000 }; });
    const ActiveTimeCounter counter(1715850000);
    PracticeLog log;
    (void)LoadPracticeLog(log, clock, counter);
    if (log.empty())
        std::abort(); // the current run is always there
    for (std::size_t i = 1; i < log.size(); ++i) {
        if (!IsPlausibleRun(log[i]) || (i > 1 && log[i].start > log[i - 1].start))
            std::abort();
    }

    const std::int64_t runStart = clock.startTime();
    (void)TodayStatisticsLine(log, runStart);
    (void)SevenDayStatisticsLines(log, runStart);
    (void)CompleteStatisticsLines(log, runStart);
    for (const LogRecord &record : log)
        (void)RunLine(record);
    (void)CountRunsSince(log, CompleteCutoff(runStart));
    return 0;
}
