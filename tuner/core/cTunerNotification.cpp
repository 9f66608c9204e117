#include "cTunerNotification.h"

namespace corvane::tuner {

void cTunerNotification::notify()
{
    m_tuner->ProcessCapturedBlock();
}

} // namespace corvane::tuner
