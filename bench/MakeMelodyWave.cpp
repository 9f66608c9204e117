// Writes a long 16-bit PCM wave file of a repeating melody with short rests, for timing the
// command-line analysis of a whole recording and for the golden files of its output:
//     corvane_make_melody OUT.wav [SECONDS=600] [RATE=44100] [CHANNELS=1] [RIGHT=same]
// With two channels, RIGHT "fifth" plays the melody a fifth higher on the right channel, so that
// what is heard of it says which channel was analyzed; "same" puts the left channel on both.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

void put16(std::ofstream &out, uint32_t v)
{
    const char b[2] = { static_cast<char>(v & 0xff), static_cast<char>((v >> 8) & 0xff) };
    out.write(b, 2);
}

void put32(std::ofstream &out, uint32_t v)
{
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

// One voice of the melody: a sine with a little of its octave, faded in over 10 ms.
class Voice
{
public:
    Voice(double ratio, uint32_t rate)
        : m_ratio(ratio)
        , m_rate(rate)
    {
    }

    // The level -1..1 at frame `inSlot` of a note of `hz` (times the voice's ratio).
    double next(double hz, uint64_t inSlot)
    {
        constexpr double kTwoPi = 6.283185307179586;
        m_phase += kTwoPi * hz * m_ratio / m_rate;
        if (m_phase > kTwoPi)
            m_phase -= kTwoPi;
        const double envelope = std::min(1.0, static_cast<double>(inSlot) / (0.01 * m_rate));
        return 0.5 * envelope * (0.8 * std::sin(m_phase) + 0.2 * std::sin(2 * m_phase));
    }
    // A rest: the next note starts from phase 0.
    void rest() noexcept { m_phase = 0.0; }

private:
    double m_ratio;
    uint32_t m_rate;
    double m_phase = 0.0;
};

int16_t pcm16(double x)
{
    return static_cast<int16_t>(std::lround(x * 32767.0));
}

void putSample(std::vector<char> &buffer, int16_t value)
{
    buffer.push_back(static_cast<char>(value & 0xff));
    buffer.push_back(static_cast<char>((value >> 8) & 0xff));
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUT.wav [SECONDS] [RATE] [CHANNELS] [RIGHT]\n", argv[0]);
        return 2;
    }
    const double seconds = argc > 2 ? std::atof(argv[2]) : 600.0;
    const uint32_t rate = argc > 3 ? static_cast<uint32_t>(std::atoi(argv[3])) : 44100u;
    const uint32_t channels = argc > 4 ? static_cast<uint32_t>(std::atoi(argv[4])) : 1u;
    const std::string_view right = argc > 5 ? argv[5] : "same";
    if (!(seconds > 0.0) || rate == 0 || channels < 1 || channels > 2
        || (right != "same" && right != "fifth")) {
        std::fprintf(stderr, "bad arguments\n");
        return 2;
    }
    const auto frames = static_cast<uint64_t>(seconds * rate);
    const uint32_t dataBytes = static_cast<uint32_t>(frames * channels * 2);

    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write("RIFF", 4);
    put32(out, 36 + dataBytes);
    out.write("WAVEfmt ", 8);
    put32(out, 16);
    put16(out, 1);
    put16(out, channels);
    put32(out, rate);
    put32(out, rate * channels * 2);
    put16(out, channels * 2);
    put16(out, 16);
    out.write("data", 4);
    put32(out, dataBytes);

    // C major scale up and down, half a second a note, a quarter second of rest after each.
    const double melody[] = { 261.63, 293.66, 329.63, 349.23, 392.0,  440.0,  493.88,
                              523.25, 493.88, 440.0,  392.0,  349.23, 329.63, 293.66 };
    const uint64_t noteFrames = rate / 2;
    const uint64_t slotFrames = noteFrames + rate / 4;
    const bool fifth = channels == 2 && right == "fifth";
    Voice left(1.0, rate);
    Voice above(1.5, rate);
    std::vector<char> buffer;
    buffer.reserve(1 << 16);
    for (uint64_t i = 0; i < frames; ++i) {
        const uint64_t slot = i / slotFrames;
        const uint64_t inSlot = i % slotFrames;
        int16_t value = 0;
        int16_t second = 0;
        if (inSlot < noteFrames) {
            const double hz = melody[slot % (sizeof melody / sizeof melody[0])];
            value = pcm16(left.next(hz, inSlot));
            second = fifth ? pcm16(above.next(hz, inSlot)) : value;
        } else {
            left.rest();
            above.rest();
        }
        putSample(buffer, value);
        if (channels == 2)
            putSample(buffer, second);
        if (buffer.size() >= (1 << 16) - 4) {
            out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
            buffer.clear();
        }
    }
    out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    return out ? 0 : 1;
}
