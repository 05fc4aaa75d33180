// The "Ahenkler" and "Makam" groups of the loaded window, used as a user uses them.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "started_window.h"

namespace orvena {
namespace {

using WindowPresets = test::StartedWindow;

TEST_F(WindowPresets, ALevelButtonRetunesTheStringsTheArrowKeysPluck) {
    w_->Option1.button(1)->click();  // ŞAH
    QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    QApplication::sendEvent(w_, &up);
    ASSERT_EQ(w_->st.selection.cur_string, 11);
    EXPECT_EQ(w_->st.settings.mandal_pos[11], -6);
    EXPECT_EQ(test::header_rate(folder_.path() / w_->st.build.wav_files[11]),
              w_->st.derived.sample_rate(11, -6));

    w_->HScroll1->setValue(1);
    EXPECT_EQ(w_->Text3->text(), QStringLiteral("1"));
    w_->Option1.button(5)->click();  // SÜPÜRDE: the fine shift goes back to 0 first
    EXPECT_EQ(w_->Text3->text(), QStringLiteral("0"));
    EXPECT_TRUE(w_->st.settings.manual_levers);
    EXPECT_EQ(w_->st.settings.mandal_pos[11], 0);
}

// A held arrow of the fine shift steps once when that step cannot be transposed: the message
// box takes the mouse's release; once it is answered the shift is 0 and nothing steps on.
TEST_F(WindowPresets, HeldFineShiftArrowStopsAtTheCancelMessage) {
    w_->st.settings.mandal_pos[12] = 12;  // no degree above its lever 12 lies on string 12
    w_->show();
    QWindow* window = w_->windowHandle();
    const QPoint arrow =  // the arrow that raises the shift, at the bar's right end
        w_->HScroll1->mapTo(w_, QPoint(w_->HScroll1->width() - 5, w_->HScroll1->height() / 2));
    dialogs_.while_shown = [&](const std::string&) {
        if (dialogs_.shown().size() > 3) return;  // a runaway: no deeper
        QDialog box(w_);  // what a real message box does to the window while it is open
        box.setModal(true);
        QTimer::singleShot(100, [&] { QTest::mouseRelease(window, Qt::LeftButton, {}, arrow); });
        QTimer::singleShot(1200, &box, &QDialog::accept);  // read, and answered
        box.exec();
    };
    QTest::mousePress(window, Qt::LeftButton, {}, arrow);
    QTest::qWait(1200);  // past the arrow's repeat delay: nothing may step now
    ASSERT_EQ(dialogs_.texts().size(), 1u);
    EXPECT_EQ(dialogs_.texts()[0].rfind("göçürme yapılamıyor", 0), 0u);
    EXPECT_EQ(std::pair(w_->HScroll1->value(), w_->Text3->text()), std::pair(0, QString("0")));
    dialogs_.while_shown = nullptr;
    QTest::mouseClick(window, Qt::LeftButton, {}, arrow);  // the arrow was not left pressed
    EXPECT_EQ(dialogs_.texts().size(), 2u);
    w_->hide();
}

// Lets the window's events run until the makam list holds `count` names (or 5 s pass).
bool list_reaches(const FileListBox& list, int count) {
    QElapsedTimer waited;
    waited.start();
    while (list.ListCount() != count && waited.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    return list.ListCount() == count;
}

TEST_F(WindowPresets, SavedMakamsAreListedAtOnceLoadWithOneClickAndTheListFollowsTheFolder) {
    w_->st.settings.mandal_pos[12] = 5;
    w_->Text1->setText(QStringLiteral("Hüzzam"));
    w_->save_buton->click();
    ASSERT_EQ(w_->File2->ListCount(), 1);
    EXPECT_EQ(w_->File2->List(0), "Hüzzam.mkm");

    w_->st.settings.mandal_pos[12] = 0;
    w_->Text1->clear();
    w_->open_buton->click();
    EXPECT_TRUE(w_->File2->Visible());
    w_->File2->click_entry(0);
    EXPECT_FALSE(w_->File2->Visible());
    EXPECT_EQ(w_->Text1->text(), QStringLiteral("Hüzzam"));
    EXPECT_EQ(w_->st.settings.mandal_pos[12], 5);

    test::write_file_bytes(folder_.path() / "Acem.mkm", " 0 \r\n");
    EXPECT_TRUE(list_reaches(*w_->File2, 2));
    std::filesystem::remove(folder_.path() / "Hüzzam.mkm");
    EXPECT_TRUE(list_reaches(*w_->File2, 1));
    EXPECT_TRUE(dialogs_.texts().empty());
}

}  // namespace
}  // namespace orvena
