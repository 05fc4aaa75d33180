// Tuning systems in the window: the background menu lists the workbook, the shipped systems and
// another file; a choice retunes the selected string at once, Ctrl+T swaps the last two, the
// name shows in the top row and the choice outlives the run.

#include <gtest/gtest.h>

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QTest>

#include <cmath>

#include "shell/tuning_settings.h"
#include "started_window.h"
#include "support/pictures.h"

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
        return o;
    }
    void press(int key) {
        QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(w_, &down);
        QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(w_, &up);
    }
    // The rate the S key plays string 12 (A4) at: the one its sample's header holds.
    std::int32_t plucked_rate() {
        press(Qt::Key_S);
        return test::header_rate(folder_.path() / w_->st.build.wav_files[12]);
    }
    // Ctrl+T as the keyboard gives it: the shortcut, and no string for the letter.
    void ctrl_t() {
        QTest::keyPress(w_, Qt::Key_T, Qt::ControlModifier);
        EXPECT_FALSE(w_->sound->alias_open("A5")) << "the T key's string sounded";
        QTest::keyRelease(w_, Qt::Key_T, Qt::ControlModifier);
    }
    QMenu* tuning_menu() {
        auto* menu = w_->findChild<QMenu*>(QStringLiteral("tuning_menu"));
        if (menu != nullptr) emit menu->aboutToShow();
        return menu;
    }
};

TEST_F(WindowTuning, TheMenuRetunesAtOnceAndCtrlTSwapsTheLastTwoSystems) {
    QMenu* menu = tuning_menu();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(w_->actions().contains(menu->menuAction()));
    EXPECT_EQ(menu->title(), QStringLiteral("Akort sistemi…"));
    QStringList entries;
    for (QAction* a : menu->actions())
        if (!a->isSeparator()) entries << a->text();
    ASSERT_EQ(entries, QStringList({QStringLiteral("dizek.xls (çalışma kitabı)"),
                                    QStringLiteral("12-TET.scl"),
                                    QStringLiteral("Başka bir Scala dosyası…")}));
    EXPECT_TRUE(menu->actions()[0]->isChecked());

    // The workbook's A4 is its sample's own pitch; twelve equal semitones put A4 on 900 cents,
    // 1200 * 59 / 79 in the workbook's degrees.
    const std::int32_t workbook_rate = 44100;
    const auto tet_rate = static_cast<std::int32_t>(
        std::lround(44100.0 * std::exp2((900.0 - 1200.0 * 59 / 79) / 1200.0)));
    ASSERT_EQ(plucked_rate(), workbook_rate);
    menu->actions()[1]->trigger();
    EXPECT_EQ(plucked_rate(), tet_rate);
    EXPECT_EQ(w_->tuning_label->text(), QStringLiteral("akort:\n12-TET"));

    // Ctrl+T with the window active.
    w_->show();
    w_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w_));
    ctrl_t();
    EXPECT_EQ(plucked_rate(), workbook_rate);
    EXPECT_EQ(w_->tuning_label->text(), QStringLiteral("akort:\ndizek.xls"));
    ctrl_t();
    EXPECT_EQ(plucked_rate(), tet_rate);
    EXPECT_TRUE(dialogs_.texts().empty());

    const TuningSettings kept = read_tuning_settings(folder_.path() / "orvena.ini");
    EXPECT_EQ(kept.system, "akort/12-TET.scl");
    EXPECT_EQ(kept.previous, "dizek.xls");
}

// The next start takes the system kept; --tuning overrides it for one run.
class WindowTuningKept : public WindowTuning {
  protected:
    ProgramOptions options() override {
        ProgramOptions o = WindowTuning::options();
        write_tuning_settings(o.sound.settings_file, {"akort/12-TET.scl", "dizek.xls"});
        return o;
    }
};

TEST_F(WindowTuningKept, StartsInTheSystemKeptAndGoesBackToTheOneBefore) {
    EXPECT_EQ(w_->st.tables.name, "12-TET");
    EXPECT_FALSE(test::has_colour(w_->surface(3), QRect(0, 0, 140, 132), 0x000000))
        << "the staff stays blank until a string is played, as at every start";
    EXPECT_DOUBLE_EQ(w_->st.tables.cents(12, 0), 900.0);
    EXPECT_EQ(w_->tuning_label->text(), QStringLiteral("akort:\n12-TET"));
    ASSERT_TRUE(w_->tuning->toggle());
    EXPECT_EQ(w_->st.tables.name, "dizek.xls");
}

class WindowTuningCommandLine : public WindowTuning {
  protected:
    ProgramOptions options() override {
        ProgramOptions o = WindowTuning::options();
        write_tuning_settings(o.sound.settings_file, {"akort/12-TET.scl", ""});
        test::write_file_bytes(folder_.path() / "bozuk.scl", "bozuk\n2\n1/0\n2/1\n");
        o.tuning_file = folder_.path() / "bozuk.scl";
        return o;
    }
};

TEST_F(WindowTuningCommandLine, ABadFileOnTheCommandLineIsNamedAndTheWorkbookPlays) {
    ASSERT_EQ(dialogs_.texts().size(), 1u);
    EXPECT_NE(
        dialogs_.texts()[0].find("\"bozuk.scl\", satır 3: \"1/0\" bir oran değil; paydası sıfır"),
        std::string::npos)
        << dialogs_.texts()[0];
    EXPECT_EQ(w_->st.tables.name, "dizek.xls");
    EXPECT_EQ(read_tuning_settings(folder_.path() / "orvena.ini").system, "akort/12-TET.scl")
        << "a run's own system is not kept";
}

}  // namespace
}  // namespace orvena
