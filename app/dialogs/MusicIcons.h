#pragma once

#include "ToneDialogRules.h"

#include <QIcon>

namespace corvane::dialogs {

// The pictures on the dialogs' buttons, drawn at twice their size for high-density screens:
// a clef on a short staff, a key signature in the current clef, one period of a waveform.
QIcon ClefIcon(int clef);
QIcon KeySignatureIcon(int clef, int key);
QIcon WaveformIcon(Waveform waveform);

// Their size in device-independent pixels.
QSize ClefIconSize();
QSize KeySignatureIconSize();
QSize WaveformIconSize();

} // namespace corvane::dialogs
