// The sound device: played through when there is one, silently replaced when there is not.

#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <thread>

#include "sound/audio_output.h"
#include "sound/mixer.h"
#include "sound/sound_module.h"
#include "sound_fixture.h"

namespace orvena::test {
namespace {

// The reason for silence is told once per run; the first test to open the device hears it.
bool opened_before = false;

TEST(AudioOutput, TheDefaultDevicePlaysTheMixerInSmallFloatBlocks) {
    std::ostringstream log;
    auto out = open_default_output(log);
    opened_before = true;
    ASSERT_NE(out, nullptr);
    if (!out->is_device()) GTEST_SKIP() << "no sound device here: " << log.str();
    EXPECT_GT(out->sample_rate(), 8000.0);
    EXPECT_LT(out->latency_seconds(), 0.5);
    Mixer mixer(out->sample_rate());
    ASSERT_TRUE(out->start(mixer));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    out->stop();
    out->stop();
}

TEST(AudioOutput, WithoutADeviceTheProgramPlaysSilentlyAndSaysWhyOnlyOnce) {
    std::ostringstream first, second;
    const bool told_before = opened_before;
    auto a = open_default_output(first);
    auto b = open_default_output(second);
    if (a->is_device()) GTEST_SKIP() << "a sound device is present";
    if (!told_before) {
        EXPECT_NE(first.str().find("silently"), std::string::npos) << first.str();
    }
    EXPECT_EQ(second.str(), "");
    // A module on the silent output takes every call without blocking.
    auto st = tuned_state();
    TempDir dir;
    copy_samples(dir);
    SoundModule m(st, dir.path(), std::move(a));
    for (int i = 0; i < 1000; ++i) {  // far more commands than the queue holds
        m.play_tuned_sample(1 + i % 26, 0);
        m.play_note_alias(st.wav_files[1 + i % 26], st.note_names[1 + i % 26]);
        m.stop_note_alias(st.note_names[1 + (i + 3) % 26]);
    }
    m.stop_plucked();
    EXPECT_FALSE(m.output().is_device());
}

}  // namespace
}  // namespace orvena::test
