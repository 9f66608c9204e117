#include "CTCDefs.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

using namespace corvane;
namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes readFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const fs::path &path, const Bytes &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

std::uint32_t u32At(const Bytes &b, std::size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | std::uint32_t { b[at + 3] } << 24;
}

std::uint16_t u16At(const Bytes &b, std::size_t at)
{
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

float floatAt(const Bytes &b, std::size_t at)
{
    return std::bit_cast<float>(u32At(b, at));
}

void putU32(Bytes &b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

void putFloat(Bytes &b, std::size_t at, float v)
{
    putU32(b, at, std::bit_cast<std::uint32_t>(v));
}

// A record in which every field differs from its factory default and from its neighbours, so a
// field written to the wrong place cannot go unnoticed.
CTCDefs distinctRecord()
{
    CTCDefs d;
    d.SetReferenceHz(442.5f);
    d.SetTolerance1(11);
    d.SetTolerance2(22);
    d.SetLogOptions(0x242);
    d.SetClef(3);
    d.SetFilterLength(1);
    d.SetSensitivity(3);
    d.SetNoiseThreshold(0.35f);
    d.SetLowestNoteHz(110.0f);
    d.SetHighestNoteHz(880.0f);
    d.SetTransposeKey(5);
    d.SetTransposeOctave(-1);
    d.SetViewPanes(0x2A);
    d.SetVolume(0.625f);
    d.SetTunerGain(1.5f);
    d.SetCaptureFormat({ 1, 2, 44100, 176400, 4, 16, 0 });
    d.SetPlaybackFormat({ 1, 1, 22050, 22050, 1, 8, 0 });
    DegreeFloats cents {}, levels {};
    DegreeWaveforms waves {};
    DegreeOctaves octaves {};
    for (int i = 0; i < kDegreeCount; ++i) {
        cents[i] = -5.5f + static_cast<float>(i);
        levels[i] = 0.05f * static_cast<float>(i + 1);
        waves[i] = 1 + static_cast<std::uint32_t>(i % 4);
        octaves[i] = (i % 5) - 2;
    }
    d.SetPitchAdjustCents(cents);
    d.SetToneLevel(levels);
    d.SetToneWaveform(waves);
    d.SetToneOctave(octaves);
    d.SetPinwheelColors({ 0x010203, 0x040506, 0x070809, 0x0A0B0C, 0x0D0E0F, 0x101112, 0x131415 });
    d.SetPinwheelThresholds({ 20, 15, 3, 16, 21 });
    d.SetTemperamentName("Werckmeister III");
    return d;
}

} // namespace

TEST(DefaultsFile, FirstStartCreatesTheFileAndExitLeavesTheFactoryRecordIn380Bytes)
{
    test::TempWorkingDir dir;
    CTCDefs defs;
    defs.SetClef(2); // whatever was in memory before must not survive
    EXPECT_EQ(defs.LoadDefaultsFile({}), DefaultsFileStatus::Created);
    EXPECT_EQ(defs, CTCDefs());
    ASSERT_TRUE(fs::exists(kDefaultsFileName));
    EXPECT_EQ(fs::file_size(kDefaultsFileName), 0u);

    ASSERT_TRUE(defs.SaveDefaultsFile());
    const Bytes b = readFile(kDefaultsFileName);
    ASSERT_EQ(b.size(), 380u);
    EXPECT_EQ(u32At(b, 0), 0u);
    EXPECT_EQ((Bytes(b.begin() + 4, b.begin() + 8)), (Bytes { 0x00, 0x00, 0xDC, 0x43 })); // 440.0f
    const std::string name = "Equal Temperament";
    EXPECT_EQ(std::string(b.begin() + 340, b.begin() + 340 + 17), name);
    EXPECT_EQ(Bytes(b.begin() + 357, b.end()), Bytes(23, 0));
    // Both formats: PCM, mono, 11025 Hz, 11025 bytes/s, alignment 1, 16 bits, no extra bytes.
    for (std::size_t at : { 64u, 82u }) {
        EXPECT_EQ(u16At(b, at), 1);
        EXPECT_EQ(u16At(b, at + 2), 1);
        EXPECT_EQ(u32At(b, at + 4), 11025u);
        EXPECT_EQ(u32At(b, at + 8), 11025u);
        EXPECT_EQ(u16At(b, at + 12), 1);
        EXPECT_EQ(u16At(b, at + 14), 16);
        EXPECT_EQ(u16At(b, at + 16), 0);
    }
    EXPECT_EQ(u32At(b, 292), 0x000080u); // red 128 in the low byte
    EXPECT_EQ(u32At(b, 304), 0x00FF00u);
    EXPECT_FALSE(fs::exists(kDefaultsTempFileName));
}

TEST(DefaultsFile, EveryFieldLandsAtItsOffsetAndLoadsBack)
{
    test::TempWorkingDir dir;
    const CTCDefs written = distinctRecord();
    ASSERT_TRUE(written.SaveDefaultsFile());
    const Bytes b = readFile(kDefaultsFileName);
    ASSERT_EQ(b.size(), 380u);

    EXPECT_EQ(u32At(b, 0), 0u);
    EXPECT_EQ(floatAt(b, 4), 442.5f);
    EXPECT_EQ(u32At(b, 8), 11u);
    EXPECT_EQ(u32At(b, 12), 22u);
    EXPECT_EQ(u32At(b, 16), 0x242u);
    EXPECT_EQ(u32At(b, 20), 3u); // clef before filter length and sensitivity
    EXPECT_EQ(u32At(b, 24), 1u);
    EXPECT_EQ(u32At(b, 28), 3u);
    EXPECT_EQ(floatAt(b, 32), 0.35f); // noise threshold before the note limits
    EXPECT_EQ(floatAt(b, 36), 110.0f);
    EXPECT_EQ(floatAt(b, 40), 880.0f);
    EXPECT_EQ(u32At(b, 44), 5u); // transposition before the view panes
    EXPECT_EQ(u32At(b, 48), 0xFFFFFFFFu);
    EXPECT_EQ(u32At(b, 52), 0x2Au);
    EXPECT_EQ(floatAt(b, 56), 0.625f);
    EXPECT_EQ(floatAt(b, 60), 1.5f);
    EXPECT_EQ(u16At(b, 66), 2);
    EXPECT_EQ(u32At(b, 68), 44100u);
    EXPECT_EQ(u32At(b, 72), 176400u);
    EXPECT_EQ(u16At(b, 76), 4);
    EXPECT_EQ(u16At(b, 78), 16);
    EXPECT_EQ(u32At(b, 86), 22050u);
    EXPECT_EQ(u16At(b, 96), 8);
    EXPECT_EQ(floatAt(b, 100), -5.5f);
    EXPECT_EQ(floatAt(b, 144), 5.5f);
    EXPECT_EQ(floatAt(b, 148), 0.05f);
    EXPECT_EQ(floatAt(b, 192), 0.6f);
    EXPECT_EQ(u32At(b, 196), 1u);
    EXPECT_EQ(u32At(b, 240), 4u);
    EXPECT_EQ(u32At(b, 244), static_cast<std::uint32_t>(-2));
    EXPECT_EQ(u32At(b, 288), static_cast<std::uint32_t>(-1));
    EXPECT_EQ(u32At(b, 292), 0x010203u);
    EXPECT_EQ(u32At(b, 316), 0x131415u);
    EXPECT_EQ(u32At(b, 320), 20u);
    EXPECT_EQ(u32At(b, 336), 21u);
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(&b[340])), "Werckmeister III");

    CTCDefs read;
    EXPECT_EQ(read.LoadDefaultsFile({}), DefaultsFileStatus::Loaded);
    EXPECT_EQ(read, written);
    EXPECT_EQ(read.GetTemperamentName(), "Werckmeister III");

    // A name too long for its 40 bytes is cut so that it still ends within them.
    read.SetTemperamentName(std::string(60, 'x'));
    EXPECT_EQ(read.GetTemperamentName(), std::string(39, 'x'));
}

TEST(DefaultsFile, ShortFileGivesFactoryDefaultsSilentlyAndIsRewrittenWhole)
{
    test::TempWorkingDir dir;
    ASSERT_TRUE(distinctRecord().SaveDefaultsFile());
    Bytes b = readFile(kDefaultsFileName);
    for (std::size_t size : { std::size_t { 100 }, std::size_t { 379 }, std::size_t { 0 } }) {
        writeFile(kDefaultsFileName, Bytes(b.begin(), b.begin() + static_cast<long>(size)));
        CTCDefs defs = distinctRecord();
        bool told = false;
        EXPECT_EQ(defs.LoadDefaultsFile([&](const std::string &) { told = true; }),
                  DefaultsFileStatus::Damaged)
                << size;
        EXPECT_FALSE(told);
        EXPECT_EQ(defs, CTCDefs()) << size; // nothing of the partial read remains
        ASSERT_TRUE(defs.SaveDefaultsFile());
        EXPECT_EQ(fs::file_size(kDefaultsFileName), 380u);
    }
}

TEST(DefaultsFile, LongerFileIsReadForItsFirst380Bytes)
{
    test::TempWorkingDir dir;
    ASSERT_TRUE(distinctRecord().SaveDefaultsFile());
    Bytes b = readFile(kDefaultsFileName);
    b.insert(b.end(), 500, 0xEE);
    writeFile(kDefaultsFileName, b);
    CTCDefs defs;
    EXPECT_EQ(defs.LoadDefaultsFile({}), DefaultsFileStatus::Loaded);
    EXPECT_EQ(defs, distinctRecord());
}

TEST(DefaultsFile, ReservedWordAndToleranceValuesAreKeptAsTheyAre)
{
    test::TempWorkingDir dir;
    ASSERT_TRUE(CTCDefs().SaveDefaultsFile());
    Bytes b = readFile(kDefaultsFileName);
    putU32(b, 0, 0xDEADBEEF);
    putU32(b, 8, 1000);
    putU32(b, 12, 0xFFFFFFFF);
    putU32(b, 16, 0xFFFF);
    putU32(b, 292, 0xFF123456);
    writeFile(kDefaultsFileName, b);
    CTCDefs defs;
    EXPECT_EQ(defs.LoadDefaultsFile({}), DefaultsFileStatus::Loaded);
    EXPECT_EQ(defs.GetTolerance1(), 1000u);
    EXPECT_EQ(defs.GetTolerance2(), 0xFFFFFFFFu);
    EXPECT_EQ(defs.GetLogOptions(), 0xFFFFu);
    EXPECT_EQ(defs.GetPinwheelColors()[0], 0xFF123456u);
    ASSERT_TRUE(defs.SaveDefaultsFile());
    EXPECT_EQ(u32At(readFile(kDefaultsFileName), 0), 0u);
}

// A field damaged in the file comes back as its factory default; every other field as stored.
TEST(DefaultsFile, EachOutOfRangeFieldIsReplacedByItsOwnFactoryDefault)
{
    const CTCDefs factory;
    struct Case
    {
        const char *what;
        std::function<void(Bytes &)> damage;
        std::function<void(CTCDefs &)> expectFactory;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    auto u16 = [](std::size_t at, std::uint16_t v) {
        return [=](Bytes &b) { b[at] = v & 0xFF, b[at + 1] = static_cast<std::uint8_t>(v >> 8); };
    };
    auto u32 = [](std::size_t at, std::uint32_t v) { return [=](Bytes &b) { putU32(b, at, v); }; };
    auto f32 = [](std::size_t at, float v) { return [=](Bytes &b) { putFloat(b, at, v); }; };
    auto capture = [&](CTCDefs &d) { d.SetCaptureFormat(factory.GetCaptureFormat()); };
    const std::vector<Case> cases {
        { "reference 0", f32(4, 0.0f), [&](CTCDefs &d) { d.SetReferenceHz(440.0f); } },
        { "reference NaN", f32(4, nan), [&](CTCDefs &d) { d.SetReferenceHz(440.0f); } },
        { "clef 4", u32(20, 4), [&](CTCDefs &d) { d.SetClef(0); } },
        { "filter length 0", u32(24, 0), [&](CTCDefs &d) { d.SetFilterLength(3); } },
        { "sensitivity 4", u32(28, 4), [&](CTCDefs &d) { d.SetSensitivity(2); } },
        { "noise threshold 1.5", f32(32, 1.5f), [&](CTCDefs &d) { d.SetNoiseThreshold(0.2f); } },
        { "lowest note -82", f32(36, -82.0f), [&](CTCDefs &d) { d.SetLowestNoteHz(82.5f); } },
        { "highest note inf", f32(40, inf), [&](CTCDefs &d) { d.SetHighestNoteHz(1760.0f); } },
        { "key 15", u32(44, 15), [&](CTCDefs &d) { d.SetTransposeKey(7); } },
        { "octave -3", u32(48, static_cast<std::uint32_t>(-3)),
          [&](CTCDefs &d) { d.SetTransposeOctave(0); } },
        { "panes 64", u32(52, 64), [&](CTCDefs &d) { d.SetViewPanes(7); } },
        { "volume 1.01", f32(56, 1.01f), [&](CTCDefs &d) { d.SetVolume(0.8f); } },
        { "negative gain", f32(60, -0.5f), [&](CTCDefs &d) { d.SetTunerGain(1.0f); } },
        { "0 channels", u16(66, 0), capture },
        { "3 channels", u16(66, 3), capture },
        { "rate 0", u32(68, 0), capture },
        { "12 bits", u16(78, 12), capture },
        { "playback 12 bits", u16(96, 12),
          [&](CTCDefs &d) { d.SetPlaybackFormat(factory.GetPlaybackFormat()); } },
        { "cents NaN on Re", f32(100 + 2 * 4, nan),
          [&](CTCDefs &d) {
              auto c = d.GetPitchAdjustCents();
              c[2] = 0.0f;
              d.SetPitchAdjustCents(c);
          } },
        { "tone level 1.5 on Ti", f32(148 + 11 * 4, 1.5f),
          [&](CTCDefs &d) {
              auto l = d.GetToneLevel();
              l[11] = 0.5f;
              d.SetToneLevel(l);
          } },
        { "waveform 5 on Do", u32(196, 5),
          [&](CTCDefs &d) {
              auto w = d.GetToneWaveform();
              w[0] = 2;
              d.SetToneWaveform(w);
          } },
        { "tone octave 3 on Mi", u32(244 + 4 * 4, 3),
          [&](CTCDefs &d) {
              auto o = d.GetToneOctave();
              o[4] = 0;
              d.SetToneOctave(o);
          } },
        { "threshold 51", u32(328, 51),
          [&](CTCDefs &d) {
              auto t = d.GetPinwheelThresholds();
              t[2] = 4;
              d.SetPinwheelThresholds(t);
          } },
        { "name without a zero byte", [](Bytes &b) { std::fill(b.begin() + 340, b.end(), 'A'); },
          [&](CTCDefs &d) { d.SetTemperamentName("Equal Temperament"); } },
    };

    test::TempWorkingDir dir;
    ASSERT_TRUE(distinctRecord().SaveDefaultsFile());
    const Bytes good = readFile(kDefaultsFileName);
    for (const Case &c : cases) {
        Bytes damaged = good;
        c.damage(damaged);
        writeFile(kDefaultsFileName, damaged);
        CTCDefs loaded;
        bool told = false;
        EXPECT_EQ(loaded.LoadDefaultsFile([&](const std::string &) { told = true; }),
                  DefaultsFileStatus::Loaded)
                << c.what;
        EXPECT_FALSE(told) << c.what;
        CTCDefs expected = distinctRecord();
        c.expectFactory(expected);
        EXPECT_EQ(loaded, expected) << c.what;
    }
}

TEST(DefaultsFile, SaveReplacesTheFileOnlyOnceTheNewOneIsComplete)
{
    test::TempWorkingDir dir;
    ASSERT_TRUE(distinctRecord().SaveDefaultsFile());
    const Bytes before = readFile(kDefaultsFileName);

    // The temporary file cannot be written (a directory stands in its way): the save fails and
    // the settings already on disk are untouched.
    fs::create_directory(kDefaultsTempFileName);
    EXPECT_FALSE(CTCDefs().SaveDefaultsFile());
    EXPECT_EQ(readFile(kDefaultsFileName), before);
    fs::remove(kDefaultsTempFileName);

    // A temporary file left by an earlier crash is simply overwritten.
    writeFile(kDefaultsTempFileName, Bytes(1000, 0x55));
    ASSERT_TRUE(CTCDefs().SaveDefaultsFile());
    EXPECT_FALSE(fs::exists(kDefaultsTempFileName));
    CTCDefs read = distinctRecord();
    EXPECT_EQ(read.LoadDefaultsFile({}), DefaultsFileStatus::Loaded);
    EXPECT_EQ(read, CTCDefs());
}

TEST(DefaultsFile, FileNeitherReadableNorCreatableIsReportedAndFactoryDefaultsUsed)
{
    test::TempWorkingDir dir;
    // A dangling link can be neither opened nor created exclusively, even with root's rights.
    fs::create_symlink("no-such-folder/tonrik.def", kDefaultsFileName);
    std::vector<std::string> messages;
    CTCDefs defs = distinctRecord();
    EXPECT_EQ(defs.LoadDefaultsFile([&](const std::string &m) { messages.push_back(m); }),
              DefaultsFileStatus::OpenError);
    EXPECT_EQ(messages, std::vector<std::string> { "Error opening defaults file" });
    EXPECT_EQ(defs, CTCDefs());
}
