// Transposition on a made-up instrument (string s at 10 plays what s - 1 plays at 0) and the
// shipped workbook, and under the tuning systems; the system a run starts in and the one
// Ctrl+T goes back to.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <sstream>
#include <tuple>
#include <vector>

#include "display/etiket.h"
#include "preset_fixture.h"
#include "presets/tuning_choice.h"
#include "presets/tuning_settings.h"
#include "presets/tuning_start.h"
#include "support/text.h"
#include "tuning/install_tables.h"

namespace orvena {
namespace {

namespace fs = std::filesystem;
using Positions = std::map<int, int>;  // string -> position; strings not named are at 0
using test::degree;
using test::red_in_row;

// Strings 8..26 at p, the top strings at p fitted to their levers by the instrument's table.
Positions all_at(int p, const Positions& changes = {}) {
    const std::map<int, std::vector<int>> fitted = {
        {-6, {-4, -4, -4, -4, -5, -5, -5}}, {1, {1, 1, 1, 1, 1, 1, 1}}, {6, {4, 4, 5, 4, 5, 5, 5}}};
    Positions all = changes;
    for (int s = 1; s <= kStringCount; ++s) all.emplace(s, s <= 7 ? fitted.at(p)[s - 1] : p);
    return all;
}

std::string cancelled(int s, int position, int target, int first, int second) {
    return "göçürme yapılamıyor\r\n\r\n" + std::to_string(s) + " nolu telin " +
           std::to_string(position) + " nolu mandal sesi, istenen göçürüm miktarına göre " +
           std::to_string(target) + " nolu telden alıması gerekirken " + std::to_string(first) +
           " nolu tele veya " + std::to_string(second) +
           " nolu tele taşmaktadır. Göçürüm iptal edilecek.";
}

// A name, the level, where the fine shift was moved, the user's levers, a change to the tables,
// the non-zero computed positions afterwards, whether they are in force, the messages, and the
// fine shift after.
using Case = std::tuple<const char*, int, int, Positions, std::function<void(InstrumentState&)>,
                        Positions, bool, std::vector<std::string>, int>;

TEST(Transposition, LevelsAndFineShiftsGiveTheirSettingsListsAndMessages) {
    const std::string overflow =
        "göçürme de sorun var\r\norijin tel=22\r\norijin derece=-60\r\nahenk farkı=-46\r\n"
        "derece farkı=-8\r\ntoplam derece farkı=-54\r\n\r\nhedef tel=26\r\nhedef derece=-114";
    // clang-format off
    const std::vector<Case> cases = {
        {"SÜPÜRDE one degree up", 5, 1, {}, {}, all_at(1), true, {}, 1},
        {"ŞAH", 1, 0, {}, {}, all_at(-6), true, {}, 0},
        {"DAVUD NIS.", 7, 0, {{26, 2}}, {}, all_at(6, {{24, 8}}), true, {}, 0},  // 25, 26 from 18, 19
        {"a place that names no degree", 5, 1, {{26, -8}}, {},
         all_at(1, {{26, 0}}), true,
         {"26  nolu perdenin derecesi belirlenemedi. \r\n mandal= -8\r\n  devam edecek. "}, 1},
        {"cancelled with fine 3, done again without", 5, 3, {{20, 10}}, {}, {}, false,
         {cancelled(20, 10, 20, 19, 0)}, 0},
        {"cancelled without fine shift keeps the positions so far", 1, 0, {},
         [](InstrumentState& st) { st.tables.degrees[degree(22, -6)].string_3 = 0; },
         {{23, -6}, {24, -6}, {25, -6}, {26, -6}}, false, {cancelled(18, 0, 22, 23, 0)}, 0},
        {"a degree beyond the list is reported, then cancelled and redone", 1, -8, {}, {}, all_at(-6),
         true, {overflow, cancelled(21, 0, 25, 0, 0)}, 0},
        {"a target's second place wins over its first", 5, 1, {},
         [](InstrumentState& st) { st.tables.degrees[degree(20, 1)].string_2 = 20, st.tables.degrees[degree(20, 1)].pos_2 = 7; },
         all_at(1, {{20, 7}}), true, {}, 1},
        {"a target on the list's last degree", 5, 1, {},
         [](InstrumentState& st) { auto& r = st.tables.degrees; r[degree(8, 0)].string_1 = 0, r[195].string_1 = r[196].string_1 = 8, r[195].pos_1 = 0, r[196].pos_1 = 1; },
         all_at(1), true, {}, 1},
        {"a target at lever 0 shows no number", 5, 1, {},
         [](InstrumentState& st) { st.tables.degrees[degree(20, 1)].string_2 = 20, st.tables.degrees[degree(20, 1)].pos_2 = 0; },
         all_at(1, {{20, 0}}), true, {}, 1},
    };
    // clang-format on
    for (const auto& [name, level, fine, levers, tweak, transposed, in_force, messages,
                      fine_after] : cases) {
        SCOPED_TRACE(name);
        test::PresetBench b;
        test::make_regular_degrees(b.st);
        if (tweak) tweak(b.st);
        for (const auto& [s, p] : levers)
            b.st.settings.mandal_pos[s] = static_cast<std::int16_t>(p);
        const auto user = b.st.settings.mandal_pos;
        for (int s = 1; s <= kStringCount; ++s)  // a stale list that must go
            b.Picture10.LineBF(69, (s - 1) * 15 + 2, 87, (s - 1) * 15 + 14, qRgb(255, 0, 0));
        b.option1 = level;
        b.st.settings.ahenk_index = static_cast<std::int16_t>(level);
        b.hscroll1 = fine;
        HScroll1_Change(b.ctx);
        for (int s = 1; s <= kStringCount; ++s) {
            const int expected = transposed.contains(s) ? transposed.at(s) : 0;  // 0: none
            EXPECT_EQ(std::tuple(b.st.settings.transposed_pos[s], b.st.settings.mandal_pos[s],
                                 red_in_row(b.Picture10, s)),
                      std::tuple(expected, in_force ? expected : user[s], expected != 0))
                << "string " << s;
        }
        EXPECT_EQ(std::tuple(b.st.settings.manual_levers, b.option5, b.hscroll1, b.text3),
                  std::tuple(!in_force, in_force ? 2 : 1, fine_after, std::to_string(fine_after)));
        EXPECT_EQ(b.dialogs.texts(), messages);
        EXPECT_TRUE(b.views.calls.empty()) << "nothing is redrawn";
    }
}

// Whatever level came before, a level gives the same setting, list and panel as on its own.
TEST(ShippedTransposition, LevelsDoNotAccumulate) {
    const auto seen = [](test::PresetBench& b) {  // everything the player sees and hears
        std::ostringstream out;
        for (const std::string& text : b.dialogs.texts()) out << text << "|";
        out << b.st.settings.manual_levers << b.st.settings.transpose_shift << "|";
        for (int s = 1; s <= kStringCount; ++s) {
            b.st.selection.cur_string = static_cast<std::int16_t>(s);
            out << b.st.settings.mandal_pos[s] << "," << b.st.settings.transposed_pos[s]
                << panel_pitch_name(b.st);
        }
        return out.str();
    };
    for (int first = 1; first <= kPitchLevelCount; ++first) {
        for (int second = 1; second <= kPitchLevelCount; ++second) {
            if (first == second) continue;
            SCOPED_TRACE(std::to_string(first) + " then " + std::to_string(second));
            test::PresetBench both, alone;
            both.st = alone.st = test::shipped();
            both.Option1_select(first);
            if (second == kSupurde) alone.Option1_select(1);
            both.dialogs.clear();
            alone.dialogs.clear();
            both.Option1_select(second);
            alone.Option1_select(second);
            EXPECT_EQ(seen(both), seen(alone));
            EXPECT_TRUE(both.Picture10.image() == alone.Picture10.image());
        }
    }
}

using test::shipped;

// The shipped workbook in force before the choice is made, as start-up leaves it.
struct ShippedBench : test::PresetBench {
    ShippedBench() {
        install_tables(st, shipped().tables);
        st.selection.cur_string = 12;
    }
};
struct ChoiceBench : ShippedBench {
    TuningChoice choice{st, dialogs, views, test::program_dir()};
};

TEST(TuningSystems, ChoosingRetunesAtOnceKeepingWhatThePlayerSetOrRefusesAndChangesNothing) {
    ChoiceBench b;
    b.st.selection.cur_string = 26;  // string 26 too has its strip, staff and panel redrawn
    for (int s = 8; s <= kStringCount; ++s)
        b.st.settings.mandal_pos[s] = static_cast<std::int16_t>(s % 3);
    b.st.settings.akord_offset[12] = 5;
    recompute_string_rates(b.st, 12, true);
    b.Option1_select(2);  // MANSUR: the computed setting in force
    const InstrumentState before = b.st;
    b.views.calls.clear();
    ASSERT_TRUE(b.choice.choose("akort/12-TET.scl"));
    EXPECT_EQ(b.st.tables.name, "12-TET");
    EXPECT_TRUE(b.st.settings == before.settings) << "every lever, fine tuning and level kept";
    // A4 on 900 cents, its sample moved from the workbook's A4 and then by its fine tuning.
    const int p = b.st.settings.mandal_pos[12];
    EXPECT_DOUBLE_EQ(b.st.tables.cents(12, p), 900.0 + 100.0 * p);
    const long home =
        std::lround(44100.0 * std::exp2((900.0 - shipped().tables.cents(12, 0)) / 1200.0));
    EXPECT_EQ(b.st.derived.sample_rate(12, 0), std::lround(home * std::exp2(5 / 1200.0)));
    EXPECT_EQ(b.views.calls, (test::Calls{"mandal_at", "porte", "etiket"}));
    EXPECT_TRUE(b.dialogs.texts().empty());
    // A file that reads but cannot be played is refused, and the system in force stays.
    test::TempDir dir;
    test::write_file_bytes(dir / "uzak.scl", "uzak\n1\n11000.0\n");
    const InstrumentState chosen = b.st;
    b.views.calls.clear();
    EXPECT_FALSE(b.choice.choose_file(dir / "uzak.scl"));
    EXPECT_THAT(b.dialogs.texts(),
                ::testing::ElementsAre(::testing::AllOf(
                    ::testing::HasSubstr("\"uzak.scl\", satır 3: tel 1 (E6), mandal konumu -5"),
                    ::testing::HasSubstr("Çalınan akort değişmedi."))));
    EXPECT_EQ(
        std::tuple(b.st.tables.name, b.st.tables.cents(5, 3), b.st.derived.sample_rate(20, -4)),
        std::tuple(chosen.tables.name, chosen.tables.cents(5, 3),
                   chosen.derived.sample_rate(20, -4)));
    EXPECT_TRUE(b.views.calls.empty());
    ASSERT_TRUE(b.choice.choose("akort/12-TET.scl"));  // the one in force: nothing to go back to
    ASSERT_TRUE(b.choice.toggle());
    EXPECT_EQ(b.st.tables.name, kWorkbookSystem) << "the system before stays the one to go back to";
}

// 12-TET: a level moves by the semitones nearest its interval (46, 33, 13 and 26 degrees of
// 1200/79 cents: 7, 5, 2 and 4), a fine shift by semitones.
TEST(TuningSystems, UnderAScaleLevelsMoveByTheSameIntervalAndTopStringsNameTheirDegree) {
    const std::string no_degree =
        "8  nolu perdenin derecesi belirlenemedi. \r\n mandal= 13\r\n  devam edecek. ";
    const std::tuple<int, int, int, Positions, std::vector<std::string>> cases[] = {
        // MANSUR, a fourth down: F#4 for B4 on string 14 (F4), A3 for D4 on 19, F5 as F4 on 7;
        // string 11 (B4) plays string 8 (E5) at its lowest and highest lever, not one past it.
        {2, 0, 0, {{14, 1}, {11, 0}, {19, 0}, {7, 1}}, {}},
        {2, 0, -8, {{11, -8}}, {}},
        {2, 0, 12, {{11, 12}}, {}},
        {2, 0, 13, {{11, 0}}, {no_degree}},
        {1, 0, 0, {{18, -1}}, {}},  // ŞAH, a fifth down: F4 to B♭3 on string 18 (B3)
        {6, 0, 0, {{10, 1}}, {}},   // BOLAHENK NIS., a tone up: B4 to C♯5 on string 10 (C5)
        {7, 0, 0, {{10, 1}}, {}},   // DAVUD NIS., a major third up: A4 to C♯5 on string 10
        // String 26 (A2) cannot reach A♯3; the message names the strings one lever from it.
        {5, 13, 0, {{26, 0}}, {cancelled(26, 0, 26, 18, 19)}}};
    for (const auto& [level, fine, string_8, transposed, told] : cases) {
        SCOPED_TRACE(testing::Message() << level << " " << fine << " " << string_8);
        ChoiceBench b;
        ASSERT_TRUE(b.choice.choose("akort/12-TET.scl"));
        b.st.settings.mandal_pos[8] = static_cast<std::int16_t>(string_8);
        b.option1 = level, b.hscroll1 = fine;
        b.st.settings.ahenk_index = static_cast<std::int16_t>(level);
        HScroll1_Change(b.ctx);
        EXPECT_EQ(b.dialogs.texts(), told);
        for (const auto& [s, p] : transposed) EXPECT_EQ(b.st.settings.transposed_pos[s], p) << s;
    }
}

// The files of the system in force an export must leave alone, and what is told when one
// cannot be used.
TEST(TuningStart, TheRunsOwnSystemElseTheKeptOneAndCtrlTGoesToTheOneBefore) {
    const char* lost =
        "Son seçilen akort sistemi yüklenemedi; çalışma kitabının akordu "
        "çalınıyor.\r\nAkort sistemi yüklenemedi:\r\n\"yok.scl\"";
    const char* refused = "Akort sistemi yüklenemedi:\r\n\"yok.scl\"";
    const std::string tet = "akort/12-TET.scl", edo = "akort/41-EDO.scl";
    // orvena.ini's settings (nothing: no settings file), --tuning within the program folder
    // ("" none), the system in force and the one before, how what is told starts ("" nothing),
    // told without stopping the start.
    // clang-format off
    const std::tuple<std::optional<TuningSettings>, const char*, const char*, const char*,
                     const char*, bool> cases[] = {
        {std::nullopt, "", "dizek.xls", "", "", false},
        {TuningSettings{tet, edo}, "", "akort/12-TET.scl", "akort/41-EDO.scl", "", false},
        {TuningSettings{"dizek.xls", tet}, "", "dizek.xls", "akort/12-TET.scl", "", false},
        {TuningSettings{"akort/yok.scl", edo}, "", "dizek.xls", "akort/41-EDO.scl", lost, true},
        {TuningSettings{tet, "akort/yok.scl"}, "", "akort/12-TET.scl", "akort/yok.scl", "", false},
        {TuningSettings{edo, tet}, "akort/12-TET.scl", "akort/12-TET.scl", "akort/41-EDO.scl", "", false},
        {std::nullopt, "akort/12-TET.scl", "akort/12-TET.scl", "dizek.xls", "", false},
        {std::nullopt, "dizek.xls", "dizek.xls", "", "", false},  // the one in force already
        {TuningSettings{edo, ""}, "akort/yok.scl", "dizek.xls", "akort/41-EDO.scl", refused, false},
        {TuningSettings{tet + "\t", "akort/\x01.scl"}, "", "dizek.xls", "", "", false},  // hand-edited
    };
    // clang-format on
    for (const auto& [saved, run_key, current, previous, told, notice] : cases) {
        SCOPED_TRACE(std::string(run_key) + " " + (saved ? saved->system : "(no file)"));
        ChoiceBench b;
        test::TempDir dir;
        const fs::path ini = saved ? dir / "orvena.ini" : fs::path();
        ASSERT_TRUE(!saved || write_tuning_settings(ini, *saved));
        std::optional<fs::path> run;
        if (*run_key) run = test::program_dir() / run_key;
        start_tuning(b.choice, b.dialogs, ini, run);
        EXPECT_EQ(std::tuple(b.choice.current_key(), b.choice.previous_key()),
                  std::tuple(std::string(current), std::string(previous)));
        EXPECT_EQ(b.st.tables.name, current == tet ? "12-TET" : "dizek.xls");
        ASSERT_EQ(b.dialogs.shown().size(), *told ? 1u : 0u);
        if (*told) {
            EXPECT_TRUE(b.dialogs.shown()[0].text.starts_with(told)) << b.dialogs.shown()[0].text;
            EXPECT_EQ(b.dialogs.shown()[0].modal, !notice);
        }
        // The files an export may not write, and the choice kept for the next run.
        const std::vector<fs::path> playing =
            current == tet ? std::vector<fs::path>{test::program_dir() / "akort" / "12-TET.scl",
                                                   test::program_dir() / "akort" / "12-TET.kbm"}
                           : std::vector<fs::path>{};
        EXPECT_EQ(playing_tuning_files(b.choice), playing);
        keep_tuning_choice(b.choice, ini);
        if (!saved) {
            EXPECT_TRUE(fs::is_empty(dir.path())) << "no settings file, nothing kept";
            continue;
        }
        const TuningSettings kept = read_tuning_settings(ini);
        EXPECT_EQ(std::tuple(kept.system, kept.previous), std::tuple(current, previous));
        if (fs::exists(test::program_dir() / previous)) continue;  // Ctrl+T to one gone: told,
        EXPECT_FALSE(b.choice.toggle() || b.st.tables.name != "12-TET");  // and nothing changes
        EXPECT_TRUE(b.dialogs.texts().size() == 1 && b.dialogs.texts()[0].starts_with(refused));
    }
}

}  // namespace
}  // namespace orvena
