#pragma once
// Playing from the computer keyboard. The 26 letter keys hold the strings' notes (several
// together); Up and Down walk the strings and pluck; Left and Right step the selected
// string's lever with sound while the user's own lever setting is in force.

#include "display/play_context.h"

namespace orvena {

// Key codes as the window reports them (letters are their capital ASCII codes).
enum KeyCode : int { kKeyLeft = 37, kKeyUp = 38, kKeyRight = 39, kKeyDown = 40 };

// The string a letter key plays (1..26), or 0 for any other key.
int string_of_key(int key_code);

// Whether the keys that hold notes (letters, a MIDI keyboard) are shut: a recording or a
// playback is running.
bool keys_locked(const Transport& transport);

// A key holds string s (1..26): the string is selected, its note sounds until released and
// its letter shows held. False, and nothing happens, while the keys are locked.
bool hold_string(PlayContext& ctx, int s);
// The key holding string s is let go: the note stops and the string is selected. False, and
// nothing happens, while the keys are locked.
bool release_string(PlayContext& ctx, int s);

// auto_repeat: the key-down or key-up was produced by the keyboard's auto-repeat while the
// key stays held. Repeated key-downs act like the first (the note is not restarted);
// repeated key-ups are not releases and do nothing.
void Form_KeyDown(PlayContext& ctx, int key_code, bool auto_repeat = false);
void Form_KeyUp(PlayContext& ctx, int key_code, bool auto_repeat = false);

}  // namespace orvena
