#pragma once

#include <string>

namespace corvane::audio {

// An open capture device. While started it delivers frames into the CaptureQueue it was opened
// with. Closing is the destructor's job (after stop()). User-interface thread only.
class CaptureStream
{
public:
    virtual ~CaptureStream() = default;
    // False, with the device's reason in `why`, when the device would not start.
    virtual bool start(std::string &why) = 0;
    // Returns once the device delivers nothing more.
    virtual void stop() noexcept = 0;
};

} // namespace corvane::audio
