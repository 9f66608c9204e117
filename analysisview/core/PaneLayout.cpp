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
    const int base = band >= 0 && band < 27 ? sampleRate / (1 << (band + 4)) : 0;
    char upper[32];
    char lower[32];
    std::snprintf(upper, sizeof upper, "%.1fHz", 2.0 * base);
    std::snprintf(lower, sizeof lower, "%.1fHz", 1.0 * base);
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
