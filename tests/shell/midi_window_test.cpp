// A MIDI keyboard on the started window: the saved port is open at start, its keys sound the
// window's strings, and "Ses ayarları" lists the ports and switches between them.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>

#include <sstream>

#include "fake_midi_input.h"
#include "playing/rtmidi_input.h"
#include "shell/midi_settings.h"
#include "shell/program.h"
#include "shell/sound_settings.h"
#include "shell/sound_settings_dialog.h"
#include "shell_test_support.h"
#include "support/recording_dialogs.h"

namespace orvena::test {
namespace {

const std::string kPort = "Keys:Keys MIDI 1 20:0";
const std::vector<unsigned char> kA4On{0x90, 69, 100};

class MidiWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        ensure_app();
        device_->ports = {"Midi Through:Midi Through Port-0 14:0", kPort};
        ProgramOptions options = folder_.headless_options();
        options.midi.settings_file = folder_.path() / kSettingsFileName;
        options.midi.port = kPort;
        options.midi.make_input = [d = device_] { return std::make_unique<FakeMidiInput>(d); };
        ASSERT_TRUE(program_.start(options).goes_on);
        w_ = program_.window();
    }
    void TearDown() override { std::filesystem::current_path(saved_cwd_); }

    bool a4_sounds() {
        QCoreApplication::processEvents();
        return w_->sound->alias_open("A4");
    }
    std::string saved_port() {
        std::ostringstream log;
        return read_midi_port(folder_.path() / kSettingsFileName, log);
    }

    std::filesystem::path saved_cwd_ = std::filesystem::current_path();
    std::shared_ptr<FakeMidiDevice> device_ = std::make_shared<FakeMidiDevice>();
    ProgramFolder folder_;
    RecordingDialogs dialogs_;
    Program program_{dialogs_};
    arayüz* w_ = nullptr;
};

TEST_F(MidiWindow, TheSavedPortPlaysFromTheStartAndTheDialogSwitchesIt) {
    EXPECT_EQ(device_->open_port, kPort);
    device_->send(kA4On);
    EXPECT_TRUE(a4_sounds());

    w_->sound_control->show_settings();
    QComboBox* ports = w_->sound_control->dialog()->midi_ports();
    ASSERT_EQ(ports->count(), 3);
    EXPECT_EQ(ports->itemText(0), QStringLiteral("Yok"));
    EXPECT_EQ(ports->currentText().toStdString(), kPort);

    ports->setCurrentIndex(0);
    emit ports->activated(0);
    EXPECT_EQ(device_->open_port, "");
    EXPECT_FALSE(a4_sounds());  // closing the input lets its notes go
    EXPECT_EQ(saved_port(), "");

    ports->setCurrentIndex(2);
    emit ports->activated(2);
    EXPECT_EQ(device_->open_port, kPort);
    EXPECT_EQ(saved_port(), kPort);
    device_->send(kA4On);
    EXPECT_TRUE(a4_sounds());
}

// A message box takes the letter keys from the window; the MIDI keys wait for it too.
TEST_F(MidiWindow, AnOpenMessageBoxTakesTheKeys) {
    QDialog box;
    box.setModal(true);
    box.show();
    device_->send(kA4On);
    EXPECT_FALSE(a4_sounds());
    box.hide();
    device_->send(kA4On);
    EXPECT_TRUE(a4_sounds());
}

// Without a sequencer (a headless machine) or without the port, the real input says no and
// never throws.
TEST(RtMidiInput, AMissingPortIsNotOpened) {
    const auto input = make_rtmidi_input();
    EXPECT_NO_THROW(input->ports());
    EXPECT_FALSE(input->open(
        "no such port 99:0", [](std::vector<unsigned char>) {}, [](std::string) {}));
    input->close();
}

}  // namespace
}  // namespace orvena::test
