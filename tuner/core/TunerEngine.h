#pragma once

#include "BlockSink.h"
#include "CaptureCommand.h"
#include "CommandQueue.h"
#include "LatestValue.h"
#include "LoadMeter.h"
#include "OverrunCounter.h"
#include "PcmFormat.h"
#include "PitchAnalyzer.h"
#include "PitchResult.h"
#include "ProgramFolders.h"
#include "SynthVoices.h"
#include "ToneGenerator.h"
#include "TunerUpdate.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

namespace corvane {
class ActiveTimeCounter;
class CPitch;
class CTCDefs;
class KeyContext;
}

namespace corvane::tuner {

// The working half of the tuner window: it owns the pitch analyzer and the tone generator,
// opens the sound devices as their block sink and source, and turns what the capture worker
// found into what the window shows.
//
// Three threads meet here, and each owns its part:
// - the capture worker calls onBlock once per captured block (a hop of the analyzer's window): it
//   applies the window's waiting analyzer changes, analyzes the block it is handed and publishes
//   the whole result through a latest-value mailbox;
// - the playback worker calls renderBlock once per refill: it applies the waiting voice changes
//   and renders the next block of drones into the staging block it is handed;
// - the user-interface thread runs everything else: start, restartAudio, stopDevices, update
//   (up to sixty times a second, or five in the classic display, from the window's timer), the
//   voices and the input gain. It reaches
//   the workers only through the two command queues, and touches the analyzer and the tone
//   generator itself only while the devices are stopped (their workers joined).
// Neither worker ever waits for the user-interface thread, locks or allocates per block.
//
// The settings record, note table, key context and practice counter belong to the user-interface
// thread and must outlive the engine; the workers never read them. The devices are the
// process-wide audio facade's; the engine opens them with itself as sink and source, and stops
// them (joining both workers) before it goes.
class TunerEngine final : public audio::BlockSink, public audio::BlockSource
{
public:
    static constexpr const char *kStartFailedMessage =
            "Unable to initialize -- stopping tuner\n"
            "The sound device would not open in the chosen configuration. Choose a device and a "
            "configuration it can take with \"Soundcard...\" (or Settings > Configure Sound "
            "Card), or choose the device \"Virtual capture (Virtual)\" there to tune to a test "
            "tone without a sound card; \"tonrik --tune take.wav\" tunes to a recording.";
    static constexpr const char *kRestartFailedMessage =
            "Unable to initialize recording -- stopping tuner\n"
            "The sound device would not open again in the chosen configuration. Choose a "
            "device and a configuration it can take with \"Soundcard...\" (or Settings > "
            "Configure Sound Card) and start the tuner again.";
    static constexpr const char *kOverrunMessage =
            "The program is unable to keep up.\n"
            "One of the following options may help:\n"
            "1.  Reduce the sampling rate.\n"
            "2.  Exit any other programs running on your PC.\n"
            "3.  Turn off any tone generators.";
    using Micros = std::chrono::microseconds;
    // The classic display's updates a second.
    static constexpr int kUpdatesPerSecond = 5;
    // The smooth display's most updates a second, about the screen's refresh.
    static constexpr int kSmoothUpdatesPerSecond = 60;
    // The load bars show the average over this time.
    static constexpr Micros kLoadPeriod { 2'000'000 };
    // The clocks are redrawn this often.
    static constexpr Micros kClockPeriod { 1'000'000 };
    // An update counts no more time than this since the one before: a window held up longer
    // (a menu, a slow machine) goes on where it was instead of leaping ahead.
    static constexpr Micros kLongestStep { 1'000'000 };

    // How starting or restarting the devices ended.
    struct Outcome
    {
        enum class Status {
            Running,                 // tuning, and recording when that was asked for
            RunningWithoutRecording, // tuning, but the recording could not start: `message` says
                                     // why
            Failed,                  // the devices are stopped; `message` is for the user, and
                                     // the window closes the way Cancel does
        };
        Status status = Status::Running;
        std::string message;

        bool running() const noexcept { return status != Status::Failed; }
    };

    // `folders`: where the analysis preferences are read and the takes go (the working folder
    // by default).
    TunerEngine(CTCDefs &settings, const CPitch &pitch, const KeyContext &keys,
                ActiveTimeCounter &practice, ProgramFolders folders = {});
    // Stops the devices, so no worker calls into a destroyed engine.
    ~TunerEngine();
    TunerEngine(const TunerEngine &) = delete;
    TunerEngine &operator=(const TunerEngine &) = delete;

    // ---- user-interface thread ----

    // Prepares the analyzer for the stored capture format, opens both devices with this engine
    // as their sink and source and the stored playback volume, tunes the voices (all silent),
    // renders the first block of tones and starts tuning, and recording into the next free
    // take ("tune0000.wav", "tune0001.wav", ...: TakeNames.h) when `record`. On failure (bad stored
    // format, devices that will not open) everything is stopped and the message is
    // kStartFailedMessage ("Unable to initialize -- stopping tuner" and what to do).
    Outcome start(bool record);

    // After a change of formats or analysis settings (the sound-card and optimize dialogs) or to
    // begin recording: stops the devices if they run, prepares the analyzer again (it keeps its
    // input gain), reopens and restarts the devices. On failure everything is stopped and the
    // message is kRestartFailedMessage ("Unable to initialize recording -- stopping tuner" and
    // what to do).
    Outcome restartAudio(bool record);

    // What start does first, without any device: builds the capture and playback formats from
    // the settings and prepares the analyzer for them (filter length, consensus, note limits,
    // the pitch analysis mode, the hop and the display of "tonrik.prefs" in the configuration
    // folder, as the Optimize dialog left them, and the stored input gain when `setGain`). A caller
    // may then feed blocks through processBlock itself. Devices stopped only; throws the analyzer's
    // errors for a format or limit it refuses.
    void prepareAnalyzer(bool setGain = true);

    // Stops both devices and joins their workers (finishing a recording). Safe to repeat.
    void stopDevices() noexcept;

    // Stops (true) or resumes (false) writing the recording while tuning goes on; the file stays
    // open, so Stop keeps the whole take less the paused stretches. False when not recording.
    bool pauseRecording(bool paused) noexcept;

    // Playback volume 0 ... 1 for the drones; stored in the settings. Returns the level taken.
    double setVolume(double level) noexcept;

    // One display update, `elapsed` after the one before (clamped to 0 ... kLongestStep): takes
    // the newest result, gates it by the noise threshold, folds the frequency, counts the time in
    // the practice counter (in its own ticks, active when anything was heard), and says what the
    // window should show; the elapsed time goes with it to the wheels and meters. The classic
    // display calls it five times a second with a fifth of a second each; the smooth one up to
    // sixty times with the time measured. Also sends voice changes a full queue held back.
    TunerUpdate update(Micros elapsed = Micros { 1'000'000 / kUpdatesPerSecond });

    // Whether "tonrik.prefs" asked for the five-a-second display, as the last prepareAnalyzer
    // read it.
    bool classicDisplay() const noexcept { return m_classicDisplay; }
    // The instrument preset last chosen in the Optimize dialog, as the last prepareAnalyzer read
    // it; empty for none.
    const std::string &preferredInstrument() const noexcept { return m_preferredInstrument; }
    // The instrument preset whose limits and filter length the settings hold now, by name
    // ("Cello"; the one last chosen when two match), or "Custom range" when none does.
    std::string instrumentName() const;

    // Retunes all twelve voices from the settings, key and temperament; on and off stay.
    void configureVoices() noexcept;
    // Switches degree 0 ... 11 on or off; returns whether it now sounds.
    bool toggleTone(int degree) noexcept;
    bool toneOn(int degree) const noexcept { return m_voices.isOn(degree); }

    // Input gain 0 ... 2 for the analyzer, applied from the next block. A value outside that
    // range is brought into it; a non-number is ignored. Returns the gain taken.
    double setInputGain(double gain) noexcept;

    // The newest result the display has taken (zero before the first).
    const PitchResult &lastResult() const noexcept { return m_lastResult; }
    // The blocks the capture device delivers and processBlock takes: one hop of the analyzer's
    // window (a quarter block or less, hopLengthForRate), or one whole block when "tonrik.prefs"
    // asks for a result per block (hop=block).
    const PcmFormat &captureFormat() const noexcept { return m_captureFormat; }
    // Frames of sound each result describes (the block, blockLengthForRate of the capture rate).
    int32_t windowLength() const noexcept { return m_analyzer.windowLength(); }
    // The analysis mode the last prepareAnalyzer chose.
    PitchAnalyzer::Mode analysisMode() const noexcept { return m_analyzer.mode(); }
    const PcmFormat &playbackFormat() const noexcept { return m_playbackFormat; }

    // ---- the device workers ----

    // Capture worker, once per captured block (one hop, captureFormat()): processBlock on
    // `block`. A block of another size than one block of the prepared capture format is not
    // analyzed. Should the analysis throw (a format
    // error of the PCM conversion, which a prepared engine does not meet), the block yields no
    // result, the failure goes to the audio debug log and the next block is analyzed as usual.
    // The position is not used yet. Nothing on the way to a result allocates.
    void onBlock(const std::byte *block, std::size_t bytes,
                 std::uint64_t position) noexcept override;
    // Playback worker, once per refill: applies the waiting voice changes and renders the next
    // block of tones into `staging`. A staging block smaller than one block of the playback
    // format is left as it is. A failure (the generator's format errors) leaves silence in the
    // block and goes to the audio debug log.
    void renderBlock(std::byte *staging, std::size_t bytes) noexcept override;

    // The capture work on one block of PCM bytes in the capture format (one hop): the analyzer
    // moves its window by it and publishes the result. Runs on the thread that
    // owns the analyzer: the capture worker, or a test standing in for it while no device runs.
    // Throws only the analyzer's format errors. Allocates nothing.
    void processBlock(const std::uint8_t *block);

    // The capture worker's hand-over of a result to the display, as processBlock ends; for a
    // caller standing in for the worker with results of its own. Never waits or allocates.
    void publishResult(const PitchResult &result) noexcept { m_results.publish(result); }

    // Both workers add to it; the display takes from it. Tests may add to it too.
    LoadMeter &loadMeter() noexcept { return m_load; }

private:
    Outcome openAndStart(bool record, bool setGain, const char *failure);
    void startDevices(bool record, Outcome &outcome);
    void applyWaitingCommands();
    void tickPractice(bool active, Micros elapsed) noexcept;
    void renderPlayBlock(std::uint8_t *staging);

    CTCDefs &m_settings;
    const CPitch &m_pitch;
    const KeyContext &m_keys;
    ActiveTimeCounter &m_practice;
    const ProgramFolders m_folders;

    PitchAnalyzer m_analyzer;
    ToneGenerator m_tones;

    // Set by the user-interface thread only while the devices are stopped; the workers read
    // them from the next open on.
    PcmFormat m_captureFormat;
    PcmFormat m_playbackFormat;
    double m_captureBudgetMs = 0.0; // real-time length of one capture block (a hop)
    double m_playBudgetMs = 0.0;    // real-time length of one playback block

    // Capture worker -> user-interface thread.
    LatestValue<PitchResult> m_results;
    // User-interface thread -> workers.
    CommandQueue<CaptureCommand, 16> m_captureCommands;
    SynthVoices::Queue m_voiceCommands;
    LoadMeter m_load;

    // User-interface thread's own.
    SynthVoices m_voices;
    OverrunCounter m_overruns;
    PitchResult m_lastResult {};
    bool m_classicDisplay = false;
    std::string m_preferredInstrument;
    Micros m_sinceLoad { 0 };
    Micros m_sinceClocks { 0 };
    Micros m_sincePractice { 0 };
    bool m_practiceActive = false; // something was heard since the last practice tick
    double m_inputGain = 1.0;
    bool m_gainPending = false;
};

} // namespace corvane::tuner
