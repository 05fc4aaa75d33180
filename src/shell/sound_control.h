#pragma once
// The sound output seen from the window: opened in the background with the player's choice
// (the window comes up at once and plays silently until the device is ready), a visible
// notice while there is no sound, the output's latency and underruns on the log once a
// minute, and the "Ses ayarları" dialog (F9, or the context menu of the window's
// background). Event thread only.

#include <QList>
#include <QPointer>
#include <QString>

#include <chrono>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <vector>

#include "shell/output_opener.h"
#include "sound/audio_host.h"
#include "sound/sound_module.h"

class QAction;
class QLabel;
class QTimer;
class QWidget;
class QPoint;

namespace orvena {

class MidiControl;
class SoundSettingsDialog;

inline constexpr const char* kNoSoundNotice = "Ses yok — ayarlar: F9";
inline constexpr const char* kSoundSettingsTitle = "Ses ayarları";
inline constexpr std::chrono::milliseconds kSoundOpenTimeLimit{2000};
inline constexpr std::chrono::milliseconds kSoundLogInterval{60000};

struct SoundConfig {
    // Where the dialog saves the player's choice; empty: nowhere.
    std::filesystem::path settings_file;
    AudioChoice choice;
    // Runs on a thread of its own; without it the program stays silent.
    std::function<OpenedOutput(const AudioChoice&)> open;
    std::chrono::milliseconds time_limit = kSoundOpenTimeLimit;
    std::chrono::milliseconds log_interval = kSoundLogInterval;
};

class SoundControl {
  public:
    SoundControl(QWidget& window, SoundModule& sound, SoundConfig config, std::ostream& log);
    ~SoundControl();
    SoundControl(const SoundControl&) = delete;
    SoundControl& operator=(const SoundControl&) = delete;

    // Opens the output with the current choice, in the background.
    void open_output();
    // The player's new choice: saved in the settings file and opened.
    void apply(const AudioChoice& choice);
    void show_settings();
    // The window's context menu: the sound settings, then the window's other entries.
    void show_menu(const QPoint& global_position, const QList<QAction*>& more = {});

    const AudioChoice& choice() const { return config_.choice; }
    const std::vector<AudioSystemInfo>& systems() const { return systems_; }
    const AudioOutput& output() const { return sound_.output(); }
    bool opening() const { return opener_.pending(); }
    QLabel* notice() const { return notice_; }
    SoundSettingsDialog* dialog() const;
    // The MIDI input the dialog lists and chooses; none: the dialog offers only "Yok".
    void attach_midi(MidiControl* midi) { midi_ = midi; }
    MidiControl* midi() const { return midi_; }

  private:
    void take(OpenedOutput opened);
    void show_notice(const QString& why);
    void log_figures();

    QWidget& window_;
    SoundModule& sound_;
    SoundConfig config_;
    std::ostream& log_;
    OutputOpener opener_;
    std::vector<AudioSystemInfo> systems_;
    QLabel* notice_ = nullptr;
    QTimer* log_timer_ = nullptr;
    QPointer<SoundSettingsDialog> dialog_;
    MidiControl* midi_ = nullptr;
};

}  // namespace orvena
