#pragma once

#include <cstdint>

namespace corvane {

// The stretch of blocks the user selects with the mouse: [start, end), start <= end.
//
// A press without Shift puts the anchor on the pressed block; with Shift the selection runs from
// the anchor already set to the pressed block, so a selection can be extended. Moving the mouse
// while pressed carries the free end along. A release that leaves start == end (a click) clears
// the selection. A plain value: user-interface thread, never allocates.
class BlockSelection
{
public:
    void press(int32_t block, bool shift) noexcept;
    void move(int32_t block) noexcept;
    void release() noexcept;
    void clear() noexcept;

    bool selecting() const noexcept { return m_selecting; }
    bool empty() const noexcept { return m_end <= m_start; }
    int32_t start() const noexcept { return m_start; }
    int32_t end() const noexcept { return m_end; }
    int32_t anchor() const noexcept { return m_anchor; }

private:
    void order() noexcept;

    int32_t m_anchor = 0;
    int32_t m_current = 0;
    int32_t m_start = 0;
    int32_t m_end = 0;
    bool m_selecting = false;
};

} // namespace corvane
