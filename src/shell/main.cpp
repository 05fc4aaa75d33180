// ORVENA: a 26-string lever zither for hearing tuning systems and makam scales.

#include <QApplication>
#include <QLocale>
#include <QScreen>
#include <QSessionManager>
#include <QSocketNotifier>

#include <sys/socket.h>
#include <unistd.h>
#include <csignal>

#include "shell/command_line.h"
#include "shell/program.h"
#include "shell/program_folder.h"
#include "sound/audio_output.h"
#include "surface/dialogs.h"

namespace {

int g_signal_fds[2] = {-1, -1};

void on_terminate_signal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(g_signal_fds[0], &byte, 1);
}

}  // namespace

int main(int argc, char** argv) {
    if (const auto status = orvena::run_command_line(argc, argv)) return *status;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ORVENA"));
    QApplication::setQuitOnLastWindowClosed(false);

    orvena::QtDialogs dialogs;
    orvena::Program program(dialogs);
    orvena::ProgramOptions options;
    options.program_folder = orvena::program_working_folder(orvena::executable_folder());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        options.screen_pixels = screen->size();
    }
    options.message_owner = [&dialogs](QWidget* owner) { dialogs.set_parent(owner); };
    options.open_audio_output = [] { return orvena::open_default_output(); };
    // The panel prints decimals the way the user's locale writes them.
    const QString point = QLocale::system().decimalPoint();
    if (point.size() == 1 && point.at(0).unicode() < 128) {
        options.decimal_separator = static_cast<char>(point.at(0).unicode());
    }

    const orvena::StartupOutcome outcome = program.start(options);
    if (!outcome.goes_on) return outcome.exit_status;

    orvena::arayüz& window = *program.window();
    window.on_unloaded([] { QCoreApplication::quit(); });

    // Logging off or shutting down closes the window without the question.
    QObject::connect(
        &app, &QGuiApplication::commitDataRequest, &window,
        [&window](QSessionManager&) { window.close_for(orvena::UnloadReason::AppWindows); });
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &window, [&window] {
        if (window.loaded()) window.close_for(orvena::UnloadReason::AppWindows);
    });

    // Ended from outside (kill, a task manager): no question either. The signal handler only
    // writes a byte; the window closes on the event thread.
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signal_fds) == 0) {
        auto* notifier = new QSocketNotifier(g_signal_fds[1], QSocketNotifier::Read, &app);
        QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] {
            char byte;
            [[maybe_unused]] const auto got = ::read(g_signal_fds[1], &byte, 1);
            window.close_for(orvena::UnloadReason::AppTaskManager);
        });
        struct sigaction action {};
        action.sa_handler = on_terminate_signal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(SIGTERM, &action, nullptr);
        sigaction(SIGHUP, &action, nullptr);
    }

    return QApplication::exec();
}
