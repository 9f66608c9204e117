#pragma once

#include <filesystem>

namespace corvane {

// Where the document's recording came from, and so whether "Save" has anything to do and whether
// closing it has to ask first. A recording opened from a wave file, or saved to one, is safe on
// disk. A take from the tuner is not: it lives in the temporary analysis files (or in its take
// file, "tune0001.wav" say, a name the user did not choose), so it counts as unsaved until the
// user saves it somewhere; its "Save" asks for a name. UI thread; allocates only for the path.
class RecordingFileState
{
public:
    enum class Origin { Empty, File, Capture };

    Origin origin() const noexcept { return m_origin; }
    // The file the recording is safe in; empty unless origin() is File.
    const std::filesystem::path &path() const noexcept { return m_path; }

    // New, Close, or an open that failed: nothing to keep.
    void emptied() noexcept;
    // A wave file was opened: the recording is that file.
    void opened(std::filesystem::path path);
    // The tuner's take or its last seconds were analyzed.
    void captured() noexcept;
    // The recording was written to `path` (only after a save that worked).
    void saved(std::filesystem::path path);

    // A take that would be lost by New, Open, Close, the next take or the end of the program.
    // Only such a take has anything for "Save" to write: a recording opened from a file is on
    // disk as it was opened, and writing it back would only replace the file with the
    // analysis's one-channel copy (a stereo or 24-bit original would lose a channel or its
    // depth).
    bool unsaved() const noexcept { return m_origin == Origin::Capture; }

    // The name the user chose, with `suffix` (".wav") added when it has none, so that a bare
    // name still makes a file the program and others recognize.
    static std::filesystem::path withSuffix(std::filesystem::path name, const char *suffix);

private:
    Origin m_origin = Origin::Empty;
    std::filesystem::path m_path;
};

} // namespace corvane
