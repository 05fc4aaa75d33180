#include "options/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <functional>
#include <ostream>
#include <vector>

#include "files/shown_text.h"
#include "sound/sound_settings.h"

namespace orvena {

namespace {

// One option: how the parser knows it, and what its value does to the command line. take()
// returns an error text for a value it refuses, or an empty text.
struct OptionEntry {
    QCommandLineOption option;
    std::function<std::string(const QString& value, CommandLine& line)> take;
};

// The options the window takes for its run.
void add_window_options(std::vector<OptionEntry>& table) {
    table.push_back(
        {QCommandLineOption(QStringLiteral("audio-api"),
                            QStringLiteral("Ses sistemi: auto, jack, pulse, alsa ya da none."),
                            QStringLiteral("sistem")),
         [](const QString& value, CommandLine& line) -> std::string {
             AudioChoice probe;
             const std::string name = value.toStdString();
             if (!set_api_by_name(probe, name)) {
                 return "bilinmeyen ses sistemi " + in_quotes(name) +
                        " (auto, jack, pulse, alsa, none)";
             }
             line.audio_api = name;
             return {};
         }});
    table.push_back(
        {QCommandLineOption(QStringLiteral("audio-device"),
                            QString::fromUtf8("Ses sisteminin çıkış aygıtı, ses ayarlarının "
                                              "listelediği adıyla."),
                            QString::fromUtf8("aygıt")),
         [](const QString& value, CommandLine& line) -> std::string {
             line.audio_device = value.toStdString();
             return {};
         }});
    table.push_back(
        {QCommandLineOption(
             QStringLiteral("buffer-frames"),
             QString::fromUtf8("Bir ses bloğundaki çerçeve sayısı, ne olursa olsun "
                               "korunur (olağanı 128; kesintilerden sonra kendiliğinden "
                               "büyür)."),
             QString::fromUtf8("çerçeve")),
         [](const QString& value, CommandLine& line) -> std::string {
             const auto frames = block_frames_from_text(value.toStdString());
             if (!frames) {
                 return "--buffer-frames " + std::to_string(kMinBlockFrames) + " ile " +
                        std::to_string(kMaxBlockFrames) + " arasında bir sayı ister, " +
                        in_quotes(value.toStdString()) + " değil";
             }
             line.buffer_frames = frames;
             return {};
         }});
    table.push_back({QCommandLineOption(QStringLiteral("tuning"),
                                        QString::fromUtf8("Bu çalışma için akort sistemi: bir "
                                                          "Scala dizisi (.scl; yanında aynı "
                                                          "adlı .kbm varsa onunla) ya da bir "
                                                          "akort çalışma kitabı (.xls). "
                                                          "--export-scala, --render, "
                                                          "--export-midi ve --export-musicxml "
                                                          "de onu kullanır."),
                                        QString::fromUtf8("dosya")),
                     [](const QString& value, CommandLine& line) -> std::string {
                         line.tuning = value.toStdString();
                         return {};
                     }});
}

// The commands that write a file and end without a window, listed for --help: main() runs
// them before this parser sees their arguments. Their own options alone are an error here.
void add_windowless_options(std::vector<OptionEntry>& table) {
    table.push_back(
        {QCommandLineOption(QStringLiteral("export-scala"),
                            QString::fromUtf8("Akort çizelgesinin ve bir mandal düzeninin Scala "
                                              "dosyalarını (.scl, .kbm) klasöre yazar ve biter; "
                                              "klasör yoksa oluşturulur."),
                            QString::fromUtf8("klasör")),
         [](const QString&, CommandLine&) -> std::string { return {}; }});
    table.push_back({QCommandLineOption(QStringLiteral("makam"),
                                        QString::fromUtf8("--export-scala ile: mandalların hepsi "
                                                          "0 yerine AD.mkm makam dosyasındaki "
                                                          "gibi."),
                                        QStringLiteral("AD")),
                     [](const QString&, CommandLine&) -> std::string {
                         return "--makam yalnız --export-scala ile kullanılır";
                     }});
    table.push_back(
        {QCommandLineOption(QStringLiteral("render"),
                            QString::fromUtf8("Bir ses dosyasını (.ses) ya da kaydı (kayıt.txt) "
                                              "ÇIKTI.wav dosyasına (48 kHz, 24 bit) yazar ve "
                                              "biter."),
                            QString::fromUtf8("DOSYA ÇIKTI.wav")),
         [](const QString&, CommandLine&) -> std::string { return {}; }});
    table.push_back(
        {QCommandLineOption(QStringLiteral("export-midi"),
                            QString::fromUtf8("Bir ses dosyasını (.ses) ya da kaydı (kayıt.txt), "
                                              "her notası ORVENA'nın çaldığı perdede, ÇIKTI.mid "
                                              "MIDI dosyasına yazar ve biter."),
                            QString::fromUtf8("DOSYA ÇIKTI.mid")),
         [](const QString&, CommandLine&) -> std::string { return {}; }});
    table.push_back(
        {QCommandLineOption(QStringLiteral("midi-tuning"),
                            QString::fromUtf8("--export-midi ile: perdeler mts (MIDI ayar "
                                              "standardı; olağanı bu) ya da bend (nota başına "
                                              "perde bükme) ile aktarılır."),
                            QStringLiteral("mts|bend")),
         [](const QString&, CommandLine&) -> std::string {
             return "--midi-tuning yalnız --export-midi ile kullanılır";
         }});
    table.push_back(
        {QCommandLineOption(QStringLiteral("export-musicxml"),
                            QString::fromUtf8("Bir ses dosyasını (.ses) ÇIKTI.musicxml MusicXML "
                                              "notasına yazar ve biter."),
                            QString::fromUtf8("DOSYA.ses ÇIKTI.musicxml")),
         [](const QString&, CommandLine&) -> std::string { return {}; }});
}

std::vector<OptionEntry> option_table() {
    std::vector<OptionEntry> table;
    add_window_options(table);
    add_windowless_options(table);
    return table;
}

// The help, in Turkish: the toolkit's own help would be English wherever its translation is
// missing, and it is not loaded yet when --help is answered.
std::string help_text(const std::vector<OptionEntry>& table) {
    std::vector<std::pair<QString, QString>> rows = {
        {QStringLiteral("-h, --help"), QString::fromUtf8("Bu yardımı gösterir.")},
        {QStringLiteral("-v, --version"), QString::fromUtf8("Sürümü gösterir.")},
    };
    for (const OptionEntry& entry : table) {
        const QCommandLineOption& o = entry.option;
        rows.emplace_back(QStringLiteral("--") + o.names().first() + QStringLiteral(" <") +
                              o.valueName() + QStringLiteral(">"),
                          o.description());
    }
    QString text = QString::fromUtf8(
        "Kullanım: orvena [seçenekler]\n"
        "ORVENA: ayar sistemlerini ve makam dizilerini kulakla denemek için\n"
        "26 telli mandallı çalgı.\n\nSeçenekler:\n");
    // Descriptions wrap at 80 columns, under their own column.
    constexpr int kLeft = 28, kRight = 80 - kLeft - 3;
    for (const auto& [left, right] : rows) {
        QString line = QStringLiteral("  ") + left.leftJustified(kLeft) + QStringLiteral(" ");
        if (line.size() > kLeft + 3) {  // a heading longer than its column stands on its own line
            text += line.chopped(1) + QStringLiteral("\n");
            line = QString(kLeft + 3, QLatin1Char(' '));
        }
        int used = 0;
        for (const QString& word : right.split(QLatin1Char(' '))) {
            if (used > 0 && used + 1 + word.size() > kRight) {
                text += line + QStringLiteral("\n");
                line = QString(kLeft + 3, QLatin1Char(' '));
                used = 0;
            }
            line += (used > 0 ? QStringLiteral(" ") : QString()) + word;
            used += (used > 0 ? 1 : 0) + static_cast<int>(word.size());
        }
        text += line + QStringLiteral("\n");
    }
    return text.toStdString();
}

// Why the parser refused the arguments, in Turkish.
std::string parse_problem(const QCommandLineParser& parser, const QStringList& arguments,
                          const std::vector<OptionEntry>& table) {
    if (!parser.unknownOptionNames().isEmpty()) {
        const QString name = parser.unknownOptionNames().first();
        return "bilinmeyen seçenek " +
               in_quotes((name.size() == 1 ? "-" : "--") + name.toStdString());
    }
    for (const OptionEntry& entry : table) {
        const QString name = QStringLiteral("--") + entry.option.names().first();
        if (!arguments.isEmpty() && arguments.last() == name)
            return name.toStdString() + " bir değer ister";
    }
    return "komut satırı anlaşılamadı: " + shown(parser.errorText().toStdString());
}

}  // namespace

CommandLine parse_command_line(const QStringList& arguments, std::ostream& out, std::ostream& err) {
    CommandLine line;
    QCommandLineParser parser;
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    std::vector<OptionEntry> table = option_table();
    for (const OptionEntry& entry : table) parser.addOption(entry.option);

    auto fail = [&](const std::string& why) {
        err << "orvena: " << why << "\n"
            << "Seçenekler için: orvena --help\n";
        line.exit_status = kCommandLineError;
        return line;
    };
    if (!parser.parse(arguments)) return fail(parse_problem(parser, arguments, table));
    if (!parser.positionalArguments().isEmpty()) {
        return fail("beklenmeyen argüman " +
                    in_quotes(parser.positionalArguments().first().toStdString()));
    }
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        out << help_text(table);
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
