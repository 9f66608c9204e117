#include "TunerDialogs.h"

#include "MessageService.h"

namespace corvane::tuner {

namespace {

    bool SayUnavailable(QWidget *parent, const char *what)
    {
        widgets::messages().info(
                parent,
                QStringLiteral("%1\n%2").arg(QString::fromUtf8(what),
                                             QString::fromUtf8(UnavailableTunerDialogs::kMessage)));
        return false;
    }

} // namespace

bool UnavailableTunerDialogs::openSoundcard(QWidget *parent)
{
    return SayUnavailable(parent, "Sound card settings");
}

bool UnavailableTunerDialogs::openOptimize(QWidget *parent)
{
    return SayUnavailable(parent, "Optimize");
}

bool UnavailableTunerDialogs::openTranspose(QWidget *parent)
{
    return SayUnavailable(parent, "Transpose");
}

bool UnavailableTunerDialogs::openPitchConfig(QWidget *parent, int)
{
    return SayUnavailable(parent, "Pitch Configuration");
}

} // namespace corvane::tuner
