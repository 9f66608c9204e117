#pragma once

#include <filesystem>

namespace corvane::tuner {

// The tuner's takes are "tune0000.wav", "tune0001.wav", ... in the folder they are recorded in.
// Each Record starts the first of these names that no file holds yet, so a take never replaces
// another one (or anything else the user keeps under such a name); after "tune9999.wav" the
// numbers simply grow a digit. Allocates; user-interface thread.
std::filesystem::path nextFreeTake(const std::filesystem::path &folder);

} // namespace corvane::tuner
