// The window's background menu: tuning systems (retune at once, Ctrl+T swaps the last two, kept
// for the next run, --tuning overrides for one run) and the WAV, MIDI, MusicXML exports' dialogs.

#include <QAction>
#include <QFileDialog>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressDialog>
#include <QTimer>

#include <cmath>

#include "presets/tuning_settings.h"
#include "shell/export_dialogs.h"
#include "started_window.h"

namespace orvena {
namespace {

namespace fs = std::filesystem;

// Sets an environment variable for the test's time.
struct ScopedEnv {
    ScopedEnv(const char* n, const std::string& v) : name(n), old(qgetenv(n)) {
        qputenv(n, v.c_str());
    }
    ~ScopedEnv() { had ? qputenv(name, old) : qunsetenv(name); }
    const char* name;
    QByteArray old;
    bool had = qEnvironmentVariableIsSet(name);
};

class WindowMenu : public test::StartedWindow {
  protected:
    ProgramOptions options() override {
        fs::create_directory(folder_.path() / "akort");
        fs::copy(test::program_dir() / "akort" / "12-TET.scl", folder_.path() / "akort");
        ProgramOptions o = folder_.headless_options();
        o.sound.settings_file = folder_.path() / "orvena.ini";
        write_tuning_settings(o.sound.settings_file,
                              {lost_saved_ ? "akort/yok.scl" : "akort/12-TET.scl", "dizek.xls"});
        if (bad_file_) {
            test::write_file_bytes(folder_.path() / "bozuk.scl", "bozuk\n2\n1/0\n2/1\n");
            o.tuning_file = folder_.path() / "bozuk.scl";
        }
        return o;
    }
    // The rate the S key plays string 12 (A4) at: the one its sample's header holds.
    std::int32_t plucked_rate() {
        QKeyEvent down(QEvent::KeyPress, Qt::Key_S, Qt::NoModifier);
        QApplication::sendEvent(w_, &down);
        QKeyEvent up(QEvent::KeyRelease, Qt::Key_S, Qt::NoModifier);
        QApplication::sendEvent(w_, &up);
        return test::header_rate(folder_.path() / w_->state().build.wav_files[12]);
    }
    // Ctrl+T as the keyboard gives it to the active window: the shortcut, no string for the letter.
    void ctrl_t() {
        w_->show();
        w_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w_));
        QTest::keyPress(w_, Qt::Key_T, Qt::ControlModifier);
        EXPECT_FALSE(w_->sound().alias_open("A5")) << "the T key's string sounded";
        QTest::keyRelease(w_, Qt::Key_T, Qt::ControlModifier);
    }
    void SetUp() override {
        test::StartedWindow::SetUp();
        fs::create_directory(home_ / "Music");
        test::write_file_bytes(folder_.path() / "ezgi.ses", "0,8,3,0,0,0,0,0,0,0\r\n");
        test::write_file_bytes(folder_.path() / "kayıt.txt", " 12 0 300\r\n");  // a recording
    }
    struct Answers {
        std::vector<QStringList> offered;  // what each list question offered
        QString folder, suggested;         // where the file dialog opened, the name it offered
    };
    // Triggers the entry, answering the list questions with `picks` ("Vazgeç" cancels) and the
    // file dialog with `file`, else its suggested name.
    Answers run_entry(const QString& object_name, const std::vector<QString>& picks,
                      const fs::path& file = {}) {
        QAction* entry = w_->findChild<QAction*>(object_name);
        EXPECT_TRUE(entry != nullptr && w_->actions().contains(entry)) << object_name.toStdString();
        return run(entry, picks, file);
    }
    Answers run(QAction* entry, const std::vector<QString>& picks, const fs::path& file = {}) {
        Answers seen;
        std::size_t next = 0;
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == nullptr || !modal->isVisible()) return;
            if (auto* input = qobject_cast<QInputDialog*>(modal)) {
                seen.offered.push_back(input->comboBoxItems());
                if (next < picks.size() && picks[next] == "Vazgeç") return input->reject();
                if (next < picks.size()) input->setTextValue(picks[next++]);
                input->accept();
            } else if (auto* files = qobject_cast<QFileDialog*>(modal)) {
                seen.folder = files->directory().absolutePath();
                if (auto* name = files->findChild<QLineEdit*>()) seen.suggested = name->text();
                if (!file.empty()) files->selectFile(QString::fromStdString(file.string()));
                QMetaObject::invokeMethod(files, "accept");
            }
        });
        answer.start(10);
        if (entry != nullptr) entry->trigger();
        return seen;
    }
    test::TempDir home_;
    const ScopedEnv home_env_{"HOME", home_.path().string()};
    const ScopedEnv config_env_{"XDG_CONFIG_HOME", (home_ / ".config").string()};
    bool bad_file_ = false;    // --tuning names a broken file
    bool lost_saved_ = false;  // the system kept from the last run is gone
};

// Started in the system kept from the run before; the menu and Ctrl+T retune at once.
TEST_F(WindowMenu, StartsInTheKeptSystemAndTheMenuAndCtrlTRetuneAtOnce) {
    auto* menu = &test::control<QMenu>(*w_, "tuning_menu");
    emit menu->aboutToShow();
    EXPECT_TRUE(w_->actions().contains(menu->menuAction()));
    QStringList entries;
    for (QAction* a : menu->actions())
        if (!a->isSeparator()) entries << a->text();
    ASSERT_EQ(entries.join('|'),
              QString::fromUtf8("dizek.xls (çalışma kitabı)|12-TET.scl|Başka bir Scala dosyası…"));
    EXPECT_TRUE(menu->actions()[1]->isChecked());
    // The workbook's A4: its sample's pitch, 1200 * 59 / 79 cents; 12-TET's A4: 900 cents.
    const std::int32_t workbook_rate = 44100;
    const auto tet_rate = static_cast<std::int32_t>(
        std::lround(44100.0 * std::exp2((900.0 - 1200.0 * 59 / 79) / 1200.0)));
    EXPECT_EQ(plucked_rate(), tet_rate);
    const QLabel& shown = test::control<QLabel>(*w_, "tuning_name");
    EXPECT_EQ(std::pair(shown.text(), shown.toolTip()),
              std::pair(QStringLiteral("akort:\n12-TET"), QStringLiteral("Akort sistemi: 12-TET")));
    menu->actions()[0]->trigger();
    EXPECT_EQ(plucked_rate(), workbook_rate);
    EXPECT_EQ(shown.text(), QStringLiteral("akort:\ndizek.xls"));
    ctrl_t();
    EXPECT_EQ(plucked_rate(), tet_rate);
    ctrl_t();
    EXPECT_EQ(plucked_rate(), workbook_rate);
    EXPECT_TRUE(dialogs_.texts().empty());
    const TuningSettings kept = read_tuning_settings(folder_.path() / "orvena.ini");
    EXPECT_EQ(std::pair(kept.system, kept.previous),
              std::pair(std::string("dizek.xls"), std::string("akort/12-TET.scl")));
}

// A system that does not load at start-up (named on the command line, or kept from the last run)
// is told once and the workbook plays; orvena.ini keeps what it held, Ctrl+T goes to the kept
// previous one. Rows: a name, whether --tuning names a broken file, whether the kept system is
// gone; parts of the one message, orvena.ini's system afterwards and the system Ctrl+T goes to.
using StartProblem =
    std::tuple<const char*, bool, bool, std::vector<std::string>, const char*, const char*>;

// clang-format off
const StartProblem kStartProblems[] = {
    {"bad_command_line_file", true, false,
     {"\"bozuk.scl\", satır 3: \"1/0\" bir oran değil; paydası sıfır"},
     "akort/12-TET.scl", "12-TET"},
    {"kept_system_gone", false, true,
     {"Son seçilen akort sistemi yüklenemedi; çalışma kitabının akordu çalınıyor.\r\n", "yok.scl"},
     "akort/yok.scl", "dizek.xls"},
};
// clang-format on

class WindowTuningProblem : public WindowMenu, public testing::WithParamInterface<StartProblem> {
  protected:
    WindowTuningProblem() {
        bad_file_ = std::get<1>(GetParam()), lost_saved_ = std::get<2>(GetParam());
    }
};

TEST_P(WindowTuningProblem, IsToldOnceAndTheWorkbookPlays) {
    const auto& [name, bad_file, lost_saved, said, kept, after_ctrl_t] = GetParam();
    ASSERT_EQ(dialogs_.texts().size(), 1u);
    for (const std::string& part : said)
        EXPECT_NE(dialogs_.texts()[0].find(part), std::string::npos) << dialogs_.texts()[0];
    EXPECT_EQ(w_->state().tables.name, "dizek.xls");
    EXPECT_EQ(read_tuning_settings(folder_.path() / "orvena.ini").system, kept);
    ctrl_t();
    EXPECT_EQ(w_->state().tables.name, after_ctrl_t);
}

INSTANTIATE_TEST_SUITE_P(WindowMenu, WindowTuningProblem, testing::ValuesIn(kStartProblems),
                         [](const auto& row) { return std::string(std::get<0>(row.param)); });

// Each entry asks for the source (the recording and the sequence files; the score only
// sequence files), MIDI also for the tuning, then for the file in the user's music folder
// (else the home folder); a name typed without its ending gets the kind's.
TEST_F(WindowMenu, EntriesAskTheSourceThenTheFileAndWriteIt) {
    const QString kayit = QStringLiteral("kayıt.txt"), ezgi = QStringLiteral("ezgi.ses");
    const QString bend =
        QString::fromUtf8("Nota başına perde bükme (MPE biçimi), MTS bilmeyen çalgılar için");
    // The entry, the picks, the lists offered, the file written in the music folder, the kind in
    // the notice, what the file starts with and holds.
    const std::tuple<const char*, std::vector<QString>, std::vector<QStringList>, const char*,
                     const char*, std::string, std::string>
        cases[] = {
            {"wav_export", {ezgi}, {{kayit, ezgi}}, "ezgi.wav", "WAV", "RIFF", ""},
            {"midi_export", {ezgi, bend}, {{kayit, ezgi}, {}}, "ezgi.mid", "MIDI", "MThd", "\xE1"},
            {"musicxml_export", {ezgi}, {{ezgi}}, "ezgi.musicxml", "MusicXML", "<?xml", ""}};
    QString keys;  // the entries' shortcuts
    for (const char* name : {"wav_export", "midi_export", "musicxml_export", "scala_export"})
        keys += test::control<QAction>(*w_, name).shortcut().toString() + ' ';
    EXPECT_EQ(keys, "Ctrl+Shift+W Ctrl+Shift+M Ctrl+Shift+X Ctrl+Shift+E ");
    for (const auto& [entry, picks, offered, file, kind, starts, holds] : cases) {
        SCOPED_TRACE(entry);
        dialogs_.clear();
        const Answers seen = run_entry(QString::fromLatin1(entry), picks, home_ / "Music" / "ezgi");
        ASSERT_EQ(seen.offered.size(), offered.size());
        EXPECT_EQ(seen.offered[0], offered[0]);
        EXPECT_TRUE(offered.size() < 2 || seen.offered[1].size() == 2);  // MTS or pitch bends
        EXPECT_EQ(seen.folder, QString::fromStdString((home_ / "Music").string()));
        EXPECT_EQ(seen.suggested, QString::fromUtf8(file));
        const fs::path out = home_ / "Music" / file;
        EXPECT_EQ(
            dialogs_.texts(),
            std::vector<std::string>{std::string(kind) + " dosyası yazıldı:\r\n" + out.string()});
        EXPECT_TRUE(!dialogs_.shown().empty() && !dialogs_.shown()[0].modal) << "a notice";
        const std::string bytes = test::read_file_bytes(out);
        EXPECT_TRUE(bytes.starts_with(starts));
        EXPECT_NE(bytes.find(holds), std::string::npos);  // a pitch bend on channel 2
    }
    dialogs_.clear();
    run_entry(QStringLiteral("midi_export"), {QString::fromUtf8("Vazgeç")});
    EXPECT_TRUE(dialogs_.texts().empty()) << "a cancelled question ends the export";
    fs::remove_all(home_ / "Music");  // without a music folder: the home folder
    EXPECT_EQ(run_entry(QStringLiteral("musicxml_export"), {ezgi}).folder,
              QString::fromStdString(home_.path().string()));
    fs::remove(folder_.path() / "ezgi.ses");  // the recording alone is still offered
    dialogs_.clear();
    EXPECT_EQ(run_entry(QStringLiteral("wav_export"), {kayit}).offered,
              std::vector<QStringList>{{kayit}});
    EXPECT_TRUE(fs::exists(home_ / "kayıt.wav"));
}

// The Scala export never writes over the scale that plays, wherever it was chosen from.
TEST_F(WindowMenu, ScalaExportLeavesThePlayingScaleAsItWas) {
    const fs::path mine = home_ / "Music";
    const std::string scale = test::read_file_bytes(folder_.path() / "akort" / "12-TET.scl");
    test::write_file_bytes(mine / "benim.scl", scale);
    auto* menu = &test::control<QMenu>(*w_, "tuning_menu");
    emit menu->aboutToShow();
    fs::current_path(mine);  // where the folder dialog opens; the file dialog, in the program's
    EXPECT_EQ(run(menu->actions().last(), {}, mine / "benim.scl").folder,  // "Başka bir Scala…"
              QString::fromStdString(fs::canonical(folder_.path()).string()));
    ASSERT_EQ(w_->state().tables.name, "benim");
    test::control<TextBox>(*w_, "Text1").setText_("benim");
    dialogs_.clear();
    run_entry(QStringLiteral("scala_export"), {});
    ASSERT_EQ(dialogs_.texts().size(), 1u);
    EXPECT_NE(dialogs_.texts()[0].find("\"" + (mine / "benim.scl").string() +
                                       "\" okunan dosyanın kendisi; üzerine yazılamaz."),
              std::string::npos)
        << dialogs_.texts()[0];
    EXPECT_EQ(test::read_file_bytes(mine / "benim.scl"), scale);
}

// A long export's box shows the share done (in thousandths) and goes when all is done.
TEST(ExportProgress, TheBoxFollowsTheShareDoneAndGoesAtTheEnd) {
    test::ensure_qt_app();
    QWidget owner;
    const auto progress = show_progress_box(&owner, "WAV", "yazılıyor");
    auto* box = owner.findChild<QProgressDialog*>();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(progress(0.25));
    EXPECT_EQ(box->value(), 250);
    progress(1.0);
    EXPECT_FALSE(box->isVisible());
    box->cancel();
    EXPECT_FALSE(progress(0.5)) << "İptal stops the export";
}

}  // namespace
}  // namespace orvena
