// Finding a lost output again, with a host whose server goes away and comes back: tries come
// soon at first and then at most a second apart, and only the output that was lost is tried.

#include "sound/reconnect.h"

#include <gtest/gtest.h>

#include "support/fake_audio_host.h"

namespace orvena::test {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

struct Return {
    int back_ms;      // the server answers again this long after the output was lost
    int reopened_ms;  // when the output is open again
    int tries;        // tries that found nothing before
};

TEST(Reconnect, TriesSoonThenAtMostASecondApartUntilTheServerAnswers) {
    // Tries at 100, 300, 700, 1500, 2500, 3500, ... ms (each try taking no time here).
    const Return cases[] = {{0, 100, 0},     {100, 100, 0},   {101, 300, 1},   {650, 700, 2},
                            {1200, 1500, 3}, {1501, 2500, 4}, {2600, 3500, 5}, {9000, 9500, 11}};
    const OutputRequest lost{AudioApi::pulse, "cap", 128};
    for (const Return& r : cases) {
        FakeAudioHost host;
        host.devices->gone = true;
        const Clock::time_point lost_at = Clock::now();
        Reconnect reconnect(lost, lost_at);
        std::unique_ptr<AudioOutput> output;
        Clock::time_point at;
        while (!output && reconnect.tries() < 100) {
            at = reconnect.next_try();
            host.devices->gone = at < lost_at + milliseconds(r.back_ms);
            std::string why_not;
            output = Reconnect::reopen(host, reconnect.request(), why_not);
            if (!output) {
                EXPECT_EQ(why_not, "refused pulse cap");
                reconnect.failed(at);
            }
        }
        ASSERT_NE(output, nullptr) << r.back_ms;
        EXPECT_EQ(output->description(), "pulse cap");
        EXPECT_EQ(at - lost_at, milliseconds(r.reopened_ms)) << "server back at " << r.back_ms;
        EXPECT_EQ(reconnect.tries(), r.tries) << r.back_ms;
    }
}

TEST(Reconnect, TriesOnlyWhatWasLostAndNotAnOutputThatIsLostAgain) {
    FakeAudioHost host;
    host.refusing = {"pulse cap"};  // ALSA would open; it is not asked
    std::string why_not;
    EXPECT_EQ(Reconnect::reopen(host, {AudioApi::pulse, "cap", 256, true}, why_not), nullptr);
    EXPECT_EQ(why_not, "refused pulse cap");
    EXPECT_EQ(host.devices->opened, 0);

    host.refusing.clear();
    host.devices->lost_below = 1;  // the first output opened goes away at once
    EXPECT_EQ(Reconnect::reopen(host, {AudioApi::pulse, "cap", 256, true}, why_not), nullptr);
    EXPECT_EQ(why_not, "the output went away as it opened");
    const auto output = Reconnect::reopen(host, {AudioApi::pulse, "cap", 256, true}, why_not);
    ASSERT_NE(output, nullptr);
    EXPECT_EQ(output->block_frames(), 256u);
}

}  // namespace
}  // namespace orvena::test
