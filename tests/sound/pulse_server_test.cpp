// The real output through a real sound server: the black-box desktop's private PulseAudio
// with its null sink "cap", started for this test and stopped after it.

#include <gtest/gtest.h>

#include <pulse/simple.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "sound/pulse_output.h"
#include "sound/sound_module.h"
#include "sound_fixture.h"
#include "support/pitch.h"

namespace orvena::test {
namespace {

class PulseServer : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (std::string(BLACKBOX_DIR).empty()) return;
        state_dir_ = "/tmp/orvena-pulse-test-" + std::to_string(::getpid());
        ::setenv("BB_STATE_DIR", state_dir_.c_str(), 1);
        const std::string session = std::string(BLACKBOX_DIR) + "/session.sh";
        started_ = std::system((session + " start >/dev/null").c_str()) == 0;
        if (!started_) return;
        // The session's environment: PULSE_SERVER and its cookie above all.
        std::ifstream env(state_dir_ + "/env");
        for (std::string line; std::getline(env, line);) {
            const auto eq = line.find('=');
            if (line.rfind("export ", 0) != 0 || eq == std::string::npos) continue;
            ::setenv(line.substr(7, eq - 7).c_str(), line.substr(eq + 1).c_str(), 1);
        }
    }
    static void TearDownTestSuite() {
        if (!started_) return;
        const std::string session = std::string(BLACKBOX_DIR) + "/session.sh";
        [[maybe_unused]] const int stopped = std::system((session + " stop >/dev/null").c_str());
        ::unsetenv("PULSE_SERVER");
    }
    void SetUp() override {
        if (std::string(BLACKBOX_DIR).empty())
            GTEST_SKIP() << "no black-box harness beside the sources";
        ASSERT_TRUE(started_) << "the harness's sound server did not start";
    }

    static inline std::string state_dir_;
    static inline bool started_ = false;
};

// Records the null sink's monitor while `play` runs.
std::vector<float> record_sink(double seconds, const std::function<void()>& play) {
    const pa_sample_spec format{PA_SAMPLE_FLOAT32NE, 48000, 2};
    int error = 0;
    pa_simple* rec = pa_simple_new(nullptr, "ORVENA test", PA_STREAM_RECORD, "cap.monitor",
                                   "recording", &format, nullptr, nullptr, &error);
    if (rec == nullptr) return {};
    std::vector<float> sound(static_cast<std::size_t>(seconds * 48000) * 2);
    std::thread player([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        play();
    });
    pa_simple_read(rec, sound.data(), sound.size() * sizeof(float), &error);
    player.join();
    pa_simple_free(rec);
    return sound;
}

TEST_F(PulseServer, PlaysAStringInTuneThroughAStreamOfUnder20Milliseconds) {
    std::string why_not;
    // The block kept: dropouts on a busy machine may add blocks, but not a larger block.
    auto out = open_pulse_output("", 128, why_not, kPulseAnswerTime, true);
    ASSERT_NE(out, nullptr) << why_not;
    EXPECT_EQ(out->description(), "pulse 'cap'");
    EXPECT_EQ(out->block_frames(), 128u);

    InstrumentState st = tuned_state();
    TempDir dir;
    copy_samples(dir);
    SoundModule module(st, dir.path(), std::move(out));
    module.load_samples();
    // A busy machine may cost the new stream a dropout or two before its buffer settles.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const std::vector<float> sound = record_sink(1.6, [&] { module.play_tuned_sample(12, 0); });
    ASSERT_FALSE(sound.empty()) << "the sink's monitor could not be recorded";

    const std::vector<float> left = channel_of(sound, 0);
    std::size_t onset = 0;
    while (onset < left.size() && std::abs(left[onset]) < 1e-3f) ++onset;
    ASSERT_LT(onset + 48000, left.size()) << "nothing was heard";
    // Tenths of a second along the note, leaving out those with a dropout (digital silence)
    // in them. A busy machine may also splice the stream without silence, which bends one
    // window's pitch: the note is in tune when most windows say so.
    constexpr std::size_t kWindow = 4800;
    auto silent_run_in = [&](std::size_t from) {
        std::size_t run = 0;
        for (std::size_t i = from; i < from + kWindow; ++i) {
            run = left[i] == 0.0f ? run + 1 : 0;
            if (run >= 48) return true;
        }
        return false;
    };
    std::vector<double> cents;
    for (std::size_t from = onset + 2400; from + kWindow < onset + 48000; from += kWindow) {
        if (silent_run_in(from)) continue;
        const std::span<const float> note(left.data() + from, kWindow);
        cents.push_back(cents_between(measure_fundamental(note, 48000.0), st.freq(12, 0)));
    }
    ASSERT_GE(cents.size(), 3u) << "fewer than three tenths of a second without a dropout";
    std::nth_element(cents.begin(), cents.begin() + cents.size() / 2, cents.end());
    EXPECT_NEAR(cents[cents.size() / 2], 0.0, 1.0);

    const double latency = module.output().latency_seconds();
    EXPECT_GT(latency, 0.0);
    EXPECT_LT(latency, 0.020);
}

}  // namespace
}  // namespace orvena::test
