#include "PicturePages.h"

#include "TimeRuler.h"

#include <algorithm>

namespace corvane {

std::vector<PageSpan> PicturePages::pages(int32_t first, int32_t end, int32_t perPage,
                                          int32_t align)
{
    std::vector<PageSpan> out;
    align = std::max(align, 1);
    perPage = std::max(perPage, 1);
    first = std::max(first, 0);
    if (end <= first)
        return out;
    // A page of whole columns, so that no column is split between two pages.
    perPage = std::max(perPage / align * align, align);
    for (int64_t at = first - first % align; at < end; at += perPage) {
        const auto count = static_cast<int32_t>(std::min<int64_t>(perPage, end - at));
        out.push_back({ static_cast<int32_t>(at), count });
    }
    return out;
}

std::string PicturePages::caption(const std::string &fileName, double from, double to, int page,
                                  int pageCount)
{
    return fileName + "   " + TimeRuler::clockLabel(from, 1) + " to " + TimeRuler::clockLabel(to, 1)
            + "   page " + std::to_string(page) + " of " + std::to_string(pageCount);
}

} // namespace corvane
