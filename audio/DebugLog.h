#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace corvane::audio {

// Where the device workers write failures the user is not shown ("Capture lock failure",
// "Failure writing data to file\n", exceptions from a notification). By default the text goes
// to standard error; the application or a test may install its own handler. The handler runs
// on the worker that reports, so it must be safe to call from any thread. Never called from an
// audio callback.
using DebugLogHandler = std::function<void(std::string_view text)>;

void setDebugLogHandler(DebugLogHandler handler);
void debugLog(std::string_view text);

} // namespace corvane::audio
