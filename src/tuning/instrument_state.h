#pragma once
// The running instrument, in parts with one job each; each part's header says which
// subsystem changes it. A function that reads one part takes that part (const); one that
// changes a part takes it, or the whole state when it works across parts. The main window
// owns one instance. Only the event thread touches it.

#include <array>
#include <cstdint>
#include <string>

#include "tuning/derived_tables.h"
#include "tuning/instrument_build.h"
#include "tuning/instrument_settings.h"
#include "tuning/selection.h"
#include "tuning/string_tables.h"
#include "tuning/transport.h"
#include "tuning/tuning_tables.h"

namespace orvena {

struct InstrumentState {
    InstrumentState();

    InstrumentBuild build;        // fixed at start-up
    TuningTables tables;          // the tuning system in force; "dizek.xls" until one is installed
    DerivedTables derived;        // frequencies and sample rates from tables and fine tuning
    InstrumentSettings settings;  // levers, fine tuning, transposition
    Selection selection;
    Transport transport;  // recording, sequence playback, replay speed
};

// The note name of string s (1..26): "E6" .. "A2".
std::string note_name_of(int s);

// Lever limits of string s (1..26) as the instrument is built.
std::int16_t lever_min_of(int s);
std::int16_t lever_max_of(int s);

// Start-up steps that fill the instrument as built: lever limits, string_x, note and key
// names.
void set_lever_limits(InstrumentBuild& build);
void set_string_geometry(InstrumentBuild& build);
void set_names(InstrumentBuild& build);

// freq(s, p) = 262 * 2^(cents(s, p) / 1200) for s = 1..26, p = -8..12.
void derive_freq(InstrumentState& st);

// Sample rates of string s for p = -8..12: position 0 from sample_cents (and, when
// apply_fine_tuning, the fine-tuning offset as a second rounding), every other position
// scaled from position 0 by its cents distance.
void recompute_string_rates(InstrumentState& st, int s, bool apply_fine_tuning);

// The sample-rate table for all strings at start-up (offsets are 0 then).
void derive_sample_rates(InstrumentState& st);

// Splits "a,b,c" at commas, keeping spaces.
std::array<std::string, kStringCount + 1> split_names(const std::string& literal);

}  // namespace orvena
