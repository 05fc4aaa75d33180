#pragma once
// Transposition (göçürüm) to another pitch level: every lever position is computed again from
// the user's own setting, so that each note moved by the level's string shift sounds the pitch
// moved by its degree step plus the fine shift. The computed positions are listed in red on the
// key legend (Picture10) and, unless nothing moves, put in force through Option5. Nothing is
// redrawn or sounded here: the new positions show and sound at the next pluck. Event thread.

#include "presets/preset_context.h"

namespace orvena {

// A pitch level button (index 1..8) was selected: sets ahenk_shift and ahenk_index and
// transposes, with the fine shift back at 0.
void Option1_Click(PresetContext& ctx, int index);

// The fine shift HScroll1 changed: Text3 shows it and the instrument is transposed.
void HScroll1_Change(PresetContext& ctx);

// Computes and installs the transposition to level 1..8 with the fine shift -8..12 degrees.
// A target string that the target degree does not name cancels it: the fine shift goes back
// to 0, which transposes again (inside this call) when it was not 0 already.
void trans_çalgı(PresetContext& ctx, int level, int fine);

// Finishes the computed position of string s: a top string (1..7) keeps the unfitted value in
// top_transposed_pos and is fitted to its own levers; a non-zero position is listed in red.
void göçürümYaz(PresetContext& ctx, int s);

// Clears every computed position and its place in the list.
void göçürümTemizle(PresetContext& ctx);

}  // namespace orvena
