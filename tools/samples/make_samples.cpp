// Writes the 27 sample files of the instrument: 00-ref.wav (a 440 Hz reference that the
// program never plays) and one plucked-string sample per string, 01-E6.wav .. 26-A2.wav.
//
// Each string sounds at its home pitch in the 79-step tuning: 262 Hz * 2^(degree / 79).
// The tone is additive: exactly harmonic partials whose strengths follow a string plucked
// near one end, each decaying on its own (higher partials faster, high strings shorter),
// with a 2 ms rise and a smooth fade to exact silence at the end, so neither end clicks.
// Files are canonical PCM WAV: 44-byte header, 16-bit, mono, 44100 Hz, 3 s.
//
// Usage: make_samples <folder>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

#include "strings.h"

namespace {

constexpr int kRate = 44100;
constexpr double kSeconds = 3.0;
constexpr int kFrames = static_cast<int>(kRate * kSeconds);
constexpr double kC4 = 262.0;
constexpr double kPeak = 0.6;  // leaves room for the player's headroom
constexpr double kHighestPartial = 16000.0;
constexpr double kPluckPosition = 0.13;  // fraction of the string length
constexpr double kRiseSeconds = 0.002;
constexpr double kFadeSeconds = 0.25;

std::vector<double> pluck(double f0) {
    std::vector<double> out(kFrames, 0.0);
    // Low strings ring longer than high ones; every partial above the first dies faster.
    const double base_decay = 1.5 * std::pow(110.0 / f0, 0.4);  // seconds to 1/e
    const int partials = static_cast<int>(kHighestPartial / f0);
    for (int n = 1; n <= partials; ++n) {
        const double amp =
            std::sin(n * std::numbers::pi * kPluckPosition) / std::pow(static_cast<double>(n), 1.6);
        const double tau = base_decay / (1.0 + 0.6 * (n - 1) * std::sqrt(f0 / 262.0));
        const double w = 2.0 * std::numbers::pi * n * f0 / kRate;
        const double fall = std::exp(-1.0 / (tau * kRate));
        // sin(w i) by the two-term recurrence: exact frequency, no sin() per sample.
        const double k = 2.0 * std::cos(w);
        double before = -std::sin(w), now = 0.0;
        double env = 1.0;
        for (int i = 0; i < kFrames; ++i) {
            out[static_cast<std::size_t>(i)] += amp * env * now;
            const double next = k * now - before;
            before = now;
            now = next;
            env *= fall;
        }
    }
    const int rise = static_cast<int>(kRiseSeconds * kRate);
    const int fade = static_cast<int>(kFadeSeconds * kRate);
    for (int i = 0; i < kFrames; ++i) {
        double g = 1.0;
        if (i < rise) g = 0.5 - 0.5 * std::cos(std::numbers::pi * i / rise);
        const int left = kFrames - 1 - i;  // 0 at the last frame: exact silence there
        if (left < fade) g *= 0.5 - 0.5 * std::cos(std::numbers::pi * left / fade);
        out[static_cast<std::size_t>(i)] *= g;
    }
    return out;
}

std::vector<double> reference_tone() {
    std::vector<double> out(kFrames);
    const int fade = static_cast<int>(kFadeSeconds * kRate);
    for (int i = 0; i < kFrames; ++i) {
        double g = 1.0;
        if (i < fade) g = 0.5 - 0.5 * std::cos(std::numbers::pi * i / fade);
        const int left = kFrames - 1 - i;
        if (left < fade) g *= 0.5 - 0.5 * std::cos(std::numbers::pi * left / fade);
        out[static_cast<std::size_t>(i)] = g * std::sin(2.0 * std::numbers::pi * 440.0 * i / kRate);
    }
    return out;
}

void put16(std::string& s, unsigned v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& s, std::uint32_t v) {
    put16(s, v & 0xFFFF);
    put16(s, v >> 16);
}

bool write_wav(const std::filesystem::path& file, const std::vector<double>& signal) {
    double peak = 0.0;
    for (double v : signal) peak = std::max(peak, std::abs(v));
    const double gain = peak > 0.0 ? kPeak / peak : 0.0;
    const auto data_bytes = static_cast<std::uint32_t>(signal.size() * 2);
    std::string bytes;
    bytes.reserve(44 + data_bytes);
    bytes += "RIFF";
    put32(bytes, 36 + data_bytes);
    bytes += "WAVEfmt ";
    put32(bytes, 16);
    put16(bytes, 1);  // PCM
    put16(bytes, 1);  // mono
    put32(bytes, kRate);
    put32(bytes, kRate * 2);
    put16(bytes, 2);   // block align
    put16(bytes, 16);  // bits
    bytes += "data";
    put32(bytes, data_bytes);
    for (double v : signal) {
        const long q = std::lround(v * gain * 32767.0);
        put16(bytes,
              static_cast<unsigned>(static_cast<std::uint16_t>(static_cast<std::int16_t>(q))));
    }
    const auto tmp = std::filesystem::path(file).concat(".part");
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) return false;
    }
    std::error_code ec;
    std::filesystem::rename(tmp, file, ec);
    return !ec;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_samples <folder>\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    if (!write_wav(folder / "00-ref.wav", reference_tone())) {
        std::fprintf(stderr, "make_samples: cannot write 00-ref.wav\n");
        return 1;
    }
    for (const orvena::samples::StringSample& s : orvena::samples::kStrings) {
        const double f0 = kC4 * std::pow(2.0, s.degree / 79.0);
        const auto name = std::string(s.file) + ".wav";
        if (!write_wav(folder / name, pluck(f0))) {
            std::fprintf(stderr, "make_samples: cannot write %s\n", name.c_str());
            return 1;
        }
    }
    return 0;
}
