#pragma once

#include "DeviceId.h"
#include "RecordOptions.h"

#include <iosfwd>

namespace corvane {

// `tonrik --record OUT.wav`: records from a capture device, or from a wave file played in real
// time through the virtual capture device, into OUT.wav with the writer the tuner's takes use
// (standard PCM, the header's sizes kept up to date twice a second, so a take killed at any
// moment reads up to then). Records until `seconds` have passed, the file given with `from` has
// been heard to its end, or SIGINT, SIGTERM or SIGHUP asks it to stop; either way the file is
// finished and valid.
//
// Returns the exit status: 0 with a valid file; 1 with one message on `err` when the device, the
// format or the file could not be used, or sound could not be written (what was written stays
// in the file); 2 for a format the program cannot record. Holds the termination signals and the
// process's sound devices while it runs: main thread only.
int runRecordCommand(const RecordOptions &options, std::ostream &err);

// "44100,2,24" as a format; nothing when it is not one the program can record.
std::optional<SampleFormat> parseRecordFormat(const std::string &text);

// The PortAudio capture device called "SYSTEM: NAME" or "NAME"; nothing, with the reason in
// `why`, when there is none. Lists the devices (starts and ends PortAudio): main thread only.
std::optional<audio::DeviceId> findCaptureDevice(const std::string &name, std::string &why);

} // namespace corvane
