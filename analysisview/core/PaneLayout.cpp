#include "PaneLayout.h"

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

PaneLayout::PaneLayout(uint32_t bits) : m_bits(bits)
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
