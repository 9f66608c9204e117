#pragma once

#include <string>

namespace corvane::audio {

// An open playback device. While started it plays the PlaybackBuffer it was opened with.
// Closing is the destructor's job (after stop()). User-interface thread only.
class PlaybackStream
{
public:
    virtual ~PlaybackStream() = default;
    // False, with the device's reason in `why`, when the device would not start.
    virtual bool start(std::string &why) = 0;
    // Returns once the device reads nothing more from the buffer.
    virtual void stop() noexcept = 0;
};

} // namespace corvane::audio
