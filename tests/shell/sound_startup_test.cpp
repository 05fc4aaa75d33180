// The sound output from the window's side: a sound system that does not answer never holds
// up the window, the player sees that there is no sound, and F9 shows the "Ses ayarları"
// dialog with what was found and the output's own figures.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QTest>

#include <atomic>
#include <thread>
#include <tuple>

#include "shell/sound_settings_dialog.h"
#include "shell_test_support.h"
#include "sound/output_choice.h"
#include "sound/sound_settings.h"
#include "support/fake_audio_host.h"
#include "support/recording_dialogs.h"

namespace orvena::test {
namespace {

class SoundStartup : public ::testing::Test {
  protected:
    void SetUp() override {
        ensure_qt_app();
        saved_cwd_ = std::filesystem::current_path();
        host_.present = {system_without(AudioApi::jack, "no JACK server running"),
                         system_with(AudioApi::pulse, {"cap", "hdmi"}),
                         system_with(AudioApi::alsa, {"default", "hw:0,0"})};
    }
    void TearDown() override {
        *answers_ = true;  // an open still waiting ends with the test
        std::filesystem::current_path(saved_cwd_);
    }

    ProgramOptions options(bool answers) {
        ProgramOptions o = folder_.headless_options();
        o.sound.settings_file = folder_.path() / kSettingsFileName;
        o.sound.time_limit = std::chrono::milliseconds(100);
        *answers_ = answers;
        o.sound.open = [answers = answers_, host = host_](const AudioChoice& choice) mutable {
            while (!*answers) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            std::ostringstream log;
            return open_output(host, choice, log);
        };
        return o;
    }

    ProgramFolder folder_;
    FakeAudioHost host_;
    std::shared_ptr<std::atomic<bool>> answers_ = std::make_shared<std::atomic<bool>>(false);
    RecordingDialogs dialogs_;

  private:
    std::filesystem::path saved_cwd_;
};

TEST_F(SoundStartup, AFrozenSoundSystemLeavesTheWindowPlayableAndF9ChoosesAnother) {
    Program program(dialogs_);
    // The sound system answers nothing until the end of the test: a start-up that waited for
    // it would never come back.
    ASSERT_TRUE(program.start(options(false)).goes_on);
    arayüz& w = *program.window();
    EXPECT_FALSE(w.sound->output().is_device());
    QTest::keyClick(&w, Qt::Key_A);  // plays, silently
    QLabel* notice = w.findChild<QLabel*>(QStringLiteral("sound_notice"));
    ASSERT_NE(notice, nullptr);
    ASSERT_TRUE(wait_for([&] { return !notice->isHidden(); })) << "no notice after the limit";
    EXPECT_EQ(notice->text(), QString::fromUtf8(kNoSoundNotice));
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
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8("Ses ayarları"));
    const auto items = [](const QComboBox* box) {
        QStringList texts;
        for (int i = 0; i < box->count(); ++i) texts << box->itemText(i);
        return texts;
    };
    EXPECT_EQ(items(dialog->systems()),
              (QStringList{"otomatik", "jack (yok)", "pulse", "alsa", "sessiz"}));
    EXPECT_TRUE(dialog->figures()->text().contains(QStringLiteral("gecikme 5.0 ms")))
        << dialog->figures()->text().toStdString();
    EXPECT_TRUE(dialog->figures()->text().contains(QStringLiteral("kesinti 0")));

    dialog->systems()->setCurrentIndex(dialog->systems()->findData(QStringLiteral("alsa")));
    EXPECT_EQ(items(dialog->devices()),
              (QStringList{QString::fromUtf8("varsayılan"), "default", "hw:0,0"}));
    dialog->devices()->setCurrentIndex(2);
    dialog->blocks()->setCurrentIndex(dialog->blocks()->findData(256u));
    dialog->Uygula_Click();
    ASSERT_TRUE(wait_for([&] { return w.sound->output().description() == "alsa hw:0,0"; }));
    EXPECT_EQ(w.sound->output().block_frames(), 256u);
    std::ostringstream log;
    const AudioChoice saved = read_sound_settings(folder_.path() / kSettingsFileName, log);
    EXPECT_EQ(std::tuple(api_setting_name(saved), saved.device, saved.block_frames),
              std::tuple("alsa", "hw:0,0", 256u));
    EXPECT_EQ(w.Picture2->geometry(), layout_before) << "the dialog moved the window's layout";
}

}  // namespace
}  // namespace orvena::test
