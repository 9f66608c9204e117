#pragma once

#include "CSample.h"

#include <cstddef>
#include <deque>

namespace corvane {

// The samples of one analysis, one per block in time order. Appending never moves a sample, so
// pointers to samples (each sample holds its neighbors) stay valid until clear().
class SampleList
{
public:
    SampleList() = default;
    SampleList(const SampleList &) = delete;
    SampleList &operator=(const SampleList &) = delete;

    // Appends a default sample linked behind the last one. Allocates.
    CSample &append();
    void clear() noexcept { m_samples.clear(); }

    std::size_t size() const noexcept { return m_samples.size(); }
    bool empty() const noexcept { return m_samples.empty(); }
    // Null when empty.
    CSample *first() noexcept { return m_samples.empty() ? nullptr : &m_samples.front(); }
    const CSample *first() const noexcept
    {
        return m_samples.empty() ? nullptr : &m_samples.front();
    }

    CSample &operator[](std::size_t i) noexcept { return m_samples[i]; }
    const CSample &operator[](std::size_t i) const noexcept { return m_samples[i]; }

    auto begin() noexcept { return m_samples.begin(); }
    auto end() noexcept { return m_samples.end(); }
    auto begin() const noexcept { return m_samples.begin(); }
    auto end() const noexcept { return m_samples.end(); }

private:
    std::deque<CSample> m_samples;
};

} // namespace corvane
