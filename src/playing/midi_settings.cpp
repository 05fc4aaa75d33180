#include "playing/midi_settings.h"

#include <QRegularExpression>
#include <QSettings>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <ostream>

#include "sound/sound_settings.h"

namespace orvena {

namespace {
constexpr const char* kPortKey = "midi/port";

QString path_text(const std::filesystem::path& file) {
    return QString::fromStdString(file.string());
}

// "Keystation 49:Keystation 49 MIDI 1 24:0" without its trailing "24:0".
std::string without_client_numbers(const std::string& name) {
    static const QRegularExpression numbers(QStringLiteral(R"(\s+\d+:\d+$)"));
    return QString::fromStdString(name).remove(numbers).toStdString();
}
}  // namespace

std::string read_midi_port(const std::filesystem::path& file, std::ostream& log) {
    if (!settings_file_readable(file)) return {};
    QSettings settings(path_text(file), QSettings::IniFormat);
    if (settings.status() != QSettings::NoError) return {};
    const QVariant value = settings.value(kPortKey);
    // A name with a comma comes back as a list unless it was quoted.
    const QString port =
        (value.typeId() == QMetaType::QStringList ? value.toStringList().join(QLatin1Char(','))
                                                  : value.toString())
            .trimmed();
    const bool printable = std::none_of(
        port.begin(), port.end(), [](QChar c) { return c.category() == QChar::Other_Control; });
    if (!printable) {
        log << "ORVENA: " << file.filename().string()
            << ": the MIDI port name holds control characters; MIDI input is off\n";
        return {};
    }
    return port.toStdString();
}

bool write_midi_port(const std::filesystem::path& file, const std::string& port) {
    QSettings settings(path_text(file), QSettings::IniFormat);
    settings.setAtomicSyncRequired(true);
    settings.setValue(kPortKey, QString::fromStdString(port));
    settings.sync();
    return settings.status() == QSettings::NoError;
}

std::optional<std::string> find_midi_port(const std::vector<std::string>& found,
                                          const std::string& saved) {
    if (saved.empty()) return std::nullopt;
    if (std::find(found.begin(), found.end(), saved) != found.end()) return saved;
    const std::string bare = without_client_numbers(saved);
    for (const std::string& port : found) {
        if (without_client_numbers(port) == bare) return port;
    }
    return std::nullopt;
}

}  // namespace orvena
