#include "AccuracyCommon.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <numbers>
#include <sstream>
#include <utility>

namespace corvane::accuracy {

namespace {

    constexpr double kPi = std::numbers::pi;

    uint32_t le(const unsigned char *p, int bytes)
    {
        uint32_t v = 0;
        for (int i = bytes - 1; i >= 0; --i)
            v = (v << 8) | p[i];
        return v;
    }

} // namespace

void put32(std::string &s, uint32_t v)
{
    for (int i = 3; i >= 0; --i)
        s.push_back(static_cast<char>((v >> (8 * i)) & 0xff));
}

void putVar(std::string &s, uint32_t v)
{
    char bytes[5];
    int n = 0;
    bytes[n++] = static_cast<char>(v & 0x7f);
    while (v >>= 7)
        bytes[n++] = static_cast<char>(0x80 | (v & 0x7f));
    while (n)
        s.push_back(bytes[--n]);
}

std::string midiFile(const std::string &track)
{
    std::string file = "MThd";
    put32(file, 6);
    file += std::string("\0\0\0\1\x01\xe0", 6);
    file += "MTrk";
    put32(file, static_cast<uint32_t>(track.size()));
    return file + track;
}

// 16-bit or 32-bit float PCM, mixed to mono; empty on any error.
std::vector<float> readWave(const std::string &path, int &rate)
{
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0)
        return {};
    int channels = 0, bits = 0, format = 0;
    for (size_t at = 12; at + 8 <= bytes.size();) {
        const uint32_t size = le(p + at + 4, 4);
        if (bytes.compare(at, 4, "fmt ") == 0) {
            format = static_cast<int>(le(p + at + 8, 2));
            channels = static_cast<int>(le(p + at + 10, 2));
            rate = static_cast<int>(le(p + at + 12, 4));
            bits = static_cast<int>(le(p + at + 22, 2));
        } else if (bytes.compare(at, 4, "data") == 0 && channels > 0) {
            const size_t frameBytes = static_cast<size_t>(channels * bits / 8);
            const size_t frames = std::min<size_t>(size, bytes.size() - at - 8) / frameBytes;
            std::vector<float> out(frames);
            for (size_t f = 0; f < frames; ++f) {
                double sum = 0.0;
                for (int c = 0; c < channels; ++c) {
                    const unsigned char *s = p + at + 8 + f * frameBytes + c * bits / 8;
                    if (bits == 16)
                        sum += static_cast<int16_t>(le(s, 2)) / 32768.0;
                    else if (bits == 32 && format == 3) {
                        float v;
                        std::memcpy(&v, s, 4);
                        sum += v;
                    }
                }
                out[f] = static_cast<float>(sum / channels);
            }
            return out;
        }
        at += 8 + size + (size & 1);
    }
    return {};
}

// Energy of harmonics 1 ... 6 of f in a Hann-windowed stretch.
double combEnergy(const std::vector<float> &x, size_t from, size_t to, double f, int rate)
{
    double total = 0.0;
    for (int k = 1; k <= 6 && k * f < rate / 2.0; ++k) {
        const double w = 2.0 * kPi * k * f / rate;
        double re = 0.0, im = 0.0, c = 1.0, s = 0.0;
        const double cw = std::cos(w), sw = std::sin(w);
        const double n = static_cast<double>(to - from);
        for (size_t i = from; i < to; ++i) {
            const double hann = 0.5 - 0.5 * std::cos(2.0 * kPi * (i - from) / n);
            re += x[i] * hann * c;
            im -= x[i] * hann * s;
            const double next = c * cw - s * sw;
            s = s * cw + c * sw;
            c = next;
        }
        total += re * re + im * im;
    }
    return total;
}

double median(std::vector<double> v)
{
    if (v.empty())
        return 0.0;
    std::nth_element(v.begin(), v.begin() + static_cast<long>(v.size() / 2), v.end());
    return v[v.size() / 2];
}

std::vector<uint8_t> pcm16(const std::vector<float> &x)
{
    std::vector<uint8_t> bytes(x.size() * 2);
    for (size_t i = 0; i < x.size(); ++i) {
        const auto v = static_cast<uint16_t>(
                static_cast<int16_t>(std::lround(std::clamp(x[i] * 32768.0, -32768.0, 32767.0))));
        bytes[2 * i] = static_cast<uint8_t>(v & 0xff);
        bytes[2 * i + 1] = static_cast<uint8_t>(v >> 8);
    }
    return bytes;
}

double percent(long part, long whole)
{
    return whole ? 100.0 * part / whole : 0.0;
}

void writeWave(const std::string &path, const std::vector<float> &x, int rate)
{
    const std::vector<uint8_t> data = pcm16(x);
    std::string h = "RIFF";
    auto put = [&h](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            h.push_back(static_cast<char>((v >> (8 * i)) & 0xff));
    };
    put(static_cast<uint32_t>(36 + data.size()), 4);
    h += "WAVEfmt ";
    put(16, 4);
    put(1, 2); // PCM
    put(1, 2); // mono
    put(static_cast<uint32_t>(rate), 4);
    put(static_cast<uint32_t>(rate * 2), 4);
    put(2, 2);
    put(16, 2);
    h += "data";
    put(static_cast<uint32_t>(data.size()), 4);
    std::ofstream out(path, std::ios::binary);
    out << h;
    out.write(reinterpret_cast<const char *>(data.data()),
              static_cast<std::streamsize>(data.size()));
}

std::vector<std::pair<double, double>> readListing(const std::string &path)
{
    std::vector<std::pair<double, double>> rows;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        double time = 0.0;
        std::string value;
        if (!(fields >> time >> value))
            continue;
        char *end = nullptr;
        double hz = std::strtod(value.c_str(), &end);
        if (end == value.c_str() || !std::isfinite(hz) || hz < 0.0)
            hz = 0.0;
        rows.emplace_back(time, hz);
    }
    return rows;
}

} // namespace corvane::accuracy
