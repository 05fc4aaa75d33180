// Start-up on a program folder made by the test: the state it leaves, the drawing and the
// key legend, and the messages for a missing workbook, a wrong number of samples and a
// second instance.

#include <gtest/gtest.h>

#include <QPushButton>

#include <tuple>

#include "shell/program.h"
#include "shell_test_support.h"
#include "support/pictures.h"
#include "support/recording_dialogs.h"
#include "tuning/tablo_oku.h"

namespace orvena {
namespace {

using test::has_colour;
using test::rgb;
constexpr QRgb kRed = rgb(255, 0, 0), kGreen = rgb(0, 255, 0);

class StartupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::ensure_app();
        saved_cwd_ = std::filesystem::current_path();
    }
    void TearDown() override { std::filesystem::current_path(saved_cwd_); }

    StartupOutcome start(Program& program, const test::ProgramFolder& folder) {
        return program.start(folder.headless_options());
    }

    test::RecordingDialogs dialogs;

  private:
    std::filesystem::path saved_cwd_;
};

const std::string kCountMessage =
    "ses dosyaları sayısı uygun değil, program düzgün çalışmayabilir\r\n"
    "kapatıp  dosya sayınızı kontrol edin    ";

// A start-up on a complete folder: no message, string 12 selected, the instrument drawn
// with no string selected and the key legend in its colours.
TEST_F(StartupTest, LeavesTheStartValuesTheDrawingAndTheKeyLegend) {
    test::ProgramFolder folder;
    Program program(dialogs);
    const StartupOutcome outcome = start(program, folder);
    ASSERT_TRUE(outcome.goes_on);
    EXPECT_EQ(outcome.exit_status, 0);
    EXPECT_TRUE(dialogs.shown().empty());
    EXPECT_EQ(program.splash(), nullptr) << "the splash is unloaded at the end of the load";
    ASSERT_NE(program.window(), nullptr);
    arayüz& w = *program.window();
    const InstrumentState& st = w.st;

    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::canonical(folder.path()));
    EXPECT_EQ(std::tuple(st.cur_string, st.last_string, st.speed, st.ahenk_index, st.ahenk_shift),
              std::tuple(12, 1, 40, 5, 0));
    EXPECT_TRUE(st.manual_levers);
    EXPECT_FALSE(st.recording || st.seq_playing || st.rec_first_event || st.show_details);
    EXPECT_EQ(st.mandal_max[26], 12);
    EXPECT_NE(st.sample_rate(12, 0), 0) << "the import ran and derived the rates";
    EXPECT_GT(st.freq(12, 1), st.freq(12, 0));
    EXPECT_NE(w.timer, nullptr);
    ASSERT_EQ(st.wav_file_count, 27);
    EXPECT_EQ(st.wav_files[0], test::sample_name(1));
    EXPECT_EQ(st.wav_files[26], test::sample_name(27));

    EXPECT_EQ(std::tuple(w.stop_buton->isEnabled(), w.pause_buton->isEnabled(),
                         w.rec_buton->isEnabled(), w.Play_buton->isEnabled()),
              std::tuple(false, false, true, true));
    EXPECT_EQ(std::tuple(w.Option1.selected(), w.Option2.selected(), w.Option3.selected(),
                         w.Option5.selected(), w.VScroll1->Value(), w.HScroll1->Value()),
              std::tuple(5, 2, 1, 1, 40, 0));
    EXPECT_EQ(w.Text3->text(), QStringLiteral("0"));
    EXPECT_TRUE(w.Text2->text().isEmpty());
    EXPECT_EQ(w.Option4.button(1)->text().toStdString(), st.option4_captions[0]);
    EXPECT_FALSE(w.Option4.button(2)->text().isEmpty());
    EXPECT_FALSE(w.File2->Visible());
    EXPECT_FALSE(w.File3->Visible());

    // String n's first line runs along y = 26 + 15 (n - 1) to x 795; x 600 is on the board.
    const Surface& p = w.surface(2);
    EXPECT_EQ(p.pixel(600, 26 + 15 * 11), kRed) << "string 12 (marked) was drawn black";
    EXPECT_EQ(p.pixel(600, 26 + 15 * 10), rgb(255, 255, 255));
    EXPECT_EQ(p.pixel(600, 26 + 15 * 4), kRed);
    for (int n = 1; n <= 26; ++n) EXPECT_NE(p.pixel(780, 26 + 15 * (n - 1)), rgb(0, 0, 0)) << n;

    // Each legend row: number in blue, note name in red, key letter in green.
    const Surface& legend = w.surface(10);
    for (int n : {1, 12, 26}) {
        const int top = 2 + 15 * (n - 1);
        SCOPED_TRACE(n);
        EXPECT_TRUE(has_colour(legend, QRect(1, top, 19, 14), rgb(0, 0, 255)));
        EXPECT_FALSE(has_colour(legend, QRect(0, top, 20, 14), kRed));
        EXPECT_TRUE(has_colour(legend, QRect(20, top, 16, 14), kRed));
        EXPECT_TRUE(has_colour(legend, QRect(36, top, 25, 14), kGreen));
        EXPECT_FALSE(has_colour(legend, QRect(62, top, 28, 14), kGreen)) << "one letter only";
    }
    const auto& log = legend.print_log();
    ASSERT_EQ(log.size(), 78u);
    const auto item = [&](int i) {
        return std::tuple(log[i].text.toStdString(), log[i].x, log[i].y, log[i].bold);
    };
    EXPECT_EQ(log[0].text, QStringLiteral("01"));
    EXPECT_EQ(item(33), std::tuple("12", 1, 2 + 15 * 11, false));
    EXPECT_EQ(item(34), std::tuple("A4", 20, 2 + 15 * 11, false));
    EXPECT_EQ(item(35), std::tuple(" S", 36, 2 + 15 * 11, true));
}

// A missing (or wrongly spelled) or damaged workbook ends the program with its message; a
// wrong number of samples is reported with the count and start-up goes on, keeping at most
// the 57 names the table holds.
TEST_F(StartupTest, FolderProblemsAreReported) {
    const std::string missing = "dizek.xls  isimli excell dosyası bulunamadı";
    struct Case {
        const char* what;
        int samples;
        const char* workbook;  // "" none, "!" a damaged one
        bool goes_on;
        std::string message;  // "" the import's own
        int count;
    };
    const Case cases[] = {
        {"no workbook", 27, "", false, missing, 0},
        {"workbook in capital letters", 27, "DIZEK.XLS", false, missing, 0},
        {"damaged workbook", 27, "!", false, "", 0},
        {"26 samples", 26, "dizek.xls", true, kCountMessage + "26", 26},
        {"28 samples", 28, "dizek.xls", true, kCountMessage + "28", 28},
        {"60 samples", 60, "dizek.xls", true, kCountMessage + "60", 57},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const bool damaged = std::string(c.workbook) == "!";
        test::ProgramFolder folder(c.samples, damaged ? "" : c.workbook);
        if (damaged) test::write_file_bytes(folder.path() / "dizek.xls", "not a workbook");
        test::RecordingDialogs shown;
        Program program(shown);
        const StartupOutcome outcome = program.start(folder.headless_options());
        EXPECT_EQ(outcome.goes_on, c.goes_on);
        ASSERT_EQ(shown.shown().size(), 1u);
        std::string message = c.message;
        if (damaged) {
            InstrumentState scratch;
            const auto failure = import_tuning(scratch, folder.path() / "dizek.xls");
            ASSERT_TRUE(failure.has_value());
            message = import_failure_message(*failure);
        }
        EXPECT_EQ(shown.texts()[0], message);
        if (!c.goes_on) {
            EXPECT_NE(outcome.exit_status, 0);
            EXPECT_EQ(program.window(), nullptr);
            EXPECT_EQ(program.splash(), nullptr);
            continue;
        }
        ASSERT_NE(program.window(), nullptr);
        const InstrumentState& st = program.window()->st;
        EXPECT_EQ(st.wav_file_count, c.count);
        EXPECT_EQ(st.wav_files[c.count - 1], test::sample_name(c.count));
        EXPECT_EQ(st.cur_string, 12);
    }
}

TEST_F(StartupTest, SecondInstanceIsRefusedWhileTheFirstRunsAndTheFirstIsUntouched) {
    test::ProgramFolder folder;
    auto first = std::make_unique<Program>(dialogs);
    ASSERT_TRUE(start(*first, folder).goes_on);
    const std::int16_t first_string = first->window()->st.cur_string;

    test::RecordingDialogs second_dialogs;
    auto second = std::make_unique<Program>(second_dialogs);
    const StartupOutcome refused = start(*second, folder);
    EXPECT_FALSE(refused.goes_on);
    EXPECT_EQ(second_dialogs.texts(), std::vector<std::string>{"ORVENA  zaten çalışıyor"});
    EXPECT_EQ(second->window(), nullptr);
    EXPECT_EQ(second->splash(), nullptr);
    ASSERT_NE(first->window(), nullptr);
    EXPECT_EQ(first->window()->st.cur_string, first_string);
    EXPECT_TRUE(dialogs.shown().empty());

    // Once the first has ended, the program starts again.
    test::RecordingDialogs third_dialogs;
    first.reset();
    second = std::make_unique<Program>(third_dialogs);
    EXPECT_TRUE(start(*second, folder).goes_on);
    EXPECT_TRUE(third_dialogs.shown().empty());
}

}  // namespace
}  // namespace orvena
