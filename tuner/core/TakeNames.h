#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace corvane::tuner {

// The tuner's takes are "tune0000.wav", "tune0001.wav", ... in the folder they are recorded in.
// Each Record starts the first of these names that no file holds yet, so a take never replaces
// another one (or anything else the user keeps under such a name); after "tune9999.wav" the
// numbers simply grow a digit. Allocates; user-interface thread.
std::filesystem::path nextFreeTake(const std::filesystem::path &folder);

// The takes in `folder` last written at or after `sinceSeconds` (seconds since 1970, UTC), in
// the order of their numbers: what the tuner recorded since the program started. Other files,
// and takes of earlier runs, are not listed; a folder that cannot be read gives none.
std::vector<std::filesystem::path> takesSince(const std::filesystem::path &folder,
                                              std::int64_t sinceSeconds);

} // namespace corvane::tuner
