#include "tuning/install_tables.h"

#include <cmath>

#include "tuning/rounding.h"

namespace orvena {

namespace {

bool playable(std::int32_t rate) {
    return rate >= kMinSampleRateHz && rate <= kMaxSampleRateHz;
}

std::string rate_outside(std::int32_t rate) {
    return "örnekleme hızı " + std::to_string(rate) + " Hz; çalınabilir aralık " +
           std::to_string(kMinSampleRateHz) + ".." + std::to_string(kMaxSampleRateHz) + " Hz";
}

}  // namespace

std::optional<UnplayablePlace> first_unplayable(const TuningTables& t,
                                                const PerString<std::int16_t>& akord_offset) {
    constexpr const char* kOverflow = "örnekleme hızı 32 bit sınırını aşıyor";
    for (int s = 1; s <= kStringCount; ++s) {
        std::int32_t home = 0;
        try {
            home = to_int32(kBaseSampleRate *
                            std::pow(2.0, (t.sample_cents[s] + t.home_shift[s]) / 1200.0));
            home = to_int32(std::pow(2.0, akord_offset[s] / 1200.0) * home);
        } catch (const NumberOverflow&) {
            return UnplayablePlace{s, 0, kOverflow};
        }
        if (!playable(home)) return UnplayablePlace{s, 0, rate_outside(home)};
        for (int p = kLeverLo; p <= kLeverHi; ++p) {
            std::int32_t rate = 0;
            try {
                rate = to_int32(std::pow(2.0, (t.cents(s, p) - t.cents(s, 0)) / 1200.0) * home);
            } catch (const NumberOverflow&) {
                return UnplayablePlace{s, p, kOverflow};
            }
            if (p < lever_min_of(s) || p > lever_max_of(s)) continue;  // never played
            if (!playable(rate)) return UnplayablePlace{s, p, rate_outside(rate)};
            if (!std::isfinite(kC4Hz * std::pow(2.0, t.cents(s, p) / 1200.0)))
                return UnplayablePlace{s, p, "frekans hesaplanamıyor; perde çok yüksek"};
        }
    }
    return std::nullopt;
}

void install_tables(InstrumentState& st, const TuningTables& t) {
    st.tables = t;
    derive_freq(st);
    derive_sample_rates(st);
}

}  // namespace orvena
