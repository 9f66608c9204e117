#pragma once

#include "AnalyzeOptions.h"

#include <iosfwd>

namespace corvane {

// `tonrik --analyze FILE.wav`: analyzes a wave file without any window and prints its samples
// or notes to `out` (CSV or JSON, see AnalysisReport). Settings come from "tonrik.def" in the
// current directory when there is one (the file is only read, never created), else the factory
// defaults; the options override them. The temporary band files live in a private temporary
// directory that is removed afterwards. Messages go to `err`, and, when `errIsTerminal` and the
// recording is longer than a few seconds, a progress line too.
//
// Returns the exit status: 0 on success, 1 when the file could not be analyzed or the output
// not written, 2 for settings the analysis cannot use, 128 + the signal's number when SIGINT
// (130), SIGTERM (143) or SIGHUP (129) ended the analysis early (its temporary files removed
// all the same). Sets the note table's reference.
int runAnalyzeCommand(const AnalyzeOptions &options, std::ostream &out, std::ostream &err,
                      bool errIsTerminal);

} // namespace corvane
