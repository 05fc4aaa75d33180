// The playing output watched from the window: a sound server that goes away brings up the
// "Ses yok" notice while the window goes on, and its output comes back by itself once the
// server answers; the block the output moves to after dropouts, the real-time grant of its
// thread and the locked memory reach the log and "Ses ayarları".

#include <gtest/gtest.h>

#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QTest>

#include <cerrno>
#include <iostream>
#include <sstream>

#include "shell/sound_settings_dialog.h"
#include "shell_test_support.h"
#include "sound/output_choice.h"
#include "sound/sound_settings.h"
#include "support/fake_audio_host.h"
#include "support/recording_dialogs.h"

namespace orvena::test {
namespace {

// Lets lock everything and writes down what.
struct LockingSystem final : SchedulingSystem {
    std::vector<std::pair<const void*, std::size_t>> locked;
    bool privileged() const override { return true; }
    int realtime_priority_limit() const override { return 0; }
    std::optional<int> realtime_priority_of(long) const override { return std::nullopt; }
    int set_fifo(long, int) override { return EPERM; }
    int limit_realtime_cpu(long) override { return 0; }
    int lock_memory(const void* start, std::size_t bytes) override {
        locked.emplace_back(start, bytes);
        return 0;
    }
};

class SoundWatch : public ::testing::Test {
  protected:
    void SetUp() override {
        ensure_qt_app();
        host_->present = {system_with(AudioApi::pulse, {"cap"})};
        saved_log_ = std::cerr.rdbuf(log_.rdbuf());
    }
    void TearDown() override { std::cerr.rdbuf(saved_log_); }

    ProgramOptions options() {
        ProgramOptions o = folder_.headless_options();
        o.sound.settings_file = folder_.path() / kSettingsFileName;
        o.sound.open = [host = host_](const AudioChoice& choice) {
            std::ostringstream ignored;
            return open_output(*host, choice, ignored);
        };
        o.sound.reopen = [host = host_](const OutputRequest& request, std::string& why_not) {
            return Reconnect::reopen(*host, request, why_not);
        };
        o.sound.make_realtime = [asked = asked_](long thread) {
            *asked = thread;
            return std::string("SCHED_FIFO, öncelik 4 (doğrudan)");
        };
        o.sound.memory = &memory_;
        return o;
    }
    bool logged(const std::string& text) const {
        return log_.str().find(text) != std::string::npos;
    }

    ProgramFolder folder_;
    std::shared_ptr<FakeAudioHost> host_ = std::make_shared<FakeAudioHost>();
    std::shared_ptr<std::atomic<long>> asked_ = std::make_shared<std::atomic<long>>(0);
    LockingSystem system_;
    MemoryLocker memory_{system_};
    RecordingDialogs dialogs_;
    std::ostringstream log_;

  private:
    std::streambuf* saved_log_ = nullptr;
};

// 66 held notes at once: the two beyond the mixer's 64 voices are named on the log.
TEST_F(SoundWatch, NotesBeyondTheVoicesAreCountedOnTheLog) {
    {
        Program program(dialogs_);
        ASSERT_TRUE(program.start(options()).goes_on);
        arayüz& w = *program.window();
        ASSERT_TRUE(wait_for([&] { return w.sound->output().is_device(); }));
        const std::vector<float> frames(48000, 0.25f);
        const SampleData tone(frames, 1);
        Mixer& mixer = w.sound->mixer();
        // The fake output renders nothing: the test renders in its place.
        std::vector<float> out(2 * 480);
        for (std::uint32_t id = 1000; id < 1066; ++id) mixer.start_held(id, tone, 48000.0);
        mixer.render(out.data(), 480);
        ASSERT_EQ(mixer.dropped_voices(), 2u);
        for (std::uint32_t id = 1000; id < 1066; ++id) mixer.stop_held(id);
        for (int i = 0; i < 10; ++i) mixer.render(out.data(), 480);  // 0.1 s: the fades end
        ASSERT_EQ(tone.users().load(), 0);
    }  // the window closes: the log has the output's last figures
    EXPECT_TRUE(logged(", 2 notes dropped (all 64 voices sounding)\n"));
}

TEST_F(SoundWatch, AServerThatGoesAwayIsFoundAgainByItselfWhileTheWindowPlaysOn) {
    Program program(dialogs_);
    ASSERT_TRUE(program.start(options()).goes_on);
    arayüz& w = *program.window();
    ASSERT_TRUE(wait_for([&] { return w.sound->output().is_device(); }));
    QLabel* notice = w.findChild<QLabel*>(QStringLiteral("sound_notice"));
    ASSERT_TRUE(notice->isHidden());

    FakeDevices& devices = *host_->devices;
    devices.gone = true;  // the server is killed: its stream is lost, nothing opens
    devices.lost_below = devices.opened.load();
    ASSERT_TRUE(wait_for([&] { return !notice->isHidden(); }));
    EXPECT_EQ(notice->text(), QString::fromUtf8(kNoSoundNotice));
    EXPECT_FALSE(w.sound->output().is_device()) << "the lost output is not kept";
    EXPECT_TRUE(logged("ORVENA: ses çıkışı kayboldu (pulse , 0 kesinti)"));
    QTest::keyClick(&w, Qt::Key_A);  // the window plays on, silently
    w.sound_control->show_settings();
    SoundSettingsDialog* dialog = w.sound_control->dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->figures()->text().startsWith(QString::fromUtf8("ses yok")));
    QTest::qWait(400);  // a few tries find nothing
    EXPECT_FALSE(w.sound->output().is_device());
    EXPECT_TRUE(dialogs_.shown().empty()) << "no message box stops the player";

    devices.gone = false;  // the server answers again
    ASSERT_TRUE(wait_for([&] { return w.sound->output().is_device(); }));
    EXPECT_EQ(w.sound->output().description(), "pulse ");
    EXPECT_TRUE(notice->isHidden());
    EXPECT_TRUE(logged(". denemede geri geldi: pulse , gecikme ")) << log_.str();
    ASSERT_TRUE(wait_for([&] { return dialog->figures()->text().startsWith("pulse "); }));
    EXPECT_TRUE(dialog->figures()->text().contains(QString::fromUtf8("kesinti 0")));
}

TEST_F(SoundWatch, TheBlockAfterDropoutsTheRealtimeGrantAndTheLockedMemoryAreShown) {
    Program program(dialogs_);
    ASSERT_TRUE(program.start(options()).goes_on);
    arayüz& w = *program.window();
    ASSERT_TRUE(wait_for([&] { return w.sound->output().is_device(); }));
    FakeDevices& devices = *host_->devices;

    devices.thread = 4242;  // the output's thread has asked for its first block
    ASSERT_TRUE(wait_for([&] { return logged("ORVENA: gerçek zamanlı öncelik: "); }));
    EXPECT_EQ(asked_->load(), 4242);
    EXPECT_TRUE(logged("öncelik: SCHED_FIFO, öncelik 4 (doğrudan); ses belleği kilitli: "))
        << log_.str();
    // Every decoded sample is locked.
    int samples = 0;
    w.sound->bank().for_each_sample([&](const SampleData& data) {
        ++samples;
        EXPECT_NE(std::find(system_.locked.begin(), system_.locked.end(),
                            std::pair(data.storage(), data.storage_bytes())),
                  system_.locked.end());
    });
    EXPECT_EQ(samples, 27);  // the strings' and the reference sample

    devices.block = 256;  // dropouts moved the output to larger blocks
    devices.blocks = 3;
    ASSERT_TRUE(wait_for(
        [&] { return logged("ORVENA: ses bloğu 256 kare, elde 3 blok (kesintilerden sonra)"); }));
    w.sound_control->show_settings();
    SoundSettingsDialog* dialog = w.sound_control->dialog();
    EXPECT_TRUE(
        dialog->figures()->text().contains(QString::fromUtf8("blok 256 kare × 3 (otomatik)")))
        << dialog->figures()->text().toStdString();
    EXPECT_TRUE(dialog->realtime()->text().startsWith(
        QString::fromUtf8("SCHED_FIFO, öncelik 4 (doğrudan); ses belleği kilitli: ")));
    devices.block = 128;
    devices.blocks = 4;
    ASSERT_TRUE(wait_for([&] {
        return logged("ses bloğu 128 kare, elde 4 blok (sessiz geçen bir süreden sonra)");
    }));
    devices.change = SizeChange::did_not_help;  // a fourth block made no dropout rarer
    devices.blocks = 3;
    ASSERT_TRUE(wait_for([&] {
        return logged(
            "ses bloğu 128 kare, elde 3 blok (daha büyüğü kesintileri azaltmadı, "
            "geri dönüldü; 10 dakika yeniden denenmeyecek)");
    })) << log_.str();
    EXPECT_TRUE(dialog->figures()->text().contains(
        QString::fromUtf8("blok 128 kare × 3 (otomatik; büyütmek kesintileri azaltmadı)")))
        << dialog->figures()->text().toStdString();

    // "otomatik" is the choice until the player picks a block, and is saved as such.
    EXPECT_EQ(dialog->blocks()->currentText(), QString::fromUtf8("otomatik"));
    std::ostringstream settings_log;
    for (const auto& [row, chosen] : {std::pair(1, true), std::pair(0, false)}) {
        dialog->blocks()->setCurrentIndex(row);
        dialog->Uygula_Click();
        const AudioChoice saved =
            read_sound_settings(folder_.path() / kSettingsFileName, settings_log);
        EXPECT_EQ(saved.block_chosen, chosen) << row;
        EXPECT_EQ(saved.block_frames, chosen ? 64u : 128u) << row;
    }
    EXPECT_EQ(settings_log.str(), "");
}

}  // namespace
}  // namespace orvena::test
