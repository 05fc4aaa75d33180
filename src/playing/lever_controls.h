#pragma once
// The lever and tuning controls of the window: AKORD RESET, MANDAL RESET, the diagonal
// lever numbers (Check1), "detay  göster" (Check2) and the speed bar (VScroll1).

#include "display/play_context.h"

namespace orvena {

// AKORD RESET: every fine tuning back to 0 and the rates recomputed; nothing sounds and no
// sample file is rewritten until the next pluck.
void Command8_Click(PlayContext& ctx);
// MANDAL RESET: every lever that is not at 0 goes to 0; the selected string's views are
// redrawn only if its lever moved. Nothing sounds.
void Command9_Click(PlayContext& ctx);
void Check1_Click(PlayContext& ctx, bool checked);
void Check2_Click(Selection& selection, int value);
void VScroll1_Change(Transport& transport, int value);
// Switches between the user's lever setting (index 1) and the transposed one (index 2).
// Nothing is redrawn and nothing sounds.
void Option5_Click(InstrumentSettings& settings, int index);

}  // namespace orvena
