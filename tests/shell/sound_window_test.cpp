// The sound output from the window's side: a sound system that does not answer never holds up
// the window, a server that goes away brings up the "Ses yok" notice and comes back by itself,
// and F9's "Ses ayarları" shows what was found and the output's figures.

#include <QComboBox>
#include <QLabel>

#include <atomic>
#include <sstream>
#include <thread>
#include <tuple>

#include "shell/sound_settings_dialog.h"
#include "sound/output_choice.h"
#include "sound/sound_settings.h"
#include "started_window.h"
#include "support/fake_audio_host.h"

namespace orvena::test {
namespace {

const QString kNoSound = QString::fromUtf8("Ses yok — ayarlar: F9");

class SoundWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        ensure_qt_app();
        host_->present = {system_without(AudioApi::jack, "no JACK server running"),
                          system_with(AudioApi::pulse, {"cap", "hdmi"}),
                          system_with(AudioApi::alsa, {"default", "hw:0,0"})};
    }
    void TearDown() override {
        *answers_ = true;  // an open still waiting ends with the test
        std::filesystem::current_path(saved_cwd_);
    }
    // Starts the program; the sound system answers once `answers_` holds.
    arayüz& start() {
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
        EXPECT_TRUE(program_.start(o).goes_on);
        return *program_.window();
    }
    QString figures() { return program_.window()->sound_control->dialog()->figures()->text(); }
    bool figures_have(const char* text) { return figures().contains(QString::fromUtf8(text)); }
    AudioChoice saved() {
        std::ostringstream log;
        const AudioChoice choice = read_sound_settings(folder_.path() / kSettingsFileName, log);
        EXPECT_EQ(log.str(), "");
        return choice;
    }

    std::filesystem::path saved_cwd_ = std::filesystem::current_path();
    ProgramFolder folder_;
    std::shared_ptr<FakeAudioHost> host_ = std::make_shared<FakeAudioHost>();
    std::shared_ptr<std::atomic<bool>> answers_ = std::make_shared<std::atomic<bool>>(true);
    RecordingDialogs dialogs_;
    Program program_{dialogs_};
};

TEST_F(SoundWindow, AFrozenSoundSystemLeavesTheWindowPlayableAndF9ChoosesAnother) {
    *answers_ = false;  // until the limit has passed: a start-up that waited would never return
    arayüz& w = start();
    EXPECT_FALSE(w.sound->output().is_device());
    QTest::keyClick(&w, Qt::Key_A);  // plays, silently
    QLabel* notice = w.findChild<QLabel*>(QStringLiteral("sound_notice"));
    ASSERT_NE(notice, nullptr);
    ASSERT_TRUE(wait_for([&] { return !notice->isHidden(); })) << "no notice after the limit";
    EXPECT_EQ(notice->text(), kNoSound);
    EXPECT_TRUE(dialogs_.shown().empty()) << "the notice is not a message box";
    *answers_ = true;
    ASSERT_TRUE(wait_for([&] { return w.sound->output().is_device(); }));
    EXPECT_EQ(w.sound->output().description(), "pulse ");
    EXPECT_TRUE(notice->isHidden());

    // F9 shows the systems found with the output's figures; Apply saves and reopens.
    const QRect layout_before = w.Picture2->geometry();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QTest::keyClick(&w, Qt::Key_F9);
    SoundSettingsDialog* dialog = w.sound_control->dialog();
    ASSERT_TRUE(dialog != nullptr && dialog->isVisible());
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
    ASSERT_TRUE(wait_for([&] { return w.sound->output().description() == "alsa hw:0,0"; }));
    EXPECT_EQ(w.sound->output().block_frames(), 256u);
    const AudioChoice kept = saved();
    EXPECT_EQ(std::tuple(api_setting_name(kept), kept.device, kept.block_frames),
              std::tuple("alsa", "hw:0,0", 256u));
    EXPECT_EQ(w.Picture2->geometry(), layout_before) << "the dialog moved the window's layout";
}

TEST_F(SoundWindow, AServerThatGoesAwayIsFoundAgainByItselfWhileTheWindowPlaysOn) {
    arayüz& w = start();
    ASSERT_TRUE(wait_for([&] { return w.sound->output().is_device(); }));
    QLabel* notice = w.findChild<QLabel*>(QStringLiteral("sound_notice"));
    ASSERT_TRUE(notice->isHidden());
    FakeDevices& devices = *host_->devices;
    devices.gone = true;  // the server is killed: its stream is lost, nothing opens
    devices.lost_below = devices.opened.load();
    ASSERT_TRUE(wait_for([&] { return !notice->isHidden(); }));
    EXPECT_EQ(notice->text(), kNoSound);
    EXPECT_FALSE(w.sound->output().is_device()) << "the lost output is not kept";
    QTest::keyClick(&w, Qt::Key_A);  // the window plays on, silently
    w.sound_control->show_settings();
    EXPECT_TRUE(figures().startsWith(QString::fromUtf8("ses yok")));
    QTest::qWait(400);  // a few tries find nothing
    EXPECT_FALSE(w.sound->output().is_device());
    EXPECT_TRUE(dialogs_.shown().empty()) << "no message box stops the player";

    devices.gone = false;  // the server answers again
    ASSERT_TRUE(wait_for([&] { return w.sound->output().is_device(); }));
    EXPECT_EQ(w.sound->output().description(), "pulse ");
    EXPECT_TRUE(notice->isHidden());
    ASSERT_TRUE(wait_for([&] { return figures().startsWith("pulse "); }));
    EXPECT_TRUE(figures_have("kesinti 0"));
}

}  // namespace
}  // namespace orvena::test
