#pragma once

#include "TunerBlockHandler.h"
#include "cNotification.h"

namespace corvane::tuner {

// Handed to the audio facade for capture. The tuner owns it and must stop the devices before
// destroying it or itself: notify() runs on the capture thread and calls straight into the tuner.
class cTunerNotification final : public audio::cNotification
{
public:
    explicit cTunerNotification(TunerBlockHandler &tuner) noexcept
        : m_tuner(&tuner)
    {
    }
    void notify() override;

private:
    TunerBlockHandler *m_tuner; // not owned; outlives this object
};

} // namespace corvane::tuner
