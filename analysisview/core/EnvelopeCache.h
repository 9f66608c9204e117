#pragma once

#include "ColumnEnvelope.h"

#include <cstdint>
#include <vector>

namespace corvane {

// The column envelopes of one signal file as last painted, kept so that a scroll computes only
// the columns that came into view: at the widest zoom a column covers thousands of values, and
// reading them again for every paint is what would make scrolling a long recording stutter.
//
// Columns are numbered from the start of the recording: column k covers the values from
// base + k * perColumn on. A change of base, perColumn or the signal's length starts afresh;
// whoever replaces the file's contents calls clear(). User-interface thread; allocates.
class EnvelopeCache
{
public:
    // Columns first .. first + count - 1, read through `at` where not kept from the last call.
    template<class At>
    const std::vector<ColumnRange> &columns(At &&at, int64_t valueCount, double base,
                                            double perColumn, int64_t first, int count,
                                            int maxReads = 256)
    {
        if (valueCount != m_valueCount || base != m_base || perColumn != m_perColumn)
            clear();
        m_valueCount = valueCount;
        m_base = base;
        m_perColumn = perColumn;

        count = count < 0 ? 0 : count;
        const int64_t keptEnd = m_first + static_cast<int64_t>(m_columns.size());
        std::vector<ColumnRange> next(static_cast<std::size_t>(count));
        int64_t k = first;
        const int64_t end = first + count;
        while (k < end) {
            if (k >= m_first && k < keptEnd) {
                next[static_cast<std::size_t>(k - first)] =
                        m_columns[static_cast<std::size_t>(k - m_first)];
                ++k;
                continue;
            }
            // A run of columns not kept: up to the kept ones, or to the end.
            const int64_t runEnd =
                    (k < m_first && m_first < end && !m_columns.empty()) ? m_first : end;
            const auto run =
                    columnEnvelope(at, valueCount, base + static_cast<double>(k) * perColumn,
                                   perColumn, static_cast<int>(runEnd - k), maxReads);
            std::copy(run.begin(), run.end(), next.begin() + (k - first));
            k = runEnd;
        }
        m_columns = std::move(next);
        m_first = first;
        return m_columns;
    }

    void clear() noexcept
    {
        m_columns.clear();
        m_first = 0;
    }

private:
    int64_t m_valueCount = -1;
    double m_base = 0.0;
    double m_perColumn = 0.0;
    int64_t m_first = 0;
    std::vector<ColumnRange> m_columns;
};

} // namespace corvane
