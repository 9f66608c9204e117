// The pitch analyzer's accuracy on sampled instruments, on synthetic tones with hard spectra and on
// played passages.
//
//   corvane_accuracy --write-midi DIR        writes DIR/<instrument>.mid and DIR/notes.tsv
//   corvane_accuracy --measure DIR [RATES]   reads DIR/<rate>/<instrument>.wav (rendered from the
//                                            MIDI files), makes the synthetic tones itself, and
//                                            prints a Markdown table
//   corvane_accuracy --write-compare DIR [RATES]
//                                            writes every piece, sampled and synthetic, to
//                                            DIR/<rate>/compare/ with its notes' true pitches,
//                                            for other pitch trackers to read
//   corvane_accuracy --compare DIR [RATES]   reads those files and what the other trackers
//                                            wrote beside them (<file>.wav.<tracker>.txt: time
//                                            and Hz per line), runs our analyzer on the same
//                                            files, and prints the comparison tables
//   corvane_accuracy --write-passage-midi | --prepare-passages | --score-passages ...
//                                            played passages, scored beside the other trackers
//                                            (Passages.h)
//
// scripts/accuracy.sh strings the steps together (make accuracy). The truth of a sampled note is
// measured without the analyzer: the note's nominal pitch, corrected by the harmonic comb that
// collects the most energy from a long window of its steady part (within 40 cents). A synthetic
// tone's truth is known from its construction.

#include "AccuracyCommon.h"
#include "Passages.h"
#include "PitchAnalyzer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <numbers>
#include <random>
#include <sstream>
#include <string>
#include <vector>

using namespace corvane;
using namespace corvane::accuracy;

namespace {

constexpr double kPi = std::numbers::pi;

// --- Material -----------------------------------------------------------------------------------

struct Note
{
    double onset = 0.0, off = 0.0;       // seconds
    std::function<double(double)> truth; // Hz at a time in seconds
};

struct Piece
{
    std::string name;
    std::vector<float> samples; // mono, -1 ... 1
    std::vector<Note> notes;
};

struct Instrument
{
    const char *name;
    int program, low, high; // General MIDI program, lowest and highest MIDI note
};

const Instrument Instruments[] = {
    { "piano", 0, 28, 96 },     { "guitar", 24, 40, 76 },   { "bass", 32, 28, 55 },
    { "violin", 40, 55, 93 },   { "cello", 42, 36, 72 },    { "trumpet", 56, 55, 82 },
    { "trombone", 57, 40, 70 }, { "horn", 60, 41, 77 },     { "oboe", 68, 58, 91 },
    { "bassoon", 70, 34, 72 },  { "clarinet", 71, 50, 89 }, { "flute", 73, 60, 96 },
    { "alto sax", 65, 49, 80 }, { "voice", 52, 48, 79 },
};

constexpr double kNoteSeconds = 1.2, kGapSeconds = 0.4;
constexpr int kNoteStep = 4;                   // semitones between notes of one instrument
const double Detunes[] = { 0.0, 30.0, -20.0 }; // cents, by pitch bend, in turn

// --- MIDI files ---------------------------------------------------------------------------------

// Format 0, 960 ticks per second (480 per quarter at 120 beats per minute).
void writeMidi(const std::string &dir, const Instrument &ins, std::ofstream &list)
{
    std::string track;
    auto event = [&](uint32_t delta, std::initializer_list<int> bytes) {
        putVar(track, delta);
        for (int b : bytes)
            track.push_back(static_cast<char>(b));
    };
    event(0, { 0xC0, ins.program });
    int i = 0;
    uint32_t pending = 0;
    for (int note = ins.low; note <= ins.high; note += kNoteStep, ++i) {
        const double cents = Detunes[i % 3];
        const int bend = 8192 + static_cast<int>(std::lround(cents / 200.0 * 8192.0));
        event(pending, { 0xE0, bend & 0x7f, bend >> 7 });
        event(0, { 0x90, note, 90 });
        event(static_cast<uint32_t>(kNoteSeconds * 960), { 0x80, note, 0 });
        pending = static_cast<uint32_t>(kGapSeconds * 960);
        const double onset = i * (kNoteSeconds + kGapSeconds);
        list << ins.name << '\t' << onset << '\t' << onset + kNoteSeconds << '\t'
             << 440.0 * std::pow(2.0, (note - 69) / 12.0 + cents / 1200.0) << '\n';
    }
    event(static_cast<uint32_t>(960), { 0xFF, 0x2F, 0x00 });
    std::ofstream(dir + "/" + ins.name + ".mid", std::ios::binary) << midiFile(track);
}

// --- Wave files ---------------------------------------------------------------------------------

// Each note scaled to a peak of 0.5, as a tuner's microphone would be set.
void normalizeNotes(Piece &piece, int rate)
{
    for (const Note &n : piece.notes) {
        const auto from = static_cast<size_t>(n.onset * rate);
        const auto to =
                std::min(piece.samples.size(), static_cast<size_t>((n.off + kGapSeconds) * rate));
        float top = 0.0f;
        for (size_t i = from; i < to; ++i)
            top = std::max(top, std::abs(piece.samples[i]));
        if (top > 0.0f)
            for (size_t i = from; i < to; ++i)
                piece.samples[i] *= 0.5f / top;
    }
}

// The nominal pitch corrected by the comb that fits best within 40 cents, to a tenth of a cent.
double measuredPitch(const std::vector<float> &x, int rate, double onset, double off,
                     double nominal)
{
    const auto from = static_cast<size_t>((onset + 0.25) * rate);
    const auto to =
            std::min(x.size(), static_cast<size_t>(std::min(off - 0.1, onset + 1.05) * rate));
    if (to <= from + 64)
        return nominal;
    double bestCents = 0.0, best = -1.0;
    for (double c = -40.0; c <= 40.0; c += 1.0) {
        const double e = combEnergy(x, from, to, nominal * std::pow(2.0, c / 1200.0), rate);
        if (e > best) {
            best = e;
            bestCents = c;
        }
    }
    for (double step : { 0.3, 0.1 }) {
        const double center = bestCents;
        for (double c = center - 3 * step; c <= center + 3 * step; c += step) {
            const double e = combEnergy(x, from, to, nominal * std::pow(2.0, c / 1200.0), rate);
            if (e > best) {
                best = e;
                bestCents = c;
            }
        }
    }
    return nominal * std::pow(2.0, bestCents / 1200.0);
}

std::vector<Piece> sampledPieces(const std::string &dir, int rate)
{
    std::vector<Piece> pieces;
    std::ifstream list(dir + "/notes.tsv");
    std::string line;
    while (std::getline(list, line)) {
        std::istringstream fields(line);
        std::string name;
        double onset, off, nominal;
        std::getline(fields, name, '\t');
        fields >> onset >> off >> nominal;
        if (pieces.empty() || pieces.back().name != name) {
            int fileRate = 0;
            pieces.push_back(
                    { name,
                      readWave(dir + "/" + std::to_string(rate) + "/" + name + ".wav", fileRate),
                      {} });
            if (fileRate != rate)
                pieces.back().samples.clear();
        }
        pieces.back().notes.push_back({ onset, off, [nominal](double) { return nominal; } });
    }
    std::erase_if(pieces, [](const Piece &p) { return p.samples.empty(); });
    for (Piece &p : pieces) {
        normalizeNotes(p, rate);
        for (Note &n : p.notes) {
            const double f = measuredPitch(p.samples, rate, n.onset, n.off, n.truth(0.0));
            n.truth = [f](double) { return f; };
        }
    }
    return pieces;
}

// --- Synthetic tones ----------------------------------------------------------------------------

struct Timbre
{
    const char *name;
    std::vector<double> partials;
    double stretch = 0.0;      // inharmonicity B: partial k at k f sqrt(1 + B k^2)
    double vibratoCents = 0.0; // depth at 5.5 Hz
    double decaySeconds = 0.0; // time constant of an exponential decay, 0 for none
};

const Timbre Timbres[] = {
    { "weak fundamental", { 0.1, 1.0, 0.6, 0.4, 0.3, 0.2 } },
    { "strong 2nd partial", { 1.0, 3.0, 0.5, 0.3 } },
    { "strong 3rd partial", { 1.0, 0.5, 3.0, 0.3, 0.2 } },
    { "odd partials", { 1.0, 0.0, 0.33, 0.0, 0.2, 0.0, 0.14, 0.0, 0.11 } },
    { "stretched partials", { 1.0, 0.5, 0.33, 0.25, 0.2, 0.17, 0.14, 0.12, 0.11, 0.1 }, 0.0004 },
    { "vibrato", { 1.0, 0.5, 0.3 }, 0.0, 30.0 },
    { "decay", { 1.0, 0.5, 0.33, 0.25, 0.2, 0.17, 0.14, 0.12 }, 0.0, 0.0, 0.5 },
};

Piece syntheticPiece(const Timbre &t, int rate)
{
    Piece piece { t.name, {}, {} };
    std::mt19937 random(5);
    std::normal_distribution<double> hiss(0.0, 0.0005); // -66 dBFS floor
    const double noteLength = kNoteSeconds + kGapSeconds;
    int i = 0;
    for (int midi = 28; midi <= 96; midi += 5, ++i) {
        const double f0 = 440.0 * std::pow(2.0, (midi - 69) / 12.0);
        const double onset = i * noteLength;
        // A tuner reads a note with vibrato at its center, and a stretched series at its first
        // partial.
        const double fundamental = f0 * std::sqrt(1.0 + t.stretch);
        const double depth = t.vibratoCents;
        piece.notes.push_back({ onset, onset + kNoteSeconds, [=](double) { return fundamental; } });
        const auto start = piece.samples.size();
        const auto count = static_cast<size_t>(noteLength * rate);
        std::vector<double> sum(count, 0.0);
        double top = 0.0;
        for (size_t k = 0; k < t.partials.size(); ++k) {
            const double n = static_cast<double>(k + 1);
            const double fk = f0 * n * std::sqrt(1.0 + t.stretch * n * n);
            if (fk * std::pow(2.0, depth / 1200.0) >= rate * 0.45 || t.partials[k] == 0.0)
                continue;
            double phase = 0.7 * n;
            for (size_t j = 0; j < static_cast<size_t>(kNoteSeconds * rate); ++j) {
                const double time = static_cast<double>(j) / rate;
                const double vib = std::pow(2.0, depth / 1200.0 * std::sin(2.0 * kPi * 5.5 * time));
                phase += 2.0 * kPi * fk * vib / rate;
                sum[j] += t.partials[k] * std::sin(phase);
            }
        }
        for (size_t j = 0; j < count; ++j) {
            const double time = static_cast<double>(j) / rate;
            double env = time < 0.01 ? time / 0.01 : 1.0;
            if (time > kNoteSeconds - 0.01)
                env = std::max(0.0, (kNoteSeconds - time) / 0.01);
            if (t.decaySeconds > 0.0)
                env *= std::exp(-time / t.decaySeconds);
            sum[j] *= env;
            top = std::max(top, std::abs(sum[j]));
        }
        piece.samples.resize(start + count);
        for (size_t j = 0; j < count; ++j)
            piece.samples[start + j] = static_cast<float>(sum[j] * 0.5 / top + hiss(random));
    }
    return piece;
}

// --- Measuring ----------------------------------------------------------------------------------

struct Setting
{
    const char *name;
    int filterLengthCode;
    double lowestHz, highestHz;
    double noiseThreshold; // blocks with a total band level at or below half of it are unvoiced
};

const Setting Settings[] = {
    { "factory", 3, 82.5, 1760.0, 0.2 },
    { "factory, noise threshold 0.02", 3, 82.5, 1760.0, 0.02 },
    { "factory, range extended", 3, 27.5, 4200.0, 0.01 },
    { "widest", 1, 27.5, 5512.5, 0.01 },
};

struct Tally
{
    long frames = 0, correct = 0, octave = 0, within5 = 0, unvoiced = 0;
    std::vector<double> absCents; // of the correct frames
    std::vector<double> settleSeconds;
    long notes = 0, neverSettled = 0;

    void add(const Tally &o)
    {
        frames += o.frames;
        correct += o.correct;
        octave += o.octave;
        within5 += o.within5;
        unvoiced += o.unvoiced;
        absCents.insert(absCents.end(), o.absCents.begin(), o.absCents.end());
        settleSeconds.insert(settleSeconds.end(), o.settleSeconds.begin(), o.settleSeconds.end());
        notes += o.notes;
        neverSettled += o.neverSettled;
    }
};

// Runs the analyzer over a piece and tallies the blocks whose sound lies inside a note.
Tally measure(const Piece &piece, int rate, const Setting &s, PitchAnalyzer::Mode mode,
              double *cpuSeconds)
{
    const int32_t length = rate == 11025 ? 1024 : rate == 22050 ? 2048 : 4096;
    PitchAnalyzer analyzer;
    analyzer.setMode(mode);
    analyzer.configure({ length, 1, rate, 16 }, s.filterLengthCode, 2);
    analyzer.setLimits(s.lowestHz, s.highestHz);
    const double delay = analyzer.getMaxDelay();
    std::vector<float> padded = piece.samples;
    padded.resize((padded.size() / length + 1 + static_cast<size_t>(delay * rate / length + 2))
                          * length,
                  0.0f);
    const std::vector<uint8_t> bytes = pcm16(padded);
    const size_t blocks = padded.size() / length;
    std::vector<double> pitch(blocks);
    const auto started = std::clock();
    for (size_t b = 0; b < blocks; ++b) {
        const PitchResult *r = analyzer.analyze(bytes.data() + 2 * b * length);
        pitch[b] = r->totalEnergy > s.noiseThreshold / 2 ? r->pitch : 0.0;
    }
    *cpuSeconds += static_cast<double>(std::clock() - started) / CLOCKS_PER_SEC;

    Tally t;
    const double blockSeconds = static_cast<double>(length) / rate;
    for (const Note &n : piece.notes) {
        ++t.notes;
        int run = 0;
        bool settled = false;
        for (size_t b = 0; b < blocks; ++b) {
            // Block b holds the sound of [b L - delay, (b + 1) L - delay).
            const double from = b * blockSeconds - delay, to = from + blockSeconds;
            const double shown = (b + 1) * blockSeconds; // when the reading appears
            if (shown <= n.onset || from > n.off)
                continue;
            const double truth = n.truth(0.5 * (from + to));
            const double cents = pitch[b] > 0.0 ? 1200.0 * std::log2(pitch[b] / truth) : 1e9;
            const bool right = std::abs(cents) < 50.0;
            run = right ? run + 1 : 0;
            if (!settled && run == 3) {
                settled = true;
                t.settleSeconds.push_back(shown - 2 * blockSeconds - n.onset);
            }
            if (from < n.onset || to > n.off)
                continue;
            ++t.frames;
            if (pitch[b] <= 0.0) {
                ++t.unvoiced;
                continue;
            }
            const double octaves = std::round(cents / 1200.0);
            if (right) {
                ++t.correct;
                t.absCents.push_back(std::abs(cents));
                if (std::abs(cents) <= 5.0)
                    ++t.within5;
            } else if (octaves != 0.0 && std::abs(cents - 1200.0 * octaves) < 50.0) {
                ++t.octave;
            }
        }
        if (!settled)
            ++t.neverSettled;
    }
    return t;
}

// Share of blocks of three seconds of white noise at -12 dBFS RMS that report a pitch.
double noiseVoiced(int rate, const Setting &s, PitchAnalyzer::Mode mode)
{
    std::mt19937 random(3);
    std::normal_distribution<double> white(0.0, 0.25);
    Piece noise { "noise", std::vector<float>(static_cast<size_t>(3 * rate)), {} };
    for (float &x : noise.samples)
        x = static_cast<float>(white(random));
    const int32_t length = rate == 11025 ? 1024 : rate == 22050 ? 2048 : 4096;
    PitchAnalyzer analyzer;
    analyzer.setMode(mode);
    analyzer.configure({ length, 1, rate, 16 }, s.filterLengthCode, 2);
    analyzer.setLimits(s.lowestHz, s.highestHz);
    const std::vector<uint8_t> bytes = pcm16(noise.samples);
    const size_t blocks = noise.samples.size() / length;
    long voiced = 0;
    for (size_t b = 0; b < blocks; ++b)
        voiced += analyzer.analyze(bytes.data() + 2 * b * length)->pitch > 0.0;
    return 100.0 * voiced / static_cast<double>(blocks);
}

void printRow(const char *set, int rate, const Setting &s, const char *mode, const Tally &t,
              double noise)
{
    std::printf("| %s | %d | %s | %s | %.1f | %.2f | %.2f | %.1f | %.1f | %.0f | %.1f |\n", set,
                rate, s.name, mode, percent(t.correct, t.frames), percent(t.octave, t.frames),
                median(t.absCents), percent(t.within5, t.frames), percent(t.unvoiced, t.frames),
                1000.0 * median(t.settleSeconds), noise);
}

int measureAll(const std::string &dir, const std::vector<int> &rates, bool perPiece)
{
    std::printf("| material | rate | settings | mode | RPA %% | octave %% | median abs cents | "
                "within 5 c %% | no pitch %% | settle ms | noise voiced %% |\n");
    std::printf("|---|---|---|---|---|---|---|---|---|---|---|\n");
    for (int rate : rates) {
        std::vector<Piece> sampled = sampledPieces(dir, rate);
        std::vector<Piece> synthetic;
        for (const Timbre &t : Timbres)
            synthetic.push_back(syntheticPiece(t, rate));
        for (const Setting &s : Settings) {
            for (auto mode : { PitchAnalyzer::Mode::Classic, PitchAnalyzer::Mode::Refined }) {
                const char *modeName = mode == PitchAnalyzer::Mode::Classic ? "classic" : "refined";
                double cpu = 0.0;
                auto run = [&](const std::vector<Piece> &pieces) {
                    Tally all;
                    double audio = 0.0;
                    for (const Piece &p : pieces) {
                        // Notes outside the limits are not the analyzer's to find.
                        Piece inRange = p;
                        std::erase_if(inRange.notes, [&](const Note &n) {
                            const double f = n.truth(n.onset);
                            return f < s.lowestHz || f > s.highestHz;
                        });
                        const Tally t = measure(inRange, rate, s, mode, &cpu);
                        audio += static_cast<double>(p.samples.size()) / rate;
                        if (perPiece)
                            printRow(p.name.c_str(), rate, s, modeName, t, 0.0);
                        all.add(t);
                    }
                    return std::pair { all, audio };
                };
                const double noise = noiseVoiced(rate, s, mode);
                if (!sampled.empty()) {
                    auto [t, audio] = run(sampled);
                    printRow("sampled instruments", rate, s, modeName, t, noise);
                }
                auto [t, audio] = run(synthetic);
                printRow("synthetic tones", rate, s, modeName, t, noise);
                std::fflush(stdout);
            }
        }
    }
    return 0;
}

// --- Side by side with other pitch trackers -----------------------------------------------------
//
// The same files go to every tracker: each piece is written as 16-bit mono (the sampled notes
// already scaled to their peak), with a list of its notes and their true pitches, and read back
// from there for our analyzer too. A frame counts when the time it describes lies in the steady
// middle of a note (0.1 s in from either end), so that no tracker is judged on an attack or a
// release its window only half covers.

constexpr double kEdgeSeconds = 0.1;
const Setting CompareSetting = { "range extended", 3, 27.5, 4200.0, 0.01 };

struct Track
{
    double stepSeconds = 0.0;                      // between frames
    std::vector<std::pair<double, double>> frames; // time described (s), Hz (0 = no pitch)
    // How long after the middle of the sound a frame describes a live tracker has it: the last
    // sample it needs has arrived. Negative for a tracker that reads the whole file first.
    double readySeconds = -1.0;
};

struct Score
{
    long frames = 0, voiced = 0, within50 = 0;
    std::vector<double> absCents;      // of the voiced frames
    std::vector<double> settleSeconds; // per note that settled; empty for an offline tracker
    long notes = 0, neverSettled = 0;

    void add(const Score &o)
    {
        frames += o.frames;
        voiced += o.voiced;
        within50 += o.within50;
        absCents.insert(absCents.end(), o.absCents.begin(), o.absCents.end());
        settleSeconds.insert(settleSeconds.end(), o.settleSeconds.begin(), o.settleSeconds.end());
        notes += o.notes;
        neverSettled += o.neverSettled;
    }
};

std::string slug(const std::string &name)
{
    std::string s = name;
    std::replace(s.begin(), s.end(), ' ', '-');
    return s;
}

// DIR/<rate>/compare/<file>.wav and <file>.notes for every piece, and files.tsv listing them
// (material, file, name).
int writeCompareFiles(const std::string &dir, const std::vector<int> &rates)
{
    for (int rate : rates) {
        const std::string out = dir + "/" + std::to_string(rate) + "/compare";
        std::filesystem::create_directories(out);
        std::ofstream list(out + "/files.tsv");
        auto write = [&](const Piece &p, const char *material, const std::string &file) {
            writeWave(out + "/" + file + ".wav", p.samples, rate);
            std::ofstream notes(out + "/" + file + ".notes");
            notes.precision(10);
            for (const Note &n : p.notes)
                notes << n.onset << ' ' << n.off << ' ' << n.truth(n.onset) << '\n';
            list << material << '\t' << file << '\t' << p.name << '\n';
        };
        for (const Piece &p : sampledPieces(dir, rate))
            write(p, "sampled", slug(p.name));
        for (const Timbre &t : Timbres)
            write(syntheticPiece(t, rate), "synthetic", "tone-" + slug(t.name));
    }
    return 0;
}

// Our analyzer on a file, one frame per block at the center of the sound the block describes.
Track ourTrack(const std::vector<float> &samples, int rate, PitchAnalyzer::Mode mode)
{
    const Setting &s = CompareSetting;
    const int32_t length = rate == 11025 ? 1024 : rate == 22050 ? 2048 : 4096;
    PitchAnalyzer analyzer;
    analyzer.setMode(mode);
    analyzer.configure({ length, 1, rate, 16 }, s.filterLengthCode, 2);
    analyzer.setLimits(s.lowestHz, s.highestHz);
    const double delay = analyzer.getMaxDelay();
    std::vector<float> padded = samples;
    padded.resize((padded.size() / length + 1 + static_cast<size_t>(delay * rate / length + 2))
                          * length,
                  0.0f);
    const std::vector<uint8_t> bytes = pcm16(padded);
    Track track;
    track.stepSeconds = static_cast<double>(length) / rate;
    // A block is ready at its end, half a block and the band delay after the middle it describes.
    track.readySeconds = 0.5 * track.stepSeconds + delay;
    for (size_t b = 0; b < padded.size() / length; ++b) {
        const PitchResult *r = analyzer.analyze(bytes.data() + 2 * b * length);
        const double hz = r->totalEnergy > s.noiseThreshold / 2 ? r->pitch : 0.0;
        track.frames.emplace_back((b + 0.5) * track.stepSeconds - delay, hz);
    }
    return track;
}

// "time Hz" per line, as aubiopitch and the Praat script write them; anything that is not a
// positive number is a frame without pitch. `shift` seconds are added to each time. Empty when the
// file is missing.
Track readTrack(const std::string &path, double shift)
{
    Track track;
    for (const auto &[time, hz] : readListing(path))
        track.frames.emplace_back(time + shift, hz);
    if (track.frames.size() > 1)
        track.stepSeconds = (track.frames.back().first - track.frames.front().first)
                / static_cast<double>(track.frames.size() - 1);
    return track;
}

Score score(const Track &track, const std::vector<Note> &notes)
{
    Score s;
    // Settle: from a note's onset until the first of three frames in a row within 50 cents is
    // ready, as in the analyzer's own table; the frames ready after the onset count.
    if (track.readySeconds >= 0.0) {
        for (const Note &n : notes) {
            ++s.notes;
            int run = 0;
            bool settled = false;
            for (size_t i = 0; i < track.frames.size() && !settled; ++i) {
                const auto &[time, hz] = track.frames[i];
                if (time + track.readySeconds <= n.onset || time > n.off)
                    continue;
                const bool right =
                        hz > 0.0 && std::abs(1200.0 * std::log2(hz / n.truth(time))) < 50.0;
                run = right ? run + 1 : 0;
                if (run == 3) {
                    settled = true;
                    s.settleSeconds.push_back(track.frames[i - 2].first + track.readySeconds
                                              - n.onset);
                }
            }
            s.neverSettled += !settled;
        }
    }
    for (const auto &[time, hz] : track.frames) {
        for (const Note &n : notes) {
            if (time < n.onset + kEdgeSeconds || time > n.off - kEdgeSeconds)
                continue;
            ++s.frames;
            if (hz > 0.0) {
                ++s.voiced;
                const double cents = std::abs(1200.0 * std::log2(hz / n.truth(time)));
                s.absCents.push_back(cents);
                s.within50 += cents < 50.0;
            }
            break;
        }
    }
    return s;
}

struct Tracker
{
    std::string name;   // in the table
    std::string suffix; // of its output beside the wave file; empty for ours
    PitchAnalyzer::Mode mode = PitchAnalyzer::Mode::Refined;
};

std::string cell(const Score &s)
{
    if (s.frames == 0)
        return "-";
    char text[64];
    std::snprintf(text, sizeof text, "%.1f / %.2f", percent(s.within50, s.voiced),
                  median(s.absCents));
    return text;
}

// Reads what writeCompareFiles wrote and what the other trackers made of it, and prints, per
// rate, a table per file and a summary per material.
int compareAll(const std::string &dir, const std::vector<int> &rates)
{
    const std::vector<Tracker> candidates = {
        { "ours, refined", "", PitchAnalyzer::Mode::Refined },
        { "ours, classic", "", PitchAnalyzer::Mode::Classic },
        { "aubio yin", ".aubio-yin.txt" },
        { "aubio yinfft", ".aubio-yinfft.txt" },
        { "aubio mcomb", ".aubio-mcomb.txt" },
        { "aubio schmitt", ".aubio-schmitt.txt" },
        { "praat ac", ".praat.txt" },
    };
    for (int rate : rates) {
        const std::string at = dir + "/" + std::to_string(rate) + "/compare/";
        struct File
        {
            std::string material, file, name;
            std::vector<Note> notes;
            std::vector<Score> scores; // per tracker
        };
        std::vector<File> files;
        std::ifstream list(at + "files.tsv");
        std::string line;
        while (std::getline(list, line)) {
            File f;
            std::istringstream fields(line);
            std::getline(fields, f.material, '\t');
            std::getline(fields, f.file, '\t');
            std::getline(fields, f.name, '\t');
            std::ifstream notes(at + f.file + ".notes");
            double onset, off, hz;
            while (notes >> onset >> off >> hz)
                f.notes.push_back({ onset, off, [hz](double) { return hz; } });
            files.push_back(std::move(f));
        }
        if (files.empty()) {
            std::fprintf(stderr, "nothing to compare in %s\n", at.c_str());
            return 1;
        }
        // Trackers without any output at this rate (not installed) are left out.
        std::vector<Tracker> trackers;
        std::vector<double> steps;
        for (const Tracker &t : candidates) {
            if (!t.suffix.empty()
                && !std::filesystem::exists(at + files[0].file + ".wav" + t.suffix))
                continue;
            trackers.push_back(t);
            steps.push_back(0.0);
        }
        for (File &f : files) {
            int fileRate = 0;
            const std::vector<float> samples = readWave(at + f.file + ".wav", fileRate);
            // aubiopitch stamps a frame with the start of the hop it has just read, the last of
            // its window (a window of one block, a hop of a quarter of it): the sound it
            // describes is centered a window's half less a hop earlier. Praat stamps the center.
            const int32_t block = rate == 11025 ? 1024 : rate == 22050 ? 2048 : 4096;
            const double aubioShift = (block / 4.0 - block / 2.0) / rate;
            for (size_t i = 0; i < trackers.size(); ++i) {
                const Tracker &t = trackers[i];
                const bool aubio = t.suffix.starts_with(".aubio");
                Track track = t.suffix.empty()
                        ? ourTrack(samples, rate, t.mode)
                        : readTrack(at + f.file + ".wav" + t.suffix, aubio ? aubioShift : 0.0);
                // aubio has a frame when its window is full, half a window after its middle;
                // Praat chooses its path over the whole file and has no live reading.
                if (aubio)
                    track.readySeconds = block / 2.0 / rate;
                steps[i] = std::max(steps[i], track.stepSeconds);
                f.scores.push_back(score(track, f.notes));
            }
        }

        std::printf(
                "\n### %d Hz, per file: voiced frames within 50 cents %% / median abs cents\n\n",
                rate);
        std::printf("| file |");
        for (const Tracker &t : trackers)
            std::printf(" %s |", t.name.c_str());
        std::printf("\n|---|");
        for (size_t i = 0; i < trackers.size(); ++i)
            std::printf("---|");
        std::printf("\n");
        for (const File &f : files) {
            std::printf("| %s%s |", f.material == "synthetic" ? "tone: " : "", f.name.c_str());
            for (const Score &s : f.scores)
                std::printf(" %s |", cell(s).c_str());
            std::printf("\n");
        }

        std::printf("\n### %d Hz, summary\n\n", rate);
        std::printf(
                "| material | tracker | frame step ms | frames | voiced %% | within 50 c of "
                "voiced %% | gross errors %% | median abs cents | settle ms | never settled |\n");
        std::printf("|---|---|---|---|---|---|---|---|---|---|\n");
        for (const char *material : { "sampled", "synthetic" }) {
            for (size_t i = 0; i < trackers.size(); ++i) {
                Score all;
                for (const File &f : files)
                    if (f.material == material)
                        all.add(f.scores[i]);
                if (all.frames == 0)
                    continue;
                char settle[32] = "-", never[32] = "-";
                if (all.notes > 0) {
                    std::snprintf(settle, sizeof settle, "%.0f",
                                  1000.0 * median(all.settleSeconds));
                    std::snprintf(never, sizeof never, "%ld of %ld", all.neverSettled, all.notes);
                }
                std::printf("| %s | %s | %.1f | %ld | %.1f | %.1f | %.1f | %.2f | %s | %s |\n",
                            material == std::string("sampled") ? "sampled instruments"
                                                               : "synthetic tones",
                            trackers[i].name.c_str(), 1000.0 * steps[i], all.frames,
                            percent(all.voiced, all.frames), percent(all.within50, all.voiced),
                            100.0 - percent(all.within50, all.voiced), median(all.absCents), settle,
                            never);
            }
        }
        std::fflush(stdout);
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() >= 2 && args[0] == "--write-midi") {
        std::ofstream list(args[1] + "/notes.tsv");
        for (const Instrument &ins : Instruments)
            writeMidi(args[1], ins, list);
        return 0;
    }
    if (args.size() >= 2 && args[0] == "--measure") {
        std::vector<int> rates;
        bool perPiece = false;
        for (size_t i = 2; i < args.size(); ++i) {
            if (args[i] == "--per-piece")
                perPiece = true;
            else
                rates.push_back(std::stoi(args[i]));
        }
        if (rates.empty())
            rates = { 11025, 22050, 44100 };
        return measureAll(args[1], rates, perPiece);
    }
    if (args.size() >= 2 && (args[0] == "--write-compare" || args[0] == "--compare")) {
        std::vector<int> rates;
        for (size_t i = 2; i < args.size(); ++i)
            rates.push_back(std::stoi(args[i]));
        if (rates.empty())
            rates = { 11025, 22050, 44100 };
        return args[0] == "--compare" ? compareAll(args[1], rates)
                                      : writeCompareFiles(args[1], rates);
    }
    if (args.size() >= 2 && args[0] == "--write-passage-midi")
        return writePassageMidi(args[1]);
    if (args.size() >= 2 && (args[0] == "--prepare-passages" || args[0] == "--score-passages")) {
        std::vector<int> rates;
        for (size_t i = 2; i < args.size(); ++i)
            rates.push_back(std::stoi(args[i]));
        if (rates.empty())
            rates = { 11025, 22050, 44100 };
        return args[0] == "--prepare-passages" ? preparePassages(args[1], rates)
                                               : scorePassages(args[1], rates);
    }
    std::fprintf(stderr,
                 "usage: corvane_accuracy --write-midi DIR | --measure DIR [RATE...] "
                 "[--per-piece]\n"
                 "       corvane_accuracy --write-compare DIR [RATE...] | --compare DIR "
                 "[RATE...]\n"
                 "       corvane_accuracy --write-passage-midi DIR | --prepare-passages DIR "
                 "[RATE...] | --score-passages DIR [RATE...]\n");
    return 2;
}
