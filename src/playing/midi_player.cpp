#include "playing/midi_player.h"

#include <algorithm>

#include "playing/keyboard.h"

namespace orvena {

namespace {
constexpr unsigned char kNoteOff = 0x80;
constexpr unsigned char kNoteOn = 0x90;
constexpr unsigned char kControlChange = 0xB0;
constexpr unsigned char kSustainPedal = 64;
constexpr unsigned char kAllSoundOff = 120;
constexpr unsigned char kAllNotesOff = 123;
constexpr unsigned char kPedalDownFrom = 64;
}  // namespace

MidiPlayer::MidiPlayer(PlayContext& ctx, std::function<bool()> blocked)
    : ctx_(ctx), blocked_(std::move(blocked)) {}

void MidiPlayer::receive(std::span<const unsigned char> message) {
    if (message.size() < 3) return;  // every message handled here has two data bytes
    const unsigned char kind = message[0] & 0xF0;
    const int data1 = message[1] & 0x7F;
    const int data2 = message[2] & 0x7F;
    if (kind == kNoteOn && data2 > 0) {
        key_down(data1);
    } else if (kind == kNoteOff || kind == kNoteOn) {
        key_up(data1);
    } else if (kind == kControlChange && data1 == kSustainPedal) {
        pedal(data2 >= kPedalDownFrom);
    } else if (kind == kControlChange && (data1 == kAllNotesOff || data1 == kAllSoundOff)) {
        release_all();
    }
}

void MidiPlayer::key_down(int key) {
    if (key_string_[key] != 0) return;  // a second note-on without a note-off
    if (blocked_ && blocked_()) return;
    const int s = midi_key_map(ctx_.st)[key];
    if (s == 0 || !hold_string(ctx_, s)) return;
    key_string_[key] = static_cast<std::int8_t>(s);
    kept_[s] = false;
}

void MidiPlayer::key_up(int key) {
    const int s = key_string_[key];
    if (s == 0) return;
    key_string_[key] = 0;
    if (held_by_a_key(s)) return;
    if (pedal_down_) {
        kept_[s] = true;
        return;
    }
    release_string(ctx_, s);
}

void MidiPlayer::pedal(bool down) {
    pedal_down_ = down;
    if (down) return;
    for (int s = 1; s <= kStringCount; ++s) {
        if (!kept_[s]) continue;
        kept_[s] = false;
        if (!held_by_a_key(s)) release_string(ctx_, s);
    }
}

bool MidiPlayer::held_by_a_key(int s) const {
    return std::find(key_string_.begin(), key_string_.end(), s) != key_string_.end();
}

void MidiPlayer::release_all() {
    for (int s = 1; s <= kStringCount; ++s) {
        if (!kept_[s] && !held_by_a_key(s)) continue;
        ctx_.sound.stop_note_alias(ctx_.st.build.note_names[s]);
        ctx_.views.mark_key(s, false);
    }
    key_string_.fill(0);
    kept_.fill(false);
}

}  // namespace orvena
