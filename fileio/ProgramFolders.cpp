#include "ProgramFolders.h"

#include <cstdlib>
#include <fstream>
#include <string_view>
#include <system_error>

#include <pwd.h>
#include <unistd.h>

namespace corvane {

namespace fs = std::filesystem;

namespace {

    constexpr const char *kFolderName = "corvane";
    constexpr const char *kRecordingsName = "Corvane";

    // An XDG variable counts only when it holds an absolute path; a relative one is ignored, as
    // the base directory rules say.
    std::optional<fs::path> absoluteVariable(const ProgramFolders::Environment &environment,
                                             const char *name)
    {
        const std::optional<std::string> value = environment(name);
        if (!value || value->empty() || value->front() != '/')
            return std::nullopt;
        return fs::path(*value);
    }

    // The Music folder as `user-dirs.dirs` names it: a line XDG_MUSIC_DIR="$HOME/Music" (the
    // only form that file takes: an absolute path or one under $HOME, in double quotes). A
    // folder equal to the home folder means the user turned it off.
    std::optional<fs::path> musicFromUserDirs(const fs::path &file, const fs::path &home)
    {
        std::ifstream in(file);
        std::string line;
        constexpr std::string_view key = "XDG_MUSIC_DIR=";
        while (std::getline(in, line)) {
            if (line.rfind(key, 0) != 0)
                continue;
            std::string value = line.substr(key.size());
            if (value.size() < 2 || value.front() != '"' || value.back() != '"')
                return std::nullopt;
            value = value.substr(1, value.size() - 2);
            fs::path folder;
            if (value.rfind("$HOME", 0) == 0)
                folder = home.string() + value.substr(5);
            else if (!value.empty() && value.front() == '/')
                folder = value;
            else
                return std::nullopt;
            if (folder.lexically_normal() == home.lexically_normal()
                || folder.lexically_normal() == (home / "").lexically_normal())
                return std::nullopt;
            return folder;
        }
        return std::nullopt;
    }

    bool portableRequested(const ProgramFolders::Environment &environment)
    {
        const std::optional<std::string> value = environment("CORVANE_PORTABLE");
        return value && !value->empty() && *value != "0";
    }

} // namespace

ProgramFolders ProgramFolders::choose(const Environment &environment, const fs::path &workingFolder,
                                      const fs::path &settingsName, bool portable)
{
    ProgramFolders folders;
    if (portable || portableRequested(environment)) {
        folders.choice = Choice::PortableAsked;
        return folders;
    }
    std::error_code ignored;
    if (fs::is_regular_file(workingFolder / settingsName, ignored)) {
        folders.choice = Choice::WorkingFolderHasSettings;
        return folders;
    }
    // Without a home folder there is nowhere else to go.
    const std::optional<fs::path> homeVariable = absoluteVariable(environment, "HOME");
    if (!homeVariable) {
        folders.choice = Choice::NoHomeFolder;
        return folders;
    }
    const fs::path &home = *homeVariable;
    const fs::path configHome =
            absoluteVariable(environment, "XDG_CONFIG_HOME").value_or(home / ".config");
    const fs::path dataHome =
            absoluteVariable(environment, "XDG_DATA_HOME").value_or(home / ".local" / "share");
    std::optional<fs::path> music = absoluteVariable(environment, "XDG_MUSIC_DIR");
    if (!music)
        music = musicFromUserDirs(configHome / "user-dirs.dirs", home);
    folders.config = configHome / kFolderName;
    folders.data = dataHome / kFolderName;
    folders.recordings = music.value_or(home / "Music") / kRecordingsName;
    folders.choice = Choice::Desktop;
    return folders;
}

ProgramFolders ProgramFolders::forThisProcess(const fs::path &settingsName, bool portable)
{
    std::error_code ignored;
    const fs::path working = fs::current_path(ignored);
    return choose(
            [](const char *name) -> std::optional<std::string> {
                if (std::optional<std::string> value = environmentVariable(name))
                    return value;
                // A session without HOME (a service, say) still has the account's folder.
                if (std::string_view(name) == "HOME") {
                    if (const passwd *account = ::getpwuid(::getuid()))
                        return std::string(account->pw_dir);
                }
                return std::nullopt;
            },
            working, settingsName, portable);
}

std::optional<std::string> environmentVariable(const char *name)
{
    if (const char *value = std::getenv(name))
        return std::string(value);
    return std::nullopt;
}

std::string ProgramFolders::create() const
{
    for (const fs::path *folder : { &config, &data }) {
        if (folder->empty())
            continue;
        std::error_code error;
        fs::create_directories(*folder, error);
        if (error)
            return "Cannot make the folder \"" + folder->string() + "\": " + error.message();
    }
    return {};
}

std::string ProgramFolders::describe() const
{
    const auto shown = [](const fs::path &folder) {
        return folder.empty() ? std::string("the working folder") : folder.string();
    };
    std::string why;
    switch (choice) {
    case Choice::Desktop:
        why = "the desktop's folders";
        break;
    case Choice::PortableAsked:
        why = "the working folder, as asked (--portable or CORVANE_PORTABLE)";
        break;
    case Choice::WorkingFolderHasSettings:
        why = "the working folder, which already holds the settings of an earlier run";
        break;
    case Choice::NoHomeFolder:
        why = "the working folder, since there is no home folder";
        break;
    }
    return "files: " + why + "\nsettings: " + shown(config) + "\npractice log: " + shown(data)
            + "\nrecordings: " + shown(recordings) + '\n';
}

} // namespace corvane
