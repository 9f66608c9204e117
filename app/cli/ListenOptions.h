#pragma once

#include "AnalyzeOptions.h"

#include <optional>
#include <string>

namespace corvane {

// What `tonrik --listen` was asked for: where the sound comes from, for how long, and the
// analysis settings and output form of `--analyze` (of `analysis`, its `file`, `notes`,
// `summary`, `png` and `keepBands` are not used).
struct ListenOptions
{
    AnalyzeOptions analysis;
    std::string device; // a capture device by name, as --record takes it; empty: the system's
    std::string from;   // a wave file heard in real time through the virtual capture device
    std::optional<double> seconds; // how long to listen; empty: until a signal (or the file's end)
};

} // namespace corvane
