#pragma once

#include "AnalyzerPreferences.h"

#include <QDialog>

#include <array>
#include <filesystem>

class QButtonGroup;
class QLineEdit;
class QSlider;

namespace corvane {
class CPitch;
class CTCDefs;
class KeyContext;
}

namespace corvane::widgets {
class UpDownControl;
}

namespace corvane::dialogs {

class StaffFrame;

// "Optimize Tuner Settings": the lowest and highest note the tuner listens for, each on a little
// staff in the current clef with arrows that step through A0..A8 (a step beyond is refused) and
// its frequency; the pitch-tracking sensitivity, the filter length, the noise threshold and the
// pitch analysis mode. OK stores the five values in the settings, the two notes in ascending
// order, and the mode in `preferencesFile` (a file that cannot be written is reported and the
// rest still stored); Cancel stores nothing.
//
// UI thread only; `pitch`, `settings` and `keys` must outlive the dialog.
class DlgOptimize : public QDialog
{
    Q_OBJECT

public:
    DlgOptimize(const CPitch &pitch, CTCDefs &settings, const KeyContext &keys,
                QWidget *parent = nullptr,
                std::filesystem::path preferencesFile = AnalyzerPreferences::kFileName);

    // 0 the lowest note, 1 the highest.
    widgets::UpDownControl *noteArrows(int which) const noexcept
    {
        return m_arrows[std::size_t(which)];
    }
    QLineEdit *frequencyField(int which) const noexcept { return m_fields[std::size_t(which)]; }
    StaffFrame *noteFrame(int which) const noexcept { return m_frames[std::size_t(which)]; }
    QButtonGroup *sensitivity() const noexcept { return m_sensitivity; }
    QButtonGroup *filterLength() const noexcept { return m_filterLength; }
    QSlider *noiseSlider() const noexcept { return m_noise; }
    // 0 refined, 1 classic.
    QButtonGroup *analysisMode() const noexcept { return m_mode; }

    void accept() override;

private:
    QWidget *MakeNoteGroup(int which, const QString &title);
    void ShowNote(int which, int index);

    const CPitch &m_pitch;
    CTCDefs &m_settings;
    const KeyContext &m_keys;
    std::filesystem::path m_preferencesFile;
    AnalyzerPreferences m_preferences;
    std::array<float, 2> m_hz {};
    // Children of the dialog.
    std::array<widgets::UpDownControl *, 2> m_arrows {};
    std::array<QLineEdit *, 2> m_fields {};
    std::array<StaffFrame *, 2> m_frames {};
    QButtonGroup *m_sensitivity = nullptr;
    QButtonGroup *m_filterLength = nullptr;
    QSlider *m_noise = nullptr;
    QButtonGroup *m_mode = nullptr;
};

} // namespace corvane::dialogs
