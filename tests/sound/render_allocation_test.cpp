// The audio thread never allocates: rendering a busy block (every voice sounding, fades,
// a voice taken over, commands waiting for a later block, a dropout) and the block-size
// decisions made beside it are counted with this test program's own operator new.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <new>
#include <vector>

#include "sound/block_size_policy.h"
#include "sound/mixer.h"

namespace {
// Allocations made by this thread while counting.
thread_local bool counting = false;
thread_local int allocations = 0;
}  // namespace

void* operator new(std::size_t bytes) {
    if (counting) ++allocations;
    if (void* p = std::malloc(bytes != 0 ? bytes : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace orvena {
namespace {

struct Counted {
    Counted() {
        allocations = 0;
        counting = true;
    }
    ~Counted() { counting = false; }
};

SampleData tone(int channels) {
    std::vector<float> frames(static_cast<std::size_t>(48000 * channels));
    for (std::size_t i = 0; i < frames.size(); ++i) frames[i] = 0.3f * std::sin(0.05f * i);
    return SampleData(frames, channels);
}

TEST(RenderAllocations, NoneWhileABusyBlockIsRendered) {
    const SampleData mono = tone(1), stereo = tone(2);
    Mixer mixer(48000.0);
    mixer.set_block_lead(128);
    std::vector<float> out(2 * 1024);
    BlockSizePolicy policy(128, false, Mixer::now());
    // The device asks for 128 frames every 128 / 48000 s, from now on.
    Mixer::TimePoint asked = Mixer::now();
    const auto next_block = [&asked] {
        asked += std::chrono::nanoseconds(2666667);
        return asked;
    };
    // Every voice: held notes at three speeds (the fast ones take the wide kernel), a pluck.
    for (std::uint32_t id = 1; id < Mixer::kMaxVoices; ++id) {
        ASSERT_TRUE(mixer.start_held(id, id % 2 ? mono : stereo, 24000.0 + 1500.0 * (id % 3 * 20)));
    }
    ASSERT_TRUE(mixer.start_pluck(mono, 44100.0));
    {
        const Counted count;
        for (int i = 0; i < 3; ++i) mixer.render(out.data(), 128, next_block());
        EXPECT_EQ(allocations, 0) << "starting every voice";
    }
    ASSERT_EQ(mixer.active_voices(), Mixer::kMaxVoices);
    // Fades, a pluck taking over a fading voice, and commands for a later block.
    for (std::uint32_t id = 1; id < 9; ++id) ASSERT_TRUE(mixer.stop_held(id));
    ASSERT_TRUE(mixer.start_pluck(stereo, 48000.0));
    ASSERT_TRUE(mixer.cut_pluck());
    ASSERT_TRUE(mixer.start_held(99, mono, 44100.0, asked + std::chrono::milliseconds(40)));
    {
        const Counted count;
        for (int i = 0; i < 3; ++i) mixer.render(out.data(), 128, next_block());
        mixer.note_dropout();
        policy.underrun(asked + std::chrono::seconds(1));
        policy.tick(asked + std::chrono::seconds(90));
        mixer.render(out.data(), 1000, next_block());
        mixer.render(out.data(), 77);
        EXPECT_EQ(allocations, 0) << "fades, a take-over, waiting commands and a dropout";
    }
    // The counter itself counts.
    {
        const Counted count;
        std::vector<int> one(3);
        EXPECT_EQ(allocations, 1);
    }
}

}  // namespace
}  // namespace orvena
