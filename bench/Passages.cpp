#include "Passages.h"

#include "AccuracyCommon.h"
#include "BlockLength.h"
#include "PassageScore.h"
#include "PitchAnalyzer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <numbers>
#include <sstream>

namespace corvane::accuracy {

namespace {

    // --- What is played
    // -----------------------------------------------------------------------------

    struct PassageInstrument
    {
        const char *name;
        int program; // General MIDI
        int base; // MIDI key of the lowest note; every passage spans two octaves above it at most
    };

    // Each instrument's passages lie within its range: the lowest note is at or near its bottom.
    const PassageInstrument PassageInstruments[] = {
        { "violin", 40, 55 },   { "cello", 42, 36 },   { "flute", 73, 60 },
        { "clarinet", 71, 52 }, { "trumpet", 56, 58 }, { "alto sax", 65, 49 },
        { "guitar", 24, 40 },   { "piano", 0, 48 },    { "bass", 32, 28 },
    };

    const int Tempos[] = { 2, 4, 8 }; // notes a second

    struct PhraseKind
    {
        const char *name;
        std::vector<int> steps; // semitones above the base, in playing order
        bool detached;          // gaps between the notes, else legato
        bool vibrato;
    };

    const std::vector<int> MajorScale = { 0, 2, 4, 5, 7, 9, 11, 12, 11, 9, 7, 5, 4, 2, 0 };

    std::vector<int> chromaticRun()
    {
        std::vector<int> run;
        for (int s = 0; s <= 12; ++s)
            run.push_back(s);
        for (int s = 11; s >= 0; --s)
            run.push_back(s);
        return run;
    }

    const PhraseKind PhraseKinds[] = {
        { "legato scale", MajorScale, false, false },
        { "detached scale", MajorScale, true, false },
        { "arpeggio", { 0, 4, 7, 12, 16, 19, 24, 19, 16, 12, 7, 4, 0 }, false, false },
        { "chromatic run", chromaticRun(), false, false },
        { "vibrato scale", MajorScale, false, true },
    };

    // A detached note sounds for this share of its step; a legato note for all of it.
    constexpr double kDetachedShare = 0.55;
    // Silence before the first phrase and between phrases, so that each starts from silence.
    constexpr double kLeadSeconds = 0.5, kPauseSeconds = 1.2;
    // Vibrato by pitch bend (the default bend range of two semitones), a bend every 10 ms.
    constexpr double kVibratoCents = 25.0, kVibratoHz = 5.5, kBendStepSeconds = 0.010;
    constexpr int kTicksPerSecond = 960;

    // fluidsynth starts a note's sound about two of its 64-frame blocks after the MIDI onset (the
    // event waits for the next block; the rest varies with where in its block the onset falls and
    // with the attack): 11 ms at 11025 Hz, 3 ms at 44100 Hz. --prepare-passages prints the check
    // on every run.
    constexpr double kRenderDelayFrames = 128.0;

    double renderDelay(int rate)
    {
        return kRenderDelayFrames / rate;
    }

    std::string fileName(const PassageInstrument &ins, int tempo)
    {
        std::string name = ins.name;
        std::replace(name.begin(), name.end(), ' ', '-');
        return name + "-" + std::to_string(tempo) + "ps";
    }

    struct WrittenNote
    {
        std::string file, instrument, kind;
        int tempo = 0, phrase = 0, key = 0;
        bool vibrato = false;
        double onset = 0.0, off = 0.0; // as in the MIDI file, seconds
    };

    // One instrument at one tempo: every phrase kind in turn, a pause between them.
    std::string passageTrack(const PassageInstrument &ins, int tempo,
                             std::vector<WrittenNote> &notes)
    {
        struct Event
        {
            long tick;
            int order; // at one tick: bends, then note-offs, then note-ons
            std::vector<int> bytes;
        };
        std::vector<Event> events;
        auto tick = [](double seconds) { return std::lround(seconds * kTicksPerSecond); };
        const double step = 1.0 / tempo;
        double at = kLeadSeconds;
        int phrase = 0;
        for (const PhraseKind &kind : PhraseKinds) {
            const double start = at;
            for (size_t i = 0; i < kind.steps.size(); ++i) {
                const int key = ins.base + kind.steps[i];
                const double onset = start + static_cast<double>(i) * step;
                const double off = onset + (kind.detached ? kDetachedShare : 1.0) * step;
                events.push_back({ tick(onset), 2, { 0x90, key, 90 } });
                events.push_back({ tick(off), 1, { 0x80, key, 0 } });
                notes.push_back({ fileName(ins, tempo), ins.name, kind.name, tempo, phrase, key,
                                  kind.vibrato, tick(onset) / double(kTicksPerSecond),
                                  tick(off) / double(kTicksPerSecond) });
            }
            const double end = start + static_cast<double>(kind.steps.size()) * step;
            if (kind.vibrato) {
                for (double t = start; t < end; t += kBendStepSeconds) {
                    const double cents = kVibratoCents
                            * std::sin(2.0 * std::numbers::pi * kVibratoHz * (t - start));
                    const int bend = 8192 + static_cast<int>(std::lround(cents / 200.0 * 8192.0));
                    events.push_back({ tick(t), 0, { 0xE0, bend & 0x7f, bend >> 7 } });
                }
                events.push_back({ tick(end), 0, { 0xE0, 0, 64 } });
            }
            at = end + kPauseSeconds;
            ++phrase;
        }
        std::stable_sort(events.begin(), events.end(), [](const Event &a, const Event &b) {
            return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
        });
        std::string track;
        auto put = [&track](long delta, const std::vector<int> &bytes) {
            putVar(track, static_cast<uint32_t>(delta));
            for (int b : bytes)
                track.push_back(static_cast<char>(b));
        };
        put(0, { 0xC0, ins.program });
        long last = 0;
        for (const Event &e : events) {
            put(e.tick - last, e.bytes);
            last = e.tick;
        }
        put(kTicksPerSecond, { 0xFF, 0x2F, 0x00 });
        return track;
    }

    std::vector<WrittenNote> readWrittenNotes(const std::string &dir)
    {
        std::vector<WrittenNote> notes;
        std::ifstream in(dir + "/passages/notes.tsv");
        std::string line;
        while (std::getline(in, line)) {
            std::istringstream fields(line);
            WrittenNote n;
            std::getline(fields, n.file, '\t');
            std::getline(fields, n.instrument, '\t');
            std::getline(fields, n.kind, '\t');
            int vibrato = 0;
            if (fields >> n.tempo >> n.phrase >> n.key >> vibrato >> n.onset >> n.off) {
                n.vibrato = vibrato != 0;
                notes.push_back(n);
            }
        }
        return notes;
    }

    // --- Truth
    // --------------------------------------------------------------------------------------

    double keyHz(int key)
    {
        return 440.0 * std::pow(2.0, (key - 69) / 12.0);
    }

    // The steady part of a note: after the attack and, in a legato phrase, the previous note's
    // release; before its own release.
    std::pair<size_t, size_t> steadyPart(const WrittenNote &n, int rate, size_t size)
    {
        const double length = n.off - n.onset;
        const double from = n.onset + renderDelay(rate) + std::min(0.3 * length, 0.25);
        const double to = n.off + renderDelay(rate) - 0.05 * length;
        return { std::min(size, static_cast<size_t>(from * rate)),
                 std::min(size, static_cast<size_t>(to * rate)) };
    }

    // A key's pitch in a rendering: its nominal pitch corrected by the harmonic comb that collects
    // the most energy over the steady parts of all its plain (vibrato-free) notes together, within
    // 40 cents, to a tenth of a cent. Every note of a key plays the same sample at the same rate,
    // so one figure holds for all of them, the vibrato notes' center included.
    double measuredKeyHz(const std::vector<float> &x, int rate,
                         const std::vector<const WrittenNote *> &plain, int key)
    {
        const double nominal = keyHz(key);
        auto energy = [&](double cents) {
            double sum = 0.0;
            for (const WrittenNote *n : plain) {
                const auto [from, to] = steadyPart(*n, rate, x.size());
                if (to > from + 64)
                    sum += combEnergy(x, from, to, nominal * std::pow(2.0, cents / 1200.0), rate);
            }
            return sum;
        };
        double bestCents = 0.0, best = -1.0;
        for (double c = -40.0; c <= 40.0; c += 2.0) {
            const double e = energy(c);
            if (e > best) {
                best = e;
                bestCents = c;
            }
        }
        for (double step : { 0.5, 0.1 }) {
            const double center = bestCents;
            for (double c = center - 4 * step; c <= center + 4 * step + 1e-9; c += step) {
                const double e = energy(c);
                if (e > best) {
                    best = e;
                    bestCents = c;
                }
            }
        }
        return nominal * std::pow(2.0, bestCents / 1200.0);
    }

    // Where the rendering's first sound of each phrase begins against its MIDI onset: the first
    // sample above a thousandth of the phrase's first 0.2 s peak. Every phrase starts from silence.
    std::vector<double> renderDelays(const std::vector<float> &x, int rate,
                                     const std::vector<const WrittenNote *> &firsts)
    {
        std::vector<double> delays;
        for (const WrittenNote *n : firsts) {
            const auto from = static_cast<size_t>(std::max(0.0, n->onset - 0.1) * rate);
            const auto to = std::min(x.size(), static_cast<size_t>((n->onset + 0.2) * rate));
            float top = 0.0f;
            for (size_t i = from; i < to; ++i)
                top = std::max(top, std::abs(x[i]));
            for (size_t i = from; i < to && top > 0.0f; ++i) {
                if (std::abs(x[i]) > 1e-3f * top) {
                    delays.push_back(static_cast<double>(i) / rate - n->onset);
                    break;
                }
            }
        }
        return delays;
    }

    // Each phrase scaled to a peak of 0.5 (-6 dBFS), as the single notes are, up to the next.
    void scalePhrases(std::vector<float> &x, int rate, const std::vector<double> &phraseStarts)
    {
        for (size_t p = 0; p < phraseStarts.size(); ++p) {
            const auto from = static_cast<size_t>(std::max(0.0, phraseStarts[p] - 0.5) * rate);
            const auto to = p + 1 < phraseStarts.size()
                    ? std::min(x.size(), static_cast<size_t>((phraseStarts[p + 1] - 0.5) * rate))
                    : x.size();
            float top = 0.0f;
            for (size_t i = from; i < to; ++i)
                top = std::max(top, std::abs(x[i]));
            for (size_t i = from; i < to && top > 0.0f; ++i)
                x[i] *= 0.5f / top;
        }
    }

    // --- Tracks
    // -------------------------------------------------------------------------------------

    std::vector<PitchFrame> framesOf(std::vector<std::pair<double, double>> rows, double shift)
    {
        std::vector<PitchFrame> frames;
        for (const auto &[time, hz] : rows)
            frames.push_back({ time + shift, std::isfinite(hz) && hz > 0.0 ? hz : 0.0 });
        std::sort(frames.begin(), frames.end(),
                  [](const PitchFrame &a, const PitchFrame &b) { return a.time < b.time; });
        return frames;
    }

    double numberAfter(const std::string &line, const std::string &key, bool &found)
    {
        const size_t at = line.find("\"" + key + "\":");
        found = at != std::string::npos;
        return found ? std::strtod(line.c_str() + at + key.size() + 3, nullptr) : 0.0;
    }

    // The rows of `tonrik --analyze --json`, one object per line: the start of the sound a row
    // describes and its pitch; a row that is not voiced, or has no pitch, has none. A row describes
    // the time up to the next row's start, so the frame's center lies half a row later.
    std::vector<PitchFrame> readOurJson(const std::string &path)
    {
        std::vector<std::pair<double, double>> rows;
        std::ifstream in(path);
        std::string line;
        while (std::getline(in, line)) {
            bool hasTime = false, hasPitch = false;
            const double time = numberAfter(line, "time_s", hasTime);
            const double hz = numberAfter(line, "pitch_hz", hasPitch);
            if (!hasTime)
                continue;
            const bool voiced = line.find("\"voiced\": true") != std::string::npos;
            rows.emplace_back(time, voiced && hasPitch ? hz : 0.0);
        }
        std::vector<double> steps;
        for (size_t i = 1; i < rows.size(); ++i)
            steps.push_back(rows[i].first - rows[i - 1].first);
        return framesOf(rows, 0.5 * median(steps));
    }

    // The analyzer called directly with its window moving by a hop (hopLengthForRate), without
    // what the recording analysis does to its results on the way to rows: factory filter length,
    // sensitivity and noise threshold, the refined mode, the other trackers' limits. A result
    // describes the window that ends with its hop, moved back by the band delay; its frame is
    // that window's center.
    std::vector<PitchFrame> libraryHopFrames(const std::string &wav)
    {
        int rate = 0;
        const std::vector<float> x = readWave(wav, rate);
        if (x.empty())
            return {};
        const int32_t window = blockLengthForRate(rate), hop = hopLengthForRate(rate);
        PitchAnalyzer analyzer;
        analyzer.setMode(PitchAnalyzer::Mode::Refined);
        analyzer.configure({ window, 1, rate, 16 }, 3, 2, hop);
        analyzer.setLimits(27.5, 4200.0);
        const double delay = analyzer.getMaxDelay();
        std::vector<float> padded = x;
        padded.resize((padded.size() / hop + 2 + static_cast<size_t>(delay * rate / hop)) * hop,
                      0.0f);
        const std::vector<uint8_t> bytes = pcm16(padded);
        std::vector<PitchFrame> frames;
        for (size_t h = 0; h < padded.size() / hop; ++h) {
            const PitchResult *r = analyzer.analyze(bytes.data() + 2 * h * hop);
            const double end = static_cast<double>((h + 1) * hop) / rate;
            const bool voiced = r->totalEnergy > 0.02 / 2 && r->pitch > 0.0;
            frames.push_back({ end - 0.5 * window / rate - delay, voiced ? r->pitch : 0.0 });
        }
        return frames;
    }

    struct PassageTracker
    {
        const char *name;
        const char *suffix; // of its output beside the wave file; empty: run here
    };

    const PassageTracker PassageTrackers[] = {
        { "ours", ".ours.json" },          { "ours, 27.5-4200 Hz", ".ours-wide.json" },
        { "ours, hop, 27.5-4200 Hz", "" }, { "aubio yin", ".aubio-yin.txt" },
        { "praat ac", ".praat.txt" },
    };

    std::vector<PitchFrame> readTracker(const std::string &wav, const PassageTracker &t, int rate)
    {
        if (std::string(t.suffix).empty())
            return libraryHopFrames(wav);
        const std::string path = wav + t.suffix;
        if (std::string(t.suffix).starts_with(".ours"))
            return readOurJson(path);
        if (std::string(t.suffix).starts_with(".aubio")) {
            // As in the single-note comparison: stamped at the start of the last hop of its window.
            const int block = rate == 11025 ? 1024 : rate == 22050 ? 2048 : 4096;
            return framesOf(readListing(path), (block / 4.0 - block / 2.0) / rate);
        }
        return framesOf(readListing(path), 0.0); // Praat stamps the center
    }

    struct Truth
    {
        int phrase = 0;
        std::string kind;
        PassageNote note;
    };

    void printScoreRow(const std::string &rate, const std::string &what, const char *tracker,
                       const PassageScore &s)
    {
        auto perMinute = [&s](long count) {
            return s.seconds > 0.0 ? 60.0 * static_cast<double>(count) / s.seconds : 0.0;
        };
        std::vector<double> absErrors;
        for (double e : s.changeErrors)
            absErrors.push_back(std::abs(e));
        std::printf("| %s | %s | %s | %ld | %.1f | %.2f | %.1f | %.0f | %ld of %ld | %.0f | %.0f | "
                    "%+.0f | %ld of %ld | %.1f | %.1f |\n",
                    rate.c_str(), what.c_str(), tracker, s.frames, percent(s.within50, s.frames),
                    median(s.absCents), percent(s.within5, s.frames),
                    1000.0 * median(s.lockSeconds), s.neverLocked, s.notes,
                    1000.0 * median(absErrors), 1000.0 * quantile(absErrors, 0.9),
                    1000.0 * median(s.changeErrors), s.missedChanges, s.changes,
                    perMinute(s.ghosts), perMinute(s.heldOver));
    }

} // namespace

int writePassageMidi(const std::string &dir)
{
    std::filesystem::create_directories(dir + "/passages");
    std::ofstream list(dir + "/passages/notes.tsv");
    list.precision(10);
    for (const PassageInstrument &ins : PassageInstruments) {
        for (int tempo : Tempos) {
            std::vector<WrittenNote> notes;
            const std::string track = passageTrack(ins, tempo, notes);
            std::ofstream(dir + "/passages/" + fileName(ins, tempo) + ".mid", std::ios::binary)
                    << midiFile(track);
            for (const WrittenNote &n : notes)
                list << n.file << '\t' << n.instrument << '\t' << n.kind << '\t' << n.tempo << '\t'
                     << n.phrase << '\t' << n.key << '\t' << n.vibrato << '\t' << n.onset << '\t'
                     << n.off << '\n';
        }
    }
    return 0;
}

int preparePassages(const std::string &dir, const std::vector<int> &rates)
{
    const std::vector<WrittenNote> notes = readWrittenNotes(dir);
    if (notes.empty()) {
        std::fprintf(stderr, "no passages in %s/passages/notes.tsv\n", dir.c_str());
        return 1;
    }
    for (int rate : rates) {
        const std::string at = dir + "/" + std::to_string(rate) + "/passages/";
        std::ofstream list(at + "files.tsv");
        std::vector<double> delays;
        for (const PassageInstrument &ins : PassageInstruments) {
            // The keys' pitches come from the slowest file, whose notes are longest.
            std::map<int, double> keyPitch;
            for (int tempo : Tempos) {
                const std::string file = fileName(ins, tempo);
                int fileRate = 0;
                std::vector<float> x = readWave(at + "rendered/" + file + ".wav", fileRate);
                if (x.empty() || fileRate != rate) {
                    std::fprintf(stderr, "no rendering of %s at %d Hz: left out\n", file.c_str(),
                                 rate);
                    continue;
                }
                std::vector<const WrittenNote *> mine, firsts;
                std::vector<double> phraseStarts;
                for (const WrittenNote &n : notes) {
                    if (n.file != file)
                        continue;
                    if (mine.empty() || mine.back()->phrase != n.phrase) {
                        firsts.push_back(&n);
                        phraseStarts.push_back(n.onset + renderDelay(rate));
                    }
                    mine.push_back(&n);
                }
                const std::vector<double> d = renderDelays(x, rate, firsts);
                delays.insert(delays.end(), d.begin(), d.end());
                if (keyPitch.empty()) {
                    std::map<int, std::vector<const WrittenNote *>> plain;
                    for (const WrittenNote *n : mine)
                        if (!n->vibrato)
                            plain[n->key].push_back(n);
                    for (const auto &[key, keyNotes] : plain)
                        keyPitch[key] = measuredKeyHz(x, rate, keyNotes, key);
                }
                scalePhrases(x, rate, phraseStarts);
                writeWave(at + file + ".wav", x, rate);
                std::ofstream truth(at + file + ".truth");
                truth.precision(10);
                for (const WrittenNote *n : mine) {
                    const auto pitch = keyPitch.find(n->key);
                    truth << n->phrase << '\t' << n->kind << '\t' << n->onset + renderDelay(rate)
                          << '\t' << n->off + renderDelay(rate) << '\t'
                          << (pitch != keyPitch.end() ? pitch->second : keyHz(n->key)) << '\n';
                }
                list << file << '\t' << ins.name << '\t' << tempo << '\n';
            }
        }
        std::printf("passages at %d Hz: the rendered sound of a phrase starts %.1f ms after its "
                    "MIDI onset (median of %zu phrases; %.1f ... %.1f ms); corrected by %.1f ms\n",
                    rate, 1000.0 * median(delays), delays.size(), 1000.0 * quantile(delays, 0.0),
                    1000.0 * quantile(delays, 1.0), 1000.0 * renderDelay(rate));
    }
    return 0;
}

int scorePassages(const std::string &dir, const std::vector<int> &rates)
{
    std::printf(
            "\n| rate | passages | tracker | frames | RPA %% | median abs cents | within 5 c %% "
            "| lock ms | never locked | change abs ms median | change abs ms p90 | "
            "change signed ms median | changes missed | ghosts per min | held over per min |\n");
    std::printf("|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|\n");
    for (int rate : rates) {
        const std::string at = dir + "/" + std::to_string(rate) + "/passages/";
        // (what, tracker) -> score; "what" is a phrase kind, a tempo or "all".
        std::map<std::pair<std::string, std::string>, PassageScore> scores;
        auto addTo = [&](const std::string &what, const char *tracker, const PassageScore &s) {
            scores[{ what, tracker }].add(s);
        };
        std::ifstream list(at + "files.tsv");
        std::string line;
        while (std::getline(list, line)) {
            std::istringstream fields(line);
            std::string file, instrument;
            int tempo = 0;
            std::getline(fields, file, '\t');
            std::getline(fields, instrument, '\t');
            fields >> tempo;
            std::vector<Truth> truth;
            std::ifstream in(at + file + ".truth");
            std::string row;
            while (std::getline(in, row)) {
                std::istringstream f(row);
                Truth t;
                std::string phrase;
                std::getline(f, phrase, '\t');
                std::getline(f, t.kind, '\t');
                t.phrase = std::stoi(phrase);
                f >> t.note.onset >> t.note.off >> t.note.hz;
                truth.push_back(t);
            }
            for (const PassageTracker &tracker : PassageTrackers) {
                const std::string wav = at + file + ".wav";
                if (*tracker.suffix != '\0' && !std::filesystem::exists(wav + tracker.suffix))
                    continue;
                const std::vector<PitchFrame> frames = readTracker(wav, tracker, rate);
                for (size_t from = 0; from < truth.size();) {
                    size_t to = from;
                    std::vector<PassageNote> phrase;
                    while (to < truth.size() && truth[to].phrase == truth[from].phrase)
                        phrase.push_back(truth[to++].note);
                    const PassageScore s = scorePhrase(frames, phrase);
                    addTo(truth[from].kind, tracker.name, s);
                    addTo(std::to_string(tempo) + " notes a second", tracker.name, s);
                    addTo("all", tracker.name, s);
                    addTo(instrument, tracker.name, s);
                    from = to;
                }
            }
        }
        if (scores.empty()) {
            std::fprintf(stderr, "no passages scored in %s\n", at.c_str());
            return 1;
        }
        std::vector<std::string> order;
        for (const PhraseKind &kind : PhraseKinds)
            order.push_back(kind.name);
        for (int tempo : Tempos)
            order.push_back(std::to_string(tempo) + " notes a second");
        order.push_back("all");
        for (const PassageInstrument &ins : PassageInstruments)
            order.push_back(ins.name);
        for (const std::string &what : order)
            for (const PassageTracker &tracker : PassageTrackers) {
                const auto s = scores.find({ what, tracker.name });
                if (s != scores.end())
                    printScoreRow(std::to_string(rate), what == "all" ? "**all**" : what,
                                  tracker.name, s->second);
            }
        std::fflush(stdout);
    }
    return 0;
}

} // namespace corvane::accuracy
