// Playing the window from the keyboard and its lever controls, as a user does: Qt key
// events and button clicks on the loaded window, checked on the sound module, the sample
// files and the picture surfaces.

#include <gtest/gtest.h>

#include <QtTest/qtestspontaneevent.h>
#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTest>

#include "started_window.h"
#include "support/pictures.h"

namespace orvena {
namespace {

constexpr QRgb kBlack = 0x000000;

// A key event as the X server sends it (the toolkit's repeat flag left unset).
void from_window_system(QWidget* window, QEvent::Type type, quint64 timestamp) {
    QKeyEvent event(type, Qt::Key_S, Qt::NoModifier, QStringLiteral("s"));
    event.setTimestamp(timestamp);
    QSpontaneKeyEvent::setSpontaneous(&event);
    QApplication::instance()->notify(window, &event);
}

class WindowKeyboard : public test::StartedWindow {
  protected:
    void press(int key) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(w_, &event);
    }
};

// A letter held while the desktop repeats it sounds once, its legend letter stays black, and
// only the real release stops it.
TEST_F(WindowKeyboard, HeldLetterSoundsOnceUntilItsRealRelease) {
    Mixer& mixer = w_->sound->mixer();
    float frame[2];
    const auto letter_is_black = [&] {
        return test::has_colour(w_->surface(10), QRect(36, 2 + 15 * 11, 15, 13), kBlack);
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

TEST_F(WindowKeyboard, ArrowKeysSelectPluckAndRedrawEveryView) {
    press(Qt::Key_Up);
    EXPECT_EQ(w_->st.selection.cur_string, 11);
    // String 11's first line is black on the instrument; 12 is red again.
    EXPECT_EQ(w_->surface(2).pixel(700, 26 + 15 * 10), kBlack);
    EXPECT_EQ(w_->surface(2).pixel(700, 26 + 15 * 11), 0xFF0000u);
    EXPECT_EQ(w_->surface(1).width(), 516) << "lever strip of an 8..26 string";
    EXPECT_EQ(w_->Picture1->x(), -100);
    EXPECT_TRUE(test::has_colour(w_->surface(3), QRect(56, 3 * 11 + 24, 10, 7), kBlack))
        << "note head of string 11 on the staff";
    const auto& panel = w_->surface(6).print_log();
    ASSERT_GE(panel.size(), 4u);
    EXPECT_EQ(panel[3].text, QStringLiteral(" 11 ")) << "string number in the panel";

    press(Qt::Key_Right);
    press(Qt::Key_Right);
    EXPECT_EQ(w_->st.settings.mandal_pos[11], 2);
    EXPECT_EQ(test::header_rate(folder_.path() / w_->st.build.wav_files[11]),
              w_->st.derived.sample_rate(11, 2));
    // The legend's lever column shows 2 for string 11.
    EXPECT_TRUE(test::has_colour(w_->surface(10), QRect(52, 2 + 15 * 10, 15, 13), kBlack));
}

// A name typed into any text box is typed and nothing else: no key selects or plucks a string.
TEST_F(WindowKeyboard, KeysTypedIntoATextBoxOnlyType) {
    w_->show();
    QApplication::setActiveWindow(w_);
    for (TextBox* box : {w_->Text1, w_->Text2, w_->Text3}) {
        SCOPED_TRACE(box->objectName().toStdString());
        box->clear();
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("sd"));
        QTest::keyClick(box, Qt::Key_Down);
        QTest::qWait(4 * KeyPreview::kReleaseSettleMs);  // a release from the window system waits
        EXPECT_EQ(box->text(), QStringLiteral("sd"));
        EXPECT_EQ(w_->st.selection.cur_string, 12) << "the string selected at start-up stays";
    }
    w_->hide();
}

TEST_F(WindowKeyboard, LeverControlsOfTheWindow) {
    w_->st.settings.mandal_pos[5] = 3;
    w_->st.settings.akord_offset[7] = 20;
    recompute_string_rates(w_->st, 7, true);
    const auto tuned = w_->st.derived.sample_rate(7, 0);
    w_->Command9->click();
    w_->Command8->click();
    EXPECT_TRUE(w_->st.settings.mandal_pos[5] == 0 && w_->st.settings.akord_offset[7] == 0);
    EXPECT_NE(w_->st.derived.sample_rate(7, 0), tuned);
    // The transposed setting and back: the user's levers return exactly.
    w_->st.settings.transposed_pos[9] = 6;
    w_->Option5.select(2);
    EXPECT_EQ(w_->st.settings.mandal_pos[9], 6);
    w_->Option5.select(1);
    EXPECT_EQ(w_->st.settings.mandal_pos[9], 0);
    w_->VScroll1->setValue(50);
    w_->Check2->click();
    EXPECT_TRUE(w_->st.transport.speed == 50 && w_->st.selection.show_details);
}

}  // namespace
}  // namespace orvena
