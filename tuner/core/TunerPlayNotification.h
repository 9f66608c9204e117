#pragma once

#include "TunerBlockHandler.h"
#include "cNotification.h"

namespace corvane::tuner {

// Handed to the audio facade for playback; the same life as cTunerNotification.
class TunerPlayNotification final : public audio::cNotification
{
public:
    explicit TunerPlayNotification(TunerBlockHandler &tuner) noexcept
        : m_tuner(&tuner)
    {
    }
    void notify() override;

private:
    TunerBlockHandler *m_tuner; // not owned; outlives this object
};

} // namespace corvane::tuner
