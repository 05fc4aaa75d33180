#include "tuning/scale_tables.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <stdexcept>
#include <tuple>
#include <vector>

#include "tuning/degree_names.h"
#include "tuning/install_tables.h"

namespace orvena {

namespace {

// The degree numbers the degree list's readers use (transposition, the panel).
constexpr long long kFirstListed = -107;
constexpr long long kLastListed = 196;
constexpr std::size_t kPlaces = 3;
constexpr int kMaxStaffStep = 12;

// Where each string's lever 0 sits and how the scale's degrees are numbered in the list:
// degree k of the scale is list number k - shift.
struct Layout {
    PerString<long long> home;
    long long shift = 0;
};

Layout lay_out(const ScalaScale& scale, const ScaleSource& source, double degree0) {
    Layout layout;
    long long lowest = LLONG_MAX;
    long long highest = LLONG_MIN;
    try {
        const auto& keys = source.reference ? source.reference->string_degrees : std::nullopt;
        for (int s = 1; s <= kStringCount; ++s) {
            layout.home[s] =
                keys ? (*keys)[static_cast<std::size_t>(kStringCount - s)]
                     : nearest_degree(scale, degree0, pythagorean_cents(note_name_of(s)));
            lowest = std::min(lowest, layout.home[s] + lever_min_of(s));
            highest = std::max(highest, layout.home[s] + lever_max_of(s));
        }
    } catch (const std::range_error&) {
        throw ScalaFileError(
            source.scl_file, scale.lines.back(),
            "peryot çok küçük; çalgının aralığına ölçeğin sayısız peryodu düşüyor");
    }
    const long long reachable = highest - lowest + 1;
    if (reachable > kLastListed - kFirstListed + 1) {
        throw ScalaFileError(source.scl_file, scale.count_line,
                             "perdeler çok sık: çalgı ölçeğin " + std::to_string(reachable) +
                                 " derecesine erişiyor, derece listesi en çok " +
                                 std::to_string(kLastListed - kFirstListed + 1) +
                                 " derece tutuyor");
    }
    // Numbered as the scale counts them (degree 0 = 0) when that fits the list.
    if (lowest < kFirstListed || highest > kLastListed) layout.shift = lowest - kFirstListed;
    return layout;
}

// The staff's step for a lever move of `interval` cents: never 0 and never against the lever.
std::int16_t staff_step(int position, double interval) {
    if (position == 0) return 0;
    const long steps = std::lround(interval / kStaffStepCents);
    const long clamped = position > 0 ? std::clamp(steps, 1L, long{kMaxStaffStep})
                                      : std::clamp(steps, long{-kMaxStaffStep}, -1L);
    return static_cast<std::int16_t>(clamped);
}

std::vector<NaturalDegree> naturals_of(const ScalaScale& scale, double degree0) {
    std::vector<NaturalDegree> naturals;
    for (const std::string& note : natural_notes()) {
        const double cents = pythagorean_cents(note);
        naturals.push_back({nearest_degree(scale, degree0, cents), note, cents});
    }
    return naturals;
}

// The places of every reachable degree: (|p|, s, p), smallest lever move first, then the
// string number, as the workbook lists them.
using Place = std::tuple<int, int, int>;

void fill_degrees(TuningTables& t, const ScalaScale& scale, const ScaleSource& source,
                  const Layout& layout, double degree0) {
    std::array<std::vector<Place>, static_cast<std::size_t>(kDegreeHi - kDegreeLo + 1)> places;
    for (int s = 1; s <= kStringCount; ++s) {
        const double home_cents = degree0 + scale.degree_cents(layout.home[s]);
        for (int p = lever_min_of(s); p <= lever_max_of(s); ++p) {
            const long long k = layout.home[s] + p;
            const auto d = static_cast<std::int16_t>(k - layout.shift);
            t.cents(s, p) = degree0 + scale.degree_cents(k);
            t.degree_at(s, p) = d;
            t.mandal_step(s, p) = staff_step(p, t.cents(s, p) - home_cents);
            places[static_cast<std::size_t>(d - kDegreeLo)].emplace_back(std::abs(p), s, p);
        }
    }
    const std::vector<NaturalDegree> naturals = naturals_of(scale, degree0);
    for (int d = kDegreeLo; d <= kDegreeHi; ++d) {
        auto& found = places[static_cast<std::size_t>(d - kDegreeLo)];
        if (found.empty()) continue;
        std::sort(found.begin(), found.end());
        const long long k = d + layout.shift;
        const double cents = degree0 + scale.degree_cents(k);
        degree_record& r = t.degrees[d];
        r.degree_cents = static_cast<float>(cents);
        r.degree_name = fit_degree_name(degree_name(k, cents, naturals, source.perde_names));
        const std::array<std::pair<std::int16_t*, std::int16_t*>, kPlaces> slots{
            {{&r.string_1, &r.pos_1}, {&r.string_2, &r.pos_2}, {&r.string_3, &r.pos_3}}};
        for (std::size_t i = 0; i < std::min(kPlaces, found.size()); ++i) {
            *slots[i].first = static_cast<std::int16_t>(std::get<1>(found[i]));
            *slots[i].second = static_cast<std::int16_t>(std::get<2>(found[i]));
        }
    }
}

}  // namespace

long long nearest_degree(const ScalaScale& scale, double degree0_cents, double cents) {
    const double offset = cents - degree0_cents;
    const double periods = std::floor(offset / scale.period());
    if (!std::isfinite(periods) || std::fabs(periods) > 1e6)
        throw std::range_error("pitch too many periods away");
    const long long n = scale.count();
    const long long first = static_cast<long long>(periods) * n - 1;
    long long best = first;
    double best_distance = HUGE_VAL;
    // One period and a degree either side: rounding at the period's edges cannot hide the
    // nearest degree.
    for (long long k = first; k <= first + n + 2; ++k) {
        const double distance = std::fabs(scale.degree_cents(k) - offset);
        if (distance < best_distance) {
            best_distance = distance;
            best = k;
        }
    }
    return best;
}

TuningTables scale_tables(const ScalaScale& scale, const ScaleSource& source,
                          const TuningTables& workbook,
                          const PerString<std::int16_t>& akord_offset) {
    const double degree0 =
        source.reference ? 1200.0 * std::log2(source.reference->degree0_hz / kC4Hz) : 0.0;
    const Layout layout = lay_out(scale, source, degree0);

    TuningTables t;
    t.name = source.name;
    t.scale_tuning = true;
    t.scale_step_cents = scale.period() / scale.count();
    t.sample_cents = workbook.sample_cents;
    fill_degrees(t, scale, source, layout, degree0);
    // The sample of each string sounds the workbook's lever-0 pitch at its corrected rate.
    for (int s = 1; s <= kStringCount; ++s)
        t.home_shift[s] = t.cents(s, 0) - workbook.cents(s, 0) + workbook.home_shift[s];

    if (const auto bad = first_unplayable(t, akord_offset)) {
        const std::string reason = "tel " + std::to_string(bad->string) + " (" +
                                   note_name_of(bad->string) + "), mandal konumu " +
                                   std::to_string(bad->position) + ": " + bad->reason;
        throw ScalaFileError(source.scl_file,
                             scale.line_of_degree(layout.home[bad->string] + bad->position),
                             reason);
    }
    return t;
}

}  // namespace orvena
