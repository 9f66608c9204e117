#pragma once

// Running the programs a test reads our files with (sox, Python, poppler's pdf tools).

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

namespace corvane::test {

// What a command printed on its standard output (stderr too with `withStderr`), or nothing when it
// could not run or failed.
inline std::optional<std::string> commandOutput(const std::string &command, bool withStderr = false)
{
    const std::string line = command + (withStderr ? " 2>&1" : " 2>/dev/null");
    FILE *pipe = popen(line.c_str(), "r");
    if (!pipe)
        return std::nullopt;
    std::string out;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    return pclose(pipe) == 0 ? std::optional(out) : std::nullopt;
}

// A path in single quotes, as the shell takes it whatever it holds.
inline std::string quoted(const std::filesystem::path &path)
{
    std::string q = "'";
    for (char c : path.string())
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

} // namespace corvane::test
