#pragma once

#include "LogPrintout.h"
#include "PracticeCharts.h"

#include <QFont>

#include <cstddef>
#include <cstdint>

class QPainter;
class QPaintDevice;
class QPrinter;

namespace corvane {

class ProgramState;
struct PracticeClocks;

// One print job of the practice log on one device (a printer, the print preview's printer, a
// PDF): the two fonts sized for the device, the page layout measured with them, and the pages
// of a snapshot of the log. Printing, the preview and the tests all draw through render().
//
// UI thread only. The job holds its own copy of the log; the device must outlive it.
class LogPrintJob
{
public:
    // The title font is a 14-point sans serif, the body a 10-point fixed-pitch font, so that the
    // statistics' columns line up.
    // `damagedLines`: the lines loading skipped, said on page 1. `figures` and `current` (the run
    // in progress, by pitch class from C) feed the chart of each note's mean deviation.
    LogPrintJob(QPaintDevice &device, PracticeLog log, std::int64_t runStart, std::int64_t now,
                std::uint32_t options, std::size_t damagedLines = 0,
                const IntonationLog &figures = {}, const IntonationStatistics *current = nullptr);

    // The program's job at this moment: the log file of the program's data folder behind the
    // run of `clocks`, with the print options of its settings.
    static LogPrintJob ofProgram(QPaintDevice &device, const PracticeClocks &clocks,
                                 const ProgramState &program);

    int pageCount() const noexcept { return m_printout.pageCount(); }
    const LogPrintout &printout() const noexcept { return m_printout; }
    const TimeChart &sevenDays() const noexcept { return m_sevenDays; }
    const TimeChart &thirtyDays() const noexcept { return m_thirtyDays; }
    const DriftChart &drift() const noexcept { return m_drift; }

    // Draws page `page` (1-based) with `painter`, which paints on this job's device.
    void render(QPainter &painter, int page) const;

    // Prints the pages the printer's range asks for (all of them when it names none), a new
    // sheet for each. False when the printer cannot be painted on.
    bool print(QPrinter &printer) const;

private:
    static LogDeviceMetrics Measure(QPaintDevice &device, const QFont &body, const QFont &title);

    QFont m_body;
    QFont m_title;
    // The charts before the printout, which takes the log over.
    TimeChart m_sevenDays;
    TimeChart m_thirtyDays;
    DriftChart m_drift;
    LogPrintout m_printout;
};

} // namespace corvane
