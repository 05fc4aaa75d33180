#pragma once
// What the player is pointing at: the selected string, the string plucked last, whether
// the details are shown, and whether the makam name box has the keys. Changed by playing/
// (keyboard, mouse, lever controls); replay and sequence playback in recording/ move the
// selected string as they play, shell/ tells when the name box gains or loses the focus.

#include <cstdint>

namespace orvena {

struct Selection {
    std::int16_t cur_string = 0;  // 1..26, 0 = none
    std::int16_t last_string = 0;
    bool show_details = false;
    bool text1_has_focus = false;
};

}  // namespace orvena
