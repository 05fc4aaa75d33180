// Start-up on a program folder made by the test: the state it leaves, the drawing and the
// key legend, and the messages for a missing workbook, a wrong number of samples and a
// second instance.

#include <gtest/gtest.h>

#include <QPushButton>

#include "shell/program.h"
#include "shell_test_support.h"
#include "support/recording_dialogs.h"
#include "tuning/tablo_oku.h"

namespace orvena {
namespace {

// Colours as a surface's pixel() gives them: 24-bit RGB.
constexpr QRgb rgb(int r, int g, int b) {
    return qRgb(r, g, b) & 0xFFFFFFu;
}

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

TEST_F(StartupTest, LeavesTheStartValuesWithString12SelectedAndNoMessage) {
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
    EXPECT_EQ(st.cur_string, 12);
    EXPECT_EQ(st.last_string, 1);
    EXPECT_EQ(st.speed, 40);
    EXPECT_TRUE(st.manual_levers);
    EXPECT_EQ(st.ahenk_index, 5);
    EXPECT_EQ(st.ahenk_shift, 0);
    EXPECT_FALSE(st.recording || st.seq_playing || st.rec_first_event || st.show_details);
    EXPECT_EQ(st.marked_string_phase, 5);
    EXPECT_EQ(st.mandal_min[1], -5);
    EXPECT_EQ(st.mandal_max[4], 8);
    EXPECT_EQ(st.mandal_min[7], -7);
    EXPECT_EQ(st.mandal_max[26], 12);
    EXPECT_EQ(st.string_x[26], 640 - 17 * 26);
    EXPECT_EQ(st.note_names[12], "A4");
    EXPECT_EQ(st.key_names[12], " S");
    EXPECT_NE(st.sample_rate(12, 0), 0) << "the import ran and derived the rates";
    EXPECT_GT(st.freq(12, 1), st.freq(12, 0));
    EXPECT_NE(w.timer, nullptr);

    ASSERT_EQ(st.wav_file_count, 27);
    EXPECT_EQ(st.wav_files[0], test::sample_name(1));
    EXPECT_EQ(st.wav_files[26], test::sample_name(27));

    EXPECT_FALSE(w.stop_buton->isEnabled());
    EXPECT_FALSE(w.pause_buton->isEnabled());
    EXPECT_TRUE(w.rec_buton->isEnabled());
    EXPECT_TRUE(w.Play_buton->isEnabled());
    EXPECT_EQ(w.Option1.selected(), 5);
    EXPECT_EQ(w.Option2.selected(), 2);
    EXPECT_EQ(w.Option3.selected(), 1);
    EXPECT_EQ(w.Option5.selected(), 1);
    EXPECT_EQ(w.VScroll1->Value(), 40);
    EXPECT_EQ(w.HScroll1->Value(), 0);
    EXPECT_EQ(w.Text3->text(), QStringLiteral("0"));
    EXPECT_TRUE(w.Text2->text().isEmpty());
    EXPECT_EQ(w.Option4.button(1)->text().toStdString(), st.option4_captions[0]);
    EXPECT_FALSE(w.Option4.button(2)->text().isEmpty());
    EXPECT_FALSE(w.File2->Visible());
    EXPECT_FALSE(w.File3->Visible());
}

TEST_F(StartupTest, InstrumentIsDrawnWithNoStringSelected) {
    test::ProgramFolder folder;
    Program program(dialogs);
    ASSERT_TRUE(start(program, folder).goes_on);
    const Surface& p = program.window()->surface(2);
    // String n's first line runs along y = 26 + 15 (n - 1) to x 795; x 600 is on the board.
    const QRgb red = rgb(255, 0, 0);
    const QRgb white = rgb(255, 255, 255);
    EXPECT_EQ(p.pixel(600, 26 + 15 * 11), red) << "string 12 (marked) was drawn black";
    EXPECT_EQ(p.pixel(600, 26 + 15 * 10), white);
    EXPECT_EQ(p.pixel(600, 26 + 15 * 4), red);
    for (int n = 1; n <= 26; ++n) EXPECT_NE(p.pixel(780, 26 + 15 * (n - 1)), rgb(0, 0, 0)) << n;
}

// True when some pixel of the rectangle has the colour.
bool has_colour(const Surface& s, int x1, int y1, int x2, int y2, QRgb colour) {
    for (int y = y1; y <= y2; ++y) {
        for (int x = x1; x <= x2; ++x) {
            if (s.pixel(x, y) == colour) return true;
        }
    }
    return false;
}

TEST_F(StartupTest, KeyLegendRowHoldsNumberNoteAndKeyInTheirColours) {
    test::ProgramFolder folder;
    Program program(dialogs);
    ASSERT_TRUE(start(program, folder).goes_on);
    const Surface& legend = program.window()->surface(10);
    const QRgb blue = rgb(0, 0, 255), red = rgb(255, 0, 0), green = rgb(0, 255, 0);
    for (int n : {1, 12, 26}) {
        const int top = 2 + 15 * (n - 1);
        const int bottom = top + 13;
        SCOPED_TRACE(n);
        EXPECT_TRUE(has_colour(legend, 1, top, 19, bottom, blue));
        EXPECT_FALSE(has_colour(legend, 0, top, 19, bottom, red));
        EXPECT_TRUE(has_colour(legend, 20, top, 35, bottom, red));
        EXPECT_TRUE(has_colour(legend, 36, top, 60, bottom, green));
        EXPECT_FALSE(has_colour(legend, 62, top, 89, bottom, green)) << "one letter only";
    }
    // What was printed, where: the texts and places of row 12.
    const auto& log = legend.print_log();
    ASSERT_EQ(log.size(), 78u);
    EXPECT_EQ(log[33].text, QStringLiteral("12"));
    EXPECT_EQ(log[33].x, 1);
    EXPECT_EQ(log[33].y, 2 + 15 * 11);
    EXPECT_EQ(log[34].text, QStringLiteral("A4"));
    EXPECT_EQ(log[34].x, 20);
    EXPECT_EQ(log[35].text, QStringLiteral(" S"));
    EXPECT_EQ(log[35].x, 36);
    EXPECT_TRUE(log[35].bold);
    EXPECT_FALSE(log[34].bold);
    EXPECT_EQ(log[0].text, QStringLiteral("01"));
}

TEST_F(StartupTest, MissingWorkbookEndsTheProgramWithItsMessage) {
    test::ProgramFolder folder(27, "");
    Program program(dialogs);
    const StartupOutcome outcome = start(program, folder);
    EXPECT_FALSE(outcome.goes_on);
    EXPECT_NE(outcome.exit_status, 0);
    EXPECT_EQ(dialogs.texts(),
              std::vector<std::string>{"dizek.xls  isimli excell dosyası bulunamadı"});
    EXPECT_EQ(program.window(), nullptr);
    EXPECT_EQ(program.splash(), nullptr);
}

TEST_F(StartupTest, WorkbookInCapitalLettersCountsAsMissing) {
    test::ProgramFolder folder(27, "DIZEK.XLS");
    Program program(dialogs);
    EXPECT_FALSE(start(program, folder).goes_on);
    EXPECT_EQ(dialogs.texts(),
              std::vector<std::string>{"dizek.xls  isimli excell dosyası bulunamadı"});
}

TEST_F(StartupTest, DamagedWorkbookIsReportedAndEndsTheProgram) {
    test::ProgramFolder folder(27, "");
    test::write_file_bytes(folder.path() / "dizek.xls", "not a workbook");
    Program program(dialogs);
    const StartupOutcome outcome = start(program, folder);
    EXPECT_FALSE(outcome.goes_on);
    EXPECT_NE(outcome.exit_status, 0);
    ASSERT_EQ(dialogs.shown().size(), 1u);
    InstrumentState scratch;
    const auto failure = import_tuning(scratch, folder.path() / "dizek.xls");
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(dialogs.texts()[0], import_failure_message(*failure));
}

TEST_F(StartupTest, WrongSampleCountIsReportedWithTheCountAndStartUpGoesOn) {
    for (int count : {26, 28}) {
        SCOPED_TRACE(count);
        test::RecordingDialogs shown;
        test::ProgramFolder folder(count);
        Program program(shown);
        const StartupOutcome outcome = program.start(folder.headless_options());
        EXPECT_TRUE(outcome.goes_on);
        EXPECT_EQ(shown.texts(), std::vector<std::string>{kCountMessage + std::to_string(count)});
        ASSERT_NE(program.window(), nullptr);
        EXPECT_EQ(program.window()->st.wav_file_count, count);
        EXPECT_EQ(program.window()->st.cur_string, 12);
    }
}

TEST_F(StartupTest, MoreSamplesThanTheNameTableHoldsKeepsTheFirst57) {
    test::ProgramFolder folder(60);
    Program program(dialogs);
    ASSERT_TRUE(start(program, folder).goes_on);
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{kCountMessage + "60"});
    const InstrumentState& st = program.window()->st;
    EXPECT_EQ(st.wav_file_count, 57);
    EXPECT_EQ(st.wav_files[56], test::sample_name(57));
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
