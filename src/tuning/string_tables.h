#pragma once
// The sizes of the instrument and the shapes of the tables every part of its state is made
// of: one value per string, one per string and lever position, one record per degree of the
// tuning system.

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

}  // namespace orvena
