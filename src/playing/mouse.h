#pragma once
// Playing with the mouse: a left click on a string of the instrument plucks it (the one
// pluck a recording records), the right button held and moved over the strings plucks each
// string it reaches, a click in the lever strip sets the selected string's lever, and a click
// on the tuning peg fine-tunes the selected string. Coordinates are pixels of the picture
// that was clicked. Event thread only.

#include "display/play_context.h"

namespace orvena {

// Buttons as the picture boxes report them (held buttons of a move are added together).
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;

// Fine tuning of a string stays within an octave either way (cents).
inline constexpr int kMaxAkordOffset = 1200;

// The string band (1..26) of a y position on Picture2, for 21 <= y <= 409: y - 22 to the
// nearest whole pixel (a tie to the even one), whole fifteens of it, plus 1.
int row(double y);

// A left click on a string right of its start (string_x) and left of x 730.
void Picture2_MouseDown(PlayContext& ctx, PluckRecorder& recorder, int button, double x, double y);
// Right button alone held: each string band the pointer enters plucks once; only with
// "detay  göster" are the displays redrawn.
void Picture2_MouseMove(PlayContext& ctx, int buttons, double y);
// Any button: the lever zone under x sets the selected string's lever and plucks it, except
// at the positions string 26 stores but does not sound (9..11): these are set silently and
// not redrawn.
void Picture1_MouseDown(PlayContext& ctx, double x);
// Any button: left half raises, right half lowers; upper half 5 cents, lower half 1.
void Picture5_MouseDown(PlayContext& ctx, double x, double y);

}  // namespace orvena
