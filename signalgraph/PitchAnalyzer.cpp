#include "PitchAnalyzer.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace corvane {

namespace {

    // The periodicity test compares this many samples of the previous block with the signal one
    // period later.
    constexpr int32_t kPeriodicityTail = 40;

    // Rates above this are halved once before the first stage, so that stage 0 works at a rate the
    // band layout was made for.
    constexpr double kHighestStageRate = 48000.0;

    // Each stage splits at a sixteenth of its input rate.
    constexpr int32_t kStageDivisor = 16;

    // 1200 / log10(2): cents from a decimal logarithm, the same interval as the note table's.
    constexpr double kCentsPerDecade = 3986.31371386;

    double cents(double a, double b) noexcept
    {
        if (a == 0.0 || b == 0.0)
            return 1200.0;
        return kCentsPerDecade * std::log10(a / b);
    }

    // Index into the spread table of the pair (j, k), j < k.
    constexpr int32_t spreadIndex(int32_t j, int32_t k) noexcept
    {
        constexpr int32_t rowStart[] = { 0, 4, 7, 9 };
        return rowStart[j] + (k - j - 1);
    }

    int32_t firLengthFor(int32_t code) noexcept
    {
        switch (code) {
        case 2:
            return 111;
        case 3:
            return 71;
        default:
            return 151;
        }
    }

    // Blocks the consensus looks at, or 0 when the code switches the pitch off.
    int32_t consensusWindow(int32_t code) noexcept
    {
        return code >= 1 && code <= 3 ? code + 2 : 0;
    }

} // namespace

PitchAnalyzer::PitchAnalyzer()
{
    m_inputGain.setGain(1.0);
}

void PitchAnalyzer::configure(const PcmFormat &format, int32_t filterLengthCode,
                              int32_t sensitivityCode, int32_t hopLength)
{
    if (hopLength < 0 || hopLength > format.blockLength
        || (hopLength > 0 && format.blockLength % hopLength != 0))
        throw std::invalid_argument("invalid hop length");
    m_windowLength = format.blockLength;
    m_hopLength = hopLength > 0 ? hopLength : format.blockLength;
    // The graph runs on hops; every meter looks at the window's worth of its band.
    const int32_t windowBlocks = m_windowLength / m_hopLength;
    for (int32_t b = 0; b < kBands; ++b) {
        m_pitchDetect[static_cast<size_t>(b)].setWindowBlocks(windowBlocks);
        m_energyDetect[static_cast<size_t>(b)].setWindowBlocks(windowBlocks);
    }
    m_periodicity.setWindowBlocks(windowBlocks);
    m_firLength = firLengthFor(filterLengthCode);
    m_consensusCode = sensitivityCode;
    wire(format);
    m_configured = true;
    setSwitches();
    alignDelays();
    prepareRefiner();
}

void PitchAnalyzer::prepareRefiner()
{
    const MediaFormat &full = m_source.outputPin(1)->media()->format;
    // With a result every hop the period search runs four times as often; it runs at about
    // 11 kHz (while that rate still holds the highest limit well below its half), where it costs
    // a sixteenth of what it costs at 44.1 kHz. A result per block keeps the full rate.
    int32_t factor = 1;
    while (hopsWithinWindow() && factor < kMostDownSampling
           && full.sampleRate / (2 * factor) >= kPeriodSearchRate
           && full.sampleRate / (2 * factor) >= kPeriodSearchHeadroom * m_highestHz
           && m_hopLength % (2 * factor) == 0)
        factor *= 2;
    m_downSampler.prepare(factor, m_hopLength);
    const double rate = full.sampleRate / factor;
    m_searchHop.assign(static_cast<size_t>(m_hopLength / factor), 0.0f);
    m_refiner.prepare(m_windowLength / factor, rate, m_lowestHz, m_highestHz, m_hopLength / factor);
    // Periods up to an octave below the lowest limit are compared, as far as the window reaches.
    m_onsets.prepare(m_hopLength / factor,
                     std::min(m_windowLength / factor,
                              static_cast<int32_t>(std::ceil(2.0 * rate / m_lowestHz))),
                     static_cast<int32_t>(std::ceil(rate / m_lowestHz)));
    m_freshSamples = -1;
}

void PitchAnalyzer::wire(const PcmFormat &format)
{
    double rate = format.sampleRate;
    m_source.setFormat(PcmFormat(m_hopLength, format.samples()));
    m_source.outputPin(1)->connect(m_inputGain.inputPin(1));
    m_inputGain.outputPin(2)->connect(m_fullSplit.inputPin(1));
    m_fullSplit.outputPin(2)->connect(m_fullDelay.inputPin(1));
    m_fullDelay.outputPin(2)->connect(m_periodicity.inputPin(1));
    m_periodicity.setHistoryLength(kPeriodicityTail);

    OutputPin *current = m_fullSplit.outputPin(3);
    for (int32_t i = 0; i < kStages; ++i) {
        const auto s = static_cast<size_t>(i);
        if (i > 0 || rate > kHighestStageRate) {
            current->connect(m_decimator[s].inputPin(1));
            current = m_decimator[s].outputPin(2);
            rate *= 0.5;
        }
        current->connect(m_stage[s].inputPin(1));
        m_stage[s].outputPin(2)->connect(m_bandDelay[s].inputPin(1));
        m_bandDelay[s].outputPin(2)->connect(m_bandSplit[s].inputPin(1));
        m_bandSplit[s].outputPin(2)->connect(m_energyDetect[s].inputPin(1));
        m_bandSplit[s].outputPin(3)->connect(m_pitchDetect[s].inputPin(1));
        current = m_stage[s].outputPin(3);
        m_stage[s].design(kStageDivisor, m_firLength, FIRHiLoFilter::kHamming);
    }
    current->connect(m_bandSplit[7].inputPin(1));
    m_bandSplit[7].outputPin(2)->connect(m_energyDetect[7].inputPin(1));
    m_bandSplit[7].outputPin(3)->connect(m_pitchDetect[7].inputPin(1));
}

void PitchAnalyzer::setLimits(double lowestHz, double highestHz)
{
    // A lowest limit of 0 would let a silent block's candidate of 0 Hz through to the
    // periodicity test as an infinite period.
    if (!std::isfinite(lowestHz) || !std::isfinite(highestHz) || lowestHz <= 0.0
        || highestHz <= 0.0)
        throw std::invalid_argument("invalid frequency limit");
    m_lowestHz = lowestHz;
    m_highestHz = highestHz;
    if (m_configured) {
        setSwitches();
        alignDelays();
        prepareRefiner();
    }
}

void PitchAnalyzer::setSwitches() noexcept
{
    for (FIRHiLoFilter &stage : m_stage) {
        const double crossover = stage.inputPin(1)->media()->format.sampleRate * 0.0625;
        if (crossover * 0.5 <= m_highestHz) {
            const bool on = m_lowestHz <= 2.0 * crossover;
            stage.setHighOn(on);
            stage.setLowOn(on);
        } else {
            // Everything this stage would put in its high band lies above the highest limit:
            // pass the signal down unfiltered.
            stage.setHighOn(false);
        }
    }
}

void PitchAnalyzer::alignDelays()
{
    m_maxDelay = 0.0;
    for (const FIRHiLoFilter &stage : m_stage)
        m_maxDelay = std::max(m_maxDelay, stage.stageDelay());
    if (m_timing == Timing::Immediate) {
        for (DelayFilter &delay : m_bandDelay)
            delay.setDelay(0);
        m_fullDelay.setDelay(0);
        return;
    }
    for (int32_t i = 0; i < kStages; ++i) {
        const auto s = static_cast<size_t>(i);
        const double rate = m_stage[s].inputPin(1)->media()->format.sampleRate;
        m_bandDelay[s].setDelay(static_cast<int32_t>(std::trunc(rate * m_maxDelay))
                                - static_cast<int32_t>(std::trunc(m_stage[s].stageDelay() * rate)));
    }
    const double rate = m_source.format().sampleRate;
    m_fullDelay.setDelay(static_cast<int32_t>(std::trunc(rate * m_maxDelay)));
}

void PitchAnalyzer::setInputGain(double gain)
{
    m_inputGain.setGain(gain);
}

const PitchResult *PitchAnalyzer::analyze(const uint8_t *block)
{
    m_source.push(block);

    for (int32_t b = 0; b < kBands; ++b) {
        const auto s = static_cast<size_t>(b);
        m_result.bandFrequency[s] = m_pitchDetect[s].frequency();
        m_result.bandEnergy[s] = m_energyDetect[s].energy();
    }
    const double previousPitch = m_result.pitch;
    m_result.pitch = 0.0;
    m_result.totalEnergy = 0.0;
    for (int32_t b = 0; b < kBands; ++b)
        m_result.totalEnergy += m_result.bandEnergy[static_cast<size_t>(b)];

    std::copy_backward(m_history.begin(), m_history.end() - 1, m_history.end());
    const double candidate = m_result.bandFrequency[static_cast<size_t>(chooseBand())];
    m_history[0] = candidate < m_lowestHz * kLowestNoteMargin ? 0.0 : correctedEstimate(candidate);
    m_clarity = 0.0;
    m_result.range = PitchResult::Range::Within;
    m_result.onsetFrames = -1;
    if (m_mode == Mode::Refined) {
        // The full band, delayed to line up with the band signals the candidate came from (the
        // down-sampler's filter adds under 2 ms), at the period search's rate.
        const int32_t factor = m_downSampler.factor();
        m_downSampler.process(m_fullDelay.outputPin(2)->media()->buffer(), m_hopLength,
                              m_searchHop.data());
        const float *full = m_searchHop.data();
        const int32_t hop = m_hopLength / factor;
        const int32_t window = m_windowLength / factor;
        const double heard =
                previousPitch > 0.0 ? m_source.format().sampleRate / factor / previousPitch : 0.0;
        if (hopsWithinWindow()) {
            const int32_t onset = m_onsets.feed(full, heard);
            if (onset >= 0) {
                // A new note: the older estimates no longer vote, and the period search looks
                // only at the sound since the onset until its window is full of it.
                m_result.onsetFrames = onset * factor;
                m_freshSamples = onset;
                std::fill(m_history.begin() + 1, m_history.end(), 0.0);
            } else if (m_freshSamples >= 0) {
                m_freshSamples += hop;
                if (m_freshSamples >= window)
                    m_freshSamples = -1;
            }
        }
        const PitchRefiner::Estimate refined =
                m_refiner.estimate(full, m_history[0], m_freshSamples);
        m_history[0] = refined.hz;
        m_clarity = refined.clarity;
        m_result.range = refined.range;
    }

    m_result.pitch = consensus();
    return &m_result;
}

int32_t PitchAnalyzer::chooseBand() const noexcept
{
    // Only a band whose meter found a period can name the note. A band without one holds a
    // constant offset or a drift slower than the block (a sample set or a sound card with DC on
    // it fills the lowest band), and its energy takes no part in the shares either: otherwise
    // that band was chosen as the lowest audible one and every block of the note had no pitch.
    double pitched = 0.0;
    for (int32_t b = 0; b < kBands; ++b)
        if (m_result.bandFrequency[static_cast<size_t>(b)] > 0.0)
            pitched += m_result.bandEnergy[static_cast<size_t>(b)];
    // Bands run from high to low, so the last band that passes is the lowest one: a strong
    // fundamental below strong harmonics wins.
    int32_t dominant = -1;
    int32_t audible = 0;
    for (int32_t b = 0; b < kBands; ++b) {
        if (m_result.bandFrequency[static_cast<size_t>(b)] <= 0.0)
            continue;
        const double energy = m_result.bandEnergy[static_cast<size_t>(b)];
        if (energy > 0.67 * pitched)
            dominant = b;
        if (energy > 0.1 * pitched)
            audible = b;
    }
    return dominant >= 0 ? dominant : audible;
}

double PitchAnalyzer::correctedEstimate(double f) const noexcept
{
    // A zero-crossing meter can lock onto a strong second or third harmonic; the sub-multiple
    // whose period fits the signal best is taken instead.
    const double s1 = m_periodicity.score(f);
    const double s2 = m_periodicity.score(f * 0.6666666666666666);
    const double s3 = m_periodicity.score(f * 0.5);
    const double s4 = m_periodicity.score(f * 0.3333333333333333);
    if (s1 > 0.9 || (s1 > s2 && s1 > s3 && s1 > s4))
        return f;
    if (s2 > 0.9 || (s2 > s3 && s2 > s4))
        return f * 0.6666666666666666;
    if (s3 > 0.9 || s3 > s4)
        return f * 0.5;
    return f * 0.3333333333333333;
}

double PitchAnalyzer::consensus() noexcept
{
    const int32_t window = consensusWindow(m_consensusCode);
    if (window == 0)
        return 0.0;

    for (int32_t j = 0; j < kHistoryLength; ++j)
        for (int32_t k = j + 1; k < kHistoryLength; ++k)
            m_spread[static_cast<size_t>(spreadIndex(j, k))] = std::abs(
                    cents(m_history[static_cast<size_t>(j)], m_history[static_cast<size_t>(k)]));

    // Each of the four newest estimates gathers the later ones in the window that agree with
    // it; the largest group wins, and on a tie the newer anchor.
    int32_t bestCount = 0;
    int32_t bestAnchor = 0;
    double bestSum = 0.0;
    for (int32_t anchor = 0; anchor < kHistoryLength - 1; ++anchor) {
        int32_t count = 1;
        double sum = m_history[static_cast<size_t>(anchor)];
        for (int32_t j = anchor + 1; j <= window - 1; ++j) {
            if (m_spread[static_cast<size_t>(spreadIndex(anchor, j))] < kAgreementCents) {
                ++count;
                sum += m_history[static_cast<size_t>(j)];
            }
        }
        if (count > bestCount) {
            bestCount = count;
            bestAnchor = anchor;
            bestSum = sum;
        }
    }
    if (!hopsWithinWindow() || bestCount < 3)
        return bestSum / bestCount;
    // Results a hop apart share most of their window: one misread among them would be averaged
    // into several results in a row. The group's median leaves it out.
    std::array<double, kHistoryLength> group {};
    int32_t n = 0;
    group[static_cast<size_t>(n++)] = m_history[static_cast<size_t>(bestAnchor)];
    for (int32_t j = bestAnchor + 1; j <= window - 1; ++j)
        if (m_spread[static_cast<size_t>(spreadIndex(bestAnchor, j))] < kAgreementCents)
            group[static_cast<size_t>(n++)] = m_history[static_cast<size_t>(j)];
    for (int32_t i = 1; i < n; ++i) // at most five: an insertion sort
        for (int32_t j = i;
             j > 0 && group[static_cast<size_t>(j - 1)] > group[static_cast<size_t>(j)]; --j)
            std::swap(group[static_cast<size_t>(j - 1)], group[static_cast<size_t>(j)]);
    return n % 2 == 1
            ? group[static_cast<size_t>(n / 2)]
            : 0.5 * (group[static_cast<size_t>(n / 2 - 1)] + group[static_cast<size_t>(n / 2)]);
}

const MediaSample *PitchAnalyzer::inputSignal() noexcept
{
    return m_source.outputPin(1)->media();
}

const MediaSample *PitchAnalyzer::bandSignal(int32_t band) noexcept
{
    if (band < 0 || band >= kBands)
        return nullptr;
    return m_bandSplit[static_cast<size_t>(band)].outputPin(2)->media();
}

} // namespace corvane
