#pragma once
// The key legend (Picture10) beside the strings: one row per string with its number, note
// name and key letter, the lever number cell that arıza_yaz fills, and the position a
// transposition computed, in red. Drawing only: the handlers decide what it shows. Event
// thread only.

#include "surface/surface.h"
#include "tuning/instrument_state.h"

namespace orvena {

// Row of string n (1..26) in the legend: the cell spans y .. y + 16.
constexpr int legend_row_y(int n) {
    return 15 * (n - 1) + 2;
}

// Prints every row: the two-digit string number in blue, the note name in red, the key
// letter in bold green.
void print_key_legend(Surface& Picture10, const InstrumentState& st);

// Prints the key letter of string s at x 36 of its legend row, bold, in the given colour.
void print_key_letter(Surface& Picture10, const InstrumentState& st, int s, QRgb colour);

// Lists a transposed lever position (not 0) of string s in bold red, right of the lever
// cell.
void print_transposed_position(Surface& Picture10, int s, int position);

// Blanks the listed transposed position of string s.
void clear_transposed_position(Surface& Picture10, int s);

}  // namespace orvena
