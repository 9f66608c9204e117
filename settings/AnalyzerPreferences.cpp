#include "AnalyzerPreferences.h"

#include <fstream>
#include <string>

namespace corvane {

namespace {
    constexpr const char *kPitchModeKey = "pitch_mode";
}

AnalyzerPreferences AnalyzerPreferences::load(const std::filesystem::path &path)
{
    AnalyzerPreferences prefs;
    // Every line is looked at, so that a damaged value after a good one loses nothing.
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line == "pitch_mode=classic")
            prefs.classic = true;
        else if (line == "pitch_mode=refined")
            prefs.classic = false;
    }
    return prefs;
}

AnalyzerPreferences::Saved AnalyzerPreferences::save(const std::filesystem::path &path,
                                                     const FileFault &fault) const
{
    PreferencesFile file = PreferencesFile::load(path);
    file.set(kPitchModeKey, std::string(classic ? "classic" : "refined"));
    return { file.save(path, fault) };
}

} // namespace corvane
