// The MIDI input seen from the window: the device's messages reach the event thread, the
// saved port opens at start, a device that goes away is closed with one notice, and the
// choice is kept in orvena.ini.

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

using Sounds = std::vector<SoundCall>;
const std::vector<unsigned char> kA4On{0x90, 69, 100}, kA4Off{0x80, 69, 0};
const SoundCall a4_on = SoundCall::alias_on("wav12", "A4");
const SoundCall a4_off = SoundCall::alias_off("A4");
const std::string kPort = "Keys:Keys MIDI 1 20:0";

void run_events() {
    QCoreApplication::processEvents();
}

struct Midi : RecordedPlay {
    explicit Midi(const std::string& saved = kPort, bool with_input = true) {
        ensure_qt_app();
        set_lever_limits(st);
        set_names(st);
        EXPECT_FALSE(import_tuning(st, source_dir() / "data" / "dizek.xls"));
        for (int s = 0; s <= kStringCount; ++s) st.wav_files[s] = "wav" + std::to_string(s);
        device->ports = {"Midi Through:Midi Through Port-0 14:0", kPort};
        MidiConfig config;
        config.settings_file = dir / kSettingsFileName;
        config.port = saved;
        if (with_input)
            config.make_input = [d = device] { return std::make_unique<FakeMidiInput>(d); };
        config.watch_interval = std::chrono::milliseconds(5);
        control = std::make_unique<MidiControl>(ctx, nullptr, config, log);
    }
    // Lets the watch timer look at the port list a few times.
    void watch_a_while() {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 40) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    TempDir dir;
    std::shared_ptr<FakeMidiDevice> device = std::make_shared<FakeMidiDevice>();
    std::ostringstream log;
    std::unique_ptr<MidiControl> control;
};

TEST(MidiControl, MessagesFromTheDeviceThreadPlayOnTheEventThread) {
    Midi m;
    m.control->open_saved();
    m.device->send(kA4On);
    EXPECT_EQ(m.sound.calls, Sounds{});  // nothing is played on the device's thread
    run_events();
    m.device->send(kA4Off);
    run_events();
    EXPECT_EQ(m.sound.calls, (Sounds{a4_on, a4_off}));
}

TEST(MidiControl, OpensTheSavedPortAtStartWhenItIsThere) {
    struct Case {
        const char* what;
        std::string saved;
        bool with_input;
        std::string opened;
        std::string log_has;
    };
    const Case cases[] = {
        {"nothing saved", "", true, "", ""},
        {"the saved port", kPort, true, kPort, "MIDI input from"},
        {"plugged in again under new numbers", "Keys:Keys MIDI 1 24:0", true, kPort, ""},
        {"unplugged", "Pads:Pads MIDI 1 28:0", true, "", "'Pads:Pads MIDI 1 28:0' is not there"},
        {"no MIDI system", kPort, false, "", "is not there"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Midi m(c.saved, c.with_input);
        m.control->open_saved();
        EXPECT_EQ(m.control->open_port(), c.opened);
        EXPECT_EQ(m.device->open_port, c.opened);
        EXPECT_NE(m.log.str().find(c.log_has), std::string::npos) << m.log.str();
        EXPECT_EQ(m.dialogs.texts(), std::vector<std::string>{});  // a start says nothing aloud
    }
}

// However it goes (RtMidi's error, or the port gone from the list), a lost device stops its
// notes, says so once, drops what it still sends, and can be chosen again.
TEST(MidiControl, ADeviceThatGoesAwayClosesQuietlyWithOneNotice) {
    for (const bool by_error : {true, false}) {
        SCOPED_TRACE(by_error ? "error callback" : "port list");
        Midi m;
        m.control->open_saved();
        m.device->send(kA4On);
        run_events();
        if (by_error) {
            m.device->fail("device removed");
            m.device->fail("device removed");
            run_events();
        } else {
            m.device->ports.pop_back();
            m.watch_a_while();
        }
        EXPECT_EQ(m.control->open_port(), "");
        EXPECT_EQ(m.dialogs.texts(), std::vector<std::string>{kMidiPortGone});
        m.device->send(kA4On);  // a late message of the lost port
        m.watch_a_while();
        EXPECT_EQ(m.sound.calls, (Sounds{a4_on, a4_off}));

        m.device->ports.push_back(kPort);
        m.control->choose(kPort);
        m.device->send(kA4On);
        run_events();
        EXPECT_EQ(m.sound.calls.back(), a4_on);
        EXPECT_EQ(m.dialogs.texts().size(), 1u);
    }
}

TEST(MidiControl, ChoosingSavesWhatOpenedAndKeepsTheSoundSettings) {
    Midi m("");
    write_file_bytes(m.dir / kSettingsFileName, "[sound]\napi=alsa\nbuffer_frames=256\n");
    m.control->choose(kPort);
    std::ostringstream log;
    EXPECT_EQ(read_midi_port(m.dir / kSettingsFileName, log), kPort);

    m.control->choose("Pads:Pads MIDI 1 28:0");  // not there: told, and nothing saved
    EXPECT_EQ(m.dialogs.texts(),
              std::vector<std::string>{std::string(kMidiPortNotOpened) + "Pads:Pads MIDI 1 28:0"});
    EXPECT_EQ(read_midi_port(m.dir / kSettingsFileName, log), kPort);

    m.control->choose("");
    EXPECT_EQ(m.device->open_port, "");
    EXPECT_EQ(read_midi_port(m.dir / kSettingsFileName, log), "");
    const AudioChoice sound = read_sound_settings(m.dir / kSettingsFileName, log);
    EXPECT_EQ(api_setting_name(sound), "alsa");
    EXPECT_EQ(sound.block_frames, 256u);
    EXPECT_EQ(log.str(), "");
}

TEST(MidiSettingsFile, ReadsThePortOrNoneWithAMessage) {
    ensure_qt_app();
    struct Case {
        const char* what;
        std::string file;  // "-": no file
        std::string port;
        std::string log_has;  // "": nothing logged
    };
    const Case cases[] = {
        {"no file", "-", "", ""},
        {"no MIDI group", "[sound]\napi=pulse\n", "", ""},
        {"a port", "[midi]\nport=Keys:Keys MIDI 1 20:0\n", "Keys:Keys MIDI 1 20:0", ""},
        {"a comma written by hand", "[midi]\nport=Keys,MIDI 1\n", "Keys,MIDI 1", ""},
        {"Turkish letters", "[midi]\nport=\"Çalgı:Giriş 20:0\"\n", "Çalgı:Giriş 20:0", ""},
        {"control characters", "[midi]\nport=Keys\\x1b[2J\n", "", "control characters"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        if (c.file != "-") write_file_bytes(dir / kSettingsFileName, c.file);
        std::ostringstream log;
        EXPECT_EQ(read_midi_port(dir / kSettingsFileName, log), c.port);
        if (c.log_has.empty()) {
            EXPECT_EQ(log.str(), "");
        } else {
            EXPECT_NE(log.str().find(c.log_has), std::string::npos) << log.str();
        }
    }
    // What the program writes reads back as it was.
    for (const std::string port : {"USB Keys, Port 1 24:0", "Çalgı:Giriş 20:0", "a=b;c \"d\""}) {
        TempDir dir;
        ASSERT_TRUE(write_midi_port(dir / kSettingsFileName, port));
        std::ostringstream log;
        EXPECT_EQ(read_midi_port(dir / kSettingsFileName, log), port);
    }
}

}  // namespace
}  // namespace orvena::test
