#pragma once

namespace corvane {

// How the tuner window was closed, which decides what the main window does next.
enum class TunerOutcome {
    ReviewLastSeconds, // analyze what the capture ring still holds
    Canceled,         // nothing to show; also a tuner whose devices would not open
    ReviewRecording,   // open the recording just finished
    Exit,              // empty the analysis
};

} // namespace corvane
