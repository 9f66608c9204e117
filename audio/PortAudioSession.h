#pragma once

#include <string>

namespace corvane::audio {

// Keeps the PortAudio library initialized for the life of the object. Sessions nest: the
// library counts them itself. Construct on the user-interface thread.
class PortAudioSession
{
public:
    PortAudioSession();
    ~PortAudioSession();
    PortAudioSession(const PortAudioSession &) = delete;
    PortAudioSession &operator=(const PortAudioSession &) = delete;

    // False when the library could not start; error() then says why.
    bool ok() const noexcept { return m_ok; }
    const std::string &error() const noexcept { return m_error; }

private:
    bool m_ok = false;
    std::string m_error;
};

} // namespace corvane::audio
