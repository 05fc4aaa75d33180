#include "sound/sound_settings.h"

#include <QSettings>
#include <QString>

#include <charconv>
#include <ostream>

#include "files/shown_text.h"
#include "files/user_file.h"

namespace orvena {

namespace {
constexpr const char* kApiKey = "sound/api";
constexpr const char* kDeviceKey = "sound/device";
constexpr const char* kBlockKey = "sound/buffer_frames";
// The block size the output starts at and changes by itself after dropouts.
constexpr const char* kAutomaticBlock = "auto";

QString path_text(const std::filesystem::path& file) {
    return QString::fromStdString(file.string());
}
}  // namespace

bool set_api_by_name(AudioChoice& choice, std::string_view name) {
    if (name == "auto") {
        choice.api.reset();
        choice.silent = false;
        return true;
    }
    if (name == "none") {
        choice.api.reset();
        choice.silent = true;
        return true;
    }
    const auto api = api_from_name(name);
    if (!api) return false;
    choice.api = api;
    choice.silent = false;
    return true;
}

std::string api_setting_name(const AudioChoice& choice) {
    if (choice.silent) return "none";
    return choice.api ? std::string(api_name(*choice.api)) : "auto";
}

std::optional<unsigned> block_frames_from_text(std::string_view text) {
    unsigned frames = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), frames);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (frames < kMinBlockFrames || frames > kMaxBlockFrames) return std::nullopt;
    return frames;
}

bool settings_file_readable(const std::filesystem::path& file) {
    std::error_code ec;
    return !std::filesystem::exists(file, ec) || !user_file_problem(file, 1u << 20);
}

AudioChoice read_sound_settings(const std::filesystem::path& file, std::ostream& log) {
    AudioChoice choice;
    const std::string where = "ORVENA: " + file.filename().string() + ": ";
    if (!settings_file_readable(file)) {
        log << where << "cannot be read; the default sound settings are used\n";
        return choice;
    }
    QSettings settings(path_text(file), QSettings::IniFormat);
    if (settings.status() != QSettings::NoError) {
        log << where << "cannot be read; the default sound settings are used\n";
        return choice;
    }
    if (settings.contains(kApiKey)) {
        const std::string api = settings.value(kApiKey).toString().trimmed().toStdString();
        if (!set_api_by_name(choice, api)) {
            log << where << "unknown sound system '" << shown(api)
                << "' (auto, jack, pulse, alsa, none); auto is used\n";
        }
    }
    // An unquoted comma ("hw:1,0" written by hand) makes the INI reader split the value.
    const QVariant device = settings.value(kDeviceKey);
    choice.device =
        (device.typeId() == QMetaType::QStringList ? device.toStringList().join(QLatin1Char(','))
                                                   : device.toString())
            .trimmed()
            .toStdString();
    if (settings.contains(kBlockKey)) {
        const std::string text = settings.value(kBlockKey).toString().trimmed().toStdString();
        if (const auto frames = block_frames_from_text(text)) {
            choice.block_frames = *frames;
            choice.block_chosen = true;
        } else if (text != kAutomaticBlock) {
            log << where << "buffer_frames '" << shown(text) << "' is neither " << kAutomaticBlock
                << " nor a number from " << kMinBlockFrames << " to " << kMaxBlockFrames
                << "; the block size is chosen automatically\n";
        }
    }
    return choice;
}

bool write_sound_settings(const std::filesystem::path& file, const AudioChoice& choice) {
    QSettings settings(path_text(file), QSettings::IniFormat);
    // Only a whole new file replaces the old one; a failed write leaves the old one.
    settings.setAtomicSyncRequired(true);
    settings.setValue(kApiKey, QString::fromStdString(api_setting_name(choice)));
    settings.setValue(kDeviceKey, QString::fromStdString(choice.device));
    if (choice.block_chosen) {
        settings.setValue(kBlockKey, choice.block_frames);
    } else {
        settings.setValue(kBlockKey, QString::fromLatin1(kAutomaticBlock));
    }
    settings.sync();
    return settings.status() == QSettings::NoError;
}

}  // namespace orvena
