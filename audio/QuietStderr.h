#pragma once

namespace corvane::audio {

// While probing, ALSA and JACK write dozens of lines about every device they cannot open (on a
// machine without a sound card, all of them) straight to file descriptor 2. The program reports
// what it found itself, so probes run with descriptor 2 pointed at /dev/null for the life of
// this object. User-interface thread only.
class QuietStderr
{
public:
    QuietStderr();
    ~QuietStderr();
    QuietStderr(const QuietStderr &) = delete;
    QuietStderr &operator=(const QuietStderr &) = delete;

private:
    int m_saved = -1;
};

} // namespace corvane::audio
