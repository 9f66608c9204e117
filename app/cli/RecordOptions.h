#pragma once

#include "SampleFormat.h"

#include <optional>
#include <string>

namespace corvane {

// What `tonrik --record OUT.wav` was asked for.
struct RecordOptions
{
    std::string file;              // the take to write (replaced when it exists)
    std::optional<double> seconds; // how long; empty: until SIGINT or SIGTERM
    // Channels, rate and depth; empty: a wave file's own with `from`, else 44.1 kHz mono 16-bit.
    std::optional<SampleFormat> format;
    std::string device; // a capture device by name ("ALSA: hw:0,0", or the name alone); empty:
                        // the system's default
    std::string from;   // a wave file played in real time through the virtual capture device
};

} // namespace corvane
