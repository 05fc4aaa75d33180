// The real output through a real sound server: a private PulseAudio with its null sink "cap",
// started for this test by the project's own script and stopped after it.

#include <gtest/gtest.h>

#include <pulse/simple.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "sound/pulse_output.h"
#include "sound/sound_module.h"
#include "sound_fixture.h"
#include "support/pitch.h"

namespace orvena::test {
namespace {

std::string server_script() {
    return "bash '" + (source_dir() / "tests/sound/private_pulse.sh").string() + "'";
}

class PulseServer : public ::testing::Test {
  protected:
    // The script prints NAME=VALUE for every variable a client of the server needs.
    static void SetUpTestSuite() {
        FILE* out = ::popen((server_script() + " start").c_str(), "r");
        if (out == nullptr) return;
        char buffer[4096];
        while (std::fgets(buffer, sizeof buffer, out) != nullptr) {
            std::string line(buffer);
            while (!line.empty() && line.back() == '\n') line.pop_back();
            const auto eq = line.find('=');
            if (eq == std::string::npos) continue;
            const std::string name = line.substr(0, eq), value = line.substr(eq + 1);
            if (name == "ORVENA_PULSE_DIR") {
                server_dir_ = value;
            } else {
                ::setenv(name.c_str(), value.c_str(), 1);
            }
        }
        started_ = ::pclose(out) == 0 && !server_dir_.empty();
        // A sink chosen for the user's own server must not steer this stream.
        ::unsetenv("PULSE_SINK");
    }
    static void TearDownTestSuite() {
        for (const char* name : {"PULSE_SERVER", "PULSE_COOKIE", "PULSE_CLIENTCONFIG"}) {
            ::unsetenv(name);
        }
        if (server_dir_.empty()) return;
        const int stopped = std::system((server_script() + " stop '" + server_dir_ + "'").c_str());
        if (stopped != 0) ADD_FAILURE() << "the private sound server did not stop";
    }
    void SetUp() override { ASSERT_TRUE(started_) << "the private sound server did not start"; }

    static inline std::string server_dir_;
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

// Cents from `reference` measured in the note between its dropouts: every stretch without a
// run of 48 or more zero samples (digital silence: the stream ran dry) is cut into windows of
// 50 to 100 ms, from 50 ms after the onset to 1 s.
std::vector<double> cents_between_dropouts(const std::vector<float>& left, double reference) {
    constexpr std::size_t kShortest = 2400, kLongest = 4800, kDropout = 48;
    std::size_t onset = 0;
    while (onset < left.size() && std::abs(left[onset]) < 1e-3f) ++onset;
    const std::size_t end = std::min(left.size(), onset + 48000);
    std::vector<double> cents;
    std::size_t start = onset + kShortest, zeros = 0;
    auto measure_up_to = [&](std::size_t stop) {
        for (; stop > start && stop - start >= kShortest; start += kLongest) {
            const std::span<const float> window(&left[start], std::min(kLongest, stop - start));
            cents.push_back(cents_between(measure_fundamental(window, 48000.0), reference));
        }
    };
    for (std::size_t i = start; i < end; ++i) {
        zeros = left[i] == 0.0f ? zeros + 1 : 0;
        if (zeros == kDropout) measure_up_to(i + 1 - kDropout);
        if (zeros >= kDropout) start = i + 1;
    }
    measure_up_to(end);
    return cents;
}

// "spare" is made before "cap", yet the server's default comes first in the list.
TEST_F(PulseServer, ListsTheDefaultOutputFirst) {
    const AudioSystemInfo info = probe_pulse(kPulseAnswerTime);
    ASSERT_EQ(info.devices.size(), 2u) << info.why_not;
    EXPECT_EQ(info.devices[0].id, "cap");
    EXPECT_EQ(info.devices[1].id, "spare");
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
    // A 5 ms stream on a machine loaded by others runs dry now and then, and a splice without
    // silence bends one window's pitch: the note is in tune when most windows between the
    // dropouts say so. Where a pluck leaves fewer than three, the string is plucked again.
    std::vector<double> cents;
    for (int pluck = 0; pluck < 3 && cents.size() < 3; ++pluck) {
        const std::vector<float> sound = record_sink(1.6, [&] { module.play_tuned_sample(12, 0); });
        ASSERT_FALSE(sound.empty()) << "the sink's monitor could not be recorded";
        const std::vector<float> left = channel_of(sound, 0);
        ASSERT_TRUE(std::any_of(left.begin(), left.end(), [](float v) { return v > 0.01f; }))
            << "nothing was heard";
        cents = cents_between_dropouts(left, st.freq(12, 0));
    }
    ASSERT_GE(cents.size(), 3u) << "three plucks left fewer than three 50 ms stretches without a "
                                   "dropout";
    std::nth_element(cents.begin(), cents.begin() + cents.size() / 2, cents.end());
    EXPECT_NEAR(cents[cents.size() / 2], 0.0, 1.0);

    const double latency = module.output().latency_seconds();
    EXPECT_GT(latency, 0.0);
    EXPECT_LT(latency, 0.020);
}

}  // namespace
}  // namespace orvena::test
