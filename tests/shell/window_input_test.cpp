// Keys, mouse and buttons on the loaded window as the window system sends them: a held letter,
// a held scroll-bar arrow, and a close during a melody.

#include <QtTest/qtestspontaneevent.h>
#include <QDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
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
using test::control;

// A held letter sounds once through the desktop's repeats, its legend letter black, till released.
TEST_F(HeldInput, HeldLetterSoundsOnceUntilItsRealRelease) {
    Mixer& mixer = w_->sound().mixer();
    float frame[2];
    const Surface& legend = control<PictureBox>(*w_, "Picture10").surface();
    const auto letter_is_black = [&] {
        return test::has_colour(legend, QRect(36, 2 + 15 * 11, 15, 13), 0x000000);
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
    EXPECT_TRUE(w_->sound().alias_open("A4") && letter_is_black());
    from_window_system(w_, QEvent::KeyRelease, 2000);
    QTest::qWait(4 * KeyPreview::kReleaseSettleMs);
    EXPECT_FALSE(w_->sound().alias_open("A4") || letter_is_black()) << "the real release stops it";
}

// A held arrow of the fine shift steps once when that step cannot be transposed: the message
// box takes the mouse's release; once it is answered the shift is 0 and nothing steps on.
TEST_F(HeldInput, HeldFineShiftArrowStopsAtTheCancelMessage) {
    set_lever(12, 12);  // no degree above its lever 12 lies on string 12
    ASSERT_EQ(w_->state().settings.mandal_pos[12], 12);
    w_->show();
    QWindow* window = w_->windowHandle();
    const ScrollBar& shift = control<ScrollBar>(*w_, "HScroll1");
    const QPoint arrow =  // the arrow that raises the shift, at the bar's right end
        shift.mapTo(w_, QPoint(shift.width() - 5, shift.height() / 2));
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
    EXPECT_EQ(std::pair(shift.value(), control<TextBox>(*w_, "Text3").text()),
              std::pair(0, QString("0")));
    dialogs_.while_shown = nullptr;
    QTest::mouseClick(window, Qt::LeftButton, {}, arrow);  // the arrow was not left pressed
    EXPECT_EQ(dialogs_.texts().size(), 2u);
    w_->hide();
}

// Closing the window during a melody of the sequence-file group ends it after its current note.
TEST_F(HeldInput, SequenceFileEndsAfterItsNoteWhenTheWindowCloses) {
    arayüz& w = *w_;
    control<ScrollBar>(w, "VScroll1").setValue(30);
    test::write_file_bytes(folder_.path() / "uzun.ses",  // ten quarters, 480 ms each
                           QByteArray("0,4,3,0,0,0,0,0,0,0\r\n").repeated(10).toStdString());
    control<TextBox>(w, "Text2").setText_("uzun");
    bool groups_waited = false;
    QTimer::singleShot(100, &w, [&w, &groups_waited] {
        groups_waited = !control<QGroupBox>(w, "Frame3").isEnabled() &&
                        !control<QGroupBox>(w, "Frame2").isEnabled() &&
                        !control<QGroupBox>(w, "Frame1").isEnabled();
        w.close_for(UnloadReason::AppWindows);
    });
    control<QPushButton>(w, "aç_kapa_buton").click();  // returns when the melody has ended
    // The close came during the first note: the second record was the last one counted.
    EXPECT_EQ(control<PictureBox>(w, "Picture7").surface().print_log().back().text, "002");
    EXPECT_TRUE(!w.state().transport.seq_playing && groups_waited && dialogs_.texts().empty() &&
                w.state().transport.speed == 30);
}

// "Kaydet / Dinlet" as the player uses it: R records (only O can be pressed, the other groups
// wait, the strip moves no lever), a click on string 12 is recorded, O writes it to kayıt.txt,
// frees the window and > replays it with "çalgı". Closing the window instead of O keeps it too.
class RecordEnding : public test::StartedWindow, public ::testing::WithParamInterface<bool> {};

TEST_P(RecordEnding, RecordButtonsLockTheWindowAndStopOrCloseWritesTheRecording) {
    const bool by_closing = GetParam();
    arayüz& w = *w_;
    const auto enabled = [&w] {
        std::string out;
        for (const char* name : {"rec_buton", "Play_buton", "pause_buton", "stop_buton", "Frame2",
                                 "Frame3", "Frame4", "Frame5", "Frame7", "Frame10"})
            out += control<QWidget>(w, name).isEnabled() ? '1' : '0';
        return out;
    };
    auto* drawing = &control<PictureBox>(w, "Picture2");
    auto* strip = &control<PictureBox>(w, "Picture1");
    const QPoint string_12(700, 29 + 15 * 11);
    QTest::mouseClick(drawing, Qt::LeftButton, {}, string_12);
    QTest::mouseClick(strip, Qt::LeftButton, {}, QPoint(152, 30));  // its lowest lever
    EXPECT_EQ(std::pair(w.state().selection.cur_string, w.state().settings.mandal_pos[12]),
              std::pair(std::int16_t{12}, std::int16_t{-8}));
    EXPECT_EQ(enabled(), "1100111111");  // R, >, I I, O, then the six groups
    QTest::mouseClick(&control<QPushButton>(w, "rec_buton"), Qt::LeftButton);
    EXPECT_EQ(enabled(), "0001000000");
    QTest::mouseClick(strip, Qt::LeftButton, {}, QPoint(287, 30));
    QTest::mouseClick(drawing, Qt::LeftButton, {}, string_12);
    if (by_closing) {
        w.close_for(UnloadReason::AppWindows);
    } else {
        QTest::mouseClick(&control<QPushButton>(w, "stop_buton"), Qt::LeftButton);
        EXPECT_EQ(enabled(), "1100111111");
        const std::filesystem::path a4 = folder_.path() / w.state().build.wav_files[12];
        test::write_file_bytes(a4, test::read_file_bytes(a4).replace(24, 4, "\x11\x11\0\0", 4));
        QTest::mouseClick(&control<QPushButton>(w, "Play_buton"), Qt::LeftButton);
        EXPECT_NE(test::header_rate(a4), 0x1111) << "the replay did not sound string 12";
    }
    EXPECT_EQ(test::read_file_bytes(folder_.path() / "kayıt.txt").substr(0, 16),
              " 12           -8");
}
INSTANTIATE_TEST_SUITE_P(StopButtonOrClose, RecordEnding, ::testing::Bool());

// Each button and box of the window reaches what it is for.
TEST_F(HeldInput, EachControlReachesItsHandler) {
    arayüz& w = *w_;
    const InstrumentSettings& settings = w.state().settings;
    const auto click = [&w](const char* name, QPoint at = {}) {
        QTest::mouseClick(&control<QWidget>(w, name), Qt::LeftButton, {}, at);
    };
    click("Picture2", QPoint(700, 29 + 15 * 4));  // string 5; its peg's left side raises:
    click("Picture5", QPoint(10, 20));            // 5 in the upper half,
    click("Picture5", QPoint(10, 70));            // 1 in the lower
    click("Picture5", QPoint(10, 70));
    set_lever(12, -3);
    ASSERT_EQ(std::pair(settings.akord_offset[5], settings.mandal_pos[12]),
              std::pair(std::int16_t{7}, std::int16_t{-3}));
    click("Command8");  // AKORD RESET: the fine tuning only
    EXPECT_EQ(std::pair(settings.akord_offset[5], settings.mandal_pos[12]),
              std::pair(std::int16_t{0}, std::int16_t{-3}));
    click("Command9");  // MANDAL RESET
    control<CheckBox>(w, "Check2").click();
    EXPECT_EQ(std::pair(settings.mandal_pos[12], w.state().selection.show_details),
              std::pair(std::int16_t{0}, true));
    control<QRadioButton>(w, "Option5_2").click();  // the transposed levers: no hand on them
    EXPECT_FALSE(settings.manual_levers);
    control<QRadioButton>(w, "Option5_1").click();
    EXPECT_TRUE(settings.manual_levers);
    set_lever(3, 2);
    control<TextBox>(w, "Text1").setText_("Deneme");
    click("save_buton");
    EXPECT_EQ(test::read_file_bytes(folder_.path() / "Deneme.mkm").substr(0, 15),
              " 0 \r\n 0 \r\n 2 \r\n");  // one lever a line, as printed
    test::write_file_bytes(folder_.path() / "ezgi.ses", "0,8,4,3,0,0,0,0,0,1\r\n");  // string 12
    click("open_ses_buton");  // the list of sequence files
    control<FileListBox>(w, "File3").click_entry(0);
    EXPECT_EQ(
        std::pair(control<TextBox>(w, "Text2").text(), control<FileListBox>(w, "File3").Visible()),
        std::pair(QStringLiteral("ezgi"), false));
    click("aç_kapa_buton");  // "şartlı": the file's own lever 3, not the instrument's 0 (A4)
    EXPECT_NE(test::header_rate(folder_.path() / w.state().build.wav_files[12]), 44100);
    EXPECT_TRUE(dialogs_.texts().empty());
    control<QRadioButton>(w, "Option1_3").click();  // a pitch level
    EXPECT_EQ(settings.ahenk_index, 3);
}

}  // namespace
}  // namespace orvena
