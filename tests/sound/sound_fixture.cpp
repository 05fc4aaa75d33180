#include "sound_fixture.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <numbers>
#include <stdexcept>

#include "tuning/tablo_oku.h"

namespace orvena::test {

namespace {

constexpr const char* kSampleNames[27] = {
    "00-ref.wav", "01-E6.wav", "02-D6.wav", "03-C6.wav", "04-B5.wav", "05-A5.wav", "06-G5.wav",
    "07-F5.wav",  "08-E5.wav", "09-D5.wav", "10-C5.wav", "11-B4.wav", "12-A4.wav", "13-G4.wav",
    "14-F4.wav",  "15-E4.wav", "16-D4.wav", "17-C4.wav", "18-B3.wav", "19-A3.wav", "20-G3.wav",
    "21-F3.wav",  "22-E3.wav", "23-D3.wav", "24-C3.wav", "25-B2.wav", "26-A2.wav"};

void put16(std::string& s, unsigned v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& s, std::uint32_t v) {
    put16(s, v & 0xFFFF);
    put16(s, v >> 16);
}

}  // namespace

InstrumentState tuned_state() {
    InstrumentState st;
    set_names(st);
    set_lever_limits(st);
    if (const auto failure = import_tuning(st, program_dir() / "dizek.xls")) {
        throw std::runtime_error("the shipped workbook does not import: " + failure->cell + " " +
                                 failure->reason);
    }
    for (int i = 0; i < 27; ++i) st.wav_files[i] = kSampleNames[i];
    st.wav_file_count = 27;
    return st;
}

void copy_samples(const TempDir& dir) {
    for (const char* name : kSampleNames) {
        std::filesystem::copy_file(program_dir() / name, dir / name);
    }
}

std::vector<float> render(Mixer& mixer, double seconds) {
    const auto frames = static_cast<std::size_t>(std::lround(seconds * mixer.device_rate()));
    std::vector<float> out(2 * frames);
    for (std::size_t done = 0; done < frames;) {
        const std::size_t n = std::min<std::size_t>(256, frames - done);
        mixer.render(out.data() + 2 * done, n);
        done += n;
    }
    return out;
}

std::vector<float> left_part(const std::vector<float>& stereo, double from_s, double length_s,
                             double rate) {
    const auto from = static_cast<std::size_t>(std::lround(from_s * rate));
    const auto n = static_cast<std::size_t>(std::lround(length_s * rate));
    std::vector<float> out;
    for (std::size_t i = from; i < from + n && 2 * i < stereo.size(); ++i) {
        out.push_back(stereo[2 * i]);
    }
    return out;
}

std::string chunk(const std::string& id, const std::string& body) {
    std::string s = id;
    put32(s, static_cast<std::uint32_t>(body.size()));
    s += body;
    if (body.size() % 2 != 0) s += '\0';
    return s;
}

std::string make_wav(const WavSpec& shape) {
    const unsigned bytes_per_sample = shape.bits / 8u;
    const unsigned block = shape.channels * bytes_per_sample;
    std::string fmt;
    put16(fmt, shape.format_tag);
    put16(fmt, shape.channels);
    put32(fmt, shape.rate);
    put32(fmt, shape.rate * block);
    put16(fmt, block);
    put16(fmt, shape.bits);
    if (shape.fmt_size >= 18) put16(fmt, shape.fmt_size == 40 ? 22 : 0);
    if (shape.fmt_size == 40) {
        put16(fmt, shape.bits);                       // valid bits
        put32(fmt, shape.channels == 2 ? 3u : 4u);    // speaker mask
        put32(fmt, shape.float_subformat ? 3u : 1u);  // subformat GUID
        fmt += std::string("\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 12);
    }
    std::string data;
    const auto frames = static_cast<std::size_t>(shape.seconds * shape.rate);
    for (std::size_t i = 0; i < frames; ++i) {
        const double v = 0.5 * std::sin(2.0 * std::numbers::pi * shape.tone_hz *
                                        static_cast<double>(i) / shape.rate);
        for (unsigned c = 0; c < shape.channels; ++c) {
            if (shape.format_tag == 3 || shape.float_subformat) {
                const float f = static_cast<float>(v);
                std::uint32_t u;
                std::memcpy(&u, &f, 4);
                put32(data, u);
            } else if (shape.bits == 8) {
                data += static_cast<char>(static_cast<std::uint8_t>(std::lround(128 + 127 * v)));
            } else {
                const auto q = static_cast<std::int32_t>(
                    std::lround(v * std::ldexp(1.0, static_cast<int>(shape.bits) - 1)));
                for (unsigned b = 0; b < bytes_per_sample; ++b) {
                    data += static_cast<char>((static_cast<std::uint32_t>(q) >> (8 * b)) & 0xFF);
                }
            }
        }
    }
    std::string body = "WAVE" + shape.chunks_before_fmt + chunk("fmt ", fmt) +
                       shape.chunks_before_data + chunk("data", data);
    std::string out = "RIFF";
    put32(out, static_cast<std::uint32_t>(body.size()));
    return out + body;
}

std::uint32_t le32_at(const std::string& bytes, std::size_t offset) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) {
        v = (v << 8) | static_cast<unsigned char>(bytes.at(offset + static_cast<std::size_t>(i)));
    }
    return v;
}

}  // namespace orvena::test
