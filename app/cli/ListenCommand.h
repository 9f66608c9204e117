#pragma once

#include "ListenOptions.h"

#include <iosfwd>

namespace corvane {

// `tonrik --listen`: hears a capture device (or a wave file played in real time through the
// virtual capture device) and prints one row per analysis block as it comes, the rows
// `--analyze` prints (see LiveRows for what differs in a live stream): CSV with its header, or
// with `json` one JSON object per line. Every line is flushed as it is written, so a reader at
// the other end of a pipe sees each block about one block after it was played. The settings are
// those of `--analyze` (analysisSettingsFor); the capture format is the one the settings record
// holds, or the file's own with `from`.
//
// Listens until `seconds` have passed, the file has been heard to its end, SIGINT, SIGTERM or
// SIGHUP asks it to stop, or the reader of `out` has gone (a closed pipe: SIGPIPE is ignored
// meanwhile, the failed write ends the run). Only whole lines are written.
//
// Returns the exit status: 0 for each of those ends; 1 with one message on `err` when the
// device or the file cannot be used or `out` fails otherwise; 2 for settings the analysis cannot
// use. Holds the termination signals and the process's sound devices while it runs: main
// thread only.
int runListenCommand(const ListenOptions &options, std::ostream &out, std::ostream &err);

} // namespace corvane
