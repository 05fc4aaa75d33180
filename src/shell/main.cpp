// ORVENA: a 26-string lever zither for hearing tuning systems and makam scales.

#include <QApplication>
#include <QLocale>
#include <QScreen>

#include "shell/command_line.h"
#include "shell/program.h"
#include "shell/program_folder.h"
#include "shell/system_close.h"
#include "sound/audio_output.h"
#include "surface/dialogs.h"

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

    // Logging off, shutting down or a signal closes the window without the question.
    const orvena::SystemCloseRequests system_close(app, window);

    return QApplication::exec();
}
