#pragma once

namespace corvane::audio {

// Something a device worker calls once per block: the capture worker after it has put a block
// into the capture ring, the playback worker after it has taken the staging block. notify()
// runs on that worker's thread and should finish within one block's duration. An exception
// that escapes it is caught and logged by the worker, which goes on with the next block.
class cNotification
{
public:
    virtual ~cNotification() = default;
    virtual void notify() = 0;
};

} // namespace corvane::audio
