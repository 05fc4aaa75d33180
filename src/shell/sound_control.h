#pragma once
// The sound output seen from the window: opened in the background with the player's choice
// (the window comes up at once and plays silently until the device is ready), a visible
// notice while there is no sound, the output's latency and underruns on the log once a
// minute, and the "Ses ayarları" dialog (F9, or the context menu of the window's
// background). A watch a few times a second finds an output that was lost (its server gone,
// its device stopped), says so and opens it again by itself once it answers; it logs the
// block size the output moves to after dropouts, and asks for real-time scheduling for each
// new output's thread. Event thread only.

#include <QList>
#include <QPointer>
#include <QString>

#include <chrono>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "shell/background_text.h"
#include "sound/audio_host.h"
#include "sound/block_size_policy.h"
#include "sound/output_opener.h"
#include "sound/realtime_priority.h"
#include "sound/reconnect.h"
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
inline constexpr std::chrono::milliseconds kSoundWatchInterval{200};

struct SoundConfig {
    // Where the dialog saves the player's choice; empty: nowhere.
    std::filesystem::path settings_file;
    AudioChoice choice;
    // Runs on a thread of its own; without it the program stays silent.
    std::function<OpenedOutput(const AudioChoice&)> open;
    std::chrono::milliseconds time_limit = kSoundOpenTimeLimit;
    std::chrono::milliseconds log_interval = kSoundLogInterval;
    std::chrono::milliseconds watch_interval = kSoundWatchInterval;
    // Opens the request of a lost output again, on a thread of its own; null (and why) when it
    // does not open. Without it a lost output stays silent.
    std::function<std::unique_ptr<AudioOutput>(const OutputRequest&, std::string&)> reopen;
    // Asks for real-time scheduling of a kernel thread, on a thread of its own; returns the
    // words for the log and the dialog. Without it the thread keeps its priority.
    std::function<std::string(long thread_id)> make_realtime;
    // Keeps the audio memory in RAM, as far as the system allows; none: not at all.
    MemoryLocker* memory = nullptr;
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
    // The output was lost and is being looked for again.
    bool reconnecting() const { return reconnect_.has_value(); }
    // What the audio thread was granted ("SCHED_FIFO, öncelik 4 (doğrudan)"), and the memory
    // kept in RAM; empty until known.
    std::string realtime_text() const;
    QLabel* notice() const { return notice_; }
    SoundSettingsDialog* dialog() const;
    // The MIDI input the dialog lists and chooses; none: the dialog offers only "Yok".
    void attach_midi(MidiControl* midi) { midi_ = midi; }
    MidiControl* midi() const { return midi_; }

  private:
    void take(OpenedOutput opened);
    void show_notice(const QString& why);
    void log_figures();
    void watch();
    void output_lost();
    void try_reconnect();
    void ask_for_realtime();
    void log_size_change();

    QWidget& window_;
    SoundModule& sound_;
    SoundConfig config_;
    std::ostream& log_;
    OutputOpener opener_;
    std::vector<AudioSystemInfo> systems_;
    QLabel* notice_ = nullptr;
    QTimer* log_timer_ = nullptr;
    QTimer* watch_timer_ = nullptr;
    QPointer<SoundSettingsDialog> dialog_;
    MidiControl* midi_ = nullptr;
    std::optional<OutputRequest> playing_request_;  // what opened the output playing now
    std::optional<Reconnect> reconnect_;
    BackgroundText realtime_asker_;
    bool realtime_wanted_ = false;  // the output's thread has not been asked about yet
    std::string realtime_;
    BufferSize logged_size_{0, 0};
};

}  // namespace orvena
