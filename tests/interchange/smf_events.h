#pragma once
// A reader of the Standard MIDI Files the tests write, apart from the writer: the events of
// every track with their absolute ticks.

#include <cstdint>
#include <string>
#include <vector>

namespace orvena::test {

struct SmfEvent {
    std::uint32_t tick = 0;
    std::vector<std::uint8_t> bytes;  // status (or F0 / FF type) and data, no length bytes
};

struct SmfContents {
    int format = -1, division = 0;
    std::vector<std::vector<SmfEvent>> tracks;
};

inline SmfContents read_smf(const std::string& file) {
    SmfContents out;
    std::size_t i = 0;
    const auto byte = [&file](std::size_t at) { return static_cast<std::uint8_t>(file.at(at)); };
    const auto number = [&](std::size_t at, int n) {
        std::uint32_t v = 0;
        for (int k = 0; k < n; ++k) v = (v << 8) | byte(at + k);
        return v;
    };
    const auto varlen = [&] {
        std::uint32_t v = 0;
        for (std::uint8_t b = 0x80; b & 0x80; v = (v << 7) | (b & 0x7F)) b = byte(i++);
        return v;
    };
    if (!file.starts_with("MThd")) return out;
    out.format = static_cast<int>(number(8, 2));
    out.division = static_cast<int>(number(12, 2));
    std::size_t at = 14;
    for (std::uint32_t t = 0; t < number(10, 2); ++t, at += 8 + number(at + 4, 4)) {
        std::vector<SmfEvent>& events = out.tracks.emplace_back();
        std::uint32_t tick = 0;
        for (i = at + 8; i < at + 8 + number(at + 4, 4);) {
            tick += varlen();
            SmfEvent e{tick, {byte(i++)}};
            if (e.bytes[0] == 0xFF) e.bytes.push_back(byte(i++));
            const std::uint8_t kind = e.bytes[0] & 0xF0;
            const std::size_t size = e.bytes[0] >= 0xF0 ? varlen() : kind == 0xC0 || kind == 0xD0 ? 1 : 2;
            for (std::size_t k = 0; k < size; ++k) e.bytes.push_back(byte(i++));
            events.push_back(e);
        }
    }
    return out;
}

}  // namespace orvena::test
