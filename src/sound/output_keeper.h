#pragma once
// Keeps the sound output playing: opens it in the background with the player's choice (the
// program plays silently until the device is ready), saves a new choice in the settings
// file, logs the output's latency and underruns once a minute, and watches it a few times a
// second: an output that was lost (its server gone, its device stopped) is said so and opened
// again by itself once it answers; the block size the output moves to after dropouts is
// logged, and each new output's thread is asked for real-time scheduling. What the player
// sees of it (a notice, the settings dialog) is told through `OutputEvents`.
// Event thread only.

#include <QObject>
#include <QTimer>

#include <chrono>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "sound/audio_host.h"
#include "sound/background_text.h"
#include "sound/block_size_policy.h"
#include "sound/output_opener.h"
#include "sound/realtime_priority.h"
#include "sound/reconnect.h"
#include "sound/sound_module.h"

namespace orvena {

inline constexpr std::chrono::milliseconds kSoundOpenTimeLimit{2000};
inline constexpr std::chrono::milliseconds kSoundLogInterval{60000};
inline constexpr std::chrono::milliseconds kSoundWatchInterval{200};

struct SoundConfig {
    // Where a new choice is saved; empty: nowhere.
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

// What the player should be shown; each may be empty.
struct OutputEvents {
    // There is no sound, and why (the output's own words, or the program's).
    std::function<void(const std::string& why)> silent;
    // A device plays.
    std::function<void()> playing;
    // A new output was taken (the systems found may have changed too).
    std::function<void()> taken;
    // The output's figures changed: lost, a new block size, the real-time grant.
    std::function<void()> figures_changed;
};

class OutputKeeper {
  public:
    // `context` carries the results of the background work to the event thread.
    OutputKeeper(QObject& context, SoundModule& sound, SoundConfig config, std::ostream& log);
    // Logs the run's figures, underruns included, once more.
    ~OutputKeeper();
    OutputKeeper(const OutputKeeper&) = delete;
    OutputKeeper& operator=(const OutputKeeper&) = delete;

    void set_events(OutputEvents events) { events_ = std::move(events); }
    // Opens the output with the current choice, in the background.
    void open_output();
    // The player's new choice: saved in the settings file and opened.
    void apply(const AudioChoice& choice);

    const AudioChoice& choice() const { return config_.choice; }
    const std::vector<AudioSystemInfo>& systems() const { return systems_; }
    const AudioOutput& output() const { return sound_.output(); }
    bool opening() const { return opener_.pending(); }
    // The output was lost and is being looked for again.
    bool reconnecting() const { return reconnect_.has_value(); }
    // What the audio thread was granted ("SCHED_FIFO, öncelik 4 (doğrudan)"), and the memory
    // kept in RAM; empty until known.
    std::string realtime_text() const;

  private:
    void take(OpenedOutput opened);
    void silent(const std::string& why);
    void log_figures();
    void watch();
    void output_lost();
    void try_reconnect();
    void ask_for_realtime();
    void log_size_change();
    void figures_changed();

    SoundModule& sound_;
    SoundConfig config_;
    std::ostream& log_;
    OutputEvents events_;
    OutputOpener opener_;
    std::vector<AudioSystemInfo> systems_;
    QTimer log_timer_;
    QTimer watch_timer_;
    std::optional<OutputRequest> playing_request_;  // what opened the output playing now
    std::optional<Reconnect> reconnect_;
    BackgroundText realtime_asker_;
    bool realtime_wanted_ = false;  // the output's thread has not been asked about yet
    std::string realtime_;
    BufferSize logged_size_{0, 0};
};

}  // namespace orvena
