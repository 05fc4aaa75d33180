// The MIDI input seen from the window: the saved port opens at start, the device's messages
// reach the event thread, a device that goes away is closed with one notice, the port chosen
// in "Ses ayarları" is kept in orvena.ini, and an open message box takes the keys.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QElapsedTimer>

#include <sstream>
#include <thread>

#include "playing/midi_control.h"
#include "playing/midi_settings.h"
#include "shell/sound_settings_dialog.h"
#include "sound/sound_settings.h"
#include "started_window.h"

namespace orvena::test {
namespace {

const std::vector<unsigned char> kA4On{0x90, 69, 100};
const std::string kPort = "Keys:Keys MIDI 1 20:0";

// A MIDI input without a device: messages and failures come from a thread of their own, as
// from a device's thread. The handlers outlive a close, so a late message can still arrive.
struct FakeMidi final : MidiInput {
    struct Device {
        std::vector<std::string> ports{"Midi Through:Midi Through Port-0 14:0", kPort};
        MessageHandler on_message;
        ErrorHandler on_error;
        void send(std::vector<unsigned char> m) {
            std::thread([&] { on_message(m); }).join();
        }
        void fail(const std::string& why) {
            std::thread([&] { on_error(why); }).join();
        }
    };
    explicit FakeMidi(std::shared_ptr<Device> device) : d(std::move(device)) {}
    std::vector<std::string> ports() override { return d->ports; }
    bool open(const std::string& port, MessageHandler message, ErrorHandler error) override {
        if (std::find(d->ports.begin(), d->ports.end(), port) == d->ports.end()) return false;
        d->on_message = std::move(message), d->on_error = std::move(error);
        return true;
    }
    void close() override {}
    std::shared_ptr<Device> d;
};

class MidiWindow : public StartedWindow {
  protected:
    ProgramOptions options() override {
        ProgramOptions options = folder_.headless_options();
        options.midi = {folder_.path() / kSettingsFileName, kPort,
                        [d = device_] { return std::make_unique<FakeMidi>(d); },
                        std::chrono::milliseconds(5)};
        return options;
    }
    bool a4_sounds_after_a_key() {
        device_->send(kA4On);
        QCoreApplication::processEvents();
        return w_->sound->alias_open("A4");
    }
    // Long enough for the watch timer to look at the ports a few times.
    void run_events() {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 30) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    // Until `done` holds, then a little longer, so that anything said twice shows.
    void run_events_until(const std::function<bool()>& done) {
        EXPECT_TRUE(wait_for(done));
        run_events();
    }
    std::shared_ptr<FakeMidi::Device> device_ = std::make_shared<FakeMidi::Device>();
};

// The saved port plays from the start unless a message box is open; the dialog lists "Yok" and the
// ports, and a choice closes the old port (its notes stop), opens the new one and is saved.
TEST_F(MidiWindow, TheSavedPortPlaysFromTheStartAndTheDialogSwitchesIt) {
    QDialog box;  // a message box takes the letter keys from the window, and these too
    box.setModal(true);
    box.show();
    EXPECT_FALSE(a4_sounds_after_a_key());
    box.hide();
    EXPECT_TRUE(a4_sounds_after_a_key());
    w_->sound_control->show_settings();
    QComboBox* ports = w_->sound_control->dialog()->midi_ports();
    ASSERT_EQ(ports->count(), 3);
    EXPECT_EQ(ports->itemText(0), QStringLiteral("Yok"));
    EXPECT_EQ(ports->currentText().toStdString(), kPort);
    const auto choose = [ports](int index) {
        ports->setCurrentIndex(index);
        emit ports->activated(index);
    };
    std::ostringstream log;
    choose(0);
    EXPECT_FALSE(w_->sound->alias_open("A4"));
    EXPECT_FALSE(a4_sounds_after_a_key());
    EXPECT_EQ(read_midi_port(folder_.path() / kSettingsFileName, log), "");
    w_->midi->choose("Pads 28:0");  // not there: told, and nothing saved
    EXPECT_EQ(dialogs_.texts(),
              std::vector<std::string>{kMidiPortNotOpened + std::string("Pads 28:0")});
    choose(2);
    EXPECT_TRUE(a4_sounds_after_a_key());
    EXPECT_EQ(read_midi_port(folder_.path() / kSettingsFileName, log), kPort);
}

// However it goes (RtMidi's error, or the port gone from the list), a lost device stops its
// notes whatever the locks, says so once, drops what it still sends, and can be chosen again.
TEST_F(MidiWindow, ADeviceThatGoesAwayClosesWithOneNotice) {
    for (const bool by_error : {true, false}) {
        SCOPED_TRACE(by_error);
        dialogs_.clear();
        device_->send(kA4On);
        EXPECT_FALSE(w_->sound->alias_open("A4"));  // nothing is played on the device's thread
        run_events_until([&] { return w_->sound->alias_open("A4"); });
        EXPECT_TRUE(w_->sound->alias_open("A4"));
        w_->st.transport.seq_playing = true;
        if (by_error) {
            device_->fail("device removed");
            device_->fail("device removed");
        } else {
            device_->ports.pop_back();
        }
        run_events_until([&] { return !dialogs_.texts().empty(); });
        w_->st.transport.seq_playing = false;
        EXPECT_FALSE(w_->sound->alias_open("A4"));
        EXPECT_EQ(dialogs_.texts(), std::vector<std::string>{kMidiPortGone});
        EXPECT_FALSE(a4_sounds_after_a_key());  // late, from the lost port
        if (!by_error) device_->ports.push_back(kPort);
        w_->midi->choose(kPort);
    }
    EXPECT_TRUE(a4_sounds_after_a_key());
}

}  // namespace
}  // namespace orvena::test
