#pragma once

#include <QDialog>

class QAbstractButton;
class QButtonGroup;

namespace corvane {
class KeyContext;
}

namespace corvane::dialogs {

// "Select Key Signature": fifteen picture buttons showing each key's signature in the current
// clef, the sharp keys from C in the first row and the flat keys from F in the second, the
// current key checked. OK sets the written key (it is not kept between runs); Cancel changes
// nothing.
//
// UI thread only; `keys` must outlive the dialog.
class CKeyDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CKeyDialog(KeyContext &keys, QWidget *parent = nullptr);

    QAbstractButton *keyButton(int key) const;

    void accept() override;

private:
    KeyContext &m_keys;
    QButtonGroup *m_keyButtons = nullptr; // owned by the dialog
};

} // namespace corvane::dialogs
