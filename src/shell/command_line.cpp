#include "shell/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <functional>
#include <ostream>
#include <vector>

#include "shell/sound_settings.h"

namespace orvena {

namespace {

// One option: how the parser knows it, and what its value does to the command line. take()
// returns an error text for a value it refuses, or an empty text.
struct OptionEntry {
    QCommandLineOption option;
    std::function<std::string(const QString& value, CommandLine& line)> take;
};

std::vector<OptionEntry> option_table() {
    std::vector<OptionEntry> table;
    table.push_back(
        {QCommandLineOption(QStringLiteral("audio-api"),
                            QStringLiteral("Sound system: auto, jack, pulse, alsa or none."),
                            QStringLiteral("system")),
         [](const QString& value, CommandLine& line) -> std::string {
             AudioChoice probe;
             const std::string name = value.toStdString();
             if (!set_api_by_name(probe, name)) {
                 return "unknown sound system '" + name + "' (auto, jack, pulse, alsa, none)";
             }
             line.audio_api = name;
             return {};
         }});
    table.push_back(
        {QCommandLineOption(QStringLiteral("audio-device"),
                            QStringLiteral("Output device of the sound system, as the sound "
                                           "settings list it."),
                            QStringLiteral("device")),
         [](const QString& value, CommandLine& line) -> std::string {
             line.audio_device = value.toStdString();
             return {};
         }});
    table.push_back(
        {QCommandLineOption(QStringLiteral("buffer-frames"),
                            QStringLiteral("Frames per sound block, kept whatever happens "
                                           "(default: 128, larger by itself after "
                                           "dropouts)."),
                            QStringLiteral("frames")),
         [](const QString& value, CommandLine& line) -> std::string {
             const auto frames = block_frames_from_text(value.toStdString());
             if (!frames) {
                 return "--buffer-frames wants a number from " + std::to_string(kMinBlockFrames) +
                        " to " + std::to_string(kMaxBlockFrames) + ", not '" + value.toStdString() +
                        "'";
             }
             line.buffer_frames = frames;
             return {};
         }});
    // Listed for --help; main() runs the export before this parser sees its arguments.
    table.push_back({QCommandLineOption(QStringLiteral("export-scala"),
                                        QStringLiteral("Write the Scala files (.scl, .kbm) of the "
                                                       "workbook and a lever setting into the "
                                                       "folder, then end."),
                                        QStringLiteral("folder")),
                     [](const QString&, CommandLine&) -> std::string { return {}; }});
    table.push_back({QCommandLineOption(QStringLiteral("makam"),
                                        QStringLiteral("With --export-scala: the levers of the "
                                                       "makam file NAME.mkm instead of all at 0."),
                                        QStringLiteral("name")),
                     [](const QString&, CommandLine&) -> std::string {
                         return "--makam goes with --export-scala";
                     }});
    // Listed for --help; main() runs the render before this parser sees its arguments.
    table.push_back({QCommandLineOption(QStringLiteral("render"),
                                        QStringLiteral("Render a sequence file (.ses) or a "
                                                       "recording (kayıt.txt) into the WAV file "
                                                       "OUT.wav (48 kHz, 24-bit), then end."),
                                        QStringLiteral("FILE OUT.wav")),
                     [](const QString&, CommandLine&) -> std::string { return {}; }});
    return table;
}

}  // namespace

CommandLine parse_command_line(const QStringList& arguments, std::ostream& out, std::ostream& err) {
    CommandLine line;
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("ORVENA: a 26-string lever zither for hearing tuning systems and makam "
                       "scales."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    std::vector<OptionEntry> table = option_table();
    for (const OptionEntry& entry : table) parser.addOption(entry.option);

    auto fail = [&](const std::string& why) {
        err << "orvena: " << why << "\n"
            << "Try 'orvena --help' for the options.\n";
        line.exit_status = kCommandLineError;
        return line;
    };
    if (!parser.parse(arguments)) return fail(parser.errorText().toStdString());
    if (!parser.positionalArguments().isEmpty()) {
        return fail("unexpected argument '" + parser.positionalArguments().first().toStdString() +
                    "'");
    }
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        QString text = parser.helpText();
        // Without a running application the parser cannot name the program itself.
        text.replace(QStringLiteral("<executable_name>"), QStringLiteral("orvena"));
        out << text.toStdString();
        line.exit_status = 0;
        return line;
    }
    if (parser.isSet(version)) {
        out << "ORVENA " << QCoreApplication::applicationVersion().toStdString() << "\n";
        line.exit_status = 0;
        return line;
    }
    for (const OptionEntry& entry : table) {
        if (!parser.isSet(entry.option)) continue;
        const std::string why = entry.take(parser.value(entry.option), line);
        if (!why.empty()) return fail(why);
    }
    return line;
}

AudioChoice apply_command_line(AudioChoice choice, const CommandLine& line) {
    if (line.audio_api) set_api_by_name(choice, *line.audio_api);
    if (line.audio_device) choice.device = *line.audio_device;
    if (line.buffer_frames) {
        choice.block_frames = *line.buffer_frames;
        choice.block_chosen = true;
    }
    return choice;
}

}  // namespace orvena
