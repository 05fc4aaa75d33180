#include "playing/midi_control.h"

#include <QMetaObject>

#include <algorithm>
#include <ostream>

#include "playing/midi_settings.h"

namespace orvena {

MidiControl::MidiControl(PlayContext& play, std::function<bool()> blocked, MidiConfig config,
                         std::ostream& log)
    : play_(play), config_(std::move(config)), log_(log), player_(play, std::move(blocked)) {
    if (config_.make_input) input_ = config_.make_input();
    watch_.setInterval(static_cast<int>(config_.watch_interval.count()));
    QObject::connect(&watch_, &QTimer::timeout, &inbox_, [this] { check_port_present(); });
}

MidiControl::~MidiControl() {
    // Only the port: the window, its sound and its pictures are going away with it.
    watch_.stop();
    if (input_) input_->close();
}

std::vector<std::string> MidiControl::ports() {
    return input_ ? input_->ports() : std::vector<std::string>{};
}

void MidiControl::open_saved() {
    if (config_.port.empty()) return;
    const auto port = find_midi_port(ports(), config_.port);
    if (!port || !open(*port)) {
        log_ << "ORVENA: the MIDI port '" << config_.port
             << "' is not there; MIDI input is off until it is chosen again (F9)\n";
    }
}

void MidiControl::choose(const std::string& port) {
    if (!port.empty() && port == open_port_) return;
    if (!port.empty() && !open(port)) {
        play_.dialogs.notice(kMidiPortNotOpened + port);
        return;
    }
    if (port.empty()) close();
    config_.port = port;
    if (!config_.settings_file.empty() && !write_midi_port(config_.settings_file, port)) {
        log_ << "ORVENA: the MIDI choice could not be saved in " << config_.settings_file.string()
             << "\n";
    }
}

bool MidiControl::open(const std::string& port) {
    close();
    if (!input_) return false;
    const std::uint64_t generation = ++generation_;
    // Both handlers run on the device's thread: they only queue work for the event thread.
    auto on_message = [this, generation](std::vector<unsigned char> message) {
        QMetaObject::invokeMethod(
            &inbox_,
            [this, generation, message = std::move(message)] {
                if (generation == generation_ && !open_port_.empty()) player_.receive(message);
            },
            Qt::QueuedConnection);
    };
    auto on_error = [this, generation](std::string what) {
        QMetaObject::invokeMethod(
            &inbox_,
            [this, generation, what = std::move(what)] {
                if (generation == generation_ && !open_port_.empty()) lost(what);
            },
            Qt::QueuedConnection);
    };
    if (!input_->open(port, std::move(on_message), std::move(on_error))) return false;
    open_port_ = port;
    watch_.start();
    log_ << "ORVENA: MIDI input from '" << port << "'\n";
    return true;
}

void MidiControl::close() {
    watch_.stop();
    if (input_) input_->close();
    ++generation_;  // what the closed port still queued is dropped
    if (!open_port_.empty()) player_.release_all();
    open_port_.clear();
}

void MidiControl::lost(const std::string& why) {
    log_ << "ORVENA: the MIDI port '" << open_port_ << "' went away (" << why
         << "); MIDI input is off\n";
    close();
    play_.dialogs.notice(kMidiPortGone);
}

void MidiControl::check_port_present() {
    if (open_port_.empty()) return;
    const std::vector<std::string> found = ports();
    if (std::find(found.begin(), found.end(), open_port_) == found.end()) lost("not listed");
}

}  // namespace orvena
