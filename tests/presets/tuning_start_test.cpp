// The tuning system a run starts in, the one Ctrl+T goes back to, what is told when one cannot
// be used, and the files of the system in force that an export must leave alone.

#include <gtest/gtest.h>

#include <tuple>

#include "preset_fixture.h"
#include "presets/tuning_settings.h"
#include "presets/tuning_start.h"
#include "tuning/install_tables.h"

namespace orvena {
namespace {

namespace fs = std::filesystem;

struct StartCase {
    std::optional<TuningSettings> kept;  // orvena.ini's; nothing: no settings file
    const char* run;                     // --tuning, within the program folder; "" none
    const char* current;
    const char* previous;
    const char* told;  // how what is told starts; "" nothing
    bool notice;       // told without stopping the start
};

TEST(TuningStart, TheRunsOwnSystemElseTheKeptOneAndCtrlTGoesToTheOneBefore) {
    const char* lost =
        "Son seçilen akort sistemi yüklenemedi; çalışma kitabının akordu "
        "çalınıyor.\r\nAkort sistemi yüklenemedi:\r\n\"yok.scl\"";
    const char* refused = "Akort sistemi yüklenemedi:\r\n\"yok.scl\"";
    const std::string tet = "akort/12-TET.scl", edo = "akort/41-EDO.scl";
    // clang-format off
    const StartCase cases[] = {
        {std::nullopt, "", "dizek.xls", "", "", false},
        {TuningSettings{tet, edo}, "", "akort/12-TET.scl", "akort/41-EDO.scl", "", false},
        {TuningSettings{"dizek.xls", tet}, "", "dizek.xls", "akort/12-TET.scl", "", false},
        {TuningSettings{"akort/yok.scl", edo}, "", "dizek.xls", "akort/41-EDO.scl", lost, true},
        {TuningSettings{edo, tet}, "akort/12-TET.scl", "akort/12-TET.scl", "akort/41-EDO.scl", "", false},
        {std::nullopt, "akort/12-TET.scl", "akort/12-TET.scl", "dizek.xls", "", false},
        {std::nullopt, "dizek.xls", "dizek.xls", "", "", false},  // the one in force already
        {TuningSettings{edo, ""}, "akort/yok.scl", "dizek.xls", "akort/41-EDO.scl", refused, false},
    };
    // clang-format on
    for (const StartCase& c : cases) {
        SCOPED_TRACE(std::string(c.run) + " " + (c.kept ? c.kept->system : "(no file)"));
        test::PresetBench b;
        install_tables(b.st, test::shipped().tables);
        TuningChoice choice{b.st, b.dialogs, b.views, test::program_dir()};
        test::TempDir dir;
        const fs::path ini = c.kept ? dir / "orvena.ini" : fs::path();
        ASSERT_TRUE(!c.kept || write_tuning_settings(ini, *c.kept));
        std::optional<fs::path> run;
        if (*c.run) run = test::program_dir() / c.run;

        start_tuning(choice, b.dialogs, ini, run);
        EXPECT_EQ(std::tuple(choice.current_key(), choice.previous_key()),
                  std::tuple(std::string(c.current), std::string(c.previous)));
        EXPECT_EQ(b.st.tables.name, c.current == tet ? "12-TET" : "dizek.xls");
        ASSERT_EQ(b.dialogs.shown().size(), *c.told ? 1u : 0u);
        if (*c.told) {
            EXPECT_TRUE(b.dialogs.shown()[0].text.starts_with(c.told)) << b.dialogs.shown()[0].text;
            EXPECT_EQ(b.dialogs.shown()[0].modal, !c.notice);
        }
        // The files an export may not write, and the choice kept for the next run.
        const std::vector<fs::path> playing =
            c.current == tet ? std::vector<fs::path>{test::program_dir() / "akort" / "12-TET.scl",
                                                     test::program_dir() / "akort" / "12-TET.kbm"}
                             : std::vector<fs::path>{};
        EXPECT_EQ(playing_tuning_files(choice), playing);
        keep_tuning_choice(choice, ini);
        if (!c.kept) {
            EXPECT_TRUE(fs::is_empty(dir.path())) << "no settings file, nothing kept";
            continue;
        }
        const TuningSettings kept = read_tuning_settings(ini);
        EXPECT_EQ(std::tuple(kept.system, kept.previous), std::tuple(c.current, c.previous));
    }
}

}  // namespace
}  // namespace orvena
