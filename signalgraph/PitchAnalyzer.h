#pragma once

#include "AutoCorrelateFilter.h"
#include "DecimationFilter.h"
#include "DelayFilter.h"
#include "DownSampler.h"
#include "EnergyDetectFilter.h"
#include "FIRHiLoFilter.h"
#include "GainFilter.h"
#include "OnsetDetector.h"
#include "PcmFormat.h"
#include "PitchDetectFilter.h"
#include "PitchRefiner.h"
#include "PitchResult.h"
#include "SplitterFilter.h"
#include "WaveSourceFilter.h"

#include <array>
#include <cstdint>
#include <vector>

namespace corvane {

// Finds the fundamental frequency of PCM audio, one result per hop for the window (the block,
// about a tenth of a second) that ends with it; with a hop as long as the block, one per block.
//
// The signal is split into eight octave bands by a cascade of seven band splitters, halving the
// rate between stages (band 0 is the highest, band 7 the lowest), and each band is measured over
// the window by a zero-crossing frequency meter and an RMS meter. The band that holds the energy
// gives the candidate (only bands whose meter found a period take part); octave and fifth errors
// are corrected by testing the candidate and its sub-multiples f * 2/3, f / 2 and f / 3 against a
// periodicity score on the full-band signal; the estimate is then smoothed by a consensus over
// the last 3, 4 or 5 results. In the refined mode (the default) a periodicity search over the
// whole lag range of the limits (PitchRefiner) checks each corrected estimate before the
// consensus, and windows without a clear period give no pitch; the classic mode skips it. With a
// hop shorter than the block, the search runs at about 11 kHz, and an onset (OnsetDetector)
// clears the consensus and cuts the search's window to the sound since the onset, so that a new
// note is named as soon as enough of it has been heard. Band signals, energies and frequencies
// are the same in both modes. With the aligned timing the higher bands and the full band are
// delayed so that all of them line up with the slowest active stage (getMaxDelay).
//
// Life: construct, configure (allocates everything), setLimits, then analyze per hop.
// An analyzer belongs to one thread; configure, setLimits and setInputGain must not run during
// analyze. analyze allocates nothing.
class PitchAnalyzer
{
public:
    PitchAnalyzer();
    PitchAnalyzer(const PitchAnalyzer &) = delete;
    PitchAnalyzer &operator=(const PitchAnalyzer &) = delete;
    virtual ~PitchAnalyzer() = default;

    // Wires and formats the graph for `format` and designs the stage filters.
    // filterLengthCode: 2 -> 111 taps, 3 -> 71 taps, anything else -> 151 taps.
    // sensitivityCode: consensus over 3 (code 1), 4 (2) or 5 (3) blocks; any other code makes
    // every pitch 0.0. The block length must be divisible by 64 (by 128 above 48000 Hz).
    // The graph's format errors propagate (mostly as base std::exception copies). Keeps the
    // history of estimates.
    // hopLength: frames each analyze call takes, so that the window of format.blockLength frames
    // moves by that much between results; 0 (or format.blockLength) gives one result per block. It
    // must divide the block length and split into the smallest band like the block does.
    virtual void configure(const PcmFormat &format, int32_t filterLengthCode,
                           int32_t sensitivityCode, int32_t hopLength = 0);

    // Frames per analyze call, and the window (block) length each result describes.
    int32_t hopLength() const noexcept { return m_hopLength; }
    int32_t windowLength() const noexcept { return m_windowLength; }

    // Hz. Bands entirely outside the limits are switched off and the delays re-aligned; a
    // candidate more than a quarter-tone below lowestHz gives no pitch, and in the refined mode a
    // clear note beyond either limit gives none either, the result's range saying which side it
    // lies on (the period search looks an octave beyond both). The limit is the lowest note to be
    // tracked, and a tuner must still show that note when it is played flat. Both limits must be
    // finite and above 0, else std::invalid_argument "invalid frequency limit" and the previous
    // limits stay. Before the first configure the limits are only stored.
    void setLimits(double lowestHz, double highestHz);

    // A quarter-tone, 2^(-50/1200): how far below lowestHz a candidate is still taken.
    static constexpr double kLowestNoteMargin = 0.9715319411536059;
    double lowestHz() const noexcept { return m_lowestHz; }
    double highestHz() const noexcept { return m_highestHz; }

    // Aligned: every band and the full band are delayed to line up with the slowest active
    // stage (getMaxDelay), so that a result describes one stretch of sound, as a recording's panes
    // need. Immediate: no band waits for another; each result comes as soon as its band is
    // filtered, and the period search reads the newest sound, for a tuner that must show a note at
    // once. Takes effect with the next configure or setLimits.
    enum class Timing { Aligned, Immediate };
    void setTiming(Timing timing) noexcept { m_timing = timing; }
    Timing timing() const noexcept { return m_timing; }

    enum class Mode { Classic, Refined };

    // Takes effect with the next block; the history of estimates is kept.
    void setMode(Mode mode) noexcept { m_mode = mode; }
    Mode mode() const noexcept { return m_mode; }

    // Clarity 0 ... 1 of the last block in the refined mode (how exactly it repeats at its
    // period); 0.0 in the classic mode.
    double clarity() const noexcept { return m_clarity; }

    // Scales the input; std::invalid_argument "negative gain" for a negative or NaN gain.
    void setInputGain(double gain);

    // Analyzes one hop of interleaved PCM bytes in the configured format (exactly hopLength()
    // frames) and returns the analyzer's result record for the window that ends with it, valid
    // until the next call. Throws only
    // the format errors of the PCM conversion. Allocates nothing.
    const PitchResult *analyze(const uint8_t *block);

    // The float hop converted from the last PCM hop; null before configure.
    const MediaSample *inputSignal() noexcept;

    // The band-filtered, delay-aligned signal of band 0 ... 7 in the last hop; null for any
    // other index and before configure.
    const MediaSample *bandSignal(int32_t band) noexcept;

    // Seconds by which the slowest active stage lags the input; with Timing::Aligned the other
    // bands and the periodicity test are delayed to match.
    double getMaxDelay() const noexcept { return m_maxDelay; }

    int32_t firLength() const noexcept { return m_firLength; }
    int32_t consensusCode() const noexcept { return m_consensusCode; }
    const PitchResult &result() const noexcept { return m_result; }

    // Read access to the stages, for callers that show or check the band layout.
    const FIRHiLoFilter &stage(int32_t index) const noexcept
    {
        return m_stage[static_cast<size_t>(index)];
    }

    // With a hop, the period search runs at the highest of rate / 2, rate / 4 (at most rate / 8)
    // that is at least this many hertz and this many times the highest limit.
    static constexpr double kPeriodSearchRate = 11025.0 * 0.99;
    static constexpr double kPeriodSearchHeadroom = 2.4;
    static constexpr int32_t kMostDownSampling = 8;

    static constexpr int32_t kBands = 8;
    static constexpr int32_t kStages = 7;
    static constexpr int32_t kHistoryLength = 5;

    // Intervals between estimates above this many cents do not agree.
    static constexpr double kAgreementCents = 50.0;

protected:
    // The last raw estimates, newest first, and the smoothing step over them; derived classes
    // (test rigs) may replace the history to check the smoothing on its own.
    void setHistory(const std::array<double, kHistoryLength> &newestFirst) noexcept
    {
        m_history = newestFirst;
    }
    const std::array<double, kHistoryLength> &history() const noexcept { return m_history; }
    double consensus() noexcept;

private:
    void wire(const PcmFormat &format);
    void setSwitches() noexcept;
    void alignDelays();
    void prepareRefiner();
    // More than one result per block: the window moves by hops.
    bool hopsWithinWindow() const noexcept { return m_hopLength < m_windowLength; }
    int32_t chooseBand() const noexcept;
    double correctedEstimate(double candidate) const noexcept;

    PitchResult m_result;
    double m_highestHz = 5512.5;
    double m_lowestHz = 27.5;
    std::array<PitchDetectFilter, kBands> m_pitchDetect;
    std::array<EnergyDetectFilter, kBands> m_energyDetect;
    WaveSourceFilter m_source;
    GainFilter m_inputGain;
    std::array<SplitterFilter, kBands> m_bandSplit;
    std::array<FIRHiLoFilter, kStages> m_stage;
    std::array<DelayFilter, kStages> m_bandDelay;
    std::array<DecimationFilter, kStages> m_decimator;
    int32_t m_firLength = 151;
    int32_t m_hopLength = 0;
    int32_t m_windowLength = 0;
    int32_t m_consensusCode = 2;
    std::array<double, kHistoryLength> m_history {};
    double m_maxDelay = 0.0;
    // |cents| between history entries: (0,1) (0,2) (0,3) (0,4) (1,2) (1,3) (1,4) (2,3) (2,4) (3,4).
    std::array<double, 10> m_spread {};
    SplitterFilter m_fullSplit;
    DelayFilter m_fullDelay;
    AutoCorrelateFilter m_periodicity;
    bool m_configured = false;
    Mode m_mode = Mode::Refined;
    Timing m_timing = Timing::Aligned;
    PitchRefiner m_refiner;
    DownSampler m_downSampler;      // the full band for the period search, hop by hop
    std::vector<float> m_searchHop; // a hop of it at the search's rate
    OnsetDetector m_onsets;
    int32_t m_freshSamples = -1; // since the last onset, until the window is full again
    double m_clarity = 0.0;
};

} // namespace corvane
