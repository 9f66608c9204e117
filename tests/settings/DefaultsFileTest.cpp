#include "CTCDefs.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <bit>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <tuple>
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

// The little-endian value of `width` bytes (1 ... 4) at `at`, and its inverse.
std::uint32_t le(const Bytes &b, std::size_t at, std::size_t width = 4)
{
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < width; ++i)
        v |= std::uint32_t { b[at + i] } << (8 * i);
    return v;
}

void putLe(Bytes &b, std::size_t at, std::size_t width, std::uint32_t v)
{
    for (std::size_t i = 0; i < width; ++i)
        b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint32_t bits(float v)
{
    return std::bit_cast<std::uint32_t>(v);
}

// A record in which every field differs from its factory default and from its neighbors, so a
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
    d.SetCaptureFormat({ 2, 44100, 16 });
    d.SetPlaybackFormat({ 1, 22050, 8 });
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
    EXPECT_EQ(le(b, 0), 0u);
    EXPECT_EQ((Bytes(b.begin() + 4, b.begin() + 8)), (Bytes { 0x00, 0x00, 0xDC, 0x43 })); // 440.0f
    const std::string name = "Equal Temperament";
    EXPECT_EQ(std::string(b.begin() + 340, b.begin() + 340 + 17), name);
    EXPECT_EQ(Bytes(b.begin() + 357, b.end()), Bytes(23, 0));
    // Both formats: PCM, mono, 11025 Hz, 11025 bytes/s, alignment 1, 16 bits, no extra bytes.
    const Bytes format { 1, 0, 1, 0, 0x11, 0x2B, 0, 0, 0x11, 0x2B, 0, 0, 1, 0, 16, 0, 0, 0 };
    EXPECT_EQ(Bytes(b.begin() + 64, b.begin() + 82), format);
    EXPECT_EQ(Bytes(b.begin() + 82, b.begin() + 100), format);
    EXPECT_EQ(le(b, 292), 0x000080u); // red 128 in the low byte
    EXPECT_EQ(le(b, 304), 0x00FF00u);
    EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 1)
            << "only the defaults file: no temporary file is left behind";
}

// The factory listens from B0 to C8, every instrument's range; a file written by an older
// version with its 82.5 / 1760 Hz keeps them, through a load and the next save alike.
TEST(DefaultsFile, FactoryLimitsAreB0ToC8AndAStoredPairIsKept)
{
    test::TempWorkingDir dir;
    ASSERT_TRUE(CTCDefs().SaveDefaultsFile());
    Bytes b = readFile(kDefaultsFileName);
    EXPECT_EQ(le(b, 36), bits(kFactoryLowestNoteHz));
    EXPECT_EQ(le(b, 40), bits(kFactoryHighestNoteHz));
    EXPECT_NEAR(CTCDefs().GetLowestNoteHz(), 30.87f, 0.01f);
    EXPECT_NEAR(CTCDefs().GetHighestNoteHz(), 4186.01f, 0.01f);

    putLe(b, 36, 4, bits(82.5f));
    putLe(b, 40, 4, bits(1760.0f));
    writeFile(kDefaultsFileName, b);
    CTCDefs older;
    EXPECT_EQ(older.LoadDefaultsFile({}), DefaultsFileStatus::Loaded);
    EXPECT_EQ(older.GetLowestNoteHz(), 82.5f);
    EXPECT_EQ(older.GetHighestNoteHz(), 1760.0f);
    ASSERT_TRUE(older.SaveDefaultsFile());
    EXPECT_EQ(readFile(kDefaultsFileName), b);
}

TEST(DefaultsFile, EveryFieldLandsAtItsOffsetAndLoadsBack)
{
    test::TempWorkingDir dir;
    const CTCDefs written = distinctRecord();
    ASSERT_TRUE(written.SaveDefaultsFile());
    const Bytes b = readFile(kDefaultsFileName);
    ASSERT_EQ(b.size(), 380u);

    struct Field
    {
        std::size_t at, width;
        std::uint32_t value;
    };
    // clang-format off
    const Field fields[] = {
        { 0, 4, 0 }, { 4, 4, bits(442.5f) }, { 8, 4, 11 }, { 12, 4, 22 },
        { 16, 4, 0x242 }, { 20, 4, 3 }, { 24, 4, 1 }, { 28, 4, 3 },
        { 32, 4, bits(0.35f) }, { 36, 4, bits(110.0f) }, { 40, 4, bits(880.0f) }, { 44, 4, 5 },
        { 48, 4, 0xFFFFFFFF }, { 52, 4, 0x2A }, { 56, 4, bits(0.625f) }, { 60, 4, bits(1.5f) },
        { 66, 2, 2 }, { 68, 4, 44100 }, { 72, 4, 176400 }, { 76, 2, 4 },
        { 78, 2, 16 }, { 86, 4, 22050 }, { 96, 2, 8 }, { 100, 4, bits(-5.5f) },
        { 144, 4, bits(5.5f) }, { 148, 4, bits(0.05f) }, { 192, 4, bits(0.6f) }, { 196, 4, 1 },
        { 240, 4, 4 }, { 244, 4, 0xFFFFFFFE }, { 288, 4, 0xFFFFFFFF }, { 292, 4, 0x010203 },
        { 316, 4, 0x131415 }, { 320, 4, 20 }, { 336, 4, 21 },
    };
    // clang-format on
    for (const Field &f : fields)
        EXPECT_EQ(le(b, f.at, f.width), f.value) << "offset " << f.at;
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(&b[340])), "Werckmeister III");

    CTCDefs read;
    EXPECT_EQ(read.LoadDefaultsFile({}), DefaultsFileStatus::Loaded);
    EXPECT_EQ(read, written);
    EXPECT_EQ(read.GetTemperamentName(), "Werckmeister III");

    // A name too long for its 40 bytes is cut so that it still ends within them.
    read.SetTemperamentName(std::string(60, 'x'));
    EXPECT_EQ(read.GetTemperamentName(), std::string(39, 'x'));
}

// A file shorter than the record gives the factory defaults without a message, and nothing of
// the partial read remains; a longer one is read for its first 380 bytes. Either way the next
// save writes the whole record.
TEST(DefaultsFile, ShortFileGivesFactoryDefaultsSilentlyAndALongerOneItsFirst380Bytes)
{
    test::TempWorkingDir dir;
    ASSERT_TRUE(distinctRecord().SaveDefaultsFile());
    Bytes b = readFile(kDefaultsFileName);
    b.insert(b.end(), 500, 0xEE);
    for (std::size_t size : { 100, 379, 0, 880 }) {
        writeFile(kDefaultsFileName, Bytes(b.begin(), b.begin() + static_cast<long>(size)));
        CTCDefs defs = size > 380 ? CTCDefs() : distinctRecord();
        bool told = false;
        EXPECT_EQ(defs.LoadDefaultsFile([&](const std::string &) { told = true; }),
                  size > 380 ? DefaultsFileStatus::Loaded : DefaultsFileStatus::Damaged)
                << size;
        EXPECT_FALSE(told);
        EXPECT_EQ(defs, size > 380 ? distinctRecord() : CTCDefs()) << size;
        ASSERT_TRUE(defs.SaveDefaultsFile());
        EXPECT_EQ(fs::file_size(kDefaultsFileName), 380u);
    }
}

TEST(DefaultsFile, ReservedWordAndToleranceValuesAreKeptAsTheyAre)
{
    test::TempWorkingDir dir;
    ASSERT_TRUE(CTCDefs().SaveDefaultsFile());
    Bytes b = readFile(kDefaultsFileName);
    for (auto [at, value] : { std::pair<std::size_t, std::uint32_t> { 0, 0xDEADBEEF },
                              { 8, 1000 },
                              { 12, 0xFFFFFFFF },
                              { 16, 0xFFFF },
                              { 292, 0xFF123456 } })
        putLe(b, at, 4, value);
    writeFile(kDefaultsFileName, b);
    CTCDefs defs;
    EXPECT_EQ(defs.LoadDefaultsFile({}), DefaultsFileStatus::Loaded);
    EXPECT_EQ(defs.GetTolerance1(), 1000u);
    EXPECT_EQ(defs.GetTolerance2(), 0xFFFFFFFFu);
    EXPECT_EQ(defs.GetLogOptions(), 0xFFFFu);
    // A color keeps its red, green and blue; the high byte is no part of it.
    EXPECT_EQ(defs.GetPinwheelColors()[0], 0x123456u);
    ASSERT_TRUE(defs.SaveDefaultsFile());
    EXPECT_EQ(le(readFile(kDefaultsFileName), 0), 0u);
}

// The program reads only channels, rate and depth of a stored format; the header fields beside
// them go back to the file as they came, even where they disagree with the format.
TEST(DefaultsFile, FormatFieldsTheProgramDoesNotReadGoBackAsStored)
{
    test::TempWorkingDir dir;
    ASSERT_TRUE(distinctRecord().SaveDefaultsFile());
    Bytes b = readFile(kDefaultsFileName);
    for (auto [at, width, value] :
         { std::tuple<std::size_t, std::size_t, std::uint32_t> { 64, 2, 0xFFFE },
           { 72, 4, 12345 },
           { 76, 2, 7 },
           { 80, 2, 22 },
           { 90, 4, 0xFFFFFFFF } })
        putLe(b, at, width, value);
    writeFile(kDefaultsFileName, b);
    CTCDefs defs;
    EXPECT_EQ(defs.LoadDefaultsFile({}), DefaultsFileStatus::Loaded);
    EXPECT_EQ(defs.GetCaptureFormat(), (SampleFormat { 2, 44100, 16 }));
    EXPECT_EQ(defs.GetPlaybackFormat(), (SampleFormat { 1, 22050, 8 }));
    ASSERT_TRUE(defs.SaveDefaultsFile());
    EXPECT_EQ(readFile(kDefaultsFileName), b);
}

// A field damaged in the file comes back as its factory default, silently; every other field as
// stored. Checked on the bytes saved afterwards: the damaged field's bytes (the whole format
// block for a format) are the factory file's, all others the stored file's.
TEST(DefaultsFile, EachOutOfRangeFieldIsReplacedByItsOwnFactoryDefault)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Case
    {
        const char *what;
        std::size_t at, width;
        std::uint32_t value;
        std::size_t from = 0, to = 0; // what returns to the factory value, if not the field
    };
    // clang-format off
    const Case cases[] = {
        { "reference 0", 4, 4, bits(0.0f) }, { "reference NaN", 4, 4, bits(nan) },
        { "clef 4", 20, 4, 4 }, { "filter length 0", 24, 4, 0 }, { "sensitivity 4", 28, 4, 4 },
        { "noise threshold 1.5", 32, 4, bits(1.5f) }, { "lowest note -82", 36, 4, bits(-82.0f) },
        { "highest note inf", 40, 4, bits(inf) }, { "key 15", 44, 4, 15 },
        { "octave -3", 48, 4, static_cast<std::uint32_t>(-3) }, { "panes 64", 52, 4, 64 },
        { "volume 1.01", 56, 4, bits(1.01f) }, { "negative gain", 60, 4, bits(-0.5f) },
        { "0 channels", 66, 2, 0, 64, 82 }, { "3 channels", 66, 2, 3, 64, 82 },
        { "rate 0", 68, 4, 0, 64, 82 }, { "12 bits", 78, 2, 12, 64, 82 },
        { "playback 12 bits", 96, 2, 12, 82, 100 },
        { "cents NaN on Re", 100 + 2 * 4, 4, bits(nan) },
        { "tone level 1.5 on Ti", 148 + 11 * 4, 4, bits(1.5f) }, { "waveform 5 on Do", 196, 4, 5 },
        { "tone octave 3 on Mi", 244 + 4 * 4, 4, 3 }, { "threshold 51", 328, 4, 51, 320, 340 },
        { "name without a zero byte", 340, 4, 0x41414141, 340, 380 },
    };
    // clang-format on

    test::TempWorkingDir dir;
    ASSERT_TRUE(CTCDefs().SaveDefaultsFile());
    const Bytes factory = readFile(kDefaultsFileName);
    ASSERT_TRUE(distinctRecord().SaveDefaultsFile());
    const Bytes good = readFile(kDefaultsFileName);
    for (const Case &c : cases) {
        Bytes damaged = good;
        putLe(damaged, c.at, c.width, c.value);
        if (c.from == 340)
            std::fill(damaged.begin() + 340, damaged.end(), 'A');
        writeFile(kDefaultsFileName, damaged);
        CTCDefs loaded;
        bool told = false;
        EXPECT_EQ(loaded.LoadDefaultsFile([&](const std::string &) { told = true; }),
                  DefaultsFileStatus::Loaded)
                << c.what;
        EXPECT_FALSE(told) << c.what;
        ASSERT_TRUE(loaded.SaveDefaultsFile());
        Bytes expected = good;
        const std::size_t from = c.to ? c.from : c.at, to = c.to ? c.to : c.at + c.width;
        std::copy(factory.begin() + long(from), factory.begin() + long(to),
                  expected.begin() + long(from));
        EXPECT_EQ(readFile(kDefaultsFileName), expected) << c.what;
    }
}

TEST(DefaultsFile, ASaveThatFailsAtAnyStepLeavesTheOldFileAndSaysWhichFileAndWhy)
{
    test::TempWorkingDir dir;
    ASSERT_TRUE(distinctRecord().SaveDefaultsFile());
    const Bytes before = readFile(kDefaultsFileName);

    for (const FileStep failing :
         { FileStep::Create, FileStep::Write, FileStep::Sync, FileStep::Close, FileStep::Rename }) {
        const std::string error =
                CTCDefs().WriteDefaultsFile(kDefaultsFileName, [failing](FileStep step) {
                    return step == failing ? ENOSPC : 0;
                });
        EXPECT_EQ(error,
                  "Cannot write \"" + (dir.path() / kDefaultsFileName).string()
                          + "\": No space left on device")
                << int(failing);
        EXPECT_EQ(readFile(kDefaultsFileName), before) << int(failing);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1)
                << "no temporary file is left behind, step " << int(failing);
    }

    ASSERT_EQ(CTCDefs().WriteDefaultsFile(), "");
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
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0],
              "Error opening defaults file \"" + (dir.path() / kDefaultsFileName).string()
                      + "\": No such file or directory");
    EXPECT_EQ(defs, CTCDefs());
}

// Fields that are each in range alone but cannot work together, or a reference no musician
// means: the file loads and the program can run on what it kept.
TEST(DefaultsFile, SettingsThatLoadButCannotWorkAreMendedAsASet)
{
    test::TempWorkingDir dir;
    ASSERT_TRUE(distinctRecord().SaveDefaultsFile());
    const Bytes good = readFile(kDefaultsFileName);
    auto load = [&](const Bytes &bytes) {
        writeFile(kDefaultsFileName, bytes);
        CTCDefs loaded;
        EXPECT_EQ(loaded.LoadDefaultsFile({}), DefaultsFileStatus::Loaded);
        return loaded;
    };

    for (float hz : { 5e-21f, 15000.0f, 219.0f, 881.0f }) {
        Bytes bytes = good;
        putLe(bytes, 4, 4, bits(hz));
        EXPECT_EQ(load(bytes).GetReferenceHz(), 440.0f) << hz;
    }
    for (float hz : { 220.0f, 415.0f, 880.0f }) {
        Bytes bytes = good;
        putLe(bytes, 4, 4, bits(hz));
        EXPECT_EQ(load(bytes).GetReferenceHz(), hz);
    }

    Bytes swapped = good;
    putLe(swapped, 36, 4, bits(1000.0f));
    putLe(swapped, 40, 4, bits(100.0f));
    const CTCDefs ordered = load(swapped);
    EXPECT_EQ(ordered.GetLowestNoteHz(), 100.0f);
    EXPECT_EQ(ordered.GetHighestNoteHz(), 1000.0f);
    Bytes equal = good;
    putLe(equal, 36, 4, bits(500.0f));
    putLe(equal, 40, 4, bits(500.0f));
    EXPECT_EQ(load(equal).GetLowestNoteHz(), CTCDefs().GetLowestNoteHz());

    // Each threshold within 50 but the middle zone wider than its neighbors: the whole set
    // goes back to the factory's.
    Bytes overlapping = good;
    putLe(overlapping, 320 + 2 * 4, 4, 30);
    EXPECT_EQ(load(overlapping).GetPinwheelThresholds(), CTCDefs().GetPinwheelThresholds());
}

// A defaults file that exists but cannot be read is not taken for a damaged one: the user is
// told, and nothing pretends the settings will be kept.
TEST(DefaultsFile, AFolderInPlaceOfTheFileIsReportedNotTakenForDamage)
{
    test::TempWorkingDir dir;
    fs::create_directory(kDefaultsFileName);
    std::vector<std::string> messages;
    CTCDefs defs = distinctRecord();
    EXPECT_EQ(defs.LoadDefaultsFile([&](const std::string &m) { messages.push_back(m); }),
              DefaultsFileStatus::OpenError);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0],
              "Error opening defaults file \"" + (dir.path() / kDefaultsFileName).string()
                      + "\": Is a directory");
    EXPECT_EQ(defs, CTCDefs());
    EXPECT_FALSE(defs.SaveDefaultsFile());
    EXPECT_TRUE(fs::is_directory(kDefaultsFileName));
}

TEST(DefaultsFile, TodaysRatesAndDepthsAreKeptAcrossASaveAndALoad)
{
    test::TempWorkingDir dir;
    for (const SampleFormat format : { SampleFormat { 2, 48000, 16 }, SampleFormat { 1, 48000, 24 },
                                       SampleFormat { 2, 96000, 24 } }) {
        CTCDefs written;
        written.SetCaptureFormat(format);
        written.SetPlaybackFormat(format);
        ASSERT_TRUE(written.SaveDefaultsFile());
        CTCDefs read;
        EXPECT_EQ(read.LoadDefaultsFile({}), DefaultsFileStatus::Loaded);
        EXPECT_EQ(read.GetCaptureFormat(), format) << format.sampleRate;
        EXPECT_EQ(read.GetPlaybackFormat(), format) << format.sampleRate;
    }
}
