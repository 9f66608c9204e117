#include "TakeNames.h"

#include <cstdio>

namespace corvane::tuner {

std::filesystem::path nextFreeTake(const std::filesystem::path &folder)
{
    for (unsigned number = 0;; ++number) {
        char name[32];
        std::snprintf(name, sizeof name, "tune%04u.wav", number);
        const std::filesystem::path path = folder.empty() ? name : folder / name;
        std::error_code error;
        // A name that cannot even be looked at is not taken either: the recording then says
        // why it cannot create it.
        if (!std::filesystem::exists(std::filesystem::symlink_status(path, error)))
            return path;
    }
}

} // namespace corvane::tuner
