// Every instrument's range with no setting changed: a cello's open C2, a bass's low E1 and a
// piccolo's C7, each a held tone of several partials rendered by sox, are named right by
// `tonrik --analyze --json` run with a fresh settings folder, and by the tuner engine prepared
// from the factory settings (the wheel of the note lit, the readout within 5 cents).

#include "ActiveTimeCounter.h"
#include "CPitch.h"
#include "CTCDefs.h"
#include "CommandOutput.h"
#include "KeyContext.h"
#include "PinwheelBoard.h"
#include "TempDir.h"
#include "TunerEngine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

using namespace corvane;
using corvane::test::commandOutput;
using corvane::test::quoted;

namespace {

struct Tone
{
    const char *instrument;
    const char *note; // as the analysis and the readout name it
    int degree;       // its wheel in C major, as the tuner starts
    double hz;
    // Relative levels of the partials 1, 2, 3, ...: a bowed string's second partial is as
    // strong as its first, a piccolo's tone is nearly a sine.
    std::vector<double> partials;
};

const Tone kTones[] = {
    { "cello", "C2", 0, 65.4064, { 0.8, 1.0, 0.7, 0.5, 0.35, 0.25, 0.15, 0.1 } },
    { "bass", "E1", 4, 41.2034, { 0.7, 1.0, 0.6, 0.45, 0.3, 0.2, 0.1 } },
    { "piccolo", "C7", 0, 2093.005, { 1.0, 0.2 } },
};
constexpr double kSeconds = 3.0;
// The held part: past the attack and the analyzer's first windows, before the release.
constexpr double kHeldFrom = 0.4, kHeldTo = 2.5;

// `tone` at `rate`, 16-bit mono, with a short attack and release; the partials at or above 0.45
// of the rate are left out, as a recording's anti-alias filter would.
std::filesystem::path render(const Tone &tone, int rate, const std::filesystem::path &dir)
{
    std::ostringstream synth, remix;
    int channels = 0;
    double sum = 0.0;
    for (std::size_t k = 0; k < tone.partials.size(); ++k) {
        const double hz = tone.hz * double(k + 1);
        if (hz >= 0.45 * rate)
            break;
        synth << " sine " << hz;
        sum += tone.partials[k];
        ++channels;
    }
    for (int c = 0; c < channels; ++c)
        remix << (c ? "," : "") << c + 1 << 'v' << 0.6 * tone.partials[std::size_t(c)] / sum;
    const std::filesystem::path file =
            dir / (std::string(tone.instrument) + "-" + std::to_string(rate) + ".wav");
    const std::string command = "sox -c " + std::to_string(channels) + " -r " + std::to_string(rate)
            + " -n -b 16 " + quoted(file) + " synth " + std::to_string(kSeconds) + synth.str()
            + " remix " + remix.str() + " fade 0.02 " + std::to_string(kSeconds) + " 0.2";
    if (!commandOutput(command, true))
        return {};
    return file;
}

// One JSON row of `--analyze --json`: the fields this test reads.
struct Row
{
    double time = 0.0;
    bool stable = false;
    std::optional<std::string> note;
    double cents = 0.0;
};

std::optional<std::string> field(const std::string &line, const std::string &name)
{
    const std::string key = "\"" + name + "\": ";
    const std::size_t at = line.find(key);
    if (at == std::string::npos)
        return std::nullopt;
    const std::size_t from = at + key.size();
    const std::size_t to = line.find_first_of(",}", from);
    return line.substr(from, to - from);
}

std::vector<Row> jsonRows(const std::string &json)
{
    std::vector<Row> rows;
    std::istringstream lines(json);
    for (std::string line; std::getline(lines, line);) {
        const auto time = field(line, "time_s");
        if (!time)
            continue;
        Row row;
        row.time = std::stod(*time);
        row.stable = field(line, "stable") == "true";
        const auto note = field(line, "note");
        if (note && *note != "null")
            row.note = note->substr(1, note->size() - 2);
        const auto cents = field(line, "cents");
        if (cents && *cents != "null")
            row.cents = std::stod(*cents);
        rows.push_back(row);
    }
    return rows;
}

class FactoryRange : public ::testing::TestWithParam<int>
{
protected:
    int rate() const { return GetParam(); }
    corvane::test::TempWorkingDir dir;
};

// At both rates the tuner takes by default and for music (11025 Hz is the factory's).
INSTANTIATE_TEST_SUITE_P(Rates, FactoryRange, ::testing::Values(11025, 44100),
                         [](const auto &info) { return std::to_string(info.param); });

TEST_P(FactoryRange, TheAnalysisNamesEveryHeldRowOfACelloABassAndAPiccolo)
{
    std::filesystem::create_directory(dir.path() / "config");
    for (const Tone &tone : kTones) {
        SCOPED_TRACE(tone.instrument);
        const std::filesystem::path file = render(tone, rate(), dir.path());
        ASSERT_FALSE(file.empty()) << "sox could not render the tone";
        // A settings folder with nothing in it, and no defaults file in the working folder.
        const auto json = commandOutput(
                "env -u CORVANE_PORTABLE XDG_CONFIG_HOME=" + quoted(dir.path() / "config") + " "
                + quoted(CORVANE_TONRIK) + " --analyze " + quoted(file) + " --json");
        ASSERT_TRUE(json);
        EXPECT_NE(json->find("\"lowest_hz\": 30.86"), std::string::npos) << "the factory range";
        int held = 0, right = 0;
        std::ostringstream wrong;
        for (const Row &row : jsonRows(*json)) {
            if (row.time < kHeldFrom || row.time > kHeldTo || !row.stable)
                continue;
            ++held;
            if (row.note == tone.note && std::abs(row.cents) <= 5.0)
                ++right;
            else
                wrong << row.time << " s: " << row.note.value_or("-") << " " << row.cents
                      << " cents\n";
        }
        EXPECT_GE(held, 10) << "the held part is read as stable";
        EXPECT_EQ(right, held) << wrong.str();
    }
}

TEST_P(FactoryRange, TheTunerLightsTheWheelOfACelloABassAndAPiccoloAndReadsThemInTune)
{
    for (const Tone &tone : kTones) {
        SCOPED_TRACE(tone.instrument);
        const std::filesystem::path file = render(tone, rate(), dir.path());
        ASSERT_FALSE(file.empty()) << "sox could not render the tone";
        const auto pcm = commandOutput("sox " + quoted(file) + " -t raw -");
        ASSERT_TRUE(pcm);

        CTCDefs settings; // the factory's, but for the rate
        settings.SetCaptureFormat({ 1, rate(), 16 });
        settings.SetPlaybackFormat({ 1, rate(), 16 });
        CPitch pitch;
        KeyContext keys(settings);
        ActiveTimeCounter practice(0);
        tuner::TunerEngine engine(settings, pitch, keys, practice);
        engine.prepareAnalyzer();
        tuner::PinwheelBoard wheels;
        wheels.Relabel(keys);

        const std::size_t blockBytes = std::size_t(engine.captureFormat().blockLength) * 2;
        int held = 0, right = 0;
        std::ostringstream wrong;
        for (std::size_t at = 0; at + blockBytes <= pcm->size(); at += blockBytes) {
            engine.processBlock(reinterpret_cast<const std::uint8_t *>(pcm->data() + at));
            const tuner::TunerUpdate shown = engine.update();
            wheels.Update(shown.foldedHz, pitch, keys, settings.GetPitchAdjustCents(),
                          settings.GetPinwheelThresholds(), tuner::WheelState::kTurnPeriod);
            const double seconds = double(at + blockBytes) / 2.0 / rate();
            if (seconds < kHeldFrom + 0.3 || seconds > kHeldTo)
                continue; // the tuner hears each block late by its filters' delay
            ++held;
            const tuner::WheelState &wheel = wheels.wheel(tone.degree);
            if (shown.readout.note() == tone.note && std::abs(shown.readout.cents()) <= 5.0
                && wheel.mode() == tuner::WheelState::Mode::Active)
                ++right;
            else
                wrong << seconds << " s: " << shown.readout.note() << " " << shown.readout.cents()
                      << " cents, wheel "
                      << (wheel.mode() == tuner::WheelState::Mode::Active ? "lit" : "not lit")
                      << "\n";
        }
        EXPECT_GE(held, 10);
        EXPECT_EQ(right, held) << wrong.str();
    }
}

} // namespace
