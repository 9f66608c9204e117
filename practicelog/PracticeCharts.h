#pragma once

#include "IntonationLogRecord.h"
#include "LogRecord.h"

#include <cstdint>
#include <string>
#include <vector>

namespace corvane {

// What the practice log's charts show, decided without drawing, so that the screen, the print
// preview, the printer and a PDF draw the very same bars and points from it. Pure; allocates.

// One day's bar pair: the seconds the tuner was active and the seconds the program ran.
struct DayBar
{
    std::string label; // "Mon" for a week, the day of the month for longer spans
    std::int64_t activeSeconds = 0;
    std::int64_t elapsedSeconds = 0;
};

// Active and elapsed time of each of the last `days` local days, the oldest on the left and
// today (the run's own day) on the right; the scale runs from 0 to `topSeconds` in steps of
// `stepSeconds`, a round time that leaves the tallest bar inside.
struct TimeChart
{
    std::vector<DayBar> bars;
    std::int64_t topSeconds = 0;
    std::int64_t stepSeconds = 0;
};

TimeChart DailyTimeChart(const PracticeLog &log, std::int64_t runStart, int days);

// One note's mean deviation on the days it was played.
struct DriftPoint
{
    int day = 0;          // 0 = the oldest day of the span, days - 1 = today
    double meanCents = 0; // positive = sharp
    long count = 0;
};

struct DriftSeries
{
    int pitchClass = 0; // 0 = C
    std::string name;   // "F#", as PitchClassName spells it
    std::vector<DriftPoint> points;
};

// Each note's mean deviation per day over the last `days` days (the figures of a day's runs
// merged), for the notes heard on at least one of them; the scale is symmetric around 0, from
// -topCents to +topCents, at least 10 cents and a multiple of 5 that leaves every point inside.
struct DriftChart
{
    int days = 0;
    double topCents = 10.0;
    std::vector<std::string> dayLabels; // as in TimeChart, oldest first
    std::vector<DriftSeries> series;
};

// `figures`: the log's intonation lines (LoadPracticeLog); `current`: the figures of the run in
// progress by pitch class from C, not yet in the file, counted for today.
DriftChart DeviationDriftChart(const IntonationLog &figures, std::int64_t runStart, int days,
                               const IntonationStatistics *current = nullptr);

} // namespace corvane
