#pragma once
// Whether a performance is being recorded or a sequence played, and the replay speed.
// Changed by recording/ (the recorder, replay and sequence playback) and by the speed
// control in playing/; the keyboard and mouse read it as a lock.

#include <cstdint>

namespace orvena {

struct Transport {
    bool recording = false;
    bool seq_playing = false;
    std::int16_t speed = 0;  // the replay speed control's value
};

}  // namespace orvena
