#pragma once

#include "AnalyzeOptions.h"

#include <iosfwd>

namespace corvane {

class KeyContext;
class RecordingAnalysis;

// `tonrik --analyze FILE.wav --png out.png`: the window's default panes of a loaded analysis
// (with its band files), drawn without a window into a PNG picture `options.pngWidth` pixels wide
// and as tall as the panes with the time ruler under them. The largest zoom at which the whole
// recording fits is used; when it does not fit even at the smallest, the picture shows its
// beginning and `err` says so. Without a width the picture is as wide as the recording at that
// zoom, from kMinAutoPngWidth up to kAutoPngWidth. The staff is drawn in the clef and transposition
// of `keys`, which the command made from the settings it loaded; no program-wide state is read.
// Needs a QGuiApplication; user-interface thread. False after saying why on `err`.
constexpr int kAutoPngWidth = 1200;
constexpr int kMinAutoPngWidth = 400;

bool writeAnalysisPng(RecordingAnalysis &analysis, const KeyContext &keys,
                      const AnalyzeOptions &options, std::ostream &err);

} // namespace corvane
