#include "MessageService.h"

#include <QApplication>
#include <QMessageBox>

namespace corvane::widgets {

namespace {

    // Real boxes, modal over their parent.
    class QtMessageService final : public MessageService
    {
    public:
        Answer show(QWidget *parent, const QString &title, const QString &text, Icon icon,
                    Buttons buttons) override
        {
            QMessageBox box(parent);
            box.setWindowTitle(title.isEmpty() ? QApplication::applicationName() : title);
            box.setText(text);
            box.setIcon(qtIcon(icon));
            box.setStandardButtons(qtButtons(buttons));
            switch (box.exec()) {
            case QMessageBox::Ok:
                return Answer::Ok;
            case QMessageBox::Yes:
                return Answer::Yes;
            case QMessageBox::No:
                return Answer::No;
            default:
                return buttons == Buttons::Ok       ? Answer::Ok
                        : buttons == Buttons::YesNo ? Answer::No
                                                    : Answer::Cancel;
            }
        }

    private:
        static QMessageBox::Icon qtIcon(Icon icon)
        {
            switch (icon) {
            case Icon::Stop:
                return QMessageBox::Critical;
            case Icon::Exclamation:
                return QMessageBox::Warning;
            case Icon::Information:
                return QMessageBox::Information;
            case Icon::None:
                break;
            }
            return QMessageBox::NoIcon;
        }

        static QMessageBox::StandardButtons qtButtons(Buttons buttons)
        {
            switch (buttons) {
            case Buttons::OkCancel:
                return QMessageBox::Ok | QMessageBox::Cancel;
            case Buttons::YesNo:
                return QMessageBox::Yes | QMessageBox::No;
            case Buttons::YesNoCancel:
                return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
            case Buttons::Ok:
                break;
            }
            return QMessageBox::Ok;
        }
    };

} // namespace

template<>
MessageService *&ServiceOverride<MessageService>::slot()
{
    static QtMessageService qtMessages;
    static MessageService *current = &qtMessages;
    return current;
}

MessageService &messages()
{
    return MessageServiceOverride::current();
}

} // namespace corvane::widgets
