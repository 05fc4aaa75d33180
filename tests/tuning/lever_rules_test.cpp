#include <gtest/gtest.h>

#include <cstdlib>

#include "support/temp_dir.h"
#include "tuning/lever_rules.h"
#include "tuning/tablo_oku.h"

namespace orvena {
namespace {

// A computed step lands on the lever whose step in the shipped workbook is nearest to it, of
// two equally near the smaller step: searched here over every lever of every top string.
TEST(LeverFit, EveryStepLandsOnTheLeverWithTheNearestStep) {
    InstrumentState st;
    set_lever_limits(st);
    ASSERT_FALSE(import_tuning(st, test::source_dir() / "data" / "dizek.xls").has_value());
    for (int s = 1; s <= 7; ++s) {
        for (int p = kLeverLo; p <= kLeverHi; ++p) {
            int best = 0;
            for (int q = st.mandal_min[s]; q <= st.mandal_max[s]; ++q) {
                const int step = st.mandal_step(s, q), best_step = st.mandal_step(s, best);
                const int d = std::abs(step - p), best_d = std::abs(best_step - p);
                if (d < best_d || (d == best_d && std::abs(step) < std::abs(best_step))) best = q;
            }
            EXPECT_EQ(lever_fit(s, p), best) << "string " << s << " step " << p;
        }
    }
}

}  // namespace
}  // namespace orvena
