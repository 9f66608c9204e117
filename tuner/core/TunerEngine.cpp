#include "TunerEngine.h"

#include "ActiveTimeCounter.h"
#include "AnalyzerPreferences.h"
#include "AudioFacade.h"
#include "BlockLength.h"
#include "CPitch.h"
#include "CTCDefs.h"
#include "DebugLog.h"
#include "FrequencyFold.h"
#include "InstrumentPresets.h"
#include "KeyContext.h"
#include "TakeNames.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <exception>
#include <filesystem>
#include <system_error>
#include <utility>

namespace corvane::tuner {

namespace {

    using Clock = std::chrono::steady_clock;

    double millisecondsSince(Clock::time_point start) noexcept
    {
        return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    }

} // namespace

TunerEngine::TunerEngine(CTCDefs &settings, const CPitch &pitch, const KeyContext &keys,
                         ActiveTimeCounter &practice, ProgramFolders folders)
    : m_settings(settings)
    , m_pitch(pitch)
    , m_keys(keys)
    , m_practice(practice)
    , m_folders(std::move(folders))
{
}

TunerEngine::~TunerEngine()
{
    // Joins both workers and destroys them, and with them the devices' only references to this
    // engine.
    stopDevices();
}

TunerEngine::Outcome TunerEngine::start(bool record)
{
    stopDevices();
    // Every voice is silent in a new engine; they get their pitches now and sound when
    // switched on.
    m_voices.configure(m_settings, m_pitch, m_keys);
    return openAndStart(record, true, kStartFailedMessage);
}

TunerEngine::Outcome TunerEngine::restartAudio(bool record)
{
    // Preparing the analyzer while its worker runs would race with the analysis, so the devices
    // stop first even when the caller has already stopped them.
    stopDevices();
    return openAndStart(record, false, kRestartFailedMessage);
}

void TunerEngine::stopDevices() noexcept
{
    audio::stop();
}

bool TunerEngine::pauseRecording(bool paused) noexcept
{
    return audio::pauseRecording(paused);
}

double TunerEngine::setVolume(double level) noexcept
{
    if (std::isnan(level))
        return m_settings.GetVolume();
    level = std::clamp(level, 0.0, 1.0);
    m_settings.SetVolume(float(level));
    audio::setVolume(float(level));
    return level;
}

TunerEngine::Outcome TunerEngine::openAndStart(bool record, bool setGain, const char *failure)
{
    Outcome outcome;
    try {
        prepareAnalyzer(setGain);
        audio::setCaptureFormat(m_captureFormat);
        audio::setPlaybackFormat(m_playbackFormat);
        if (!audio::open(*this, this, m_settings.GetVolume())) {
            stopDevices();
            return { Outcome::Status::Failed, failure };
        }
        m_playBudgetMs = 1000.0 * m_playbackFormat.blockLength / m_playbackFormat.sampleRate;
        m_tones.setup(m_playbackFormat, nullptr);
        m_tones.setLevel(1.0);
        // No worker runs yet: the changes waiting in the queues are applied here, in order.
        applyWaitingCommands();
        // The staging block holds sound before playback starts; until then it is ours.
        BlockRing &ring = audio::playbackRing();
        renderPlayBlock(reinterpret_cast<std::uint8_t *>(
                ring.blockAddress(audio::PlaybackWorker::kStagingIndex)));
    } catch (const std::exception &) {
        // A stored format or limit the graph refuses: the same as a device that will not open.
        stopDevices();
        return { Outcome::Status::Failed, failure };
    }
    startDevices(record, outcome);
    return outcome;
}

void TunerEngine::prepareAnalyzer(bool setGain)
{
    const SampleFormat capture = m_settings.GetCaptureFormat();
    const SampleFormat playback = m_settings.GetPlaybackFormat();
    // One second of frames per playback block.
    m_playbackFormat = PcmFormat { playback.sampleRate, playback };

    // Read afresh at every start and restart, so the mode chosen in the Optimize dialog is the
    // mode heard once the tuner restarts after it.
    const AnalyzerPreferences preferences =
            AnalyzerPreferences::load(m_folders.config / AnalyzerPreferences::kFileName);
    m_classicDisplay = preferences.classicDisplay;
    m_preferredInstrument = preferences.instrument;
    m_analyzer.setMode(preferences.classic ? PitchAnalyzer::Mode::Classic
                                           : PitchAnalyzer::Mode::Refined);
    // The analyzer looks at a block-long window whatever the hop; the device delivers one hop at
    // a time, so that a result follows every hop of sound.
    const PcmFormat window { blockLengthForRate(capture.sampleRate), capture };
    const int32_t hop =
            preferences.blockHop ? window.blockLength : hopLengthForRate(capture.sampleRate);
    // The tuner shows each result as soon as it can: no band waits for the slowest one.
    m_analyzer.setTiming(PitchAnalyzer::Timing::Immediate);
    m_analyzer.configure(window, int32_t(m_settings.GetFilterLength()),
                         int32_t(m_settings.GetSensitivity()), hop);
    m_captureFormat = PcmFormat { m_analyzer.hopLength(), capture };
    m_captureBudgetMs = m_captureFormat.sampleRate > 0
            ? 1000.0 * m_captureFormat.blockLength / m_captureFormat.sampleRate
            : 0.0;
    m_analyzer.setLimits(m_settings.GetLowestNoteHz(), m_settings.GetHighestNoteHz());
    if (setGain) {
        m_inputGain = std::clamp(double(m_settings.GetTunerGain()), 0.0, 2.0);
        if (std::isnan(m_inputGain))
            m_inputGain = 1.0;
        m_analyzer.setInputGain(m_inputGain);
    }
}

void TunerEngine::startDevices(bool record, Outcome &outcome)
{
    // Every take gets a name of its own: Record after Stop never writes over the last one.
    if (record) {
        // The recordings folder is made with the first take; if it cannot be, starting the
        // recording says why.
        std::error_code ignored;
        if (!m_folders.recordings.empty())
            std::filesystem::create_directories(m_folders.recordings, ignored);
        audio::setRecordingPath(nextFreeTake(m_folders.recordings).string());
    }
    std::string why;
    if (audio::start(record, &why)) {
        outcome = { Outcome::Status::Running, {} };
        return;
    }
    // A recording that cannot start (no room for the file, say) still leaves a working tuner;
    // the window tells the user why and stays out of the recording state.
    std::string ignored;
    if (record && audio::start(false, &ignored)) {
        outcome = { Outcome::Status::RunningWithoutRecording, why };
        return;
    }
    stopDevices();
    outcome = { Outcome::Status::Failed,
                record ? kRestartFailedMessage : std::string(kStartFailedMessage) };
}

void TunerEngine::applyWaitingCommands()
{
    CaptureCommand capture;
    while (m_captureCommands.pop(capture))
        m_analyzer.setInputGain(capture.inputGain);
    m_voices.flush(m_voiceCommands);
    VoiceCommand voice;
    while (m_voiceCommands.pop(voice))
        SynthVoices::apply(voice, m_tones);
    // Whatever did not fit before fits now.
    if (m_voices.flush(m_voiceCommands))
        while (m_voiceCommands.pop(voice))
            SynthVoices::apply(voice, m_tones);
}

TunerUpdate TunerEngine::update(Micros elapsed)
{
    TunerUpdate shown;
    elapsed = std::clamp(elapsed, Micros { 0 }, kLongestStep);
    shown.elapsed = elapsed;
    shown.fresh = m_results.hasFresh();
    m_results.read(m_lastResult);
    m_voices.flush(m_voiceCommands);
    if (m_gainPending)
        m_gainPending = !m_captureCommands.push({ m_inputGain });

    shown.totalEnergy = m_lastResult.totalEnergy;
    shown.fullLevel = m_lastResult.totalEnergy;
    for (std::size_t i = 0; i < shown.bandLevels.size(); ++i)
        shown.bandLevels[i] = m_lastResult.bandEnergy[8 - i];

    // The threshold is read at every update, so a change in the optimize dialog shows at once.
    const double threshold = m_settings.GetNoiseThreshold() * 0.5;
    shown.active = !(m_lastResult.totalEnergy < threshold);
    if (shown.active) {
        shown.foldedHz = foldIntoLowestOctave(m_pitch, m_lastResult.pitch);
        shown.readout = m_lastResult.range == PitchResult::Range::Within
                ? PitchReadout::of(m_lastResult.pitch, m_pitch, m_keys,
                                   m_settings.GetPitchAdjustCents())
                : PitchReadout::outOfRange(m_lastResult.range == PitchResult::Range::Below);
    }
    tickPractice(shown.active, elapsed);

    m_sinceLoad += elapsed;
    if (m_sinceLoad >= kLoadPeriod) {
        m_sinceLoad = std::min(m_sinceLoad - kLoadPeriod, kLoadPeriod);
        shown.loadChanged = true;
        shown.captureLoadPercent = LoadMeter::percent(m_load.captureLoad());
        shown.playbackLoadPercent = LoadMeter::percent(m_load.playbackLoad());
    }
    m_sinceClocks += elapsed;
    if (m_sinceClocks >= kClockPeriod) {
        m_sinceClocks = std::min(m_sinceClocks - kClockPeriod, kClockPeriod);
        shown.clocksDue = true;
    }
    // The worker counts overruns in captured blocks; the warning's thresholds count blocks of
    // the window's length, so that a hop's shorter blocks do not warn four times as soon.
    const auto window = std::uint64_t(std::max<std::int32_t>(windowLength(), 1));
    shown.overrunWarning =
            m_overruns.observe(audio::captureOverruns()
                               * std::uint64_t(std::max(m_captureFormat.blockLength, 1)) / window);
    shown.recordingFailed = audio::recordingFailed();
    return shown;
}

void TunerEngine::tickPractice(bool active, Micros elapsed) noexcept
{
    // The practice counter counts in ticks of its own rate (five a second in the program): one
    // tick for each such stretch of time that passed, active when anything was heard in it.
    const double perSecond = m_practice.ticksPerSecond();
    const Micros tick { perSecond > 0.0 ? std::max<std::int64_t>(std::llround(1e6 / perSecond), 1)
                                        : kClockPeriod.count() };
    m_practiceActive = m_practiceActive || active;
    m_sincePractice += elapsed;
    bool first = true;
    while (m_sincePractice >= tick) {
        m_practice.tick(first ? m_practiceActive : active);
        m_sincePractice -= tick;
        first = false;
    }
    if (!first)
        m_practiceActive = false;
}

std::string TunerEngine::instrumentName() const
{
    const InstrumentPreset *preset =
            instrumentPresetMatching(m_settings.GetLowestNoteHz(), m_settings.GetHighestNoteHz(),
                                     m_settings.GetFilterLength(), m_preferredInstrument);
    return preset ? std::string(preset->name) : std::string("Custom range");
}

void TunerEngine::configureVoices() noexcept
{
    m_voices.configure(m_settings, m_pitch, m_keys);
    m_voices.flush(m_voiceCommands);
}

bool TunerEngine::toggleTone(int degree) noexcept
{
    const bool on = m_voices.toggle(degree);
    m_voices.flush(m_voiceCommands);
    return on;
}

double TunerEngine::setInputGain(double gain) noexcept
{
    if (std::isnan(gain))
        return m_inputGain;
    m_inputGain = std::clamp(gain, 0.0, 2.0);
    // Only the newest gain matters: one that finds the queue full goes with the next update.
    m_gainPending = !m_captureCommands.push({ m_inputGain });
    return m_inputGain;
}

void TunerEngine::onBlock(const std::byte *block, std::size_t bytes, std::uint64_t) noexcept
{
    if (bytes != static_cast<std::size_t>(m_captureFormat.blockBytes()))
        return;
    try {
        processBlock(reinterpret_cast<const std::uint8_t *>(block));
    } catch (...) {
        audio::debugLogCaught("Capture analysis failed");
    }
}

void TunerEngine::processBlock(const std::uint8_t *block)
{
    const Clock::time_point start = Clock::now();
    CaptureCommand command;
    while (m_captureCommands.pop(command))
        m_analyzer.setInputGain(command.inputGain);
    m_results.publish(*m_analyzer.analyze(block));
    m_load.addCapture(millisecondsSince(start), m_captureBudgetMs);
}

void TunerEngine::renderBlock(std::byte *staging, std::size_t bytes) noexcept
{
    if (bytes < static_cast<std::size_t>(m_playbackFormat.blockBytes()))
        return;
    const Clock::time_point start = Clock::now();
    try {
        VoiceCommand command;
        while (m_voiceCommands.pop(command))
            SynthVoices::apply(command, m_tones);
        renderPlayBlock(reinterpret_cast<std::uint8_t *>(staging));
    } catch (...) {
        std::fill(staging, staging + bytes, m_playbackFormat.silenceByte());
        audio::debugLogCaught("Tone generation failed");
    }
    m_load.addPlayback(millisecondsSince(start), m_playBudgetMs);
}

void TunerEngine::renderPlayBlock(std::uint8_t *staging)
{
    // The target is set for every block: each open gives the playback ring new storage, and the
    // generator must never write into the old one.
    m_tones.output().setTarget(m_playbackFormat, staging);
    m_tones.generate();
}

} // namespace corvane::tuner
