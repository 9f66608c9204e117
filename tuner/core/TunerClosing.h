#pragma once

namespace corvane::tuner {

// How the tuner window was closed, which tells the main frame what to do next. The values are
// the order the frame has always numbered them in.
enum class TunerClosing {
    ReviewWithoutRecording = 1, // "Review" with nothing recorded: show the analysis window empty
    Cancel = 2,                 // "Cancel", Escape, or the devices failed: back to the frame
    ReviewRecording = 3,        // "Review" after a recording: analyze the last take
    Exit = 4,                   // "Exit": leave the program
};

} // namespace corvane::tuner
