#pragma once

#include "FileSteps.h"
#include "InstrumentPresets.h"
#include "StoredSampleFormat.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace corvane {

class Archive;

inline constexpr int kDegreeCount = 12; // scale degrees "Do" .. "Ti"
inline constexpr int kPinwheelColorCount = 7;
inline constexpr int kPinwheelThresholdCount = 5;
inline constexpr int kTemperamentNameBytes = 40;

// The defaults file lives in the current directory; it is saved through a temporary file beside
// it, which is renamed over it only once it is complete, so a failed save leaves the old settings.
inline constexpr const char *kDefaultsFileName = "tonrik.def";
inline constexpr std::size_t kDefaultsFileBytes = 380;
// The start of the message a defaults file that can be neither read nor created gives; the file's
// full path and the cause follow it.
inline constexpr const char *kDefaultsOpenErrorMessage = "Error opening defaults file";

// The pitch references a musician could mean, in Hz: an octave either side of 440 Hz, which
// holds every pitch standard in use or in history. The record keeps no reference outside it,
// and the note table's IsPlausibleReference (which the reference dialogs ask) follows it.
inline constexpr float kLowestPlausibleReferenceHz = 220.0f;
inline constexpr float kHighestPlausibleReferenceHz = 880.0f;

using DegreeFloats = std::array<float, kDegreeCount>;
using DegreeWaveforms = std::array<std::uint32_t, kDegreeCount>;
using DegreeOctaves = std::array<std::int32_t, kDegreeCount>;
using PinwheelColors = std::array<std::uint32_t, kPinwheelColorCount>;         // 0x00BBGGRR
using PinwheelThresholds = std::array<std::uint32_t, kPinwheelThresholdCount>; // cents

// How LoadDefaultsFile found the defaults file.
enum class DefaultsFileStatus {
    Loaded,    // a full record was read (invalid fields replaced by their factory defaults)
    Damaged,   // too short: factory defaults, no message
    Created,   // missing: created empty, factory defaults
    OpenError, // not readable (and not creatable): factory defaults, the handler was told
};

// Receives "Error opening defaults file "/path/tonrik.def": cause"; the application shows it in a
// message box.
using DefaultsFileErrorHandler = std::function<void(const std::string &message)>;

// Every user setting of the program. The program's record is part of its ProgramState, which
// `main` owns and hands down; it is read and written on the user-interface thread only
// (start-up, dialogs, commands). Worker threads never touch it: what
// they need reaches them as copies, through a command queue or as arguments.
//
// A constructed record holds the factory defaults. Setters store what they are given; ranges
// are the editors' business, except that a record loaded from the defaults file is checked.
// The 12-entry arrays are indexed by scale degree, not by pitch. Array and format accessors
// copy the whole value in or out.
class CTCDefs
{
public:
    constexpr CTCDefs() = default;

    float GetReferenceHz() const noexcept { return m_referenceHz; }
    void SetReferenceHz(float hz) noexcept { m_referenceHz = hz; }
    // Two indicator tolerances, 0..100, kept in the file for its layout; nothing reads them.
    std::uint32_t GetTolerance1() const noexcept { return m_tolerance1; }
    void SetTolerance1(std::uint32_t value) noexcept { m_tolerance1 = value; }
    std::uint32_t GetTolerance2() const noexcept { return m_tolerance2; }
    void SetTolerance2(std::uint32_t value) noexcept { m_tolerance2 = value; }
    // Practice-log print options, a bit set (0x002, 0x004, 0x020, 0x040, 0x200, 0x400).
    std::uint32_t GetLogOptions() const noexcept { return m_logOptions; }
    void SetLogOptions(std::uint32_t bits) noexcept { m_logOptions = bits; }
    // 0 treble, 1 alto, 2 tenor, 3 bass.
    std::uint32_t GetClef() const noexcept { return m_clef; }
    void SetClef(std::uint32_t clef) noexcept { m_clef = clef; }
    // 1 long (more accurate), 2 medium, 3 shorter (faster response).
    std::uint32_t GetFilterLength() const noexcept { return m_filterLength; }
    void SetFilterLength(std::uint32_t length) noexcept { m_filterLength = length; }
    // 1 high, 2 medium, 3 low.
    std::uint32_t GetSensitivity() const noexcept { return m_sensitivity; }
    void SetSensitivity(std::uint32_t sensitivity) noexcept { m_sensitivity = sensitivity; }
    // 0.00 .. 1.00.
    float GetNoiseThreshold() const noexcept { return m_noiseThreshold; }
    void SetNoiseThreshold(float threshold) noexcept { m_noiseThreshold = threshold; }
    float GetLowestNoteHz() const noexcept { return m_lowestNoteHz; }
    void SetLowestNoteHz(float hz) noexcept { m_lowestNoteHz = hz; }
    float GetHighestNoteHz() const noexcept { return m_highestNoteHz; }
    void SetHighestNoteHz(float hz) noexcept { m_highestNoteHz = hz; }
    // Key index 0..14 on the circle of fifths; 7 = C = no transposition.
    std::uint32_t GetTransposeKey() const noexcept { return m_transposeKey; }
    void SetTransposeKey(std::uint32_t key) noexcept { m_transposeKey = key; }
    // -2..+2 octaves.
    std::int32_t GetTransposeOctave() const noexcept { return m_transposeOctave; }
    void SetTransposeOctave(std::int32_t octaves) noexcept { m_transposeOctave = octaves; }
    // Visible analysis panes: 1 notes, 2 intonation, 4 volume, 8 wave, 16 octave bands, 32 timing.
    std::uint32_t GetViewPanes() const noexcept { return m_viewPanes; }
    void SetViewPanes(std::uint32_t bits) noexcept { m_viewPanes = bits; }
    // Playback volume 0.0 .. 1.0.
    float GetVolume() const noexcept { return m_volume; }
    void SetVolume(float volume) noexcept { m_volume = volume; }
    // Tuner input gain 0.0 .. 2.0.
    float GetTunerGain() const noexcept { return m_tunerGain; }
    void SetTunerGain(float gain) noexcept { m_tunerGain = gain; }

    // Storing a format also stores the header fields the file keeps beside it, worked out from
    // the format (see StoredSampleFormat).
    SampleFormat GetCaptureFormat() const noexcept { return m_captureFormat.format; }
    void SetCaptureFormat(const SampleFormat &format) noexcept
    {
        m_captureFormat = StoredSampleFormat::of(format);
    }
    SampleFormat GetPlaybackFormat() const noexcept { return m_playbackFormat.format; }
    void SetPlaybackFormat(const SampleFormat &format) noexcept
    {
        m_playbackFormat = StoredSampleFormat::of(format);
    }
    // Temperament offset of each degree, cents.
    DegreeFloats GetPitchAdjustCents() const noexcept { return m_pitchAdjustCents; }
    void SetPitchAdjustCents(const DegreeFloats &cents) noexcept { m_pitchAdjustCents = cents; }
    // Tone-generator level of each degree, 0.0 .. 1.0.
    DegreeFloats GetToneLevel() const noexcept { return m_toneLevel; }
    void SetToneLevel(const DegreeFloats &levels) noexcept { m_toneLevel = levels; }
    // Tone-generator waveform code of each degree, 1..4.
    DegreeWaveforms GetToneWaveform() const noexcept { return m_toneWaveform; }
    void SetToneWaveform(const DegreeWaveforms &codes) noexcept { m_toneWaveform = codes; }
    // Tone-generator octave shift of each degree, -2..+2.
    DegreeOctaves GetToneOctave() const noexcept { return m_toneOctave; }
    void SetToneOctave(const DegreeOctaves &octaves) noexcept { m_toneOctave = octaves; }
    // Zone colors from most flat to most sharp, red in the low byte.
    PinwheelColors GetPinwheelColors() const noexcept { return m_pinwheelColors; }
    void SetPinwheelColors(const PinwheelColors &colors) noexcept { m_pinwheelColors = colors; }
    // Zone thresholds in cents: outer flat, inner flat, in-tune half-width, inner sharp, outer
    // sharp.
    PinwheelThresholds GetPinwheelThresholds() const noexcept { return m_pinwheelThresholds; }
    void SetPinwheelThresholds(const PinwheelThresholds &cents) noexcept
    {
        m_pinwheelThresholds = cents;
    }
    // The name up to its first zero byte. Setting keeps at most 39 characters and zero-pads the
    // rest, so the stored name always ends within its 40 bytes.
    std::string GetTemperamentName() const;
    void SetTemperamentName(std::string_view name) noexcept;

    // Factory defaults in every field. Touches neither the file nor the note table.
    void RestoreDefaults() noexcept { *this = CTCDefs(); }

    // Stores or loads the whole record in the file's order (380 bytes). On an ArchiveError
    // while loading, the fields read so far have changed and the rest have not.
    void Serialize(Archive &ar);

    // Replaces each field that lies outside its range by its own factory default (array entries
    // one by one, a format as a whole, the pinwheel thresholds as a set; colors lose any high
    // byte), so that a
    // damaged or hand-edited file cannot stop the program. The reference must be one a musician
    // could mean (kLowestPlausibleReferenceHz ... kHighestPlausibleReferenceHz); the note limits
    // are put in ascending order; the thresholds must widen outwards from the middle zone. The
    // reserved word and the tolerances are not checked. Returns the number of fields and entries
    // replaced.
    int ReplaceInvalidFields() noexcept;

    // Puts the lowest and highest note limits in ascending order, the rule the Optimize dialog
    // follows too; two equal limits become the factory pair. Returns the fields changed.
    int OrderNoteLimits() noexcept;

    // Writes the record to `path` ("tonrik.def" in the settings folder; the current directory's
    // by default), whole or not at all (see FileReplacement); returns the message naming the
    // file's full path and the cause, empty on success. On failure the file is untouched.
    // `fault` lets tests fail any step. Allocates.
    std::string WriteDefaultsFile(const std::filesystem::path &path = kDefaultsFileName,
                                  const FileFault &fault = {}) const;
    // The same, when only success matters.
    bool SaveDefaultsFile() const { return WriteDefaultsFile().empty(); }

    // The start-up sequence: reads `path`, "tonrik.def" (a short file gives the factory defaults
    // silently; a longer one is read for its first 380 bytes); creates it empty when missing;
    // when it can be neither read nor created, or opens but cannot be read (a folder of that
    // name, a failing disk), calls `reportError` with "Error opening defaults file", the file's
    // full path and the cause, and returns
    // OpenError: the exit save will fail too, so the caller tells the user when it does rather
    // than dropping the settings silently. Every outcome but Loaded leaves the factory defaults.
    DefaultsFileStatus LoadDefaultsFile(const DefaultsFileErrorHandler &reportError,
                                        const std::filesystem::path &path = kDefaultsFileName);

    friend constexpr bool operator==(const CTCDefs &, const CTCDefs &) = default;

private:
    template<typename Record>
    static void exchangeFields(Record &record, Archive &ar);

    static constexpr std::array<char, kTemperamentNameBytes> namedBytes(std::string_view name)
    {
        std::array<char, kTemperamentNameBytes> bytes {};
        for (std::size_t i = 0; i < name.size() && i + 1 < bytes.size(); ++i)
            bytes[i] = name[i];
        return bytes;
    }

    // Fields in the record's own order; the file's order is in exchangeFields.
    float m_referenceHz = 440.0f;
    std::uint32_t m_tolerance1 = 50;
    std::uint32_t m_tolerance2 = 50;
    std::uint32_t m_logOptions = 38;
    std::uint32_t m_clef = 0;
    std::uint32_t m_filterLength = 3;
    std::uint32_t m_sensitivity = 2;
    // Factory 0.02: the refined analyzer rejects noise by the clarity of the period, so the
    // level gate only has to keep out the quietest blocks (0.2 cut off decaying piano notes).
    float m_noiseThreshold = 0.02f;
    // Factory B0..C8, every instrument's range: a cello's C2 or a piccolo's C7 is read right
    // without a setting changed. A defaults file keeps the limits stored in it.
    float m_lowestNoteHz = kFactoryLowestNoteHz;
    float m_highestNoteHz = kFactoryHighestNoteHz;
    std::uint32_t m_transposeKey = 7;
    std::int32_t m_transposeOctave = 0;
    std::uint32_t m_viewPanes = 7;
    float m_volume = 0.8f;
    float m_tunerGain = 1.0f;
    StoredSampleFormat m_captureFormat {};
    StoredSampleFormat m_playbackFormat {};
    DegreeFloats m_pitchAdjustCents { 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                                      0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f };
    DegreeFloats m_toneLevel { 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f,
                               0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f };
    DegreeWaveforms m_toneWaveform { 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2 };
    DegreeOctaves m_toneOctave { 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0 };
    PinwheelColors m_pinwheelColors { 0x000080, 0x008080, 0x008000, 0x00FF00,
                                      0x008000, 0x008080, 0x000080 };
    PinwheelThresholds m_pinwheelThresholds { 12, 8, 4, 8, 12 };
    std::array<char, kTemperamentNameBytes> m_temperamentName = namedBytes("Equal Temperament");
};

} // namespace corvane
