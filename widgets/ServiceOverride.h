#pragma once

#include <utility>

namespace corvane::widgets {

// A service the windows reach through one process-wide slot (the message boxes, the color and
// file choosers, the link opener): the program's own implementation, or one a test installed so
// that it can answer without a screen or a modal loop. An override installs a replacement for its
// lifetime and then puts the previous one back; the replacement must outlive it.
//
// The slot is one per process because what stands behind it is: the one QApplication's modal
// boxes and choosers, the desktop's web browser. It holds no program state, only the way to reach
// the user, so that the windows need not pass it through every constructor.
//
// Each service defines `slot()` beside its program implementation, and declares that
// specialization in its header. UI thread only.
template<class Service>
class ServiceOverride
{
public:
    explicit ServiceOverride(Service &replacement)
        : m_previous(std::exchange(slot(), &replacement))
    {
    }
    ~ServiceOverride() { slot() = m_previous; }
    ServiceOverride(const ServiceOverride &) = delete;
    ServiceOverride &operator=(const ServiceOverride &) = delete;

    // The service in use now.
    static Service &current() { return *slot(); }

private:
    static Service *&slot();

    Service *m_previous;
};

} // namespace corvane::widgets
