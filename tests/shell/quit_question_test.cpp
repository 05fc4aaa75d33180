// The quit question and the system: a signal that ends the program while the question is
// open takes the question away and closes the window, whatever the user would have said.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <csignal>

#include "shell/program.h"
#include "shell/system_close.h"
#include "shell_test_support.h"

namespace orvena {
namespace {

class QuitQuestion : public ::testing::TestWithParam<int> {};

TEST_P(QuitQuestion, SignalWhileItIsOpenClosesItAndEndsTheProgram) {
    test::ensure_app();
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

INSTANTIATE_TEST_SUITE_P(Signals, QuitQuestion, ::testing::Values(SIGTERM, SIGHUP));

}  // namespace
}  // namespace orvena
