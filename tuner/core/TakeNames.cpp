#include "TakeNames.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <string>

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

namespace {

    // The number of a take's name ("tune0042.wav": 42), or -1 for any other name.
    long takeNumber(const std::string &name)
    {
        constexpr std::string_view prefix = "tune", suffix = ".wav";
        if (name.size() < prefix.size() + 4 + suffix.size() || !name.starts_with(prefix)
            || !name.ends_with(suffix))
            return -1;
        const std::string_view digits = std::string_view(name).substr(
                prefix.size(), name.size() - prefix.size() - suffix.size());
        // A name of more digits than a number holds is no take of ours (and must not throw).
        long number = -1;
        const auto [end, error] =
                std::from_chars(digits.data(), digits.data() + digits.size(), number);
        return error == std::errc() && end == digits.data() + digits.size() && number >= 0 ? number
                                                                                           : -1;
    }

} // namespace

std::vector<std::filesystem::path> takesSince(const std::filesystem::path &folder,
                                              std::int64_t sinceSeconds)
{
    const auto since =
            std::chrono::system_clock::from_time_t(static_cast<std::time_t>(sinceSeconds));
    std::vector<std::pair<long, std::filesystem::path>> found;
    std::error_code error;
    for (const auto &entry : std::filesystem::directory_iterator(
                 folder.empty() ? std::filesystem::path(".") : folder, error)) {
        const long number = takeNumber(entry.path().filename().string());
        std::error_code unreadable;
        const auto written = entry.last_write_time(unreadable);
        if (number < 0 || unreadable || !entry.is_regular_file(unreadable)
            || std::chrono::file_clock::to_sys(written) < since)
            continue;
        found.emplace_back(number, folder.empty() ? entry.path().filename() : entry.path());
    }
    std::sort(found.begin(), found.end());
    std::vector<std::filesystem::path> takes;
    for (auto &[number, path] : found)
        takes.push_back(std::move(path));
    return takes;
}

} // namespace corvane::tuner
