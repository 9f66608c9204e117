#pragma once

#include "TemperedCents.h"

#include <iosfwd>
#include <optional>

namespace corvane {

class KeyContext;
struct AnalyzeOptions;
struct AnalysisSettings;

// `--scala FILE.scl [--kbm FILE.kbm]` of the command line: reads them, in the sounding key of
// `keys`; the map's reference becomes `settings.referenceHz` unless `--reference` was given.
// Nothing, and no change, without `--scala`; nothing after one line on `err` when a file cannot
// be used or its reference is not one the program takes (`failed` is then set).
std::optional<PitchClassCents> commandLineTemperament(const AnalyzeOptions &options,
                                                      const KeyContext &keys,
                                                      AnalysisSettings &settings, std::ostream &err,
                                                      bool &failed);

} // namespace corvane
