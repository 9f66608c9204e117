#include "ReferenceConfirmation.h"

#include "MessageService.h"
#include "PitchDialogRules.h"

#include <QLocale>
#include <QString>

namespace corvane::dialogs {

namespace {

    QString Text(std::string_view text)
    {
        return QString::fromUtf8(text.data(), qsizetype(text.size()));
    }

    bool Refuse(QWidget *parent, std::string_view why)
    {
        widgets::messages().show(parent, Text(kWarningTitle), Text(why),
                                 widgets::MessageService::Icon::Stop,
                                 widgets::MessageService::Buttons::Ok);
        return false;
    }

} // namespace

std::optional<double> TypedReference(const QString &text)
{
    const QString point = QLocale().decimalPoint();
    const char separator =
            point.size() == 1 && point[0].unicode() < 0x80 ? point[0].toLatin1() : '.';
    return ParseReferenceHz(text.toStdString(), separator);
}

bool ConfirmReference(QWidget *parent, std::optional<double> hz)
{
    if (!hz)
        return Refuse(parent, kInvalidReferenceText);
    switch (CheckReference(*hz)) {
    case ReferenceCheck::Refuse:
        return Refuse(parent, kInvalidReferenceText);
    case ReferenceCheck::Warn:
        return widgets::messages().warningOkCancel(parent, Text(kReferenceWarningText));
    case ReferenceCheck::Accept:
        break;
    }
    return true;
}

bool ConfirmAdjustment(QWidget *parent, double cents)
{
    if (!AdjustmentStorable(cents))
        return Refuse(parent, kInvalidAdjustmentText);
    if (AdjustmentNeedsWarning(cents))
        return widgets::messages().warningOkCancel(parent, Text(kAdjustmentWarningText));
    return true;
}

} // namespace corvane::dialogs
