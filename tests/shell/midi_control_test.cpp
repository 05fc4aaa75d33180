// The MIDI input seen from the window: the saved port opens at start, the device's messages
// reach the event thread, a device that goes away is closed with one notice, and the choice
// is kept in orvena.ini beside the sound settings.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <sstream>

#include "fake_midi_input.h"
#include "playing/recording_views.h"
#include "shell/midi_control.h"
#include "shell/midi_settings.h"
#include "shell/sound_settings.h"
#include "support/qt_app.h"
#include "support/temp_dir.h"
#include "tuning/tablo_oku.h"

namespace orvena::test {
namespace {

using Sounds = std::vector<std::string>;
const std::vector<unsigned char> kA4On{0x90, 69, 100};
const std::string a4_on = "on wav12 A4", a4_off = "off A4";
const std::string kPort = "Keys:Keys MIDI 1 20:0";

struct Midi : RecordedPlay {
    explicit Midi(const std::string& saved = kPort, bool with_input = true) {
        ensure_qt_app();
        set_names(st);
        EXPECT_FALSE(import_tuning(st, source_dir() / "data" / "dizek.xls"));
        st.wav_files[12] = "wav12";
        device->ports = {"Midi Through:Midi Through Port-0 14:0", kPort};
        MidiConfig config{dir / kSettingsFileName, saved, nullptr, std::chrono::milliseconds(5)};
        if (with_input)
            config.make_input = [d = device] { return std::make_unique<FakeMidiInput>(d); };
        control = std::make_unique<MidiControl>(ctx, nullptr, config, log);
    }
    // Runs the event loop long enough for the watch timer to look at the ports a few times.
    void run_events() {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 30) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    std::string saved_port() {
        std::ostringstream ignored;
        return read_midi_port(dir / kSettingsFileName, ignored);
    }
    TempDir dir;
    std::shared_ptr<FakeMidiDevice> device = std::make_shared<FakeMidiDevice>();
    std::ostringstream log;
    std::unique_ptr<MidiControl> control;
};

TEST(MidiControl, OpensTheSavedPortAtStartWhenItIsThere) {
    const std::tuple<std::string, bool, std::string, std::string> cases[] = {
        // saved, a MIDI system, opened, said on the log
        {"", true, "", ""},
        {kPort, true, kPort, "MIDI input from"},
        {"Keys:Keys MIDI 1 24:0", true, kPort, ""},  // plugged in again, numbered anew
        {"Pads:Pads MIDI 1 28:0", true, "", "'Pads:Pads MIDI 1 28:0' is not there"},
        {kPort, false, "", "is not there"},
    };
    for (const auto& [saved, with_input, opened, log_has] : cases) {
        Midi m(saved, with_input);
        m.control->open_saved();
        EXPECT_EQ(m.device->open_port, opened) << saved;
        EXPECT_NE(m.log.str().find(log_has), std::string::npos) << m.log.str();
        EXPECT_TRUE(m.dialogs.texts().empty());  // a start shows no box
    }
}

// However it goes (RtMidi's error, or the port gone from the list), a lost device stops its
// notes, says so once, drops what it still sends, and can be chosen again.
TEST(MidiControl, ADeviceThatGoesAwayClosesQuietlyWithOneNotice) {
    for (const bool by_error : {true, false}) {
        Midi m;
        m.control->open_saved();
        m.device->send(kA4On);
        EXPECT_EQ(m.sound.calls, Sounds{});  // nothing is played on the device's thread
        m.run_events();
        if (by_error) {
            m.device->fail("device removed");
            m.device->fail("device removed");
        } else {
            m.device->ports.pop_back();
        }
        m.run_events();
        EXPECT_EQ(m.dialogs.texts(), std::vector<std::string>{kMidiPortGone});
        m.device->send(kA4On);  // late, from the lost port
        m.run_events();
        EXPECT_EQ(m.sound.calls, (Sounds{a4_on, a4_off})) << by_error;

        m.device->ports.push_back(kPort);
        m.control->choose(kPort);
        m.device->send(kA4On);
        m.run_events();
        EXPECT_EQ(m.sound.calls.back(), a4_on);
        EXPECT_EQ(m.dialogs.texts().size(), 1u);
    }
}

TEST(MidiControl, ChoosingSavesWhatOpenedAndKeepsTheSoundSettings) {
    Midi m("");
    write_file_bytes(m.dir / kSettingsFileName, "[sound]\napi=alsa\nbuffer_frames=256\n");
    m.control->choose(kPort);
    EXPECT_EQ(m.saved_port(), kPort);
    m.control->choose("Pads 28:0");  // not there: told, and nothing saved
    EXPECT_EQ(m.dialogs.texts(),
              std::vector<std::string>{kMidiPortNotOpened + std::string("Pads 28:0")});
    EXPECT_EQ(m.saved_port(), kPort);
    m.control->choose("");
    EXPECT_EQ(m.device->open_port, "");
    EXPECT_EQ(m.saved_port(), "");
    std::ostringstream log;
    EXPECT_EQ(read_sound_settings(m.dir / kSettingsFileName, log).block_frames, 256u);
    EXPECT_EQ(log.str(), "");
}

// A hand-written value the program cannot use leaves MIDI off with a message; what the
// program writes (quotes and commas included) reads back as it was.
TEST(MidiSettingsFile, ABadPortNameIsRefusedWithAMessage) {
    ensure_qt_app();
    TempDir dir;
    std::ostringstream log;
    write_file_bytes(dir / kSettingsFileName, "[midi]\nport=Keys\\x1b[2J\n");
    EXPECT_EQ(read_midi_port(dir / kSettingsFileName, log), "");
    EXPECT_NE(log.str().find("control characters; MIDI input is off"), std::string::npos);
    for (const std::string port : {"USB Keys, Port 1 \"2\" 24:0", "Çalgı:Giriş 20:0"}) {
        ASSERT_TRUE(write_midi_port(dir / kSettingsFileName, port));
        EXPECT_EQ(read_midi_port(dir / kSettingsFileName, log), port);
    }
}

}  // namespace
}  // namespace orvena::test
