#pragma once

#include "ServiceOverride.h"

#include <QString>

class QWidget;

namespace corvane::widgets {

// Every message box of the program goes through this service, so that tests can answer the
// boxes without a screen and without a modal loop. The windows call `messages()`; the program
// uses the Qt implementation, tests install a `ScriptedMessageService` (tests/support) for the
// length of a test with `MessageServiceOverride`.
//
// UI thread only: a worker that has something to say posts it to the UI thread first.
class MessageService
{
public:
    // The icons the program's boxes use: none, the stop sign (errors) and the exclamation mark
    // (warnings the user may override), and the information mark.
    enum class Icon { None, Stop, Exclamation, Information };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~MessageService() = default;

    // Shows `text` with `title` (an empty title shows the program's name) over `parent` (may be
    // null) and returns the button the user chose. Closing the box counts as Cancel, or as No
    // when there is no Cancel button, or as Ok for a box with Ok alone.
    virtual Answer show(QWidget *parent, const QString &title, const QString &text, Icon icon,
                        Buttons buttons) = 0;

    // The common cases.
    void error(QWidget *parent, const QString &text)
    {
        show(parent, {}, text, Icon::Stop, Buttons::Ok);
    }
    void info(QWidget *parent, const QString &text)
    {
        show(parent, {}, text, Icon::None, Buttons::Ok);
    }
    // The "Warning" box with OK and Cancel; true when the user chose OK.
    bool warningOkCancel(QWidget *parent, const QString &text)
    {
        return show(parent, QStringLiteral("Warning"), text, Icon::Exclamation, Buttons::OkCancel)
                == Answer::Ok;
    }
};

// The service the windows use now: the Qt one unless a test has installed its own.
MessageService &messages();

// Installs a message service for the lifetime of the override (tests: ScriptedMessageService).
using MessageServiceOverride = ServiceOverride<MessageService>;
template<>
MessageService *&ServiceOverride<MessageService>::slot();

} // namespace corvane::widgets
