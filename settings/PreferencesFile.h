#pragma once

#include "FileSteps.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// The lines of "tonrik.prefs", a text file of key=value lines that holds what the 380-byte
// defaults file has no field for. Each part of the program reads and sets its own keys; lines of
// keys it does not know (a newer build's) are kept as they were, so that a save by one part or by
// an older build loses nothing another wrote. Blank lines go; a carriage return before the line
// feed is dropped.
//
// Plain value; load and save do their own file I/O on the calling thread and allocate.
class PreferencesFile
{
public:
    static constexpr const char *kFileName = "tonrik.prefs";

    // The lines of `path`; none when it is missing or unreadable.
    static PreferencesFile load(const std::filesystem::path &path);

    // The value of the last line of `key`, if there is one.
    std::optional<std::string> get(std::string_view key) const;
    // Replaces every line of `key` by one line at the end; an empty optional removes them. A value
    // is one line: line feeds and carriage returns in it become blanks.
    void set(std::string_view key, const std::optional<std::string> &value);

    // Replaces `path` with these lines, whole or not at all (a temporary file beside it, flushed
    // and renamed). Returns the error message naming the file and the cause, empty on success.
    std::string save(const std::filesystem::path &path, const FileFault &fault = {}) const;

private:
    std::vector<std::string> m_lines;
};

} // namespace corvane
