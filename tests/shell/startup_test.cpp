// Start-up on a program folder made by the test: the state, drawing and key legend it leaves,
// the splash, and the messages for a bad workbook, a wrong number of samples and a second copy;
// the window's layout, centred on the screen; the slanted-edge lever numbers written and
// erased inside their boxes and covered by no control.

#include <QPushButton>
#include <QRadioButton>
#include <QRegion>

#include <tuple>

#include "display/diyagonal.h"
#include "display/layout.h"
#include "started_window.h"
#include "support/pictures.h"

namespace orvena {
namespace {

using test::control;
using test::rgb;
constexpr QRgb kRed = rgb(255, 0, 0), kGreen = rgb(0, 255, 0);

class StartupTest : public ::testing::Test {
  protected:
    void SetUp() override { test::ensure_qt_app(); }
    void TearDown() override { std::filesystem::current_path(saved_cwd_); }
    std::filesystem::path saved_cwd_ = std::filesystem::current_path();
    test::RecordingDialogs dialogs;
};

using StartedProgram = test::StartedWindow;

TEST_F(StartedProgram, LeavesTheStartValuesTheDrawingAndTheKeyLegend) {
    EXPECT_TRUE(dialogs_.shown().empty());
    EXPECT_EQ(program_.splash(), nullptr) << "the splash is unloaded at the end of the load";
    arayüz& w = *w_;
    const InstrumentState& st = w.state();
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::canonical(folder_.path()));
    EXPECT_EQ(
        std::tuple(st.selection.cur_string, st.selection.last_string, st.transport.speed,
                   st.settings.ahenk_index, st.settings.ahenk_shift, st.settings.manual_levers,
                   st.transport.recording || st.transport.seq_playing || st.selection.show_details),
        std::tuple(12, 1, 40, 5, 0, true, false));
    EXPECT_EQ(st.build.mandal_max[26], 12);
    EXPECT_GT(st.derived.freq(12, 1), st.derived.freq(12, 0))
        << "the import ran and derived the tables";
    // The option checked in each array; 0 when none is.
    const auto checked = [&w](const std::string& array, int count) {
        for (int i = 1; i <= count; ++i)
            if (control<QRadioButton>(w, (array + "_" + std::to_string(i)).c_str()).isChecked())
                return i;
        return 0;
    };
    EXPECT_EQ(std::tuple(checked("Option1", 8), checked("Option2", 3), checked("Option3", 3),
                         checked("Option5", 2), control<ScrollBar>(w, "VScroll1").Value(),
                         control<ScrollBar>(w, "HScroll1").Value()),
              std::tuple(5, 2, 1, 1, 40, 0));
    // Each control's text, "-" after one not usable yet; "oktav" shows the workbook's H30, T30.
    QString shown;
    for (const char* name :
         {"Label36", "Check2", "Command8", "Command9", "Command10", "Command1", "rec_buton",
          "Play_buton", "pause_buton", "stop_buton", "aç_kapa_buton", "Option3_1", "Option3_2",
          "Option3_3", "Option4_1", "Option4_2", "Text3", "Text2"}) {
        const QWidget& c = control<QWidget>(w, name);
        shown += c.property("text").toString() + (c.isEnabled() ? "|" : "-|");
    }
    EXPECT_EQ(shown,
              QString::fromUtf8("^  1 tel yukarı \n <-- mandal indir                    "
                                "mandal kaldır -->\nv  1 tel aşağı|detay  göster|AKORD RESET|"
                                "MANDAL RESET|Ç  I  K|X|R|>|I I-|O-|>|çalgı|şartlı|dosya|"
                                "alt oktav|üst oktav|0||"));
    EXPECT_FALSE(control<FileListBox>(w, "File1").Visible() ||
                 control<FileListBox>(w, "File2").Visible() ||
                 control<FileListBox>(w, "File3").Visible());
    // String n's first line runs along y = 26 + 15 (n - 1); string 12 is marked, 5 is red.
    const Surface& p = control<PictureBox>(w, "Picture2").surface();
    EXPECT_EQ(std::tuple(p.pixel(600, 26 + 15 * 11), p.pixel(600, 26 + 15 * 10),
                         p.pixel(600, 26 + 15 * 4)),
              std::tuple(kRed, rgb(255, 255, 255), kRed));
    // Each legend row: number in blue, note name in red, key letter in bold green.
    const auto& log = control<PictureBox>(w, "Picture10").surface().print_log();
    ASSERT_EQ(log.size(), 78u);
    for (int n = 1; n <= 26; ++n) {
        const std::size_t i = 3 * static_cast<std::size_t>(n - 1);
        const double y = 2 + 15 * (n - 1);
        EXPECT_EQ(log[i].text.toInt(), n);
        EXPECT_EQ(std::tuple(log[i].x, log[i].y, log[i].colour, log[i + 1].x, log[i + 1].colour,
                             log[i + 2].x, log[i + 2].y, log[i + 2].colour, log[i + 2].bold),
                  std::tuple(1, y, rgb(0, 0, 255), 20, kRed, 36, y, kGreen, true))
            << n;
    }
    EXPECT_EQ(std::tuple(log[0].text, log[34].text, log[35].text),
              std::tuple(QString("01"), QString("A4"), QString(" S")));
}

// On screen the splash is painted before the load (a message of the load finds it painted)
// and stays until the main window shows; both are centred on the screen.
TEST_F(StartupTest, SplashIsOnScreenFromBeforeTheLoadUntilTheWindowShows) {
    test::ProgramFolder folder(26);  // the load's count message comes after the tuning import
    Program program(dialogs);
    struct Watch : QObject {
        Program* program = nullptr;
        int splash_paints = 0;
        QRect splash_up_at_window_show;  // empty when it is not up
        bool eventFilter(QObject* target, QEvent* e) override {
            frmSplash* splash = program->splash();
            if (splash != nullptr && target == splash && e->type() == QEvent::Paint)
                ++splash_paints;
            if (target == program->window() && e->type() == QEvent::Show && splash != nullptr &&
                splash->isVisible())
                splash_up_at_window_show = splash->frameGeometry();
            return false;
        }
    } watch;
    watch.program = &program;
    qApp->installEventFilter(&watch);
    int paints_at_message = -1;
    dialogs.while_shown = [&](const std::string&) { paints_at_message = watch.splash_paints; };
    ProgramOptions options = folder.headless_options();
    options.show_windows = true;
    options.screen_pixels = QSize(1920, 1080);  // 28800 x 16200 twips; the window 14000 x 9400
    ASSERT_TRUE(program.start(options).goes_on);
    qApp->removeEventFilter(&watch);
    EXPECT_GT(paints_at_message, 0) << "the splash was not painted before the load";
    EXPECT_LE((watch.splash_up_at_window_show.center() - QPoint(960, 540)).manhattanLength(), 2);
    EXPECT_EQ(program.window()->frameGeometry().topLeft(), QPoint(493, 227));  // 7400, 3400 twips
    EXPECT_EQ(program.splash(), nullptr) << "gone once the window shows";
    program.window()->hide();
}

// A missing, misspelt or damaged workbook, or a copy running on the folder, ends the program with
// its message; a wrong sample count is reported and start-up goes on with at most 57 names.
TEST_F(StartupTest, FolderProblemsAreReported) {
    const std::string missing = "dizek.xls  isimli excell dosyası bulunamadı";
    const std::string count =
        "ses dosyaları sayısı uygun değil, program düzgün çalışmayabilir"
        "\r\nkapatıp  dosya sayınızı kontrol edin    ";
    // Samples, the workbook ("" none, "!" one that is not a workbook), the message, the names
    // kept (0: the program ends), whether another copy runs on the folder.
    const std::tuple<int, const char*, std::string, int, bool> cases[] = {
        {27, "", missing, 0, false},
        {27, "DIZEK.XLS", missing, 0, false},
        {27, "!",
         "Excel yüklü değil veya dizek dosyası yok\r\nexcel.exe or dizek not found\r\n"
         "dizek.xls bir Excel 97-2003 çalışma kitabı (.xls) değil",
         0, false},
        {26, "dizek.xls", count + "26", 26, false},
        {28, "dizek.xls", count + "28", 28, false},
        {60, "dizek.xls", count + "60", 57, false},
        {27, "dizek.xls", "ORVENA  zaten çalışıyor", 0, true}};
    for (const auto& [samples, workbook, message, name_count, running] : cases) {
        SCOPED_TRACE(message);
        const bool damaged = std::string(workbook) == "!";
        test::ProgramFolder folder(samples, damaged ? "" : workbook);
        if (damaged) test::write_file_bytes(folder.path() / "dizek.xls", "not a workbook");
        Program first(dialogs);
        ASSERT_TRUE(!running || first.start(folder.headless_options()).goes_on);
        test::RecordingDialogs shown;
        Program program(shown);
        const StartupOutcome outcome = program.start(folder.headless_options());
        EXPECT_EQ(outcome.goes_on, name_count > 0);
        EXPECT_EQ(shown.texts(), std::vector<std::string>{message});
        if (name_count == 0) {
            EXPECT_TRUE(!program.window() && !program.splash());
            EXPECT_EQ(outcome.exit_status != 0, !running) << "a second copy ends quietly";
            continue;
        }
        ASSERT_NE(program.window(), nullptr);
        const InstrumentState& st = program.window()->state();
        EXPECT_EQ(st.build.wav_file_count, name_count);
        EXPECT_EQ(st.build.wav_files[name_count - 1], "tel" + std::to_string(name_count) + ".wav");
        EXPECT_EQ(st.selection.cur_string, 12);
    }
}

TEST(Layout, WidgetsStandWhereTheLayoutPutsThem) {
    test::ensure_qt_app();
    test::RecordingDialogs dialogs;
    arayüz w(dialogs);
    w.arayüzyerleşimi(1024 * 15.0, 768 * 15.0);
    const std::pair<const char*, QRect> placed[] = {
        {"Picture2", {11, 63, 904, 420}}, {"Picture10", {808, 19, 90, 396}},
        {"Picture1", {-130, 0, 485, 60}}, {"Picture3", {0, 160, 140, 132}},
        {"Picture6", {0, 60, 239, 100}},  {"Picture5", {239, 60, 57, 100}},
        {"Label36", {366, 10, 217, 44}},  {"Frame3", {12, 4, 337, 52}},
        {"Frame7", {600, 4, 65, 52}},     {"Frame10", {682, 4, 233, 49}},
        {"Frame4", {11, 490, 129, 100}},  {"Frame1", {158, 490, 169, 100}},
        {"Frame5", {345, 490, 233, 100}}, {"Frame2", {596, 490, 320, 100}},
        {"File2", {350, 150, 150, 200}},  {"File3", {520, 150, 150, 200}},
        {"Frame9", {4, 16, 72, 80}},      {"Option3_3", {6, 56, 64, 20}},  // "arızalar"
        {"Command9", {182, 14, 84, 30}},  {"Picture8", {82, 26, 12, 12}},
        {"Picture7", {128, 62, 56, 24}},  {"Command1", {917, 8, 15, 15}},  // beside "oktav"
        {"Option1_5", {116, 16, 106, 20}}};  // the pitch levels: two columns of four
    for (const auto& [name, rect] : placed)
        EXPECT_EQ(control<QWidget>(w, name).geometry(), rect) << name;
    EXPECT_EQ(control<QWidget>(w, "Picture10").parentWidget(), &control<QWidget>(w, "Picture2"));
    EXPECT_EQ(std::pair(control<QWidget>(w, "Frame11").pos(), control<QWidget>(w, "Check1").pos()),
              std::pair(QPoint(861, -6), QPoint(2, 377)));
    EXPECT_EQ(w.frameGeometry().topLeft(), QPoint(45, 71));
    // On another screen the drawing's place in the window does not change.
    EXPECT_NEAR(arayüzyerleşimi_geometry(1920 * 15.0, 1080 * 15.0).Picture2.left, 10.667, 0.001);
    EXPECT_EQ(std::pair(w.windowTitle(), frmSplash().Label2->text()),  // and the splash's line
              std::pair(QString("O R V E N A"),
                        QString::fromUtf8("Y  ü  k  l  e  n  i  y  o  r . . . . . . . . ")));
    const ScrollBar &v = control<ScrollBar>(w, "VScroll1"), &h = control<ScrollBar>(w, "HScroll1");
    EXPECT_EQ(std::tuple(v.minimum(), v.maximum(), v.singleStep(), v.pageStep(), h.minimum(),
                         h.maximum()),
              std::tuple(30, 60, 2, 5, -8, 12));
}

// Sets every string's lever to `pos`, or the nearest one it has, as the player does with a
// makam file: written, then chosen from the makam list.
void load_levers(arayüz& w, const std::filesystem::path& folder, int pos) {
    const InstrumentBuild& build = w.state().build;
    std::string levers;
    for (int s = 1; s <= kStringCount; ++s)
        levers +=
            std::to_string(std::clamp<int>(pos, build.mandal_min[s], build.mandal_max[s])) + "\r\n";
    test::write_file_bytes(folder / "mandallar.mkm", levers);
    test::write_file_bytes(folder / "a.mkx", "");  // not a makam file: not listed
    auto& list = control<FileListBox>(w, "File2");
    list.Refresh();
    control<QPushButton>(w, "open_buton").click();
    list.click_entry(0);
}

// The slanted-edge numbers are written and erased inside their boxes, never over the outline, and
// each can be read: no control on the drawing (the check box at its bottom left too) covers one.
TEST_F(StartedProgram, SlantedEdgeNumbersStayInTheirBoxesUncovered) {
    Surface& instrument = control<PictureBox>(*w_, "Picture2").surface();
    const QImage untouched = instrument.image().copy();
    QRegion boxes;  // where the 26 diagonal numbers are written
    for (int n = 1; n <= kStringCount; ++n) boxes += diagonal_box(n);
    auto& numbers_shown = control<CheckBox>(*w_, "Check1");
    numbers_shown.click();
    for (int pos : {12, 9, -8}) {  // -8: each string's lowest
        load_levers(*w_, folder_.path(), pos);
        ASSERT_EQ(std::pair(w_->state().settings.mandal_pos[26], dialogs_.texts().empty()),
                  std::pair(std::int16_t(pos), true));
        for (int y = 0; y < instrument.height(); ++y)
            for (int x = 0; x < instrument.width(); ++x) {
                const QRgb was = untouched.pixel(x, y) & 0xFFFFFFu;  // black: the outline
                if (was == 0x000000u || !boxes.contains(QPoint(x, y))) {
                    ASSERT_EQ(instrument.pixel(x, y), was) << x << "," << y << " by " << pos;
                }
            }
    }
    const QImage shown = control<PictureBox>(*w_, "Picture2").grab().toImage();
    for (int n = 1; n <= kStringCount; ++n) {
        const QRgb ink = n <= 7 ? 0xC0C000u : 0xCE1E0Au;  // olive, else red-brown
        const int printed = test::count_colour(instrument, diagonal_box(n), ink);
        EXPECT_GT(printed, 0);
        EXPECT_EQ(test::count_colour(shown, diagonal_box(n), 0xFF000000u | ink), printed) << n;
    }
    numbers_shown.click();
    EXPECT_EQ(test::differences(instrument, untouched), "") << "cleared boxes";
}

}  // namespace
}  // namespace orvena
