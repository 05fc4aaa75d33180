// Choosing a tuning system: it retunes at once and keeps everything the player set; a bad one
// is refused and the tuning in force stays; pitch levels move under a scale.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

#include "display/etiket.h"
#include "preset_fixture.h"
#include "presets/tuning_choice.h"
#include "support/text.h"

namespace orvena {
namespace {

using test::shipped;

// The shipped workbook in force before the choice is made, as start-up leaves it.
struct ShippedBench : test::PresetBench {
    ShippedBench() {
        install_tables(st, tables_in_force(shipped()));
        st.cur_string = 12;
    }
};
struct ChoiceBench : ShippedBench {
    TuningChoice choice{st, dialogs, views, test::program_dir()};
};

TEST(TuningSystems, ChoosingASystemRetunesAtOnceAndKeepsLeversTranspositionAndFineTuning) {
    ChoiceBench b;
    for (int s = 8; s <= kStringCount; ++s) b.st.mandal_pos[s] = static_cast<std::int16_t>(s % 3);
    b.st.akord_offset[12] = 5;
    recompute_string_rates(b.st, 12, true);
    b.Option1_select(2);  // MANSUR: the computed setting in force
    const InstrumentState before = b.st;
    b.views.calls.clear();

    ASSERT_TRUE(b.choice.choose("akort/12-TET.scl"));
    EXPECT_EQ(b.st.tuning_name, "12-TET");
    for (int s = 1; s <= kStringCount; ++s) {
        EXPECT_EQ(std::tuple(b.st.mandal_pos[s], b.st.saved_mandal_pos[s], b.st.transposed_pos[s],
                             b.st.akord_offset[s]),
                  std::tuple(before.mandal_pos[s], before.saved_mandal_pos[s],
                             before.transposed_pos[s], before.akord_offset[s]))
            << s;
    }
    EXPECT_EQ(std::tuple(b.st.manual_levers, b.st.transpose_shift),
              std::tuple(before.manual_levers, before.transpose_shift));
    // A4 on 900 cents, its sample moved from the workbook's A4 and then by its fine tuning.
    const int p = b.st.mandal_pos[12];
    EXPECT_DOUBLE_EQ(b.st.cents(12, p), 900.0 + 100.0 * p);
    const long home = std::lround(44100.0 * std::exp2((900.0 - shipped().cents(12, 0)) / 1200.0));
    EXPECT_EQ(b.st.sample_rate(12, 0), std::lround(home * std::exp2(5 / 1200.0)));
    EXPECT_EQ(b.views.calls, (test::Calls{"mandal_at", "porte", "etiket"}));

    EXPECT_TRUE(b.dialogs.texts().empty());
}

TEST(TuningSystems, ABadSystemIsRefusedWithItsMessageAndTheTuningInForceStays) {
    ChoiceBench b;
    test::TempDir dir;
    test::write_file_bytes(dir / "uzak.scl", "uzak\n1\n11000.0\n");  // read, but unplayable
    ASSERT_TRUE(b.choice.choose("akort/53-EDO.scl"));
    const InstrumentState before = b.st;
    b.views.calls.clear();
    EXPECT_FALSE(b.choice.choose_file(dir / "uzak.scl"));
    ASSERT_EQ(b.dialogs.texts().size(), 1u);
    EXPECT_THAT(b.dialogs.texts()[0],
                ::testing::AllOf(::testing::HasSubstr("\"uzak.scl\", satır 3: tel 1 (E6), mandal "
                                                      "konumu -5: örnekleme hızı"),
                                 ::testing::HasSubstr("Çalınan akort değişmedi.")));
    EXPECT_EQ(b.st.tuning_name, "53-EDO");
    EXPECT_EQ(b.st.cents(5, 3), before.cents(5, 3));
    EXPECT_EQ(b.st.sample_rate(20, -4), before.sample_rate(20, -4));
    EXPECT_TRUE(b.views.calls.empty());
    ASSERT_TRUE(b.choice.toggle());
    EXPECT_EQ(b.st.tuning_name, kWorkbookSystem) << "the system before stays the one to go back to";
}

TEST(TuningSystems, UnderAScaleLevelsMoveByTheSameIntervalAndTopStringsNameTheirDegree) {
    ChoiceBench b;
    ASSERT_TRUE(b.choice.choose("akort/12-TET.scl"));
    b.st.cur_string = 3;  // C6 at lever 0: 2400 cents, within 5 cents of Tiz Çârgâh
    EXPECT_EQ(panel_pitch_name(b.st), test::padded("Tiz Çârgâh", 10));
    b.Option1_select(2);  // MANSUR: three strings down, a fourth (5 semitones) lower
    EXPECT_TRUE(b.dialogs.texts().empty());
    EXPECT_EQ(b.st.transpose_shift, -5);
    // B4 (1100) a fourth lower is F#4: string 14 (F4, 500) one semitone up; E5 gives B4 at 0;
    // A3 from D4 (200 - 500) is -300 = A3 (-300) at 0; the top strings copy the octave below.
    EXPECT_EQ(std::tuple(b.st.transposed_pos[14], b.st.transposed_pos[11], b.st.transposed_pos[19],
                         b.st.transposed_pos[7]),
              std::tuple(1, 0, 0, 1));
    // A top string's position is one degree like any other, within its levers (-5..6 on E6).
    for (const auto& [copied, kept] : {std::pair{2, 2}, {9, 6}, {-7, -5}}) {
        b.st.transposed_pos[1] = static_cast<std::int16_t>(copied);
        yenimandal(b.st, 1);
        EXPECT_EQ(b.st.transposed_pos[1], kept);
    }
}

}  // namespace
}  // namespace orvena
