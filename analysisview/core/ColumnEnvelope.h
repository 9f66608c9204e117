#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace corvane {

// The lowest and highest value of a stretch of a signal that falls on one pixel column; empty
// where the column lies before the signal's start or past its end.
struct ColumnRange
{
    float low = 0.0f;
    float high = 0.0f;
    bool empty = true;
};

// The min/max envelope the wave and band panes draw: column c covers the values
// [start + c * perColumn, start + (c + 1) * perColumn) of a signal of `count` values, and at
// least the one value its start falls on when perColumn < 1 (a zoom finer than the signal).
// `start` may be negative: columns before value 0 are empty, as are those past the end.
//
// So that a wide zoom on a long recording stays quick, at most `maxReads` values, evenly spread,
// are read per column; a column with fewer values reads every one of them.
//
// `at(int64_t)` returns the value at an index 0 .. count - 1 (a PagedFloatReader, or a vector in
// tests). Allocates the result.
template<class At>
std::vector<ColumnRange> columnEnvelope(At &&at, int64_t count, double start, double perColumn,
                                        int columns, int maxReads = 256)
{
    std::vector<ColumnRange> out(static_cast<std::size_t>(std::max(columns, 0)));
    if (!(perColumn > 0.0) || count <= 0)
        return out;
    for (int c = 0; c < columns; ++c) {
        const double from = start + c * perColumn;
        auto first = static_cast<int64_t>(std::floor(from));
        auto last = std::max(first + 1, static_cast<int64_t>(std::floor(from + perColumn)));
        if (last <= 0)
            continue;
        if (first >= count)
            break;
        first = std::max<int64_t>(first, 0);
        last = std::min(last, count);
        const int64_t span = last - first;
        const int64_t step = std::max<int64_t>(1, span / std::max(maxReads, 1));
        ColumnRange &range = out[static_cast<std::size_t>(c)];
        range.low = range.high = static_cast<float>(at(first));
        range.empty = false;
        for (int64_t i = first + step; i < last; i += step) {
            const float v = static_cast<float>(at(i));
            range.low = std::min(range.low, v);
            range.high = std::max(range.high, v);
        }
    }
    return out;
}

} // namespace corvane
