#include "CTCDefs.h"

#include "Archive.h"
#include "FileReplacement.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <type_traits>

namespace corvane {

namespace {

    struct FileCloser
    {
        void operator()(std::FILE *file) const noexcept { std::fclose(file); }
    };
    using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

    // NaN fails every comparison, so it is never in range.
    bool inRange(float value, float low, float high) noexcept
    {
        return value >= low && value <= high;
    }

    bool positiveUpTo(float value, float high) noexcept
    {
        return value > 0.0f && value <= high;
    }

    // A stored format must describe something the devices and the analyzer can be set up for:
    // the rates a capture device or an opened wave file may give, 1 or 2 channels, 8, 16 or 24
    // bits.
    bool usableFormat(const StoredSampleFormat &stored) noexcept
    {
        const SampleFormat &format = stored.format;
        return format.valid() && format.sampleRate >= 4000 && format.sampleRate <= 192000;
    }

    // A number the record holds as `Field` and the file as `Stored`, of another width or
    // signedness. Both directions convert modulo 2^n, so whatever the file held goes back to it
    // bit for bit; a value out of range on loading is the range check's business.
    template<typename Stored, typename Field>
    void exchangeAs(Field &field, Archive &ar)
    {
        Stored stored = static_cast<Stored>(field);
        ar.Exchange(stored);
        if constexpr (!std::is_const_v<Field>) {
            if (ar.IsLoading())
                field = static_cast<Field>(stored);
        }
    }

    // Puts the factory default back into `field` when `valid` says no; counts the replacements.
    template<typename T, typename Valid>
    void keepOrReset(T &field, const T &factory, Valid valid, int &replaced) noexcept
    {
        if (!valid(field)) {
            field = factory;
            ++replaced;
        }
    }

    template<typename T, std::size_t N, typename Valid>
    void keepOrResetEach(std::array<T, N> &entries, const std::array<T, N> &factory, Valid valid,
                         int &replaced) noexcept
    {
        for (std::size_t i = 0; i < N; ++i)
            keepOrReset(entries[i], factory[i], valid, replaced);
    }

    // Frequencies above the audible range are taken for damage, as are 0 and negatives.
    constexpr float kHighestSensibleHz = 20000.0f;

    // The zones widen from the in-tune middle (t2) outwards on both sides, each within 50 cents;
    // a set out of that order draws zones that overlap or vanish.
    bool thresholdsInOrder(const PinwheelThresholds &t) noexcept
    {
        return t[2] <= t[1] && t[1] <= t[0] && t[0] <= 50 && t[2] <= t[3] && t[3] <= t[4]
                && t[4] <= 50;
    }

    // "Error opening defaults file "/home/me/tonrik.def": Permission denied".
    std::string openErrorMessage(int cause, const std::filesystem::path &file)
    {
        std::error_code ignored;
        return std::string(kDefaultsOpenErrorMessage) + " \""
                + std::filesystem::absolute(file, ignored).string() + "\": " + std::strerror(cause);
    }

} // namespace

std::string CTCDefs::GetTemperamentName() const
{
    const auto end = std::find(m_temperamentName.begin(), m_temperamentName.end(), '\0');
    return std::string(m_temperamentName.begin(), end);
}

void CTCDefs::SetTemperamentName(std::string_view name) noexcept
{
    m_temperamentName = namedBytes(name);
}

template<typename Record>
void CTCDefs::exchangeFields(Record &r, Archive &ar)
{
    // The first word has no meaning: written as 0, skipped when read.
    std::uint32_t reserved = 0;
    ar.Exchange(reserved);
    ar.Exchange(r.m_referenceHz);
    ar.Exchange(r.m_tolerance1);
    ar.Exchange(r.m_tolerance2);
    ar.Exchange(r.m_logOptions);
    ar.Exchange(r.m_clef);
    ar.Exchange(r.m_filterLength);
    ar.Exchange(r.m_sensitivity);
    ar.Exchange(r.m_noiseThreshold);
    ar.Exchange(r.m_lowestNoteHz);
    ar.Exchange(r.m_highestNoteHz);
    ar.Exchange(r.m_transposeKey);
    ar.Exchange(r.m_transposeOctave);
    ar.Exchange(r.m_viewPanes);
    ar.Exchange(r.m_volume);
    ar.Exchange(r.m_tunerGain);
    for (auto *format : { &r.m_captureFormat, &r.m_playbackFormat }) {
        ar.Exchange(format->formatTag);
        exchangeAs<std::uint16_t>(format->format.channels, ar);
        exchangeAs<std::uint32_t>(format->format.sampleRate, ar);
        ar.Exchange(format->avgBytesPerSec);
        ar.Exchange(format->blockAlign);
        exchangeAs<std::uint16_t>(format->format.bitsPerSample, ar);
        ar.Exchange(format->extraSize);
    }
    for (auto &value : r.m_pitchAdjustCents)
        ar.Exchange(value);
    for (auto &value : r.m_toneLevel)
        ar.Exchange(value);
    for (auto &value : r.m_toneWaveform)
        ar.Exchange(value);
    for (auto &value : r.m_toneOctave)
        ar.Exchange(value);
    for (auto &value : r.m_pinwheelColors)
        ar.Exchange(value);
    for (auto &value : r.m_pinwheelThresholds)
        ar.Exchange(value);
    ar.Exchange(r.m_temperamentName.data(), r.m_temperamentName.size());
}

void CTCDefs::Serialize(Archive &ar)
{
    exchangeFields(*this, ar);
}

int CTCDefs::ReplaceInvalidFields() noexcept
{
    static constexpr CTCDefs factory;
    int replaced = 0;
    auto upTo = [](std::uint32_t high) { return [high](std::uint32_t v) { return v <= high; }; };
    auto between = [](auto low, auto high) {
        return [low, high](auto v) { return v >= low && v <= high; };
    };
    auto floatsIn = [](float low, float high) {
        return [low, high](float v) { return inRange(v, low, high); };
    };
    auto frequency = [](float hz) { return positiveUpTo(hz, kHighestSensibleHz); };

    keepOrReset(m_referenceHz, factory.m_referenceHz,
                floatsIn(kLowestPlausibleReferenceHz, kHighestPlausibleReferenceHz), replaced);
    keepOrReset(m_clef, factory.m_clef, upTo(3), replaced);
    keepOrReset(m_filterLength, factory.m_filterLength, between(1u, 3u), replaced);
    keepOrReset(m_sensitivity, factory.m_sensitivity, between(1u, 3u), replaced);
    keepOrReset(m_noiseThreshold, factory.m_noiseThreshold, floatsIn(0.0f, 1.0f), replaced);
    keepOrReset(m_lowestNoteHz, factory.m_lowestNoteHz, frequency, replaced);
    keepOrReset(m_highestNoteHz, factory.m_highestNoteHz, frequency, replaced);
    replaced += OrderNoteLimits();
    keepOrReset(m_transposeKey, factory.m_transposeKey, upTo(14), replaced);
    keepOrReset(m_transposeOctave, factory.m_transposeOctave, between(-2, 2), replaced);
    keepOrReset(m_viewPanes, factory.m_viewPanes, upTo(63), replaced);
    keepOrReset(m_volume, factory.m_volume, floatsIn(0.0f, 1.0f), replaced);
    keepOrReset(m_tunerGain, factory.m_tunerGain, floatsIn(0.0f, 2.0f), replaced);
    keepOrReset(m_captureFormat, factory.m_captureFormat, usableFormat, replaced);
    keepOrReset(m_playbackFormat, factory.m_playbackFormat, usableFormat, replaced);
    // The dialogs step offsets within 50 cents but accept more after a warning; an octave is
    // far beyond anything a temperament means.
    keepOrResetEach(m_pitchAdjustCents, factory.m_pitchAdjustCents, floatsIn(-1200.0f, 1200.0f),
                    replaced);
    keepOrResetEach(m_toneLevel, factory.m_toneLevel, floatsIn(0.0f, 1.0f), replaced);
    keepOrResetEach(m_toneWaveform, factory.m_toneWaveform, between(1u, 4u), replaced);
    keepOrResetEach(m_toneOctave, factory.m_toneOctave, between(-2, 2), replaced);
    // 0x00BBGGRR: whatever stands in the high byte is no part of the color.
    for (std::uint32_t &color : m_pinwheelColors) {
        if (color > 0xFFFFFFu) {
            color &= 0xFFFFFFu;
            ++replaced;
        }
    }
    keepOrReset(m_pinwheelThresholds, factory.m_pinwheelThresholds, thresholdsInOrder, replaced);
    const bool nameEnds = std::find(m_temperamentName.begin(), m_temperamentName.end(), '\0')
            != m_temperamentName.end();
    if (!nameEnds) {
        m_temperamentName = factory.m_temperamentName;
        ++replaced;
    }
    return replaced;
}

int CTCDefs::OrderNoteLimits() noexcept
{
    if (m_lowestNoteHz < m_highestNoteHz)
        return 0;
    if (m_lowestNoteHz > m_highestNoteHz) {
        std::swap(m_lowestNoteHz, m_highestNoteHz);
        return 1;
    }
    // One frequency for both limits leaves nothing to track.
    static constexpr CTCDefs factory;
    m_lowestNoteHz = factory.m_lowestNoteHz;
    m_highestNoteHz = factory.m_highestNoteHz;
    return 2;
}

std::string CTCDefs::WriteDefaultsFile(const std::filesystem::path &path,
                                       const FileFault &fault) const
{
    Archive ar;
    exchangeFields(*this, ar);
    const auto bytes = ar.Bytes();
    // The full path, so that a message about it tells the user which folder is meant.
    std::error_code ignored;
    FileReplacement file(std::filesystem::absolute(path, ignored), fault);
    file.write(std::as_bytes(std::span(bytes.data(), bytes.size())));
    file.commit();
    return file.error();
}

DefaultsFileStatus CTCDefs::LoadDefaultsFile(const DefaultsFileErrorHandler &reportError,
                                             const std::filesystem::path &path)
{
    if (FilePtr file { std::fopen(path.c_str(), "rb") }) {
        std::array<std::uint8_t, kDefaultsFileBytes> bytes {};
        const std::size_t count = std::fread(bytes.data(), 1, bytes.size(), file.get());
        // A file that opens but cannot be read (a folder of that name, a failing disk) is not a
        // damaged one: it would not take the settings at exit either.
        if (std::ferror(file.get())) {
            const int cause = errno;
            RestoreDefaults();
            if (reportError)
                reportError(openErrorMessage(cause, path));
            return DefaultsFileStatus::OpenError;
        }
        // The record is built aside, so a file that ends early cannot leave half of it behind.
        CTCDefs loaded;
        try {
            Archive ar(std::span<const std::uint8_t>(bytes.data(), count));
            loaded.Serialize(ar);
        } catch (const ArchiveError &) {
            RestoreDefaults();
            return DefaultsFileStatus::Damaged;
        }
        loaded.ReplaceInvalidFields();
        *this = loaded;
        return DefaultsFileStatus::Loaded;
    }

    const int readCause = errno;
    RestoreDefaults();
    // Exclusive creation: a file that exists but cannot be read is reported, not emptied.
    if (FilePtr created { std::fopen(path.c_str(), "wbx") })
        return DefaultsFileStatus::Created;
    // A name that is there but cannot be read says more by why it could not be read.
    const int cause = errno == EEXIST ? readCause : errno;
    if (reportError)
        reportError(openErrorMessage(cause, path));
    return DefaultsFileStatus::OpenError;
}

} // namespace corvane
