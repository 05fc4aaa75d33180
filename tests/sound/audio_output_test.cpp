// Without a sound device the program plays silently, says why once, and never blocks.

#include <gtest/gtest.h>

#include <sstream>

#include "sound/audio_output.h"
#include "sound/mixer.h"
#include "sound/sound_module.h"
#include "sound_fixture.h"

namespace orvena::test {
namespace {

TEST(AudioOutput, WithoutADeviceTheProgramPlaysSilentlyAndSaysWhyOnlyOnce) {
    std::ostringstream first, second;
    auto a = open_default_output(first);
    auto b = open_default_output(second);
    if (a->is_device()) GTEST_SKIP() << "a sound device is present";
    EXPECT_NE(first.str().find("silently"), std::string::npos) << first.str();
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
