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

InstrumentState tuned_state() {
    InstrumentState st;
    set_names(st.build);
    set_lever_limits(st.build);
    if (const auto failure = import_tuning(st, program_dir() / "dizek.xls"))
        throw std::runtime_error("the shipped workbook does not import: " + failure->reason);
    for (int i = 0; i < 27; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "%02d-%s.wav", i,
                      i ? st.build.note_names[i].c_str() : "ref");
        st.build.wav_files[i] = name;
    }
    st.build.wav_file_count = 27;
    return st;
}

void copy_samples(const InstrumentState& st, const TempDir& dir) {
    for (int i = 0; i < 27; ++i)
        std::filesystem::copy_file(program_dir() / st.build.wav_files[i],
                                   dir / st.build.wav_files[i]);
}

std::vector<float> render(Mixer& mixer, double seconds) {
    const auto frames = static_cast<std::size_t>(std::lround(seconds * mixer.device_rate()));
    std::vector<float> out(2 * frames);
    for (std::size_t done = 0; done < frames; done += 256)
        mixer.render(out.data() + 2 * done, std::min<std::size_t>(256, frames - done));
    return out;
}

std::vector<float> left_part(const std::vector<float>& stereo, double from_s, double length_s) {
    std::vector<float> out;
    const auto from = static_cast<std::size_t>(std::lround(from_s * kDeviceRate));
    const auto to = from + static_cast<std::size_t>(std::lround(length_s * kDeviceRate));
    for (std::size_t i = from; i < to && 2 * i < stereo.size(); ++i) out.push_back(stereo[2 * i]);
    return out;
}

double pitch_of(const std::vector<float>& stereo) {
    return measure_fundamental(left_part(stereo, 0.05, 0.4), kDeviceRate);
}

SampleData sine_sample(double f, double rate, double seconds, int channels) {
    std::vector<float> x;
    for (std::size_t i = 0; i < static_cast<std::size_t>(rate * seconds); ++i) {
        const float v = static_cast<float>(0.5 * std::sin(2 * std::numbers::pi * f * i / rate));
        for (int c = 0; c < channels; ++c) x.push_back(c == 0 ? v : -v);
    }
    return SampleData(x, channels);
}

std::string chunk(const std::string& id, const std::string& body) {
    return id + le32(static_cast<std::uint32_t>(body.size())) + body +
           (body.size() % 2 ? std::string(1, '\0') : "");
}

std::string make_wav(const WavSpec& shape) {
    const unsigned bytes_per_sample = shape.bits / 8u, block = shape.channels * bytes_per_sample;
    std::string fmt = le16(shape.format_tag) + le16(shape.channels) + le32(shape.rate) +
                      le32(shape.rate * block) + le16(block) + le16(shape.bits);
    if (shape.fmt_size >= 18) fmt += le16(shape.fmt_size == 40 ? 22 : 0);
    if (shape.fmt_size == 40) {  // valid bits, speaker mask, subformat GUID
        fmt += le16(shape.bits) + le32(shape.channels == 2 ? 3u : 4u) +
               le32(shape.float_subformat ? 3u : 1u) +
               std::string("\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 12);
    }
    std::string data;
    for (std::size_t i = 0; i < static_cast<std::size_t>(shape.seconds * shape.rate); ++i) {
        const double v = 0.5 * std::sin(2.0 * std::numbers::pi * shape.tone_hz * i / shape.rate);
        for (unsigned c = 0; c < shape.channels; ++c) {
            if (shape.format_tag == 3 || shape.float_subformat) {
                const float f = static_cast<float>(v);
                std::uint32_t u;
                std::memcpy(&u, &f, 4);
                data += le32(u);
            } else {
                const auto q = static_cast<std::uint32_t>(static_cast<std::int32_t>(
                                   std::lround(std::ldexp(v, static_cast<int>(shape.bits) - 1)))) +
                               (shape.bits == 8 ? 128u : 0u);  // 8-bit samples are unsigned
                for (unsigned b = 0; b < bytes_per_sample; ++b)
                    data += static_cast<char>((q >> (8 * b)) & 0xFF);
            }
        }
    }
    const std::string body = "WAVE" + shape.chunks_before_fmt + chunk("fmt ", fmt) +
                             shape.chunks_before_data + chunk("data", data);
    return "RIFF" + le32(static_cast<std::uint32_t>(body.size())) + body;
}

std::uint32_t le32_at(const std::string& bytes, std::size_t offset) {
    std::uint32_t v = 0;
    for (std::size_t i = 4; i-- > 0;)
        v = (v << 8) | static_cast<unsigned char>(bytes.at(offset + i));
    return v;
}

}  // namespace orvena::test
