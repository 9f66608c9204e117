#pragma once

#include "AnalyzeOptions.h"

#include "AnalysisSettings.h"
#include "CTCDefs.h"

#include <functional>
#include <iosfwd>
#include <optional>

namespace corvane {

class KeyContext;
class RecordingAnalysis;

// Draws the loaded `analysis` into the picture `options.pngFile`, its staff in the clef and
// transposition of `keys` (the command's own, made from the settings it loaded); false after
// saying why on `err`. The program passes one that paints the window's panes; the analysis has
// no Qt.
using AnalysisPictureWriter =
        std::function<bool(RecordingAnalysis &analysis, const KeyContext &keys,
                           const AnalyzeOptions &options, std::ostream &err)>;

// `tonrik --analyze FILE.wav`: analyzes a wave file without any window and prints its samples
// or notes to `out` (CSV or JSON, see AnalysisReport). Settings come from "tonrik.def" in the
// current directory when there is one (the file is only read, never created), else the factory
// defaults, and the pitch analysis mode from "tonrik.prefs" there; the options override them.
// What is printed describes the settings the analysis ran with. No band files are written unless
// a picture needs them (in a private temporary folder, removed afterwards) or `keepBands` asks
// for them (in the current folder, where they stay). Messages and warnings (a file shorter than
// one block, a data chunk longer than the file, a silent left channel) go to `err`, and, when
// `errIsTerminal` and the recording is longer than a few seconds, a progress line too.
//
// Returns the exit status: 0 on success, 1 when the file could not be analyzed (or failed to
// read part-way), the picture or the output not written, 2 for settings the analysis cannot use,
// 128 + the signal's number when SIGINT (130), SIGTERM (143) or SIGHUP (129) ended the analysis
// early (its temporary files removed all the same).
//
// The settings record, the note table (the analysis's own, on the reference asked for) and the
// key context it uses are its own: it reads and changes none of the program's. While it runs it
// holds the termination signals (TerminationSignals), so main thread only.
int runAnalyzeCommand(const AnalyzeOptions &options, std::ostream &out, std::ostream &err,
                      bool errIsTerminal, const AnalysisPictureWriter &picture = nullptr);

// The settings record a command-line run starts from: "tonrik.def" of the current directory when
// there is one (only read; a damaged file is named on `err`), else the factory defaults.
CTCDefs loadCommandSettings(const std::filesystem::path &folder, std::ostream &err);

// The analysis settings of `defs` and "tonrik.prefs", overridden by the options; nothing, after
// one line on `err`, when the frequency range or the reference cannot be analyzed with (the
// commands then end with 2). Shared by --analyze and --listen, so that both read one setting
// the same way.
std::optional<AnalysisSettings> analysisSettingsFor(const AnalyzeOptions &options,
                                                    const CTCDefs &defs, std::ostream &err);

} // namespace corvane
