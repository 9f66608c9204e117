#pragma once

#include "AnalyzerPreferences.h"

#include <QDialog>

#include <array>
#include <filesystem>
#include <string>

class QButtonGroup;
class QCheckBox;
class QComboBox;
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

// "Optimize Tuner Settings": the instrument, the lowest and highest note the tuner listens for,
// each on a little staff in the current clef with arrows that step through A0..A8 (a step beyond
// is refused) and its frequency; the pitch-tracking sensitivity, the filter length, the noise
// threshold, the pitch analysis mode, how often a result comes and whether the tuner shows them
// the classic way. Choosing an instrument sets both notes and the filter length; setting any of
// them by hand shows the preset they then match, or "Custom". OK stores the five values in the
// settings, the two notes in ascending order, and the mode, the results, the display and the
// instrument shown (empty for "Custom") in `preferencesFile` (a file that cannot be written is
// reported and the rest still stored); Cancel stores nothing.
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
    // The presets in their order, then "Custom" while the settings match none.
    QComboBox *instrument() const noexcept { return m_instrument; }
    // 0 a result every hop, 1 one per block.
    QButtonGroup *results() const noexcept { return m_results; }
    QCheckBox *classicDisplay() const noexcept { return m_classicDisplay; }

    void accept() override;

private:
    QWidget *MakeNoteGroup(int which, const QString &title);
    QWidget *MakeInstrumentColumn();
    QWidget *MakePreferenceGroups();
    void ShowNote(int which, int index);
    void ChooseInstrument(int listIndex);
    void ShowInstrument();
    std::uint32_t CheckedFilterLength() const;
    AnalyzerPreferences ChosenPreferences() const;

    const CPitch &m_pitch;
    CTCDefs &m_settings;
    const KeyContext &m_keys;
    std::filesystem::path m_preferencesFile;
    AnalyzerPreferences m_preferences;
    std::array<float, 2> m_hz {};
    // The instrument last chosen, which wins when two presets share the limits.
    std::string m_chosenInstrument;
    // Children of the dialog.
    std::array<widgets::UpDownControl *, 2> m_arrows {};
    std::array<QLineEdit *, 2> m_fields {};
    std::array<StaffFrame *, 2> m_frames {};
    QButtonGroup *m_sensitivity = nullptr;
    QButtonGroup *m_filterLength = nullptr;
    QSlider *m_noise = nullptr;
    QButtonGroup *m_mode = nullptr;
    QComboBox *m_instrument = nullptr;
    QButtonGroup *m_results = nullptr;
    QCheckBox *m_classicDisplay = nullptr;
};

} // namespace corvane::dialogs
