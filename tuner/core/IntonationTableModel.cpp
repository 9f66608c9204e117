#include "IntonationTableModel.h"

#include "PinwheelBoard.h"
#include "TunerWindowLayout.h"
#include "WheelTexts.h"

#include <cmath>
#include <cstdio>

namespace corvane::tuner {

namespace {

    std::string Format(const char *format, double value)
    {
        char text[32];
        std::snprintf(text, sizeof text, format, value);
        return text;
    }

    // One decimal, with the sign a player reads as the direction; a mean that rounds to zero is
    // "0.0", never "-0.0" or "+0.0".
    std::string SignedCents(double cents)
    {
        if (std::abs(cents) < 0.05)
            return "0.0";
        return Format("%+.1f", cents);
    }

} // namespace

std::array<IntonationTableRow, 12> IntonationTableRows(const PinwheelBoard &board)
{
    std::array<IntonationTableRow, 12> rows;
    int worst = -1;
    double worstMean = 0.0;
    for (int d = 0; d < 12; ++d) {
        const IntonationFigures &figures = board.intonation(d);
        IntonationTableRow &row = rows[std::size_t(d)];
        row.degree = std::string(board.wheel(d).name());
        row.count = std::to_string(figures.count);
        row.tip = IntonationTip(row.degree, figures);
        if (figures.count == 0)
            continue;
        row.mean = SignedCents(figures.meanCents);
        row.spread = Format("%.1f", figures.spreadCents());
        row.inTune = Format("%.0f%%", 100.0 * figures.inTuneShare());
        if (figures.count >= kWorstDegreeMinimumCount && std::abs(figures.meanCents) >= 0.05
            && std::abs(figures.meanCents) > worstMean) {
            worst = d;
            worstMean = std::abs(figures.meanCents);
        }
    }
    if (worst >= 0)
        rows[std::size_t(worst)].worst = true;
    return rows;
}

PixelRect IntonationTablePlace(const TunerWindowLayout &layout) noexcept
{
    // Under the readout as the expanded panel places it, whatever the panel shows now (the
    // collapsed panel and the large view put the readout elsewhere).
    TunerWindowLayout expanded = layout;
    expanded.setExpanded(true);
    expanded.setLarge(false);
    const PixelRect readout = expanded.rect(TunerControl::Readout);
    const int panelTop = layout.rect(TunerControl::PanelFrame).top;
    constexpr int kGap = 4;
    // Above its Reset button.
    return { readout.left, readout.bottom + kGap, layout.width() - 6,
             panelTop + TunerWindowLayout::kExpandedPanel - kGap - TunerWindowLayout::kResetHeight
                     - kGap };
}

} // namespace corvane::tuner
