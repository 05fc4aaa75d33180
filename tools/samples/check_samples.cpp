// Checks the samples make_samples wrote, as a build step: each is a canonical 16-bit mono
// 44100 Hz PCM file of about three seconds that starts and ends in silence and sounds its
// string's home pitch within half a cent. Exits non-zero, naming the file, when one is not.
//
// Usage: check_samples <folder>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <vector>

#include "strings.h"
#include "pitch/pitch.h"

namespace {

std::uint32_t le32(const std::string& b, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

// "" when the file is sound, else what is wrong with it.
std::string problem_of(const std::filesystem::path& file, double f0) {
    std::ifstream in(file, std::ios::binary);
    const std::string b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (b.size() < 44 + 2 * 44100 || b.compare(0, 4, "RIFF") != 0 || b.compare(8, 8, "WAVEfmt ") ||
        b.compare(36, 4, "data") != 0) {
        return "not a canonical WAV file";
    }
    if (le32(b, 16) != 16 || le32(b, 20) != 0x00010001u || le32(b, 24) != 44100 ||
        le32(b, 28) != 88200 || le32(b, 32) != 0x00100002u || le32(b, 40) != b.size() - 44) {
        return "not 16-bit mono 44100 Hz PCM";
    }
    std::vector<float> x((b.size() - 44) / 2);
    for (std::size_t i = 0; i < x.size(); ++i) {
        std::int16_t v;
        std::memcpy(&v, b.data() + 44 + 2 * i, 2);
        x[i] = static_cast<float>(v / 32768.0);
    }
    if (std::fabs(x.size() / 44100.0 - 3.0) > 0.05) return "not three seconds long";
    if (x.front() != 0.0f || x.back() != 0.0f) return "does not start and end in silence";
    const double pitch =
        orvena::test::measure_fundamental(std::span<const float>(x).subspan(2205, 44100), 44100.0);
    if (std::fabs(orvena::test::cents_between(pitch, f0)) > 0.5) {
        return "sounds " + std::to_string(pitch) + " Hz instead of " + std::to_string(f0);
    }
    return "";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: check_samples <folder>\n");
        return 2;
    }
    int bad = 0;
    for (const orvena::samples::StringSample& s : orvena::samples::kStrings) {
        const std::string name = std::string(s.file) + ".wav";
        const std::string problem = problem_of(std::filesystem::path(argv[1]) / name,
                                               262.0 * std::pow(2.0, s.degree / 79.0));
        if (!problem.empty()) {
            std::fprintf(stderr, "check_samples: %s %s\n", name.c_str(), problem.c_str());
            ++bad;
        }
    }
    return bad == 0 ? 0 : 1;
}
