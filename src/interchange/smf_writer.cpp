#include "interchange/smf_writer.h"

#include <algorithm>
#include <stdexcept>

namespace orvena {

namespace {

constexpr std::uint32_t kLargestVarlen = 0x0FFFFFFF;

std::string big_endian(std::uint32_t value, int bytes) {
    std::string out;
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    return out;
}

// Length of one channel message from its status byte (data bytes included).
std::size_t channel_message_size(std::uint8_t status) {
    switch (status & 0xF0) {
        case 0xC0:
        case 0xD0:
            return 2;
        case 0x80:
        case 0x90:
        case 0xA0:
        case 0xB0:
        case 0xE0:
            return 3;
        default:
            throw std::invalid_argument("not a channel message");
    }
}

}  // namespace

std::string midi_varlen(std::uint32_t value) {
    if (value > kLargestVarlen) throw std::out_of_range("delta time beyond 28 bits");
    std::string out(1, static_cast<char>(value & 0x7F));
    while ((value >>= 7) != 0) out.insert(out.begin(), static_cast<char>(0x80 | (value & 0x7F)));
    return out;
}

void SmfTrack::channel(std::uint32_t tick, const MidiBytes& messages) {
    // Each message on its own, with a full status byte (no running status).
    for (std::size_t at = 0; at < messages.size();) {
        const std::size_t size = channel_message_size(messages[at]);
        if (at + size > messages.size()) throw std::invalid_argument("channel message cut short");
        events_.push_back({tick, std::string(messages.begin() + static_cast<long>(at),
                                             messages.begin() + static_cast<long>(at + size))});
        at += size;
    }
}

void SmfTrack::sysex(std::uint32_t tick, const MidiBytes& message) {
    if (message.size() < 2 || message.front() != 0xF0 || message.back() != 0xF7) {
        throw std::invalid_argument("not a system exclusive message");
    }
    // F0, the length of what follows, then the bytes after F0 up to and with F7.
    std::string bytes(1, '\xF0');
    bytes += midi_varlen(static_cast<std::uint32_t>(message.size() - 1));
    bytes.append(message.begin() + 1, message.end());
    events_.push_back({tick, std::move(bytes)});
}

void SmfTrack::meta(std::uint32_t tick, std::uint8_t type, const std::string& data) {
    std::string bytes{'\xFF', static_cast<char>(type)};
    bytes += midi_varlen(static_cast<std::uint32_t>(data.size()));
    bytes += data;
    events_.push_back({tick, std::move(bytes)});
}

void SmfTrack::tempo(std::uint32_t tick, std::uint32_t microseconds_per_quarter) {
    meta(tick, 0x51, big_endian(microseconds_per_quarter, 3));
}

void SmfTrack::time_signature(std::uint32_t tick, std::uint8_t numerator,
                              std::uint8_t denominator_power) {
    meta(tick, 0x58,
         std::string{static_cast<char>(numerator), static_cast<char>(denominator_power), 24, 8});
}

std::string SmfTrack::chunk() const {
    std::vector<Event> events = events_;
    std::stable_sort(events.begin(), events.end(),
                     [](const Event& a, const Event& b) { return a.tick < b.tick; });
    std::string body;
    std::uint32_t now = 0;
    for (const Event& e : events) {
        body += midi_varlen(e.tick - now) + e.bytes;
        now = e.tick;
    }
    body += std::string("\x00\xFF\x2F\x00", 4);
    return "MTrk" + big_endian(static_cast<std::uint32_t>(body.size()), 4) + body;
}

std::string smf_file(const std::vector<SmfTrack>& tracks, std::uint16_t division) {
    std::string out = "MThd" + big_endian(6, 4) + big_endian(1, 2) +
                      big_endian(static_cast<std::uint32_t>(tracks.size()), 2) +
                      big_endian(division, 2);
    for (const SmfTrack& track : tracks) out += track.chunk();
    return out;
}

}  // namespace orvena
