#pragma once
// How the player has set the instrument: every lever, the fine tuning, the transposition to
// a pitch level. Changed by playing/ (the lever and fine-tuning handlers: keyboard, mouse,
// lever controls) and presets/ (makam files, pitch levels and transposition); tuning/ puts
// the start values in. Everything else only reads it.

#include <cstdint>

#include "tuning/string_tables.h"

namespace orvena {

struct InstrumentSettings {
    PerString<std::int16_t> mandal_pos;  // lever position of each string
    // Whether the user's own lever setting is in force rather than the transposed one, and
    // the user's setting kept while the transposed one is.
    bool manual_levers = false;
    PerString<std::int16_t> saved_mandal_pos;
    PerString<std::int16_t> akord_offset;  // fine tuning in cents

    // Transposition to a pitch level (ahenk): the lever each string is moved to, the degrees
    // the whole instrument moved, and the top strings' own fitted levers.
    PerString<std::int16_t> transposed_pos;
    std::int16_t transpose_shift = 0;
    IndexedArray<std::int16_t, 0, 6> top_transposed_pos;
    std::int16_t ahenk_index = 0;
    std::int16_t ahenk_shift = 0;

    bool operator==(const InstrumentSettings&) const = default;
};

}  // namespace orvena
