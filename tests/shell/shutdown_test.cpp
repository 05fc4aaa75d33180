// Closing: the question for the close box and the exit button, nothing changed on No, every
// window gone on Yes, no question when the session ends, and a system signal during the question.

#include <QtTest/qtestspontaneevent.h>
#include <QCloseEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <csignal>

#include "shell/system_close.h"
#include "started_window.h"

namespace orvena {
namespace {

enum class Way { close_box, exit_button, session_end };

class ShutdownQuestion : public test::StartedWindow, public ::testing::WithParamInterface<Way> {};

// The close box and the exit button ask, and only Yes closes; the session's end does not ask.
// Closing takes every other window of the program with it.
TEST_P(ShutdownQuestion, OnlyYesClosesAndTheSessionsEndDoesNotAsk) {
    int unloaded = 0;
    w_->on_unloaded([&] { ++unloaded; });
    w_->show();
    QWidget other;  // a stray top-level window of the program
    other.show();
    set_lever(5, 3);
    const auto close = [&](MessageAnswer answer) {
        dialogs_.answer_next(answer);
        QCloseEvent event;
        QSpontaneKeyEvent::setSpontaneous(&event);
        if (GetParam() == Way::close_box) QApplication::instance()->notify(w_, &event);
        if (GetParam() == Way::exit_button) test::control<QPushButton>(*w_, "Command10").click();
        if (GetParam() == Way::session_end) w_->close_for(UnloadReason::AppWindows);
    };
    const bool asks = GetParam() != Way::session_end;
    if (asks) {
        close(MessageAnswer::No);
        ASSERT_EQ(dialogs_.shown().size(), 1u);
        EXPECT_EQ(dialogs_.shown()[0].text, "Bu proğramı kapatmak istiyormusunuz ?");
        EXPECT_EQ(dialogs_.shown()[0].buttons, MessageButtons::YesNo);
        EXPECT_TRUE(w_->isVisible() && other.isVisible() &&
                    w_->state().settings.mandal_pos[5] == 3 && unloaded == 0);
    }
    close(MessageAnswer::Yes);
    EXPECT_EQ(dialogs_.shown().size(), asks ? 2u : 0u);
    EXPECT_TRUE(!w_->isVisible() && !other.isVisible());
    EXPECT_TRUE(w_->close_for(UnloadReason::AppTaskManager) && unloaded == 1) << "closed, once";
}
INSTANTIATE_TEST_SUITE_P(Ways, ShutdownQuestion,
                         ::testing::Values(Way::close_box, Way::exit_button, Way::session_end));

// A signal that ends the program while the real question is open takes the question away and
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
        QTimer::singleShot(5000, [] {  // still up: answer No so the test ends
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                ADD_FAILURE() << "the question stayed up";
                box->done(QMessageBox::No);
            }
        });
        test::control<QPushButton>(window, "Command10").click();
        EXPECT_EQ(asked, QString::fromUtf8("Bu proğramı kapatmak istiyormusunuz ?"));
    }
    EXPECT_TRUE(ended) << "the program goes on after signal " << GetParam();
    EXPECT_TRUE(!window.isVisible() && QApplication::activeModalWidget() == nullptr);
    std::filesystem::current_path(saved_cwd);
}
INSTANTIATE_TEST_SUITE_P(Signals, QuitQuestion, ::testing::Values(SIGTERM, SIGHUP, SIGINT));

}  // namespace
}  // namespace orvena
