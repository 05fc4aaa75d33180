#pragma once
// Playing from the computer keyboard. The 26 letter keys hold the strings' notes (several
// together); Up and Down walk the strings and pluck; Left and Right step the selected
// string's lever with sound while the user's own lever setting is in force.

#include "playing/play_context.h"

namespace orvena {

// Key codes as the window reports them (letters are their capital ASCII codes).
enum KeyCode : int { kKeyLeft = 37, kKeyUp = 38, kKeyRight = 39, kKeyDown = 40 };

// The string a letter key plays (1..26), or 0 for any other key.
int string_of_key(int key_code);

// auto_repeat: the key-down or key-up was produced by the keyboard's auto-repeat while the
// key stays held. Repeated key-downs act like the first (the note is not restarted);
// repeated key-ups are not releases and do nothing.
void Form_KeyDown(PlayContext& ctx, int key_code, bool auto_repeat = false);
void Form_KeyUp(PlayContext& ctx, int key_code, bool auto_repeat = false);

}  // namespace orvena
