#include "SampleList.h"

namespace corvane {

CSample &SampleList::append()
{
    CSample *last = m_samples.empty() ? nullptr : &m_samples.back();
    CSample &sample = m_samples.emplace_back();
    if (last) {
        last->m_next = &sample;
        sample.m_previous = last;
    }
    return sample;
}

} // namespace corvane
