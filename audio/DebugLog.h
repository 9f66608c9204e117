#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace corvane::audio {

// Where the device workers and the block sinks and sources they call write failures the user is
// not shown ("Failure writing data to file\n", an exception a sink caught). By default the text
// goes to standard error; the application or a test may install its own handler. The handler runs
// on the worker that reports, so it must be safe to call from any thread. Never called from an
// audio callback. The handler is one per process, as standard error, which it stands for, is.
using DebugLogHandler = std::function<void(std::string_view text)>;

void setDebugLogHandler(DebugLogHandler handler);
void debugLog(std::string_view text);

// For a sink or source (BlockSink.h) inside the catch block of an exception it caught on a
// worker: logs "<what>: <the exception's message>". Never throws: a log that fails in turn is
// let go, because the worker must go on with the next block.
void debugLogCaught(std::string_view what) noexcept;

} // namespace corvane::audio
