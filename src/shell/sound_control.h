#pragma once
// The sound output seen from the window: a visible notice while there is no sound, and the
// "Ses ayarları" dialog (F9, or the context menu of the window's background). The output
// itself is opened, watched and logged by `OutputKeeper`. Event thread only.

#include <QList>
#include <QPointer>
#include <QString>

#include <iosfwd>

#include "sound/output_keeper.h"

class QAction;
class QLabel;
class QWidget;
class QPoint;

namespace orvena {

class MidiControl;
class SoundSettingsDialog;

inline constexpr const char* kNoSoundNotice = "Ses yok — ayarlar: F9";
inline constexpr const char* kSoundSettingsTitle = "Ses ayarları";

class SoundControl {
  public:
    SoundControl(QWidget& window, SoundModule& sound, SoundConfig config, std::ostream& log);
    ~SoundControl();
    SoundControl(const SoundControl&) = delete;
    SoundControl& operator=(const SoundControl&) = delete;

    // Opens the output with the current choice, in the background.
    void open_output() { keeper_.open_output(); }
    // The player's new choice: saved in the settings file and opened.
    void apply(const AudioChoice& choice) { keeper_.apply(choice); }
    void show_settings();
    // The window's context menu: the sound settings, then the window's other entries.
    void show_menu(const QPoint& global_position, const QList<QAction*>& more = {});

    const AudioChoice& choice() const { return keeper_.choice(); }
    const std::vector<AudioSystemInfo>& systems() const { return keeper_.systems(); }
    const AudioOutput& output() const { return keeper_.output(); }
    bool opening() const { return keeper_.opening(); }
    // The output was lost and is being looked for again.
    bool reconnecting() const { return keeper_.reconnecting(); }
    // What the audio thread was granted and the memory kept in RAM; empty until known.
    std::string realtime_text() const { return keeper_.realtime_text(); }
    const OutputKeeper& keeper() const { return keeper_; }
    QLabel* notice() const { return notice_; }
    SoundSettingsDialog* dialog() const;
    // The MIDI input the dialog lists and chooses; none: the dialog offers only "Yok".
    void attach_midi(MidiControl* midi) { midi_ = midi; }
    MidiControl* midi() const { return midi_; }

  private:
    void show_notice(const QString& why);

    QWidget& window_;
    QLabel* notice_ = nullptr;
    QPointer<SoundSettingsDialog> dialog_;
    MidiControl* midi_ = nullptr;
    OutputKeeper keeper_;
};

}  // namespace orvena
