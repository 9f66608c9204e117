#pragma once

#include <cstddef>
#include <cstdint>

namespace corvane::audio {

// The file a capture is recorded into while it runs. Created (with its header) on the
// user-interface thread before capture starts, written by the capture worker, finished on the
// user-interface thread after the worker has been joined.
class RecordingFile
{
public:
    virtual ~RecordingFile() = default;

    // Appends `size` bytes of samples; `written` receives how many reached the file. False when
    // the write failed; the file stays usable and the next write is tried afresh. Capture
    // worker only.
    virtual bool write(const std::byte *data, std::size_t size, std::size_t &written) noexcept = 0;

    // The most data bytes the file can hold; writes stop before this. Any thread.
    virtual uint64_t capacity() const noexcept { return UINT64_MAX; }

    // The system's errno behind the last failed write or finish, 0 when it gave none: the cause
    // the message names ("No space left on device"). Capture worker, or after it was joined.
    virtual int systemError() const noexcept { return 0; }

    // Completes the header with the number of frames and closes the file. False on failure.
    virtual bool finish(uint32_t frames) noexcept = 0;
};

} // namespace corvane::audio
