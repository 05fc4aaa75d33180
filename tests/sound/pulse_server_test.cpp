// The real output through a real sound server: a private PulseAudio with its null sinks "spare"
// and "cap" (the default), started for this test by private_pulse.sh beside it.

#include <gtest/gtest.h>

#include <pulse/simple.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <thread>

#include "sound/pulse_output.h"
#include "sound_fixture.h"

namespace orvena::test {
namespace {

class PulseServer : public ::testing::Test {
  protected:
    static std::string script() {
        return "bash '" + (source_dir() / "tests/sound/private_pulse.sh").string() + "' ";
    }
    // The script prints NAME=VALUE for every variable a client of the server needs.
    static void SetUpTestSuite() {
        FILE* out = ::popen((script() + "start").c_str(), "r");
        if (out == nullptr) return;
        for (char line[4096]; std::fgets(line, sizeof line, out) != nullptr;) {
            const std::string text(line, std::strcspn(line, "\n"));
            const auto eq = text.find('=');
            if (eq == std::string::npos) continue;
            ::setenv(text.substr(0, eq).c_str(), text.substr(eq + 1).c_str(), 1);
        }
        server_dir_ = std::getenv("ORVENA_PULSE_DIR") ? std::getenv("ORVENA_PULSE_DIR") : "";
        started_ = ::pclose(out) == 0 && !server_dir_.empty();
        ::unsetenv("PULSE_SINK");  // the user's own sink must not steer this stream
    }
    static void TearDownTestSuite() {
        for (const char* name :
             {"PULSE_SERVER", "PULSE_COOKIE", "PULSE_CLIENTCONFIG", "ORVENA_PULSE_DIR"})
            ::unsetenv(name);
        if (!server_dir_.empty() && std::system((script() + "stop '" + server_dir_ + "'").c_str()))
            ADD_FAILURE() << "the private sound server did not stop";
    }
    void SetUp() override { ASSERT_TRUE(started_) << "the private sound server did not start"; }

    static inline std::string server_dir_;
    static inline bool started_ = false;
};

// The left channel of the sink's monitor recorded while `play` runs.
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
    return channel_of(sound, 0);
}

// Cents from `reference` in 100 ms windows of the first second of the note, from 50 ms after
// its onset, leaving out the windows with a dropout (48 or more zero samples: the stream ran dry).
std::vector<double> cents_between_dropouts(const std::vector<float>& left, double reference) {
    std::size_t onset = 0;
    while (onset < left.size() && std::abs(left[onset]) < 1e-3f) ++onset;
    std::vector<double> cents;
    for (std::size_t at = onset + 2400; at + 4800 <= std::min(left.size(), onset + 48000);
         at += 4800) {
        const std::span<const float> window(&left[at], 4800);
        std::size_t zeros = 0, longest = 0;
        for (float v : window) longest = std::max(longest, zeros = v == 0.0f ? zeros + 1 : 0);
        if (longest < 48)
            cents.push_back(cents_between(measure_fundamental(window, 48000.0), reference));
    }
    return cents;
}

TEST_F(PulseServer, ListsTheDefaultOutputFirst) {
    const AudioSystemInfo info = probe_pulse(kPulseAnswerTime);
    ASSERT_EQ(info.devices.size(), 2u) << info.why_not;
    EXPECT_EQ(info.devices[0].id + " " + info.devices[1].id, "cap spare");
}

// A 5 ms stream on a loaded machine runs dry now and then: the note is in tune when most
// windows say so; a pluck leaving fewer than three windows is played again.
TEST_F(PulseServer, PlaysAStringInTuneThroughAStreamOfUnder20Milliseconds) {
    std::string why_not;
    // The block kept: dropouts on a busy machine may add blocks, but not a larger block.
    auto out = open_pulse_output("", 128, why_not, kPulseAnswerTime, true);
    ASSERT_NE(out, nullptr) << why_not;
    EXPECT_EQ(out->description(), "pulse 'cap'");
    EXPECT_EQ(out->block_frames(), 128u);
    InstrumentState st = tuned_state();
    TempDir dir;
    copy_samples(st, dir);
    SoundModule module(st, dir.path(), std::move(out));
    module.load_samples();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the new stream settles
    std::vector<double> cents;
    for (int pluck = 0; pluck < 3 && cents.size() < 3; ++pluck) {
        const auto left = record_sink(1.6, [&] { module.play_tuned_sample(12, 0); });
        ASSERT_TRUE(std::any_of(left.begin(), left.end(), [](float v) { return v > 0.01f; }))
            << "nothing was heard (or the monitor could not be recorded)";
        cents = cents_between_dropouts(left, st.derived.freq(12, 0));
    }
    ASSERT_GE(cents.size(), 3u) << "three plucks left fewer than three windows without dropout";
    std::nth_element(cents.begin(), cents.begin() + cents.size() / 2, cents.end());
    EXPECT_NEAR(cents[cents.size() / 2], 0.0, 1.0);
    EXPECT_GT(module.output().latency_seconds(), 0.0);
    EXPECT_LT(module.output().latency_seconds(), 0.020);
}

}  // namespace
}  // namespace orvena::test
