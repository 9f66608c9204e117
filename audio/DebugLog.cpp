#include "DebugLog.h"

#include <cstdio>
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

} // namespace corvane::audio
