#include "presets/degree_places.h"

#include <array>
#include <cstdint>

namespace orvena {

namespace {

struct Place {
    std::int16_t degree_record::*string;
    std::int16_t degree_record::*position;
};
constexpr Place kFirst{&degree_record::string_1, &degree_record::pos_1};
constexpr Place kSecond{&degree_record::string_2, &degree_record::pos_2};
constexpr Place kThird{&degree_record::string_3, &degree_record::pos_3};

}  // namespace

std::optional<int> degree_of_place(const InstrumentState& st, int s, int position) {
    // A scale's degree_at names every place its strings reach, more than the three a record
    // keeps.
    if (st.tables.scale_tuning) {
        if (position < st.build.mandal_min[s] || position > st.build.mandal_max[s])
            return std::nullopt;
        return st.tables.degree_at(s, position);
    }
    for (const Place& place : std::array{kFirst, kSecond, kThird}) {
        for (int d = kFirstFilledDegree; d <= kLastFilledDegree; ++d) {
            const degree_record& r = st.tables.degrees[d];
            if (r.*place.string == s && r.*place.position == position) return d;
        }
    }
    return std::nullopt;
}

std::optional<int> position_on_string(const InstrumentState& st, int d, int s) {
    const degree_record& r = st.tables.degrees[d];
    for (const Place& place : std::array{kSecond, kFirst, kThird}) {
        if (r.*place.string == s) return r.*place.position;
    }
    if (st.tables.scale_tuning) {
        for (int p = st.build.mandal_min[s]; p <= st.build.mandal_max[s]; ++p)
            if (st.tables.degree_at(s, p) == d) return p;
    }
    return std::nullopt;
}

}  // namespace orvena
