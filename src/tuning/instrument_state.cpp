#include "tuning/instrument_state.h"

#include <cmath>
#include <stdexcept>

#include "tuning/rounding.h"

namespace orvena {

namespace {
constexpr const char* kNoteNameLiteral =
    "--,E6,D6,C6,B5,A5,G5,F5,E5,D5,C5,B4,A4,G4,F4,E4,D4,C4,B3,A3,G3,F3,E3,D3,C3,B2,A2";
constexpr const char* kKeyNameLiteral =
    "--, Q, W, E, R, T, Y, U, I, O, P, A, S, D, F, G, H, J, K, L, Z, X, C, V, B, N, M";
}  // namespace

InstrumentState::InstrumentState() {
    tables.name = "dizek.xls";
}

std::string note_name_of(int s) {
    if (s < 1 || s > kStringCount) throw IndexOutOfRange(s, 1, kStringCount);
    static const auto notes = split_names(kNoteNameLiteral);
    return notes[static_cast<std::size_t>(s)];
}

std::int16_t lever_min_of(int s) {
    if (s < 1 || s > kStringCount) throw IndexOutOfRange(s, 1, kStringCount);
    if (s == 1) return -5;
    if (s <= 4) return -5;
    if (s <= 7) return -7;
    return -8;
}

std::int16_t lever_max_of(int s) {
    if (s < 1 || s > kStringCount) throw IndexOutOfRange(s, 1, kStringCount);
    if (s == 1) return 6;
    if (s <= 4) return 8;
    if (s <= 7) return 10;
    return 12;
}

void set_lever_limits(InstrumentBuild& build) {
    for (int s = 1; s <= kStringCount; ++s) {
        build.mandal_min[s] = lever_min_of(s);
        build.mandal_max[s] = lever_max_of(s);
    }
}

void set_string_geometry(InstrumentBuild& build) {
    build.string_x[0] = 640;
    for (int n = 1; n <= kStringCount; ++n) {
        build.string_x[n] = checked_add16(build.string_x[n - 1], -17);
    }
}

std::array<std::string, kStringCount + 1> split_names(const std::string& literal) {
    std::array<std::string, kStringCount + 1> out;
    std::size_t start = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const std::size_t comma = literal.find(',', start);
        if (comma == std::string::npos && i + 1 != out.size()) {
            throw std::invalid_argument("name list has too few entries");
        }
        out[i] =
            literal.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        start = comma + 1;
    }
    return out;
}

void set_names(InstrumentBuild& build) {
    const auto notes = split_names(kNoteNameLiteral);
    const auto keys = split_names(kKeyNameLiteral);
    for (int n = 0; n <= kStringCount; ++n) {
        build.note_names[n] = notes[static_cast<std::size_t>(n)];
        build.key_names[n] = keys[static_cast<std::size_t>(n)];
    }
}

void derive_freq(InstrumentState& st) {
    for (int s = 1; s <= kStringCount; ++s) {
        for (int p = kLeverLo; p <= kLeverHi; ++p) {
            st.derived.freq(s, p) = kC4Hz * std::pow(2.0, st.tables.cents(s, p) / 1200.0);
        }
    }
}

void recompute_string_rates(InstrumentState& st, int s, bool apply_fine_tuning) {
    std::int32_t base =
        to_int32(kBaseSampleRate *
                 std::pow(2.0, (st.tables.sample_cents[s] + st.tables.home_shift[s]) / 1200.0));
    if (apply_fine_tuning) {
        base = to_int32(std::pow(2.0, st.settings.akord_offset[s] / 1200.0) * base);
    }
    st.derived.sample_rate(s, 0) = base;
    const double home_cents = st.tables.cents(s, 0);
    for (int p = kLeverLo; p <= kLeverHi; ++p) {
        st.derived.sample_rate(s, p) =
            to_int32(std::pow(2.0, (st.tables.cents(s, p) - home_cents) / 1200.0) *
                     st.derived.sample_rate(s, 0));
    }
}

void derive_sample_rates(InstrumentState& st) {
    for (int s = 1; s <= kStringCount; ++s) recompute_string_rates(st, s, true);
}

}  // namespace orvena
