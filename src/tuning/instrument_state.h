#pragma once
// The one record of the running instrument: strings, lever limits, tuning tables read from
// the workbook, the tables derived from them, the selection and the mode flags. The main
// window owns one instance; every handler reads and writes it directly. Only the event
// thread touches it.

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

    InstrumentBuild build;
    // The tuning system in force and the tables derived from it and the fine tuning.
    TuningTables tables;  // named "dizek.xls" until a tuning is put in force
    DerivedTables derived;
    InstrumentSettings settings;

    Selection selection;
    Transport transport;
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
