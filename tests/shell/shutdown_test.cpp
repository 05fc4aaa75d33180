// Closing: the question for the close box and the exit button, nothing changed on No, the
// stopwatch halted and every window gone on Yes, no question when the session ends, and a
// system signal during the question.

#include <gtest/gtest.h>

#include <QtTest/qtestspontaneevent.h>
#include <QApplication>
#include <QCloseEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <csignal>

#include "shell/system_close.h"
#include "started_window.h"

namespace orvena {
namespace {

class ShutdownTest : public test::StartedWindow {
  protected:
    void SetUp() override {
        StartedWindow::SetUp();
        w_->on_unloaded([this] { ++unloaded; });
        w_->show();
    }
    // The close box: the window system's own close request.
    void press_close_box() {
        QCloseEvent event;
        QSpontaneKeyEvent::setSpontaneous(&event);
        QApplication::instance()->notify(w_, &event);
    }
    int unloaded = 0;
};

// The close box and the exit button ask; No leaves everything as it was, Yes halts the
// stopwatch and closes the window.
class ShutdownQuestion : public ShutdownTest, public ::testing::WithParamInterface<bool> {
  protected:
    void ask(MessageAnswer answer) {
        dialogs_.answer_next(answer);
        if (GetParam()) {
            press_close_box();
        } else {
            w_->Command10->click();
        }
    }
};

TEST_P(ShutdownQuestion, OnlyYesCloses) {
    w_->st.settings.mandal_pos[5] = 3;
    const xTimer* timer = w_->timer.get();
    ask(MessageAnswer::No);
    ASSERT_EQ(dialogs_.shown().size(), 1u);
    EXPECT_EQ(dialogs_.shown()[0].text, "Bu proğramı kapatmak istiyormusunuz ?");
    EXPECT_EQ(dialogs_.shown()[0].buttons, MessageButtons::YesNo);
    EXPECT_TRUE(w_->isVisible() && w_->timer.get() == timer && w_->st.settings.mandal_pos[5] == 3);
    EXPECT_EQ(unloaded, 0);

    ask(MessageAnswer::Yes);
    EXPECT_EQ(dialogs_.shown().size(), 2u);
    EXPECT_TRUE(!w_->isVisible() && w_->timer == nullptr && unloaded == 1);
}
INSTANTIATE_TEST_SUITE_P(Ways, ShutdownQuestion, ::testing::Bool(), [](const auto& param_info) {
    return param_info.param ? "CloseBox" : "ExitButton";
});

// The session's end closes without a question and takes every other window with it.
TEST_F(ShutdownTest, SessionEndAndOutsideKillCloseWithoutAQuestion) {
    QWidget other;  // a stray top-level window of the program
    other.show();
    EXPECT_TRUE(w_->close_for(UnloadReason::AppWindows));
    EXPECT_TRUE(dialogs_.shown().empty());
    EXPECT_FALSE(w_->isVisible() || other.isVisible());
    EXPECT_EQ(w_->timer, nullptr);
    EXPECT_TRUE(w_->close_for(UnloadReason::AppTaskManager)) << "already closed stays closed";
    EXPECT_EQ(unloaded, 1);
}

// A signal that ends the program while the question is open takes the question away and
// closes the window, whatever the user would have said.
class QuitQuestion : public ::testing::TestWithParam<int> {};

TEST_P(QuitQuestion, SignalWhileItIsOpenClosesItAndEndsTheProgram) {
    test::ensure_qt_app();
    const auto saved_cwd = std::filesystem::current_path();
    test::ProgramFolder folder;
    QtDialogs dialogs;
    Program program{dialogs};
    ASSERT_TRUE(program.start(folder.headless_options()).goes_on);
    arayüz& window = *program.window();
    bool ended = false;
    window.on_unloaded([&ended] { ended = true; });
    window.show();
    {
        const SystemCloseRequests system_close(*qApp, window);
        QString asked;
        QTimer::singleShot(0, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                asked = box->text();
            std::raise(GetParam());
        });
        QTimer::singleShot(5000, [] {  // the signal was lost: answer No so the test ends
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                box->done(QMessageBox::No);
        });
        window.Command10->click();
        EXPECT_EQ(asked, QString::fromUtf8(kQuitQuestion));
    }
    EXPECT_TRUE(ended) << "the program goes on after signal " << GetParam();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    std::filesystem::current_path(saved_cwd);
}

INSTANTIATE_TEST_SUITE_P(Signals, QuitQuestion, ::testing::Values(SIGTERM, SIGHUP, SIGINT));

}  // namespace
}  // namespace orvena
