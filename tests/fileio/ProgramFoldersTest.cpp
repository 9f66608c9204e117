#include "ProgramFolders.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

namespace corvane {
namespace {

    namespace fs = std::filesystem;

    // A process environment of our own making.
    struct FakeEnvironment
    {
        std::map<std::string, std::string> variables;

        ProgramFolders::Environment lookup() const
        {
            return [this](const char *name) -> std::optional<std::string> {
                const auto found = variables.find(name);
                if (found == variables.end())
                    return std::nullopt;
                return found->second;
            };
        }
    };

    ProgramFolders choose(const FakeEnvironment &environment, const fs::path &working,
                          bool portable = false)
    {
        return ProgramFolders::choose(environment.lookup(), working, "tonrik.def", portable);
    }

} // namespace

TEST(ProgramFolders, TheDesktopFoldersComeFromXdgOrItsDefaults)
{
    const test::TempDir working;
    FakeEnvironment environment { { { "HOME", "/home/ann" } } };
    ProgramFolders folders = choose(environment, working.path());
    EXPECT_EQ(folders.choice, ProgramFolders::Choice::Desktop);
    EXPECT_EQ(folders.config, "/home/ann/.config/corvane");
    EXPECT_EQ(folders.data, "/home/ann/.local/share/corvane");
    EXPECT_EQ(folders.recordings, "/home/ann/Music/Corvane");

    environment.variables["XDG_CONFIG_HOME"] = "/cfg";
    environment.variables["XDG_DATA_HOME"] = "/data";
    environment.variables["XDG_MUSIC_DIR"] = "/media/music";
    folders = choose(environment, working.path());
    EXPECT_EQ(folders.config, "/cfg/corvane");
    EXPECT_EQ(folders.data, "/data/corvane");
    EXPECT_EQ(folders.recordings, "/media/music/Corvane");

    // Relative values are not paths the base directory rules accept.
    environment.variables["XDG_CONFIG_HOME"] = "cfg";
    environment.variables["XDG_DATA_HOME"] = "";
    EXPECT_EQ(choose(environment, working.path()).config, "/home/ann/.config/corvane");
    EXPECT_EQ(choose(environment, working.path()).data, "/home/ann/.local/share/corvane");
}

TEST(ProgramFolders, TheMusicFolderIsTheOneUserDirsNamesUnlessItIsHome)
{
    const test::TempDir home;
    fs::create_directories(home.path() / ".config");
    const FakeEnvironment environment { { { "HOME", home.path().string() } } };
    const auto writeUserDirs = [&](const char *line) {
        std::ofstream(home.path() / ".config" / "user-dirs.dirs")
                << "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                << line << '\n';
    };
    writeUserDirs("XDG_MUSIC_DIR=\"$HOME/Musik\"");
    EXPECT_EQ(choose(environment, home.path()).recordings, home.path() / "Musik" / "Corvane");
    writeUserDirs("XDG_MUSIC_DIR=\"/srv/audio\"");
    EXPECT_EQ(choose(environment, home.path()).recordings, fs::path("/srv/audio/Corvane"));
    // A folder set to the home folder is turned off; so is a value the file never holds.
    for (const char *off :
         { "XDG_MUSIC_DIR=\"$HOME/\"", "XDG_MUSIC_DIR=\"$HOME\"", "XDG_MUSIC_DIR=Music" }) {
        writeUserDirs(off);
        EXPECT_EQ(choose(environment, home.path()).recordings, home.path() / "Music" / "Corvane")
                << off;
    }
}

TEST(ProgramFolders, TheWorkingFolderIsKeptWhenAskedOrWhenItHoldsEarlierSettings)
{
    const test::TempDir working;
    FakeEnvironment environment { { { "HOME", "/home/ann" } } };
    EXPECT_EQ(choose(environment, working.path(), true).choice,
              ProgramFolders::Choice::PortableAsked);
    environment.variables["CORVANE_PORTABLE"] = "0";
    EXPECT_EQ(choose(environment, working.path()).choice, ProgramFolders::Choice::Desktop);
    environment.variables["CORVANE_PORTABLE"] = "1";
    const ProgramFolders portable = choose(environment, working.path());
    EXPECT_EQ(portable.choice, ProgramFolders::Choice::PortableAsked);
    EXPECT_TRUE(portable.config.empty() && portable.data.empty() && portable.recordings.empty());

    environment.variables.erase("CORVANE_PORTABLE");
    std::ofstream(working.path() / "tonrik.def") << "";
    EXPECT_EQ(choose(environment, working.path()).choice,
              ProgramFolders::Choice::WorkingFolderHasSettings);
    EXPECT_NE(choose(environment, working.path()).describe().find("earlier run"),
              std::string::npos);
    EXPECT_EQ(choose({}, "/nowhere").choice, ProgramFolders::Choice::NoHomeFolder);
}

TEST(ProgramFolders, CreatingMakesTheSettingsAndDataFoldersOrNamesTheOneThatFails)
{
    const test::TempDir home;
    const FakeEnvironment environment { { { "HOME", home.path().string() } } };
    const ProgramFolders folders = choose(environment, home.path());
    EXPECT_EQ(folders.create(), "");
    EXPECT_TRUE(fs::is_directory(folders.config));
    EXPECT_TRUE(fs::is_directory(folders.data));
    EXPECT_FALSE(fs::exists(folders.recordings)) << "made with the first take";

    // A file where the data folder's parent should be.
    const test::TempDir other;
    std::ofstream(other.path() / ".local") << "in the way";
    const ProgramFolders blocked =
            choose(FakeEnvironment { { { "HOME", other.path().string() } } }, other.path());
    const std::string said = blocked.create();
    EXPECT_EQ(said.rfind("Cannot make the folder \"" + blocked.data.string() + "\": ", 0), 0u)
            << said;
}

} // namespace corvane
