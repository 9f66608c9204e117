#pragma once

// The fuzzers hand each input to the readers as a file, as the program meets it: written into a
// private directory that is also the current one, so that readers of fixed file names in the
// current directory ("tonrik.def", "corvlog.txt") find it there.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace corvane::fuzz {

inline const std::filesystem::path &privateDirectory()
{
    static const std::filesystem::path dir = [] {
        // Memory-backed where there is such a place: the fuzzers write a file per input.
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm")
                ? std::filesystem::path("/dev/shm")
                : std::filesystem::temp_directory_path();
        std::string pattern = base / "corvane-fuzz-XXXXXX";
        if (!mkdtemp(pattern.data()))
            std::abort();
        std::filesystem::current_path(pattern);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(privateDirectory(), ignored);
        });
        return std::filesystem::path(pattern);
    }();
    return dir;
}

// Replaces `name` in the private directory with the input's bytes.
inline std::filesystem::path writeInput(const char *name, const uint8_t *data, std::size_t size)
{
    const std::filesystem::path path = privateDirectory() / name;
    std::FILE *file = std::fopen(path.c_str(), "wb");
    if (!file)
        std::abort();
    if (size && std::fwrite(data, 1, size, file) != size)
        std::abort();
    std::fclose(file);
    return path;
}

} // namespace corvane::fuzz
