#pragma once

#include "PracticeLogFile.h"

#include <QDialog>

#include <cstdint>
#include <filesystem>

class QAbstractButton;
class QCheckBox;
class QRadioButton;

namespace corvane {

class CTCDefs;

// "Select Log Options": what the printed practice log shows (three summaries, and one listing of
// runs or none) and "Clear Log", which deletes the log file once the user confirms it.
//
// The dialog works on its own copy of the options, normalized to one listing when it opens; OK
// stores the copy in the settings record, Cancel stores nothing. Clearing changes no option and
// leaves the dialog open. UI thread only; `settings` must outlive the dialog.
class DlgLogOpts : public QDialog
{
    Q_OBJECT

public:
    static constexpr const char *kClearQuestion =
            "Are you sure you want to clear your entire practice log?";

    // `logFile`: the practice log that "Clear Log" deletes.
    explicit DlgLogOpts(CTCDefs &settings, std::filesystem::path logFile = kPracticeLogFileName,
                        QWidget *parent = nullptr);

    std::uint32_t options() const noexcept { return m_options; }

    QCheckBox *todaySummary() const noexcept { return m_today; }
    QCheckBox *sevenDaySummary() const noexcept { return m_sevenDay; }
    QCheckBox *completeSummary() const noexcept { return m_complete; }
    // The last page with the time and intonation charts.
    QCheckBox *charts() const noexcept { return m_charts; }
    // 0 "Today's Log", 1 "Seven Day Log", 2 "Complete Log", 3 "None".
    QRadioButton *listing(int index) const noexcept { return m_listings[index]; }
    QAbstractButton *clearButton() const noexcept { return m_clear; }

    void accept() override;

private:
    void ClearLog();

    CTCDefs &m_settings;
    std::filesystem::path m_logFile;
    std::uint32_t m_options;
    // Owned by the dialog through its layouts.
    QCheckBox *m_today;
    QCheckBox *m_sevenDay;
    QCheckBox *m_complete;
    QCheckBox *m_charts;
    QRadioButton *m_listings[4];
    QAbstractButton *m_clear;
};

} // namespace corvane
