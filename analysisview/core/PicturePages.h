#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvane {

// Which part of the recording a picture (PNG or PDF) shows.
enum class PictureRange {
    Visible,   // what the panes show now
    Whole,     // the recording from its start to its end
    Selection, // the selected blocks (the whole recording when nothing is selected)
};

// One page of a picture that runs over several: blocks first .. first + count - 1.
struct PageSpan
{
    int32_t first = 0;
    int32_t count = 0;
};

// How a picture of a stretch of the recording is cut into pages, and what each page says of
// itself. Plain functions; they allocate their results.
class PicturePages
{
public:
    // The pages of blocks [first, end), `perPage` blocks to a page (at least 1). The first
    // page starts on a multiple of `align` (the blocks a pixel column holds, zoomed out) at or
    // before `first`, so that each page's columns hold the same blocks as on screen; the last
    // page holds what is left. None when the stretch is empty.
    static std::vector<PageSpan> pages(int32_t first, int32_t end, int32_t perPage,
                                       int32_t align = 1);

    // "melody.wav   0:00 to 0:42   page 1 of 3": the file, the page's time range
    // (seconds from the recording's start) and its number.
    static std::string caption(const std::string &fileName, double from, double to, int page,
                               int pageCount);
};

} // namespace corvane
