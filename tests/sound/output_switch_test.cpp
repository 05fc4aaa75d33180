// The sound module moving from a silent output to a device (the start, or a lost server found
// again): what was played while nothing could be heard is not heard late, and the device plays
// what comes after.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "sound_fixture.h"
#include "support/fake_audio_host.h"

namespace orvena::test {
namespace {

float loudest(Mixer& mixer) {
    std::vector<float> out(2 * 2048);
    mixer.render(out.data(), 2048);
    float peak = 0;
    for (const float v : out) peak = std::max(peak, std::abs(v));
    return peak;
}

TEST_F(ModuleTest, NotesPlayedWhileSilentAreDroppedWhenADeviceComes) {
    auto module = make_module();  // silent
    module->play_note_alias(5, 0, st.note_names[5]);
    module->play_tuned_sample(12, 0);
    module->use_output(std::make_unique<FakeOutput>("pulse cap", 128));
    EXPECT_EQ(loudest(module->mixer()), 0.0f);
    EXPECT_FALSE(module->alias_open(st.note_names[5])) << "the key's note is gone with it";

    module->play_note_alias(5, 0, st.note_names[5]);
    EXPECT_GT(loudest(module->mixer()), 0.05f);
    // From one device to another at the same rate, a held note goes on.
    module->use_output(std::make_unique<FakeOutput>("alsa default", 256));
    EXPECT_TRUE(module->alias_open(st.note_names[5]));
    EXPECT_GT(loudest(module->mixer()), 0.05f);
}

}  // namespace
}  // namespace orvena::test
