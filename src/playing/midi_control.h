#pragma once
// The MIDI keyboard seen from the window: the port chosen in "Ses ayarları" (saved in
// orvena.ini and opened again at start), its messages carried from the device's thread to
// the event thread and played there, and a device that goes away closing the input quietly
// with one notice. Without a MIDI system the list holds only "Yok" and nothing else changes.
// Event thread only.

#include <QObject>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "playing/midi_input.h"
#include "playing/midi_player.h"
#include "surface/dialogs.h"

namespace orvena {

inline constexpr const char* kMidiPortGone =
    "MIDI aygıtı çıkarıldı; MIDI girişi kapatıldı. Yeniden seçmek için: F9";
inline constexpr const char* kMidiPortNotOpened = "MIDI girişi açılamadı: ";
inline constexpr std::chrono::milliseconds kMidiWatchInterval{1000};

struct MidiConfig {
    // Where the choice is saved; empty: nowhere.
    std::filesystem::path settings_file;
    // The port saved last time; empty: none.
    std::string port;
    // Without it there is no MIDI input at all.
    std::function<std::unique_ptr<MidiInput>()> make_input;
    // How often the open port is looked for among the ports found.
    std::chrono::milliseconds watch_interval = kMidiWatchInterval;
};

class MidiControl {
  public:
    MidiControl(PlayContext& play, std::function<bool()> blocked, MidiConfig config,
                std::ostream& log);
    ~MidiControl();
    MidiControl(const MidiControl&) = delete;
    MidiControl& operator=(const MidiControl&) = delete;

    // At start: the saved port, when it is found; otherwise MIDI stays off, said on the log.
    void open_saved();
    // The player's choice ("" for none): opened and, once open (or for none), saved. A port
    // that does not open gets a notice.
    void choose(const std::string& port);

    std::vector<std::string> ports();
    // The port open now; empty when none is.
    const std::string& open_port() const { return open_port_; }

  private:
    bool open(const std::string& port);
    void close();
    // The open port failed or went away: close it, tell the player once.
    void lost(const std::string& why);
    void check_port_present();

    PlayContext& play_;
    MidiConfig config_;
    std::ostream& log_;
    MidiPlayer player_;
    // Receives what the device's thread hands over; deleting it drops what is still queued.
    QObject inbox_;
    QTimer watch_;
    std::unique_ptr<MidiInput> input_;
    std::string open_port_;
    std::uint64_t generation_ = 0;  // which opening a queued message belongs to
};

}  // namespace orvena
