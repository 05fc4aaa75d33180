#include "presets/tuning_settings.h"

#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <algorithm>

namespace orvena {

namespace {
constexpr const char* kSystemKey = "tuning/system";
constexpr const char* kPreviousKey = "tuning/previous";

QString path_text(const std::filesystem::path& file) {
    return QString::fromStdString(file.string());
}

// A path as saved: one line of text, or nothing.
std::string saved_path(const QSettings& settings, const char* key) {
    const QVariant raw = settings.value(QString::fromLatin1(key));
    // A path with a comma comes back as a list unless it was quoted.
    const QString value = raw.typeId() == QMetaType::QStringList
                              ? raw.toStringList().join(QLatin1Char(','))
                              : raw.toString();
    const bool control = std::any_of(value.begin(), value.end(),
                                     [](QChar c) { return c.category() == QChar::Other_Control; });
    return control ? std::string() : value.toStdString();
}
}  // namespace

TuningSettings read_tuning_settings(const std::filesystem::path& file) {
    QSettings settings(path_text(file), QSettings::IniFormat);
    if (settings.status() != QSettings::NoError) return {};
    return {saved_path(settings, kSystemKey), saved_path(settings, kPreviousKey)};
}

bool write_tuning_settings(const std::filesystem::path& file, const TuningSettings& saved) {
    QSettings settings(path_text(file), QSettings::IniFormat);
    settings.setAtomicSyncRequired(true);
    settings.setValue(QString::fromLatin1(kSystemKey), QString::fromStdString(saved.system));
    settings.setValue(QString::fromLatin1(kPreviousKey), QString::fromStdString(saved.previous));
    settings.sync();
    return settings.status() == QSettings::NoError;
}

}  // namespace orvena
