#include "BlockSelection.h"

#include <algorithm>

namespace corvane {

void BlockSelection::press(int32_t block, bool shift) noexcept
{
    m_selecting = true;
    if (!shift)
        m_anchor = block;
    m_current = block;
    order();
}

void BlockSelection::move(int32_t block) noexcept
{
    if (!m_selecting)
        return;
    m_current = block;
    order();
}

void BlockSelection::release() noexcept
{
    if (!m_selecting)
        return;
    m_selecting = false;
    if (m_start == m_end)
        clear();
}

void BlockSelection::clear() noexcept
{
    *this = BlockSelection {};
}

void BlockSelection::order() noexcept
{
    m_start = std::min(m_anchor, m_current);
    m_end = std::max(m_anchor, m_current);
}

} // namespace corvane
