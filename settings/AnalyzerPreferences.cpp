#include "AnalyzerPreferences.h"

#include <fstream>
#include <string>
#include <system_error>
#include <vector>

namespace corvane {

AnalyzerPreferences AnalyzerPreferences::load(const std::filesystem::path &path)
{
    AnalyzerPreferences prefs;
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

bool AnalyzerPreferences::save(const std::filesystem::path &path) const
{
    // Lines this build does not know (a newer build's keys) go back as they were.
    std::vector<std::string> kept;
    {
        std::ifstream in(path);
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (!line.empty() && line.rfind("pitch_mode=", 0) != 0)
                kept.push_back(line);
        }
    }
    std::filesystem::path temporary = path;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::trunc);
        for (const std::string &line : kept)
            out << line << '\n';
        out << "pitch_mode=" << (classic ? "classic" : "refined") << '\n';
        out.flush();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error)
        std::filesystem::remove(temporary, error);
    return !error;
}

} // namespace corvane
