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

namespace orvena {
namespace {

using test::has_colour;
using test::rgb;
constexpr QRgb kRed = rgb(255, 0, 0), kGreen = rgb(0, 255, 0);

class StartupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::ensure_qt_app();
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
    EXPECT_EQ(
        std::tuple(st.selection.cur_string, st.selection.last_string, st.transport.speed,
                   st.settings.ahenk_index, st.settings.ahenk_shift, st.settings.manual_levers),
        std::tuple(12, 1, 40, 5, 0, true));
    EXPECT_FALSE(st.transport.recording || st.transport.seq_playing || st.selection.show_details);
    EXPECT_EQ(st.build.mandal_max[26], 12);
    EXPECT_GT(st.derived.freq(12, 1), st.derived.freq(12, 0))
        << "the import ran and derived the tables";
    EXPECT_NE(w.timer, nullptr);
    ASSERT_EQ(st.build.wav_file_count, 27);
    EXPECT_EQ(std::pair(st.build.wav_files[0], st.build.wav_files[26]),
              std::pair(test::sample_name(1), test::sample_name(27)));
    EXPECT_EQ(std::tuple(w.stop_buton->isEnabled(), w.pause_buton->isEnabled(),
                         w.rec_buton->isEnabled(), w.Play_buton->isEnabled()),
              std::tuple(false, false, true, true));
    EXPECT_EQ(std::tuple(w.Option1.selected(), w.Option2.selected(), w.Option3.selected(),
                         w.Option5.selected(), w.VScroll1->Value(), w.HScroll1->Value()),
              std::tuple(5, 2, 1, 1, 40, 0));
    EXPECT_EQ(std::pair(w.Text3->text(), w.Text2->text()), std::pair(QString("0"), QString()));
    EXPECT_EQ(w.Option4.button(1)->text().toStdString(), st.build.option4_captions[0]);
    EXPECT_FALSE(w.Option4.button(2)->text().isEmpty());
    EXPECT_FALSE(w.File2->Visible() || w.File3->Visible());

    // String n's first line runs along y = 26 + 15 (n - 1) to x 795; x 600 is on the board.
    const Surface& p = w.surface(2);
    EXPECT_EQ(p.pixel(600, 26 + 15 * 11), kRed) << "string 12 (marked) was drawn black";
    EXPECT_EQ(p.pixel(600, 26 + 15 * 10), rgb(255, 255, 255));
    EXPECT_EQ(p.pixel(600, 26 + 15 * 4), kRed);
    for (int n = 1; n <= 26; ++n) EXPECT_NE(p.pixel(780, 26 + 15 * (n - 1)), rgb(0, 0, 0)) << n;

    // Each legend row: number in blue, note name in red, key letter in bold green.
    const auto& log = w.surface(10).print_log();
    ASSERT_EQ(log.size(), 78u);
    for (int n = 1; n <= 26; ++n) {
        const auto item = [&](int i) {
            const PrintRecord& r = log[static_cast<std::size_t>(3 * (n - 1) + i)];
            return std::tuple(r.text.toStdString(), r.x, r.y, r.colour, r.bold);
        };
        const double y = 2 + 15 * (n - 1);
        char number[3];
        std::snprintf(number, sizeof number, "%02d", n);
        EXPECT_EQ(item(0), std::tuple(number, 1, y, rgb(0, 0, 255), false));
        EXPECT_EQ(item(1), std::tuple(st.build.note_names[n], 20, y, kRed, false));
        EXPECT_EQ(item(2), std::tuple(st.build.key_names[n], 36, y, kGreen, true));
    }
    EXPECT_EQ(std::tuple(st.build.note_names[12], st.build.key_names[12]), std::tuple("A4", " S"));
    EXPECT_TRUE(has_colour(w.surface(10), QRect(36, 2 + 15 * 11, 25, 14), kGreen)) << "inked";
}

// On screen the splash is painted before the load starts (a message of the load finds it
// painted, with the event loop not yet running) and stays until the main window shows.
TEST_F(StartupTest, SplashIsOnScreenFromBeforeTheLoadUntilTheWindowShows) {
    test::ProgramFolder folder(26);  // the load's count message comes after the tuning import
    Program program(dialogs);
    struct Watch : QObject {
        Program* program = nullptr;
        int splash_paints = 0;
        bool splash_up_at_window_show = false;
        bool eventFilter(QObject* target, QEvent* e) override {
            frmSplash* splash = program->splash();
            if (splash != nullptr && target == splash && e->type() == QEvent::Paint)
                ++splash_paints;
            if (target == program->window() && e->type() == QEvent::Show)
                splash_up_at_window_show = splash != nullptr && splash->isVisible();
            return false;
        }
    } watch;
    watch.program = &program;
    qApp->installEventFilter(&watch);
    int paints_at_message = -1;
    dialogs.while_shown = [&](const std::string&) { paints_at_message = watch.splash_paints; };
    ProgramOptions options = folder.headless_options();
    options.show_windows = true;
    ASSERT_TRUE(program.start(options).goes_on);
    qApp->removeEventFilter(&watch);
    EXPECT_GT(paints_at_message, 0) << "the splash was not painted before the load";
    EXPECT_TRUE(watch.splash_up_at_window_show);
    EXPECT_EQ(program.splash(), nullptr) << "gone once the window shows";
    program.window()->hide();
}

// A missing (or wrongly spelled) or damaged workbook ends the program with its message; a
// wrong number of samples is reported with the count and start-up goes on, keeping at most
// the 57 names the table holds.
TEST_F(StartupTest, FolderProblemsAreReported) {
    const std::string missing = "dizek.xls  isimli excell dosyası bulunamadı";
    struct Case {
        const char* what;
        int samples;
        const char* workbook;  // "" none, "!" one that is not a workbook
        bool goes_on;
        std::string message;
        int count;
    };
    // clang-format off
    const Case cases[] = {
        {"no workbook", 27, "", false, missing, 0},
        {"workbook in capital letters", 27, "DIZEK.XLS", false, missing, 0},
        {"damaged workbook", 27, "!", false, "Excel yüklü değil veya dizek dosyası yok\r\nexcel.exe "
         "or dizek not found\r\ndizek.xls bir Excel 97-2003 çalışma kitabı (.xls) değil", 0},
        {"26 samples", 26, "dizek.xls", true, kCountMessage + "26", 26},
        {"28 samples", 28, "dizek.xls", true, kCountMessage + "28", 28},
        {"60 samples", 60, "dizek.xls", true, kCountMessage + "60", 57},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const bool damaged = std::string(c.workbook) == "!";
        test::ProgramFolder folder(c.samples, damaged ? "" : c.workbook);
        if (damaged) test::write_file_bytes(folder.path() / "dizek.xls", "not a workbook");
        test::RecordingDialogs shown;
        Program program(shown);
        const StartupOutcome outcome = program.start(folder.headless_options());
        EXPECT_EQ(outcome.goes_on, c.goes_on);
        EXPECT_EQ(shown.texts(), std::vector<std::string>{c.message});
        if (!c.goes_on) {
            EXPECT_TRUE(outcome.exit_status != 0 && !program.window() && !program.splash());
            continue;
        }
        ASSERT_NE(program.window(), nullptr);
        const InstrumentState& st = program.window()->st;
        EXPECT_EQ(st.build.wav_file_count, c.count);
        EXPECT_EQ(st.build.wav_files[c.count - 1], test::sample_name(c.count));
        EXPECT_EQ(st.selection.cur_string, 12);
    }
}

// A second start on the same folder is refused with its message and leaves the first as it
// was; once the first has ended, the program starts again.
TEST_F(StartupTest, SecondInstanceIsRefusedWhileTheFirstRuns) {
    test::ProgramFolder folder;
    auto first = std::make_unique<Program>(dialogs);
    ASSERT_TRUE(start(*first, folder).goes_on);
    first->window()->st.settings.mandal_pos[3] = 2;
    test::RecordingDialogs second_dialogs;
    auto second = std::make_unique<Program>(second_dialogs);
    EXPECT_FALSE(start(*second, folder).goes_on);
    EXPECT_EQ(second_dialogs.texts(), std::vector<std::string>{"ORVENA  zaten çalışıyor"});
    EXPECT_TRUE(second->window() == nullptr && second->splash() == nullptr);
    EXPECT_EQ(first->window()->st.settings.mandal_pos[3], 2);
    first.reset();
    second = std::make_unique<Program>(second_dialogs);
    EXPECT_TRUE(start(*second, folder).goes_on);
    EXPECT_TRUE(dialogs.shown().empty());
    EXPECT_EQ(second_dialogs.shown().size(), 1u);
}

}  // namespace
}  // namespace orvena
