// Closing: the question for the close box and the exit button, nothing changed on No, the
// stopwatch halted and every window gone on Yes, no question when the session ends; the
// focus of the makam name box.

#include <gtest/gtest.h>

#include <QtTest/qtestspontaneevent.h>
#include <QFocusEvent>
#include <QPushButton>

#include "shell/program.h"
#include "shell_test_support.h"
#include "support/recording_dialogs.h"

namespace orvena {
namespace {

class ShutdownTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::ensure_app();
        saved_cwd_ = std::filesystem::current_path();
        ASSERT_TRUE(program_.start(folder_.headless_options()).goes_on);
        w = program_.window();
        w->on_unloaded([this] { ++unloaded; });
        w->show();
    }
    void TearDown() override { std::filesystem::current_path(saved_cwd_); }

    // The close box: the window system's own close request.
    void press_close_box() {
        QCloseEvent event;
        QSpontaneKeyEvent::setSpontaneous(&event);
        QApplication::instance()->notify(w, &event);
    }

    test::ProgramFolder folder_;
    test::RecordingDialogs dialogs;
    Program program_{dialogs};
    arayüz* w = nullptr;
    int unloaded = 0;

  private:
    std::filesystem::path saved_cwd_;
};

// The close box and the exit button ask; No leaves everything as it was, Yes halts the
// stopwatch and closes the window.
class ShutdownQuestion : public ShutdownTest, public ::testing::WithParamInterface<bool> {
  protected:
    void ask(MessageAnswer answer) {
        dialogs.answer_next(answer);
        if (GetParam()) {
            press_close_box();
        } else {
            w->Command10->click();
        }
    }
};

TEST_P(ShutdownQuestion, OnlyYesCloses) {
    w->st.mandal_pos[5] = 3;
    const xTimer* timer = w->timer.get();
    ask(MessageAnswer::No);
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text, "Bu proğramı kapatmak istiyormusunuz ?");
    EXPECT_EQ(dialogs.shown()[0].buttons, MessageButtons::YesNo);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->timer.get(), timer);
    EXPECT_EQ(w->st.mandal_pos[5], 3);
    EXPECT_EQ(unloaded, 0);

    ask(MessageAnswer::Yes);
    EXPECT_EQ(dialogs.shown().size(), 2u);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->timer, nullptr);
    EXPECT_EQ(unloaded, 1);
}
INSTANTIATE_TEST_SUITE_P(Ways, ShutdownQuestion, ::testing::Bool(), [](const auto& param_info) {
    return param_info.param ? "CloseBox" : "ExitButton";
});

TEST_F(ShutdownTest, SessionEndAndOutsideKillCloseWithoutAQuestion) {
    EXPECT_TRUE(w->close_for(UnloadReason::AppWindows));
    EXPECT_TRUE(dialogs.shown().empty());
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->timer, nullptr);
    EXPECT_EQ(unloaded, 1);
    EXPECT_TRUE(w->close_for(UnloadReason::AppTaskManager)) << "already closed stays closed";
    EXPECT_EQ(unloaded, 1);
}

TEST_F(ShutdownTest, UnloadTakesEveryOtherWindowWithIt) {
    QWidget other;  // a stray top-level window of the program
    other.show();
    ASSERT_TRUE(w->close_for(UnloadReason::AppTaskManager));
    EXPECT_FALSE(other.isVisible());
}

TEST_F(ShutdownTest, Text1FocusIsTrackedAndTheIdleHandlersDoNothing) {
    QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
    QCoreApplication::sendEvent(w->Text1, &in);
    EXPECT_TRUE(w->st.text1_has_focus);
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(w->Text1, &out);
    EXPECT_FALSE(w->st.text1_has_focus);

    w->Command1->click();
    EXPECT_EQ(w->Command1->text(), QStringLiteral("X"));
    EXPECT_TRUE(dialogs.shown().empty());
    EXPECT_TRUE(w->isVisible());
}

}  // namespace
}  // namespace orvena
