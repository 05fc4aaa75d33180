// Keys, mouse and buttons on the loaded window as the window system sends them: a held letter,
// a held scroll-bar arrow, and a close during a melody.

#include <gtest/gtest.h>

#include <QtTest/qtestspontaneevent.h>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "started_window.h"
#include "support/pictures.h"

namespace orvena {
namespace {

// A key event as the X server sends it (the toolkit's repeat flag left unset).
void from_window_system(QWidget* window, QEvent::Type type, quint64 timestamp) {
    QKeyEvent event(type, Qt::Key_S, Qt::NoModifier, QStringLiteral("s"));
    event.setTimestamp(timestamp);
    QSpontaneKeyEvent::setSpontaneous(&event);
    QApplication::instance()->notify(window, &event);
}

using HeldInput = test::StartedWindow;

// A letter held while the desktop repeats it sounds once, its legend letter stays black, and
// only the real release stops it.
TEST_F(HeldInput, HeldLetterSoundsOnceUntilItsRealRelease) {
    Mixer& mixer = w_->sound->mixer();
    float frame[2];
    const auto letter_is_black = [&] {
        return test::has_colour(w_->surface(10), QRect(36, 2 + 15 * 11, 15, 13), 0x000000);
    };
    from_window_system(w_, QEvent::KeyPress, 1000);
    mixer.render(frame, 1);
    ASSERT_EQ(mixer.active_voices(), 1u);
    for (quint64 t = 1660; t <= 1740; t += 40) {  // the desktop repeats the held key
        from_window_system(w_, QEvent::KeyRelease, t);
        from_window_system(w_, QEvent::KeyPress, t);
    }
    QTest::qWait(4 * KeyPreview::kReleaseSettleMs);
    mixer.render(frame, 1);
    EXPECT_EQ(mixer.active_voices(), 1u) << "a repeat plucked the string again";
    EXPECT_TRUE(w_->sound->alias_open("A4"));
    EXPECT_TRUE(letter_is_black());
    from_window_system(w_, QEvent::KeyRelease, 2000);
    QTest::qWait(4 * KeyPreview::kReleaseSettleMs);
    EXPECT_FALSE(w_->sound->alias_open("A4")) << "the real release stops the note";
    EXPECT_FALSE(letter_is_black());
}

// A held arrow of the fine shift steps once when that step cannot be transposed: the message
// box takes the mouse's release; once it is answered the shift is 0 and nothing steps on.
TEST_F(HeldInput, HeldFineShiftArrowStopsAtTheCancelMessage) {
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

// Closing the window during a melody of the sequence-file group ends it after its current note.
TEST_F(HeldInput, SequenceFileEndsAfterItsNoteWhenTheWindowCloses) {
    arayüz& w = *w_;
    w.VScroll1->setValue(30);
    std::string ten_quarters;  // ten times 480 ms
    for (int i = 0; i < 10; ++i) ten_quarters += "0,4,3,0,0,0,0,0,0,0\r\n";
    test::write_file_bytes(folder_.path() / "uzun.ses", ten_quarters);
    w.Text2->setText_("uzun");
    bool groups_waited = false;
    QTimer::singleShot(100, &w, [&w, &groups_waited] {
        groups_waited = !w.Frame3->isEnabled() && !w.Frame2->isEnabled();
        w.close_for(UnloadReason::AppWindows);
    });
    w.aç_kapa_buton->click();  // returns when the melody has ended
    // The close came during the first note: the second record was the last one counted.
    EXPECT_EQ(w.surface(7).print_log().back().text, "002");
    EXPECT_FALSE(w.st.transport.seq_playing);
    EXPECT_TRUE(groups_waited);
    EXPECT_TRUE(dialogs_.texts().empty());
}

// "Kaydet / Dinlet" as the player presses it: a click on string 12 selects it and a click on
// the lever strip moves its lever; R records (only O may be pressed, the other groups wait, the
// strip does not move a lever), a click on the string is recorded, O ends the note in kayıt.txt
// and frees the window again.
TEST_F(HeldInput, RecordButtonsLockTheWindowAndStopWritesTheRecording) {
    arayüz& w = *w_;
    const auto enabled = [&w] {
        std::string out;
        for (QWidget* b :
             {static_cast<QWidget*>(w.rec_buton), static_cast<QWidget*>(w.Play_buton),
              static_cast<QWidget*>(w.pause_buton), static_cast<QWidget*>(w.stop_buton),
              static_cast<QWidget*>(w.Frame2), static_cast<QWidget*>(w.Frame3),
              static_cast<QWidget*>(w.Frame4), static_cast<QWidget*>(w.Frame5),
              static_cast<QWidget*>(w.Frame7), static_cast<QWidget*>(w.Frame10)})
            out += b->isEnabled() ? '1' : '0';
        return out;
    };
    const QPoint string_12(700, 29 + 15 * 11);
    QTest::mouseClick(w.Picture2, Qt::LeftButton, {}, string_12);
    QTest::mouseClick(w.Picture1, Qt::LeftButton, {}, QPoint(152, 30));  // its lowest lever
    EXPECT_EQ(std::pair(w.st.selection.cur_string, w.st.settings.mandal_pos[12]),
              std::pair(std::int16_t{12}, std::int16_t{-8}));
    EXPECT_EQ(enabled(), "1100111111");  // R, >, I I, O, then the six groups
    QTest::mouseClick(w.rec_buton, Qt::LeftButton);
    EXPECT_EQ(enabled(), "0001000000");
    QTest::mouseClick(w.Picture1, Qt::LeftButton, {}, QPoint(287, 30));
    QTest::mouseClick(w.Picture2, Qt::LeftButton, {}, string_12);
    QTest::mouseClick(w.stop_buton, Qt::LeftButton);
    EXPECT_EQ(enabled(), "1100111111");
    EXPECT_EQ(test::read_file_bytes(folder_.path() / "kayıt.txt").substr(0, 16),
              " 12           -8");
}

// Each button and box of the window reaches what it is for.
TEST_F(HeldInput, EachControlReachesItsHandler) {
    arayüz& w = *w_;
    w.st.settings.akord_offset[5] = 7;
    w.st.settings.mandal_pos[12] = -3;
    QTest::mouseClick(w.Command8, Qt::LeftButton);  // AKORD RESET: the fine tuning only
    EXPECT_EQ(std::pair(w.st.settings.akord_offset[5], w.st.settings.mandal_pos[12]),
              std::pair(std::int16_t{0}, std::int16_t{-3}));
    QTest::mouseClick(w.Command9, Qt::LeftButton);  // MANDAL RESET
    EXPECT_EQ(w.st.settings.mandal_pos[12], 0);
    w.Check2->click();
    EXPECT_TRUE(w.st.selection.show_details);
    w.Option5.button(2)->click();  // the transposed levers: no hand on the levers
    EXPECT_FALSE(w.st.settings.manual_levers);
    w.Option5.button(1)->click();
    EXPECT_TRUE(w.st.settings.manual_levers);
    w.st.settings.mandal_pos[3] = 2;
    w.Text1->setText_("Deneme");
    QTest::mouseClick(w.save_buton, Qt::LeftButton);
    EXPECT_EQ(test::read_file_bytes(folder_.path() / "Deneme.mkm").substr(0, 15),
              " 0 \r\n 0 \r\n 2 \r\n");  // one lever a line, as printed
    test::write_file_bytes(folder_.path() / "ezgi.ses", "0,5,4,0,0,0,0,0,0,0\r\n");
    QTest::mouseClick(w.open_ses_buton, Qt::LeftButton);  // the list of sequence files
    w.File3->click_entry(0);
    EXPECT_EQ(w.Text2->text(), QStringLiteral("ezgi"));
    EXPECT_TRUE(dialogs_.texts().empty());
}

}  // namespace
}  // namespace orvena
