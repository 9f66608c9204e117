#include "DlgTranspose.h"

#include "KeyContext.h"
#include "KeyDialogRules.h"
#include "StaffFrame.h"
#include "UpDownControl.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace corvane::dialogs {

namespace {

    // Button ids count from 0, since a button group answers -1 when nothing is checked.
    constexpr int OctaveId(int octave) noexcept
    {
        return octave - KeyContext::kMinOctave;
    }

} // namespace

DlgTranspose::DlgTranspose(KeyContext &keys, QWidget *parent)
    : QDialog(parent)
    , m_keys(keys)
{
    setWindowTitle(QString::fromLatin1(kTranspositionDialogTitle));

    // Every widget is a child of the dialog through the layouts.
    auto *grid = new QGridLayout;
    auto *keyBox = new QGroupBox(QStringLiteral("Key"), this);
    auto *keyLayout = new QVBoxLayout(keyBox);
    m_keyArrows = new widgets::UpDownControl(keyBox);
    m_keyArrows->setObjectName(QStringLiteral("transposeKey"));
    m_keyArrows->setRange(0, kKeyCount - 1);
    m_keyArrows->setValue(keys.TransposeKey());
    m_keyArrows->setMinimumWidth(56);
    m_keyArrows->setStepFilter([](int key) { return IsKeyIndex(key); });
    keyLayout->addWidget(m_keyArrows);
    keyLayout->addStretch();
    grid->addWidget(keyBox, 0, 0);

    auto *octaveBox = new QGroupBox(QStringLiteral("Octave"), this);
    auto *octaveLayout = new QVBoxLayout(octaveBox);
    m_octaves = new QButtonGroup(octaveBox);
    for (const OctaveChoice &choice : kOctaveChoices) {
        auto *radio = new QRadioButton(QString::fromLatin1(choice.text), octaveBox);
        radio->setChecked(choice.octave == keys.TransposeOctave());
        m_octaves->addButton(radio, OctaveId(choice.octave));
        octaveLayout->addWidget(radio);
    }
    grid->addWidget(octaveBox, 0, 1);

    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("instruments"));
    m_text->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_text->setWordWrap(true);
    m_text->setMinimumSize(280, 110);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(m_text, 0, 2);

    auto *writtenBox = new QGroupBox(QStringLiteral("Written as"), this);
    (new QVBoxLayout(writtenBox))->addWidget(m_written = new StaffFrame(writtenBox));
    auto *soundsBox = new QGroupBox(QStringLiteral("Sounds as"), this);
    (new QVBoxLayout(soundsBox))->addWidget(m_sounds = new StaffFrame(soundsBox));
    grid->addWidget(writtenBox, 1, 0, 1, 2);
    grid->addWidget(soundsBox, 1, 2);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    connect(m_keyArrows, &widgets::UpDownControl::stepped, this, &DlgTranspose::Show);
    connect(m_octaves, &QButtonGroup::idClicked, this, &DlgTranspose::Show);
    connect(buttons, &QDialogButtonBox::accepted, this, &DlgTranspose::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &DlgTranspose::reject);
    Show();
}

void DlgTranspose::Show()
{
    const int key = m_keyArrows->value();
    const int octave = SelectedOctave();
    m_text->setText(QString::fromStdString(TranspositionText(key, octave)));

    const int clef = m_keys.Clef();
    const int written = WrittenCStep(clef);
    StaffPicture writtenPicture;
    writtenPicture.clef = clef;
    writtenPicture.note = StaffPicture::Note { written, Accidental::None };
    m_written->setPicture(writtenPicture);

    StaffPicture sounds;
    sounds.clef = clef;
    sounds.note = StaffPicture::Note { written + SoundsAsStep(key), SoundsAsAccidental(key) };
    sounds.label = QString::fromLatin1(OctaveLabel(octave));
    sounds.labelAbove = OctaveLabelAbove(octave);
    m_sounds->setPicture(sounds);
}

int DlgTranspose::SelectedOctave() const
{
    const int id = m_octaves->checkedId();
    return id < 0 ? m_keys.TransposeOctave() : id + KeyContext::kMinOctave;
}

void DlgTranspose::accept()
{
    m_keys.SetTransposition(m_keyArrows->value(), SelectedOctave());
    QDialog::accept();
}

} // namespace corvane::dialogs
