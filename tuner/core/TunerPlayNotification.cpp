#include "TunerPlayNotification.h"

namespace corvane::tuner {

void TunerPlayNotification::notify()
{
    m_tuner->GeneratePlayBlock();
}

} // namespace corvane::tuner
