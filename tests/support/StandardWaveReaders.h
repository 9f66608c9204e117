#pragma once

// Wave files the program writes, read by programs that are not ours: Python's `wave` module and
// sox (both installed by scripts/install-deps.sh). A file is right when they read it right; a
// test never restates the header bytes our own writer produced.

#include "CommandOutput.h"

#include <filesystem>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace corvane::test {

// A wave file as Python's `wave` module reads it: the format, the frames, and for each channel the
// frequency of its zero crossings over the whole file (Hz; exact to about 1 / duration for a
// steady tone) and its peak (0 ... 1 of full scale).
struct PythonWave
{
    int channels = 0;
    int rate = 0;
    int sampleBytes = 0;
    long frames = 0;
    std::vector<double> hz;
    std::vector<double> peak;
};

inline std::optional<PythonWave> readWithPython(const std::filesystem::path &path)
{
    static const char *const kScript = R"PY(
import sys, wave
w = wave.open(sys.argv[1], 'rb')
ch, width, rate, n = w.getnchannels(), w.getsampwidth(), w.getframerate(), w.getnframes()
data = w.readframes(n)
n = len(data) // (ch * width)
print(ch, rate, width, n)
full = float(1 << (8 * width - 1))
for c in range(ch):
    prev, ups, peak = 0, 0, 0.0
    for i in range(n):
        at = (i * ch + c) * width
        if width == 1:
            v = data[at] - 128
        else:
            v = int.from_bytes(data[at:at + width], 'little', signed=True)
        if prev < 0 <= v:
            ups += 1
        prev = v
        peak = max(peak, abs(v) / full)
    print(ups * rate / n if n else 0.0, peak)
)PY";
    const std::filesystem::path script =
            std::filesystem::temp_directory_path() / "corvane-read-wave.py";
    if (FILE *out = std::fopen(script.c_str(), "w")) {
        std::fputs(kScript, out);
        std::fclose(out);
    }
    const auto text = commandOutput("python3 " + quoted(script) + " " + quoted(path));
    if (!text)
        return std::nullopt;
    std::istringstream in(*text);
    PythonWave wave;
    in >> wave.channels >> wave.rate >> wave.sampleBytes >> wave.frames;
    for (int c = 0; c < wave.channels; ++c) {
        double hz = 0, peak = 0;
        in >> hz >> peak;
        wave.hz.push_back(hz);
        wave.peak.push_back(peak);
    }
    if (!in)
        return std::nullopt;
    return wave;
}

// sox's own account of a file: `sox FILE -n remix 1 stat` decodes every sample and prints, among
// others, "Length (seconds)", "Maximum amplitude" and "Rough   frequency", of the first channel
// (sox's rough frequency of interleaved channels means nothing).
struct SoxStat
{
    double seconds = 0;
    double roughHz = 0;
    double maxAmplitude = 0;
    int channels = 0;
    int bits = 0;
};

inline std::optional<SoxStat> readWithSox(const std::filesystem::path &path)
{
    const auto text = commandOutput("sox " + quoted(path) + " -n remix 1 stat", true);
    const auto info = commandOutput("soxi -c " + quoted(path) + " && soxi -b " + quoted(path));
    if (!text || !info)
        return std::nullopt;
    std::map<std::string, double> values;
    std::istringstream lines(*text);
    for (std::string line; std::getline(lines, line);) {
        const auto colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        std::string name = line.substr(0, colon);
        while (!name.empty() && name.back() == ' ')
            name.pop_back();
        try {
            values[name] = std::stod(line.substr(colon + 1));
        } catch (...) {
        }
    }
    SoxStat stat;
    stat.seconds = values["Length (seconds)"];
    stat.roughHz = values["Rough   frequency"];
    stat.maxAmplitude = values["Maximum amplitude"];
    std::istringstream header(*info);
    header >> stat.channels >> stat.bits;
    return stat;
}

} // namespace corvane::test
