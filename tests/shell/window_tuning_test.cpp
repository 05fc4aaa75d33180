// Tuning systems in the window: the background menu lists the workbook, the shipped systems and
// another file; a choice retunes at once, Ctrl+T swaps the last two, the choice outlives the
// run, and --tuning overrides it for one run.

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>

#include <cmath>

#include "shell/tuning_settings.h"
#include "started_window.h"

namespace orvena {
namespace {

namespace fs = std::filesystem;

class WindowTuning : public test::StartedWindow {
  protected:
    ProgramOptions options() override {
        fs::create_directory(folder_.path() / "akort");
        fs::copy_file(test::program_dir() / "akort" / "12-TET.scl",
                      folder_.path() / "akort" / "12-TET.scl");
        ProgramOptions o = folder_.headless_options();
        o.sound.settings_file = folder_.path() / "orvena.ini";
        write_tuning_settings(o.sound.settings_file, {"akort/12-TET.scl", "dizek.xls"});
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
        return test::header_rate(folder_.path() / w_->st.wav_files[12]);
    }
    // Ctrl+T as the keyboard gives it: the shortcut, and no string for the letter.
    void ctrl_t() {
        QTest::keyPress(w_, Qt::Key_T, Qt::ControlModifier);
        EXPECT_FALSE(w_->sound->alias_open("A5")) << "the T key's string sounded";
        QTest::keyRelease(w_, Qt::Key_T, Qt::ControlModifier);
    }
    bool bad_file_ = false;  // --tuning names a broken file
};

// Started in the system kept from the run before; the menu and Ctrl+T retune at once.
TEST_F(WindowTuning, StartsInTheKeptSystemAndTheMenuAndCtrlTRetuneAtOnce) {
    auto* menu = w_->findChild<QMenu*>(QStringLiteral("tuning_menu"));
    ASSERT_NE(menu, nullptr);
    emit menu->aboutToShow();
    EXPECT_TRUE(w_->actions().contains(menu->menuAction()));
    QStringList entries;
    for (QAction* a : menu->actions())
        if (!a->isSeparator()) entries << a->text();
    ASSERT_EQ(entries, QStringList({QStringLiteral("dizek.xls (çalışma kitabı)"),
                                    QStringLiteral("12-TET.scl"),
                                    QStringLiteral("Başka bir Scala dosyası…")}));
    EXPECT_TRUE(menu->actions()[1]->isChecked());

    // The workbook's A4 is its sample's own pitch; twelve equal semitones put A4 on 900 cents,
    // 1200 * 59 / 79 in the workbook's degrees.
    const std::int32_t workbook_rate = 44100;
    const auto tet_rate = static_cast<std::int32_t>(
        std::lround(44100.0 * std::exp2((900.0 - 1200.0 * 59 / 79) / 1200.0)));
    EXPECT_EQ(plucked_rate(), tet_rate);
    EXPECT_EQ(w_->tuning_label->text(), QStringLiteral("akort:\n12-TET"));
    menu->actions()[0]->trigger();
    EXPECT_EQ(plucked_rate(), workbook_rate);
    EXPECT_EQ(w_->tuning_label->text(), QStringLiteral("akort:\ndizek.xls"));

    w_->show();
    w_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w_));
    ctrl_t();
    EXPECT_EQ(plucked_rate(), tet_rate);
    ctrl_t();
    EXPECT_EQ(plucked_rate(), workbook_rate);
    EXPECT_TRUE(dialogs_.texts().empty());
    const TuningSettings kept = read_tuning_settings(folder_.path() / "orvena.ini");
    EXPECT_EQ(std::pair(kept.system, kept.previous),
              std::pair(std::string("dizek.xls"), std::string("akort/12-TET.scl")));
}

class WindowTuningCommandLine : public WindowTuning {
  protected:
    WindowTuningCommandLine() { bad_file_ = true; }
};

TEST_F(WindowTuningCommandLine, ABadFileOnTheCommandLineIsNamedAndTheWorkbookPlays) {
    ASSERT_EQ(dialogs_.texts().size(), 1u);
    EXPECT_NE(
        dialogs_.texts()[0].find("\"bozuk.scl\", satır 3: \"1/0\" bir oran değil; paydası sıfır"),
        std::string::npos)
        << dialogs_.texts()[0];
    EXPECT_EQ(w_->st.tuning_name, "dizek.xls");
    EXPECT_EQ(read_tuning_settings(folder_.path() / "orvena.ini").system, "akort/12-TET.scl")
        << "a run's own system is not kept";
}

}  // namespace
}  // namespace orvena
