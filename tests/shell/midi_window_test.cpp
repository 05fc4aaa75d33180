// A MIDI keyboard on the started window: the saved port is open at start, its keys sound the
// window's strings unless a message box is open, and "Ses ayarları" switches ports.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>

#include <sstream>

#include "fake_midi_input.h"
#include "playing/rtmidi_input.h"
#include "shell/midi_settings.h"
#include "shell/sound_settings.h"
#include "shell/sound_settings_dialog.h"
#include "shell_test_support.h"
#include "support/recording_dialogs.h"

namespace orvena::test {
namespace {

const std::string kPort = "Keys:Keys MIDI 1 20:0";

class MidiWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        ensure_qt_app();
        device_->ports = {"Midi Through:Midi Through Port-0 14:0", kPort};
        ProgramOptions options = folder_.headless_options();
        options.midi = {folder_.path() / kSettingsFileName, kPort,
                        [d = device_] { return std::make_unique<FakeMidiInput>(d); }};
        ASSERT_TRUE(program_.start(options).goes_on);
        w_ = program_.window();
    }
    void TearDown() override { std::filesystem::current_path(saved_cwd_); }

    bool a4_sounds_after_a_key() {
        device_->send({0x90, 69, 100});
        QCoreApplication::processEvents();
        return w_->sound->alias_open("A4");
    }
    void choose(QComboBox* ports, int index) {
        ports->setCurrentIndex(index);
        emit ports->activated(index);
    }

    std::filesystem::path saved_cwd_ = std::filesystem::current_path();
    std::shared_ptr<FakeMidiDevice> device_ = std::make_shared<FakeMidiDevice>();
    ProgramFolder folder_;
    RecordingDialogs dialogs_;
    Program program_{dialogs_};
    arayüz* w_ = nullptr;
};

TEST_F(MidiWindow, TheSavedPortPlaysFromTheStartAndTheDialogSwitchesIt) {
    EXPECT_TRUE(a4_sounds_after_a_key());
    w_->sound_control->show_settings();
    QComboBox* ports = w_->sound_control->dialog()->midi_ports();
    ASSERT_EQ(ports->count(), 3);
    EXPECT_EQ(ports->itemText(0), QStringLiteral("Yok"));
    EXPECT_EQ(ports->currentText().toStdString(), kPort);

    choose(ports, 0);
    EXPECT_FALSE(w_->sound->alias_open("A4"));  // closing the input lets its notes go
    EXPECT_FALSE(a4_sounds_after_a_key());
    choose(ports, 2);
    EXPECT_TRUE(a4_sounds_after_a_key());
    std::ostringstream log;
    EXPECT_EQ(read_midi_port(folder_.path() / kSettingsFileName, log), kPort);
}

// A message box takes the letter keys from the window; it takes the MIDI keys too.
TEST_F(MidiWindow, AnOpenMessageBoxTakesTheKeys) {
    QDialog box;
    box.setModal(true);
    box.show();
    EXPECT_FALSE(a4_sounds_after_a_key());
    box.hide();
    EXPECT_TRUE(a4_sounds_after_a_key());
}

// Without a sequencer (a headless machine) or without the port, the real input says no.
TEST(RtMidiInput, AMissingPortIsNotOpenedAndNothingThrows) {
    const auto input = make_rtmidi_input();
    EXPECT_NO_THROW(input->ports());
    EXPECT_FALSE(input->open("no such port 99:0", {}, {}));
}

}  // namespace
}  // namespace orvena::test
