// ORVENA: a 26-string lever zither for hearing tuning systems and makam scales.

#include <QApplication>
#include <QLocale>
#include <QScreen>

#include <iostream>
#include <sstream>

#include "options/command_line.h"
#include "playing/midi_settings.h"
#include "playing/rtmidi_input.h"
#include "shell/program.h"
#include "shell/program_working_folder.h"
#include "shell/system_close.h"
#include "shell/system_sound.h"
#include "shell/windowless_commands.h"
#include "sound/sound_settings.h"
#include "surface/dialogs.h"
#include "surface/qt_translation.h"
#include "tuning/number_format.h"

int main(int argc, char** argv) {
    if (const auto status = orvena::run_windowless_command(argc, argv)) return *status;
    QCoreApplication::setApplicationVersion(QStringLiteral(ORVENA_VERSION));
    // --help and --version answer even where no window can open.
    {
        QStringList raw;
        for (int i = 0; i < argc; ++i) raw << QString::fromLocal8Bit(argv[i]);
        std::ostringstream no_errors_yet;
        const orvena::CommandLine early = orvena::parse_command_line(raw, std::cout, no_errors_yet);
        if (early.exit_status == 0) return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ORVENA"));
    // File, progress and colour dialogs in Turkish like the rest of the program, when the
    // toolkit's translation is installed.
    const auto turkish_toolkit = orvena::install_turkish_toolkit_texts();
    // The toolkit has taken its own options out; whatever is left must be ours.
    const orvena::CommandLine line =
        orvena::parse_command_line(QCoreApplication::arguments(), std::cout, std::cerr);
    if (line.exit_status) return *line.exit_status;
    QApplication::setQuitOnLastWindowClosed(false);

    orvena::QtDialogs dialogs;
    orvena::Program program(dialogs);
    orvena::ProgramOptions options;
    options.program_folder = orvena::program_working_folder(orvena::executable_folder());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        options.screen_pixels = screen->size();
    }
    options.message_owner = [&dialogs](QWidget* owner) { dialogs.set_parent(owner); };
    // Named from where the program was started; start-up then works in the program folder.
    if (line.tuning) options.tuning_file = std::filesystem::absolute(*line.tuning);
    options.sound.settings_file = options.program_folder / orvena::kSettingsFileName;
    options.sound.choice = orvena::apply_command_line(
        orvena::read_sound_settings(options.sound.settings_file, std::cerr), line);
    orvena::use_system_sound(options.sound);
    options.midi.settings_file = options.sound.settings_file;
    options.midi.port = orvena::read_midi_port(options.midi.settings_file, std::cerr);
    options.midi.make_input = [] { return orvena::make_rtmidi_input(); };
    // The panel prints decimals the way the user's locale writes them.
    options.decimal_separator =
        orvena::decimal_separator_of(QLocale::system().decimalPoint().toStdString());

    const orvena::StartupOutcome outcome = program.start(options);
    if (!outcome.goes_on) return outcome.exit_status;

    orvena::arayüz& window = *program.window();
    window.on_unloaded([] { QCoreApplication::quit(); });

    // Logging off, shutting down or a signal closes the window without the question.
    const orvena::SystemCloseRequests system_close(app, window);

    return QApplication::exec();
}
