// Playing the window from the keyboard and its lever controls, as a user does: Qt key
// events and button clicks on the loaded window, checked on the sound module, the sample
// files and the picture surfaces.

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTest>

#include <cstring>

#include "shell/program.h"
#include "shell_test_support.h"
#include "support/pictures.h"
#include "support/recording_dialogs.h"

namespace orvena {
namespace {

constexpr QRgb kBlack = 0x000000, kGreen = 0x00FF00;

// The key letter of string s in the legend, as the user sees it: black while held.
bool key_letter_is(const Surface& legend, int s, QRgb colour) {
    const int top = 2 + 15 * (s - 1);
    return test::has_colour(legend, QRect(36, top, 15, 13), colour);
}

std::int32_t header_rate(const std::filesystem::path& wav) {
    const std::string bytes = test::read_file_bytes(wav);
    std::int32_t rate = 0;
    std::memcpy(&rate, bytes.data() + 24, 4);
    return rate;
}

class WindowKeyboard : public ::testing::Test {
  protected:
    void SetUp() override {
        test::ensure_app();
        saved_cwd_ = std::filesystem::current_path();
        ASSERT_TRUE(program_.start(folder_.headless_options()).goes_on);
        w_ = program_.window();
    }
    void TearDown() override { std::filesystem::current_path(saved_cwd_); }

    void send(QEvent::Type type, int key, const QString& text, bool repeat = false) {
        QKeyEvent event(type, key, Qt::NoModifier, text, repeat);
        QApplication::sendEvent(w_, &event);
    }
    void press(int key, const QString& text = {}, bool repeat = false) {
        send(QEvent::KeyPress, key, text, repeat);
    }
    void release(int key, const QString& text = {}, bool repeat = false) {
        send(QEvent::KeyRelease, key, text, repeat);
    }

    test::ProgramFolder folder_;
    test::RecordingDialogs dialogs_;
    Program program_{dialogs_};
    arayüz* w_ = nullptr;

  private:
    std::filesystem::path saved_cwd_;
};

TEST_F(WindowKeyboard, HeldLetterKeysSoundTogetherAndShowBlackUntilReleased) {
    const Surface& legend = w_->surface(10);
    press(Qt::Key_Q, "q");
    press(Qt::Key_S, "s");
    EXPECT_TRUE(w_->sound->alias_open("E6"));
    EXPECT_TRUE(w_->sound->alias_open("A4"));
    EXPECT_TRUE(key_letter_is(legend, 1, kBlack));
    EXPECT_TRUE(key_letter_is(legend, 12, kBlack));

    // Auto-repeat (with the repeated releases some systems send) keeps the note.
    release(Qt::Key_S, "s", true);
    press(Qt::Key_S, "s", true);
    EXPECT_TRUE(w_->sound->alias_open("A4"));

    release(Qt::Key_Q, "q");
    EXPECT_FALSE(w_->sound->alias_open("E6"));
    EXPECT_TRUE(w_->sound->alias_open("A4"));
    EXPECT_TRUE(key_letter_is(legend, 1, kGreen));
    EXPECT_FALSE(key_letter_is(legend, 1, kBlack));
    EXPECT_EQ(w_->st.cur_string, 1);
    release(Qt::Key_S, "s");
    EXPECT_FALSE(w_->sound->alias_open("A4"));
}

TEST_F(WindowKeyboard, ArrowKeysSelectPluckAndRedrawEveryView) {
    press(Qt::Key_Up);
    EXPECT_EQ(w_->st.cur_string, 11);
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
    EXPECT_EQ(w_->st.mandal_pos[11], 2);
    EXPECT_EQ(header_rate(folder_.path() / w_->st.wav_files[11]), w_->st.sample_rate(11, 2));
    // The legend's lever column shows 2 for string 11.
    EXPECT_TRUE(test::has_colour(w_->surface(10), QRect(52, 2 + 15 * 10, 15, 13), kBlack));
}

TEST_F(WindowKeyboard, LettersTypedIntoTheMakamNameBoxDoNotPlay) {
    w_->show();
    QApplication::setActiveWindow(w_);
    w_->Text1->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(w_->st.text1_has_focus);
    QTest::keyClick(w_->Text1, Qt::Key_D);
    QTest::qWait(4 * KeyPreview::kReleaseSettleMs);  // a release from the window system waits
    EXPECT_FALSE(w_->sound->alias_open("G4"));
    EXPECT_EQ(w_->Text1->text(), QStringLiteral("d"));
    EXPECT_EQ(w_->st.cur_string, 13) << "a release still selects its string";
    w_->hide();
}

TEST_F(WindowKeyboard, LeverControlsOfTheWindow) {
    w_->st.mandal_pos[5] = 3;
    w_->st.akord_offset[7] = 20;
    recompute_string_rates(w_->st, 7, true);
    const auto tuned = w_->st.sample_rate(7, 0);
    w_->Command9->click();
    EXPECT_EQ(w_->st.mandal_pos[5], 0);
    w_->Command8->click();
    EXPECT_EQ(w_->st.akord_offset[7], 0);
    EXPECT_NE(w_->st.sample_rate(7, 0), tuned);

    // The transposed setting and back: the user's levers return exactly.
    w_->st.transposed_pos[9] = 6;
    w_->Option5.select(2);
    EXPECT_EQ(w_->st.mandal_pos[9], 6);
    w_->Option5.select(1);
    EXPECT_EQ(w_->st.mandal_pos[9], 0);

    w_->VScroll1->setValue(50);
    EXPECT_EQ(w_->st.speed, 50);
    w_->Check2->click();
    EXPECT_TRUE(w_->st.show_details);
}

}  // namespace
}  // namespace orvena
