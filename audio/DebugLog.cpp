#include "DebugLog.h"

#include <cstdio>
#include <exception>
#include <mutex>

namespace corvane::audio {

namespace {

    std::mutex &handlerMutex()
    {
        static std::mutex mutex;
        return mutex;
    }

    DebugLogHandler &handler()
    {
        static DebugLogHandler current;
        return current;
    }

} // namespace

void setDebugLogHandler(DebugLogHandler newHandler)
{
    std::lock_guard lock(handlerMutex());
    handler() = std::move(newHandler);
}

void debugLog(std::string_view text)
{
    std::lock_guard lock(handlerMutex());
    if (handler()) {
        handler()(text);
        return;
    }
    std::fwrite(text.data(), 1, text.size(), stderr);
    if (text.empty() || text.back() != '\n')
        std::fputc('\n', stderr);
}

void debugLogCaught(std::string_view what) noexcept
{
    try {
        const char *reason = "unknown exception";
        try {
            throw;
        } catch (const std::exception &e) {
            reason = e.what();
        } catch (...) {
        }
        // Put together on the stack: a failure on a worker is no reason to allocate there.
        char line[256];
        std::snprintf(line, sizeof line, "%.*s: %s", static_cast<int>(what.size()), what.data(),
                      reason);
        debugLog(line);
    } catch (...) {
    }
}

} // namespace corvane::audio
