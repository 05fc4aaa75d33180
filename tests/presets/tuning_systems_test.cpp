// Tuning systems on the instrument: the shipped ones follow their rule on every string and
// lever, the Scala files the program writes come back to the same pitches, and choosing or
// swapping a system retunes at once and keeps everything the player set.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

#include "display/etiket.h"
#include "preset_fixture.h"
#include "presets/makam_format.h"
#include "presets/scala_export.h"
#include "presets/tuning_choice.h"
#include "scala_reader.h"
#include "support/text.h"
#include "tuning/tuning_file.h"

namespace orvena {
namespace {

namespace fs = std::filesystem;
using test::shipped;
using ::testing::HasSubstr;

// Pythagorean natural of string s, worked out here: the string's letter and octave.
double natural_cents(int s) {
    const std::string note = "--EDCBAGFEDCBAGFEDCBAGFEDCBA";  // strings 1..26, E6 down to A2
    const int octave = s <= 3 ? 6 : s <= 10 ? 5 : s <= 17 ? 4 : s <= 24 ? 3 : 2;
    const std::pair<char, double> ratios[] = {{'C', 1.0},        {'D', 9.0 / 8}, {'E', 81.0 / 64},
                                              {'F', 4.0 / 3},    {'G', 3.0 / 2}, {'A', 27.0 / 16},
                                              {'B', 243.0 / 128}};
    for (const auto& [letter, ratio] : ratios)
        if (letter == note[static_cast<std::size_t>(s) + 1])
            return 1200.0 * (octave - 4) + 1200.0 * std::log2(ratio);
    throw std::logic_error("no letter");
}

TEST(TuningSystems, EveryShippedSystemPutsEachStringOnItsNearestDegreeAndLeversOneDegreeApart) {
    const std::vector<std::string> expected = {"12-TET", "24-AEU", "41-EDO",
                                               "53-EDO", "72-EDO", "79-EDO"};
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(test::program_dir() / kTuningFolder))
        found.push_back(entry.path().stem().string());
    std::sort(found.begin(), found.end());
    ASSERT_EQ(found, expected);
    for (const std::string& name : expected) {
        SCOPED_TRACE(name);
        const fs::path file = test::program_dir() / kTuningFolder / (name + ".scl");
        const test::Scl scl = test::read_scl(file.string());
        const auto n = static_cast<long>(scl.cents.size());
        const auto pitch = [&](long k) {
            const long periods = k >= 0 ? k / n : -((-k + n - 1) / n);
            const long within = k - periods * n;
            return periods * scl.cents.back() + (within == 0 ? 0.0 : scl.cents[within - 1]);
        };
        InstrumentState st = shipped();
        use_tuning_file(st, file, test::program_dir());
        EXPECT_EQ(st.tuning_name, name);
        for (int s = 1; s <= kStringCount; ++s) {
            long home = -1000;
            for (long k = -1000; k <= 1000; ++k)
                if (std::fabs(pitch(k) - natural_cents(s)) <
                    std::fabs(pitch(home) - natural_cents(s)))
                    home = k;
            for (int p = st.mandal_min[s]; p <= st.mandal_max[s]; ++p)
                ASSERT_NEAR(st.cents(s, p), pitch(home + p), 1e-6)
                    << "string " << s << " lever " << p;
        }
    }
}

TEST(TuningSystems, ExportedScalaFilesComeBackToThePitchEveryStringSounded) {
    const struct {
        const char* makam;
        int akord_step;
    } cases[] = {{"", 0},      {"Rast", 0},  {"Hicaz", 3},    {"Hüzzam", -2}, {"Saba", 1},
                 {"Kürdî", 0}, {"Segâh", 2}, {"Nihavend", 0}, {"Mahur", -3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.makam);
        InstrumentState st = shipped();
        if (*c.makam) {
            const auto r =
                read_makam_file(test::program_dir() / (std::string(c.makam) + ".mkm"), st);
            ASSERT_FALSE(r.error);
            for (int s = 1; s <= kStringCount; ++s) st.mandal_pos[s] = r.positions[s - 1];
        }
        for (int s = 1; s <= kStringCount; ++s)
            st.akord_offset[s] = static_cast<std::int16_t>(c.akord_step * (s % 5 - 2));
        test::TempDir dir;
        ASSERT_FALSE(
            write_scala_files(dir.path(), "setting", st, st.mandal_pos, test::program_dir()));

        InstrumentState back = shipped();
        use_tuning_file(back, dir / "setting.scl", test::program_dir());
        for (int s = 1; s <= kStringCount; ++s)
            EXPECT_NEAR(back.cents(s, 0), st.cents(s, st.mandal_pos[s]) + st.akord_offset[s], 0.01)
                << "string " << s;
    }
}

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
    b.dialogs.clear();

    ASSERT_TRUE(b.choice.choose("akort/12-TET.scl"));
    EXPECT_EQ(b.st.tuning_name, "12-TET");
    for (int s = 1; s <= kStringCount; ++s) {
        EXPECT_EQ(b.st.mandal_pos[s], before.mandal_pos[s]);
        EXPECT_EQ(b.st.saved_mandal_pos[s], before.saved_mandal_pos[s]);
        EXPECT_EQ(b.st.transposed_pos[s], before.transposed_pos[s]);
        EXPECT_EQ(b.st.akord_offset[s], before.akord_offset[s]);
    }
    EXPECT_EQ(b.st.manual_levers, before.manual_levers);
    EXPECT_EQ(b.st.transpose_shift, before.transpose_shift);
    // A4 on 900 cents, its sample moved from the workbook's A4 and then by its fine tuning.
    const int p = b.st.mandal_pos[12];
    EXPECT_DOUBLE_EQ(b.st.cents(12, p), 900.0 + 100.0 * p);
    const long home = std::lround(44100.0 * std::exp2((900.0 - shipped().cents(12, 0)) / 1200.0));
    const long tuned = std::lround(home * std::exp2(5 / 1200.0));
    EXPECT_EQ(b.st.sample_rate(12, 0), tuned);
    EXPECT_EQ(b.views.calls, (test::Calls{"mandal_at", "porte", "etiket"}));

    // Ctrl+T: back to the workbook and again.
    ASSERT_TRUE(b.choice.toggle());
    EXPECT_EQ(b.st.tuning_name, kWorkbookSystem);
    EXPECT_EQ(b.st.cents(12, p), shipped().cents(12, p));
    EXPECT_EQ(b.st.sample_rate(12, 0), before.sample_rate(12, 0));
    ASSERT_TRUE(b.choice.toggle());
    EXPECT_EQ(b.st.tuning_name, "12-TET");
    EXPECT_EQ(b.choice.previous_key(), kWorkbookSystem);
    EXPECT_TRUE(b.dialogs.texts().empty());
}

TEST(TuningSystems, ABadSystemIsRefusedWithItsMessageAndTheTuningInForceStays) {
    ChoiceBench b;
    test::TempDir dir;
    test::write_file_bytes(dir / "bozuk.scl", "bozuk\r\n3\r\n100.0\r\n50.0\r\n1200.0\r\n");
    test::write_file_bytes(dir / "uzak.scl", "uzak\n1\n11000.0\n");
    ASSERT_TRUE(b.choice.choose("akort/53-EDO.scl"));
    const InstrumentState before = b.st;
    const struct {
        fs::path file;
        const char* message;
    } cases[] = {
        {dir / "bozuk.scl", "\"bozuk.scl\", satır 4: perde bir öncekinden yüksek değil"},
        {dir / "uzak.scl", "\"uzak.scl\", satır 3: tel 1 (E6), mandal konumu -5: örnekleme hızı"},
        {dir / "yok.scl", "\"yok.scl\": böyle bir dosya yok"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.filename().string());
        b.dialogs.clear();
        b.views.calls.clear();
        EXPECT_FALSE(b.choice.choose_file(c.file));
        ASSERT_EQ(b.dialogs.texts().size(), 1u);
        EXPECT_THAT(b.dialogs.texts()[0], HasSubstr(c.message));
        EXPECT_THAT(b.dialogs.texts()[0], HasSubstr("Çalınan akort değişmedi."));
        EXPECT_EQ(b.st.tuning_name, "53-EDO");
        EXPECT_EQ(b.st.cents(5, 3), before.cents(5, 3));
        EXPECT_EQ(b.st.sample_rate(20, -4), before.sample_rate(20, -4));
        EXPECT_TRUE(b.views.calls.empty());
    }
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
    EXPECT_EQ(b.st.transposed_pos[14], 1);
    EXPECT_EQ(b.st.transposed_pos[11], 0);
    EXPECT_EQ(b.st.transposed_pos[19], 0);
    EXPECT_EQ(b.st.transposed_pos[7], 1) << "F5 copies F4's position";
    // A top string's position is one degree like any other, within its levers (-5..6 on E6).
    for (const auto& [copied, kept] : {std::pair{2, 2}, {9, 6}, {-7, -5}}) {
        b.st.transposed_pos[1] = static_cast<std::int16_t>(copied);
        yenimandal(b.st, 1);
        EXPECT_EQ(b.st.transposed_pos[1], kept);
    }
}

}  // namespace
}  // namespace orvena
