#include "AnalyzerPreferences.h"

#include <fstream>
#include <optional>
#include <string>

namespace corvane {

namespace {
    constexpr const char *kPitchModeKey = "pitch_mode";
    constexpr const char *kHopKey = "hop";
    constexpr const char *kDisplayKey = "display";
    constexpr const char *kInstrumentKey = "instrument";

    // An instrument id is a short lower-case word; anything else is a damaged line.
    bool plausibleId(const std::string &id)
    {
        if (id.size() > 32)
            return false;
        for (char c : id)
            if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_'))
                return false;
        return true;
    }
} // namespace

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
        else if (line == "hop=block")
            prefs.blockHop = true;
        else if (line == "hop=quarter")
            prefs.blockHop = false;
        else if (line == "display=classic")
            prefs.classicDisplay = true;
        else if (line == "display=smooth")
            prefs.classicDisplay = false;
        else if (line.starts_with("instrument=") && plausibleId(line.substr(11)))
            prefs.instrument = line.substr(11);
    }
    return prefs;
}

AnalyzerPreferences::Saved AnalyzerPreferences::save(const std::filesystem::path &path,
                                                     const FileFault &fault) const
{
    PreferencesFile file = PreferencesFile::load(path);
    file.set(kPitchModeKey, std::string(classic ? "classic" : "refined"));
    // The newer keys are written only when they differ from the default, so that a file of an
    // earlier version stays as it was.
    using Line = std::optional<std::string>;
    file.set(kHopKey, blockHop ? Line("block") : std::nullopt);
    file.set(kDisplayKey, classicDisplay ? Line("classic") : std::nullopt);
    file.set(kInstrumentKey, instrument.empty() ? std::nullopt : Line(instrument));
    return { file.save(path, fault) };
}

} // namespace corvane
