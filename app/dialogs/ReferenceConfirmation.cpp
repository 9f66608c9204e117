#include "ReferenceConfirmation.h"

#include "MessageService.h"
#include "PitchDialogRules.h"

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

bool ConfirmReference(QWidget *parent, double hz)
{
    switch (CheckReference(hz)) {
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
