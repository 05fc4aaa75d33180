// The sound output and the MIDI input seen from the window: a sound system that does not answer
// never holds up the window, a lost server or MIDI device is told and comes back, and F9's
// "Ses ayarları" shows what was found, saves the output and switches the MIDI port.

#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <atomic>
#include <sstream>
#include <thread>
#include <tuple>

#include "playing/midi_control.h"
#include "playing/midi_settings.h"
#include "shell/sound_settings_dialog.h"
#include "sound/output_choice.h"
#include "sound/sound_settings.h"
#include "started_window.h"
#include "support/fake_audio_host.h"

namespace orvena::test {
namespace {

const QString kNoSound = QString::fromUtf8("Ses yok — ayarlar: F9");

// "Ses ayarları" as the player opens it: F9 on the main window, or the first item of the
// window's context menu, which dismissed opens nothing. The dialog is closed first if open.
SoundSettingsDialog& open_sound_settings(arayüz& w, bool by_menu = false) {
    const auto open = [&w] { return w.findChild<QDialog*>(QStringLiteral("sound_settings")); };
    if (open()) open()->hide();
    w.show();
    w.activateWindow();
    // Not qWaitForWindowActive: the window counts as active while its dialog is.
    EXPECT_TRUE(wait_for([&w] { return QApplication::activeWindow() == &w; }));
    const auto answer_menu = [&w](std::vector<Qt::Key> keys) {
        QTimer::singleShot(50, [keys] {
            for (Qt::Key key : keys) QTest::keyClick(QApplication::activePopupWidget(), key);
        });
        QContextMenuEvent click(QContextMenuEvent::Mouse, {1, 1}, w.mapToGlobal(QPoint(1, 1)));
        QApplication::sendEvent(&w, &click);
    };
    if (by_menu) answer_menu({Qt::Key_Escape});
    EXPECT_FALSE(open() && open()->isVisible()) << "the dismissed menu opened it";
    by_menu ? answer_menu({Qt::Key_Down, Qt::Key_Return}) : QTest::keyClick(&w, Qt::Key_F9);
    auto& dialog = control<SoundSettingsDialog>(w, "sound_settings");
    EXPECT_TRUE(dialog.isVisible()) << "neither F9 nor the menu opened it";
    return dialog;
}

// The sound system answers once `answers_` holds.
class SoundWindow : public StartedWindow {
  protected:
    ProgramOptions options() override {
        host_->present = {system_without(AudioApi::jack, "no JACK server running"),
                          system_with(AudioApi::pulse, {"cap", "hdmi"}),
                          system_with(AudioApi::alsa, {"default", "hw:0,0"})};
        ProgramOptions o = folder_.headless_options();
        o.sound.settings_file = folder_.path() / kSettingsFileName;
        o.sound.time_limit = std::chrono::milliseconds(100);
        o.sound.open = [answers = answers_, host = host_](const AudioChoice& choice) {
            while (!*answers) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            std::ostringstream ignored;
            return open_output(*host, choice, ignored);
        };
        o.sound.reopen = [host = host_](const OutputRequest& request, std::string& why_not) {
            return Reconnect::reopen(*host, request, why_not);
        };
        return o;
    }
    void TearDown() override {
        *answers_ = true;  // an open still waiting ends with the test
        StartedWindow::TearDown();
    }
    QString figures() { return control<QLabel>(*w_, "sound_figures").text(); }
    bool figures_have(const char* text) { return figures().contains(QString::fromUtf8(text)); }

    std::shared_ptr<FakeAudioHost> host_ = std::make_shared<FakeAudioHost>();
    std::shared_ptr<std::atomic<bool>> answers_ = std::make_shared<std::atomic<bool>>(true);
};

// Until the limit has passed: a start-up that waited would never return.
class FrozenSoundWindow : public SoundWindow {
  protected:
    FrozenSoundWindow() { *answers_ = false; }
};

TEST_F(FrozenSoundWindow, LeavesTheWindowPlayableAndF9ChoosesAnother) {
    arayüz& w = *w_;
    EXPECT_FALSE(w.sound().output().is_device());
    QTest::keyClick(&w, Qt::Key_A);  // plays, silently
    QLabel* notice = &control<QLabel>(w, "sound_notice");
    ASSERT_TRUE(wait_for([&] { return !notice->isHidden(); })) << "no notice after the limit";
    EXPECT_EQ(notice->text(), kNoSound);
    EXPECT_EQ(notice->toolTip().toStdString(), "ses sistemi zamanında yanıt vermedi");
    // In the window's top right corner: 24 px in from its right edge, 2 px down.
    EXPECT_EQ(std::pair(w.width() - 1 - notice->geometry().right(), notice->y()), std::pair(24, 2));
    EXPECT_TRUE(dialogs_.shown().empty()) << "the notice is not a message box";
    *answers_ = true;
    ASSERT_TRUE(wait_for([&] { return w.sound().output().is_device(); }));
    EXPECT_EQ(w.sound().output().description(), "pulse ");
    EXPECT_TRUE(notice->isHidden());
    // F9 shows the systems found with the output's figures; Apply saves and reopens.
    SoundSettingsDialog* dialog = &open_sound_settings(w);
    EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8("Ses ayarları"));
    const auto items = [](const QComboBox* box) {
        QStringList texts;
        for (int i = 0; i < box->count(); ++i) texts << box->itemText(i);
        return texts;
    };
    EXPECT_EQ(items(dialog->systems()),
              (QStringList{"otomatik", "jack (yok)", "pulse", "alsa", "sessiz"}));
    EXPECT_TRUE(figures_have("gecikme 5.0 ms") && figures_have("kesinti 0"))
        << figures().toStdString();
    dialog->systems()->setCurrentIndex(dialog->systems()->findData(QStringLiteral("alsa")));
    EXPECT_EQ(items(dialog->devices()),
              (QStringList{QString::fromUtf8("varsayılan"), "default", "hw:0,0"}));
    dialog->devices()->setCurrentIndex(2);
    dialog->blocks()->setCurrentIndex(dialog->blocks()->findData(256u));
    dialog->Uygula_Click();
    ASSERT_TRUE(wait_for([&] { return w.sound().output().description() == "alsa hw:0,0"; }));
    EXPECT_EQ(w.sound().output().block_frames(), 256u);
    std::ostringstream log;
    const AudioChoice kept = read_sound_settings(folder_.path() / kSettingsFileName, log);
    EXPECT_EQ(std::tuple(api_setting_name(kept), kept.device, kept.block_frames, log.str()),
              std::tuple("alsa", "hw:0,0", 256u, ""));
    dialog->refresh();  // shown again, it holds the choice
    EXPECT_EQ(std::tuple(dialog->systems()->currentData().toString(),
                         dialog->devices()->currentData().toString(),
                         dialog->blocks()->currentData().toUInt()),
              std::tuple(QStringLiteral("alsa"), QStringLiteral("hw:0,0"), 256u));
}

TEST_F(SoundWindow, AServerThatGoesAwayIsFoundAgainByItselfWhileTheWindowPlaysOn) {
    arayüz& w = *w_;
    ASSERT_TRUE(wait_for([&] { return w.sound().output().is_device(); }));
    QLabel* notice = &control<QLabel>(w, "sound_notice");
    ASSERT_TRUE(notice->isHidden());
    FakeDevices& devices = *host_->devices;
    devices.gone = true;  // the server is killed: its stream is lost, nothing opens
    devices.lost_below = devices.opened.load();
    ASSERT_TRUE(wait_for([&] { return !notice->isHidden(); }));
    EXPECT_EQ(notice->text(), kNoSound);
    EXPECT_FALSE(w.sound().output().is_device()) << "the lost output is not kept";
    QTest::keyClick(&w, Qt::Key_A);  // the window plays on, silently
    open_sound_settings(w, true);
    EXPECT_TRUE(figures().startsWith(QString::fromUtf8("ses yok")));
    QTest::qWait(400);  // a few tries find nothing
    EXPECT_FALSE(w.sound().output().is_device());
    EXPECT_TRUE(dialogs_.shown().empty()) << "no message box stops the player";
    devices.gone = false;  // the server answers again
    ASSERT_TRUE(wait_for([&] { return w.sound().output().is_device(); }));
    EXPECT_EQ(w.sound().output().description(), "pulse ");
    EXPECT_TRUE(notice->isHidden());
    ASSERT_TRUE(wait_for([&] { return figures().startsWith("pulse "); }));
    EXPECT_TRUE(figures_have("kesinti 0"));
}

const std::vector<unsigned char> kA4On{0x90, 69, 100};
const std::string kPort = "Keys:Keys MIDI 1 20:0";

// A MIDI input whose messages and failures come from a thread of their own, as from a
// device's; the handlers outlive a close, so a late message can still arrive.
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
        return w_->sound().alias_open("A4");
    }
    // Chooses entry `index` of the dialog's MIDI list, as a click on it does.
    static void choose(QComboBox* ports, int index) {
        ports->setCurrentIndex(index);
        emit ports->activated(index);
    }
    // Until `done` holds, then long enough for the port watch to look a few times more, so
    // that anything said twice shows.
    void run_events_until(const std::function<bool()>& done) {
        EXPECT_TRUE(wait_for(done));
        QTest::qWait(30);
    }
    std::shared_ptr<FakeMidi::Device> device_ = std::make_shared<FakeMidi::Device>();
};

// The saved port plays unless a message box is open; the dialog lists "Yok" and the ports,
// and a choice closes the old port (its notes stop), opens the new one and is saved.
TEST_F(MidiWindow, TheSavedPortPlaysFromTheStartAndTheDialogSwitchesIt) {
    QDialog box;  // a message box takes the letter keys from the window, and these too
    box.setModal(true);
    box.show();
    EXPECT_FALSE(a4_sounds_after_a_key());
    box.hide();
    EXPECT_TRUE(a4_sounds_after_a_key());
    QComboBox* ports = open_sound_settings(*w_).midi_ports();
    ASSERT_EQ(ports->count(), 3);
    EXPECT_EQ(std::pair(ports->itemText(0), ports->currentText().toStdString()),
              std::pair(QStringLiteral("Yok"), kPort));
    std::ostringstream log;
    choose(ports, 0);
    EXPECT_FALSE(w_->sound().alias_open("A4"));
    EXPECT_FALSE(a4_sounds_after_a_key());
    EXPECT_EQ(read_midi_port(folder_.path() / kSettingsFileName, log), "");
    device_->ports.push_back("Pads 28:0");
    ports = open_sound_settings(*w_).midi_ports();  // lists it
    ASSERT_EQ(ports->itemText(3), QStringLiteral("Pads 28:0"));
    device_->ports.pop_back();  // unplugged before it is chosen: told, and nothing saved
    choose(ports, 3);
    EXPECT_EQ(dialogs_.texts(), std::vector<std::string>{"MIDI girişi açılamadı: Pads 28:0"});
    EXPECT_EQ(read_midi_port(folder_.path() / kSettingsFileName, log), "");
    choose(ports, 2);
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
        EXPECT_FALSE(w_->sound().alias_open("A4"));  // nothing is played on the device's thread
        run_events_until([&] { return w_->sound().alias_open("A4"); });
        control<QPushButton>(*w_, "rec_buton").click();  // a recording locks the keys
        if (by_error) {
            device_->fail("device removed");
            device_->fail("device removed");
        } else {
            device_->ports.pop_back();
        }
        run_events_until([&] { return !dialogs_.texts().empty(); });
        control<QPushButton>(*w_, "stop_buton").click();
        EXPECT_FALSE(w_->sound().alias_open("A4"));
        EXPECT_EQ(dialogs_.texts(),
                  std::vector<std::string>{
                      "MIDI aygıtı çıkarıldı; MIDI girişi kapatıldı. Yeniden seçmek için: F9"});
        EXPECT_FALSE(a4_sounds_after_a_key());  // late, from the lost port
        if (!by_error) device_->ports.push_back(kPort);
        choose(open_sound_settings(*w_).midi_ports(), 2);  // chosen again
    }
    EXPECT_TRUE(a4_sounds_after_a_key());
}

}  // namespace
}  // namespace orvena::test
