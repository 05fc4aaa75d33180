#pragma once
// A reader of the Standard MIDI Files the tests write: the events of every track with their
// absolute ticks. Written for the tests from the file format, apart from the writer.

#include <cstdint>
#include <string>
#include <vector>

namespace orvena::test {

struct SmfEvent {
    std::uint32_t tick = 0;
    std::vector<std::uint8_t> bytes;  // status (or F0 / FF type) and data, no length bytes
};

struct SmfContents {
    int format = -1;
    int division = 0;
    std::vector<std::vector<SmfEvent>> tracks;
};

inline SmfContents read_smf(const std::string& file) {
    SmfContents out;
    auto byte = [&file](std::size_t i) { return static_cast<std::uint8_t>(file.at(i)); };
    auto number = [&byte](std::size_t i, int n) {
        std::uint32_t v = 0;
        for (int k = 0; k < n; ++k) v = (v << 8) | byte(i + k);
        return v;
    };
    auto varlen = [&byte](std::size_t& i) {
        std::uint32_t v = 0;
        while (true) {
            const std::uint8_t b = byte(i++);
            v = (v << 7) | (b & 0x7F);
            if (!(b & 0x80)) return v;
        }
    };
    if (file.compare(0, 4, "MThd") != 0) return out;
    out.format = static_cast<int>(number(8, 2));
    out.division = static_cast<int>(number(12, 2));
    std::size_t at = 14;
    for (std::uint32_t t = 0; t < number(10, 2); ++t) {
        const std::size_t end = at + 8 + number(at + 4, 4);
        std::vector<SmfEvent>& events = out.tracks.emplace_back();
        std::uint32_t tick = 0;
        for (std::size_t i = at + 8; i < end;) {
            tick += varlen(i);
            SmfEvent e{tick, {byte(i)}};
            std::size_t size = 0;
            if (byte(i) == 0xFF) {
                e.bytes.push_back(byte(i + 1));
                i += 2;
                size = varlen(i);
            } else if (byte(i) == 0xF0) {
                ++i;
                size = varlen(i);
            } else {
                size = (byte(i) & 0xF0) == 0xC0 || (byte(i) & 0xF0) == 0xD0 ? 1 : 2;
                ++i;
            }
            for (std::size_t k = 0; k < size; ++k) e.bytes.push_back(byte(i + k));
            i += size;
            events.push_back(e);
        }
        at = end;
    }
    return out;
}

}  // namespace orvena::test
