#include "sound_fixture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <numbers>
#include <stdexcept>

#include "support/biff_bytes.h"
#include "tuning/tablo_oku.h"

namespace orvena::test {

namespace {

// The generated samples: "00-ref.wav", then "01-E6.wav" .. "26-A2.wav" after the note names.
std::string sample_name(int i) {
    static const InstrumentState named = [] {
        InstrumentState st;
        set_names(st);
        return st;
    }();
    char name[16];
    std::snprintf(name, sizeof name, "%02d-%s.wav", i, i ? named.note_names[i].c_str() : "ref");
    return name;
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
    for (int i = 0; i < 27; ++i) st.wav_files[i] = sample_name(i);
    st.wav_file_count = 27;
    return st;
}

void copy_samples(const TempDir& dir) {
    for (int i = 0; i < 27; ++i)
        std::filesystem::copy_file(program_dir() / sample_name(i), dir / sample_name(i));
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
    s += le32(static_cast<std::uint32_t>(body.size()));
    s += body;
    if (body.size() % 2 != 0) s += '\0';
    return s;
}

std::string make_wav(const WavSpec& shape) {
    const unsigned bytes_per_sample = shape.bits / 8u;
    const unsigned block = shape.channels * bytes_per_sample;
    std::string fmt;
    fmt += le16(shape.format_tag);
    fmt += le16(shape.channels);
    fmt += le32(shape.rate);
    fmt += le32(shape.rate * block);
    fmt += le16(block);
    fmt += le16(shape.bits);
    if (shape.fmt_size >= 18) fmt += le16(shape.fmt_size == 40 ? 22 : 0);
    if (shape.fmt_size == 40) {
        fmt += le16(shape.bits);                       // valid bits
        fmt += le32(shape.channels == 2 ? 3u : 4u);    // speaker mask
        fmt += le32(shape.float_subformat ? 3u : 1u);  // subformat GUID
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
                data += le32(u);
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
    out += le32(static_cast<std::uint32_t>(body.size()));
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
