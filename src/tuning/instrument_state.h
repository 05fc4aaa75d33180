#pragma once
// The one record of the running instrument: strings, lever limits, tuning tables read from
// the workbook, the tables derived from them, the selection and the mode flags. The main
// window owns one instance; every handler reads and writes it directly. Only the event
// thread touches it.

#include <array>
#include <cstdint>
#include <string>

#include "tuning/indexed_array.h"

namespace orvena {

constexpr int kStringCount = 26;
constexpr int kLeverLo = -8;  // lowest lever position any string has
constexpr int kLeverHi = 12;  // highest lever position any string has
constexpr int kDegreeLo = -110;
constexpr int kDegreeHi = 200;
constexpr int kWavFileSlots = 57;
constexpr double kC4Hz = 262.0;
constexpr double kBaseSampleRate = 44100.0;
// The sample rates a pluck can be played at. Rates below this are not a pitch anyone can hear
// from a sample (0 marks an unused lever position); rates above the upper bound would make
// the byte-rate field of a sample's header meaningless.
constexpr std::int32_t kMinSampleRateHz = 1000;
constexpr std::int32_t kMaxSampleRateHz = 1000000;

// Per string, index 0 unused.
template <typename T>
using PerString = IndexedArray<T, 0, kStringCount>;
// Per string 1..26 and lever position -12..13 (positions outside -8..12 stay 0).
template <typename T>
using PitchTable = IndexedTable<T, 1, kStringCount, -12, 13>;

// One pitch of the tuning system and the up to three places where it can be played.
struct degree_record {
    std::int16_t string_1 = 0;  // first place (workbook columns C/D); 0 = none
    std::int16_t pos_1 = 0;
    std::int16_t string_2 = 0;  // second place (columns A/B)
    std::int16_t pos_2 = 0;
    std::int16_t string_3 = 0;  // third place (columns I/J)
    std::int16_t pos_3 = 0;
    float degree_cents = 0.0f;  // cents above C4, single precision as stored
    // Exactly 30 characters (UTF-8 encoded; a Turkish letter counts once). A record the
    // workbook did not fill holds 30 NUL characters.
    std::string degree_name = std::string(30, '\0');
};

struct InstrumentState {
    InstrumentState();

    // Names and limits.
    std::string workbook_name = "dizek.xls";
    PerString<std::string> note_names;  // "--", "E6" .. "A2"; also the held-note alias
    PerString<std::string> key_names;   // "--", " Q" .. " M" (leading space is printed)
    PerString<std::int16_t> mandal_min;
    PerString<std::int16_t> mandal_max;

    // Tuning tables (workbook) and their derivations.
    PitchTable<double> cents;              // cents above C4
    PitchTable<double> freq;               // Hz
    PitchTable<std::int16_t> degree_at;    // degree number of (s, p); 0 = none
    PitchTable<std::int16_t> mandal_step;  // lever step shown for (s, p)
    PitchTable<std::int32_t> sample_rate;  // samples per second written before a pluck
    PerString<std::int16_t> sample_cents;  // whole cents of each sample's correction
    PerString<std::int16_t> akord_offset;  // fine tuning in cents
    // Cents by which a tuning other than the workbook moves each string's lever-0 pitch away
    // from the pitch its sample correction gives; 0 under a workbook.
    PerString<double> home_shift;
    IndexedArray<degree_record, kDegreeLo, kDegreeHi> degrees;
    std::array<std::string, 2> option4_captions;  // captions of the two "oktav" buttons
    // The tuning system in force: its name as the window shows it, and whether its tables come
    // from a scale (every lever position of every string one degree of the scale, each place
    // in degree_at, the top strings stepping like the others) rather than from a workbook.
    std::string tuning_name = "dizek.xls";
    bool scale_tuning = false;
    double scale_step_cents = 0.0;  // a scale's period over its note count

    // Selection and modes.
    std::int16_t cur_string = 0;  // 1..26, 0 = none
    std::int16_t last_string = 0;
    PerString<std::int16_t> mandal_pos;
    bool manual_levers = false;
    PerString<std::int16_t> saved_mandal_pos;
    PerString<std::int16_t> transposed_pos;
    std::int16_t transpose_shift = 0;
    IndexedArray<std::int16_t, 0, 6> top_transposed_pos;
    std::int16_t ahenk_index = 0;
    std::int16_t ahenk_shift = 0;
    bool show_details = false;
    bool text1_has_focus = false;
    std::int16_t speed = 0;

    // Recording and playback.
    bool recording = false;
    bool seq_playing = false;

    // Geometry.
    PerString<std::int16_t> string_x;

    // Sample file names in list order; element s is the sample of string s.
    IndexedArray<std::string, 0, kWavFileSlots - 1> wav_files;
    int wav_file_count = 0;
};

// The note name of string s (1..26): "E6" .. "A2".
std::string note_name_of(int s);

// Lever limits of string s (1..26) as the instrument is built.
std::int16_t lever_min_of(int s);
std::int16_t lever_max_of(int s);

// Start-up steps that fill fixed tables: lever limits, string_x, note and key names.
void set_lever_limits(InstrumentState& st);
void set_string_geometry(InstrumentState& st);
void set_names(InstrumentState& st);

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
