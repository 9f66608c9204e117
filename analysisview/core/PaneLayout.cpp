#include "PaneLayout.h"

#include <cstdio>

namespace corvane {

int PaneLayout::heightOf(PaneKind kind) noexcept
{
    switch (kind) {
    case PaneKind::Notes:
        return 120;
    case PaneKind::Bands:
        return 490;
    default:
        return 100;
    }
}

uint32_t PaneLayout::bitOf(PaneKind kind) noexcept
{
    return 1u << static_cast<unsigned>(kind);
}

std::pair<std::string, std::string> PaneLayout::bandLabels(int sampleRate, int band)
{
    auto base = [sampleRate](int b) { return b >= 0 && b < 27 ? sampleRate / (1 << (b + 4)) : 0; };
    // A band's top is the band above's bottom, and both read the same: twice this band's whole
    // base would be one less where the rate does not halve evenly (688 under 689 at 11025 Hz).
    const int top = band == 0 ? 2 * base(0) : base(band - 1);
    char upper[32];
    char lower[32];
    std::snprintf(upper, sizeof upper, "%.1fHz", 1.0 * top);
    std::snprintf(lower, sizeof lower, "%.1fHz", 1.0 * base(band));
    return { upper, lower };
}

PaneLayout::PaneLayout(uint32_t bits)
    : m_bits(bits)
{
    for (PaneKind kind : { PaneKind::Notes, PaneKind::Intonation, PaneKind::Volume, PaneKind::Wave,
                           PaneKind::Bands }) {
        if ((bits & bitOf(kind)) == 0)
            continue;
        m_panes.push_back({ kind, m_totalHeight, heightOf(kind) });
        m_totalHeight += heightOf(kind);
    }
}

} // namespace corvane
