#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace corvane {

// Where the program keeps its files. Settings ("tonrik.def", "tonrik.prefs") go in `config`,
// the practice log in `data`, the tuner's takes in `recordings`; the analysis's band files have a
// private folder of their own in the cache (PrivateTempDir).
//
// A default-constructed value is the working folder for everything (empty paths, so every file
// name stays relative to it), which is what the tests and the portable mode use.
struct ProgramFolders
{
    // How the folders were chosen, said by `--verbose`.
    enum class Choice {
        Desktop,                  // the XDG folders
        PortableAsked,            // `--portable` or CORVANE_PORTABLE
        WorkingFolderHasSettings, // an older install's "tonrik.def" in the working folder
        NoHomeFolder,             // neither HOME nor the account names one
    };

    std::filesystem::path config;
    std::filesystem::path data;
    std::filesystem::path recordings;
    Choice choice = Choice::PortableAsked;

    // Reads an environment variable; empty or unset give nothing.
    using Environment = std::function<std::optional<std::string>(const char *name)>;

    // The folders for a run started in `workingFolder`. The working folder is kept for
    // everything when `portable` is asked (or CORVANE_PORTABLE is set to anything but "0"), or
    // when it already holds the settings file (so a
    // musician who always started the program from one folder keeps their settings and log).
    // Otherwise: $XDG_CONFIG_HOME/corvane, $XDG_DATA_HOME/corvane and the Music folder's
    // "Corvane" ($XDG_MUSIC_DIR, else the one `user-dirs.dirs` names, else ~/Music), with the
    // XDG defaults (~/.config, ~/.local/share) when the variables are unset or not absolute, as
    // the XDG base directory rules say. Creates nothing. Allocates.
    // `settingsName` is the settings file's name ("tonrik.def").
    static ProgramFolders choose(const Environment &environment,
                                 const std::filesystem::path &workingFolder,
                                 const std::filesystem::path &settingsName, bool portable);
    // The same, from the process's environment and working folder.
    static ProgramFolders forThisProcess(const std::filesystem::path &settingsName, bool portable);

    // Creates the folders that are not there yet (not the recordings folder, which is made when
    // the first take is); returns the message naming the first folder that cannot be made and
    // why, empty when all are there.
    std::string create() const;

    // One line per folder, for `--verbose`: what each holds and why it was chosen.
    std::string describe() const;
};

// The process's environment variable `name`; nothing when it is unset.
std::optional<std::string> environmentVariable(const char *name);

} // namespace corvane
