// Work the window hands to other threads: the output opened on a thread of its own (only the
// newest request is delivered; a slow one is reported late and still delivered; nothing after
// the opener is gone), the background text (nothing after its owner is gone), and the
// stopwatch that times recorded notes.

#include <gtest/gtest.h>
#include <QObject>
#include <QTest>

#include <chrono>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "sound/background_text.h"
#include "sound/output_opener.h"
#include "sound/x_timer.h"
#include "support/qt_app.h"

namespace orvena {
namespace {

using namespace std::chrono_literals;

// An open that finishes when the test says so, with an output named `name`.
OutputOpener::Open held_open(std::shared_future<void> release, std::string name) {
    return [release, name] {
        release.wait();
        return OpenedOutput{std::make_unique<NullOutput>(48000.0, name), {}, {}};
    };
}

TEST(OutputOpener, DeliversOnlyTheNewestRequestAndSaysWhenOneIsLate) {
    test::ensure_qt_app();
    QObject context;
    std::vector<std::string> said;
    const auto ready = [&said](OpenedOutput o) { said.push_back(o.output->description()); };
    const auto late = [&said] { said.push_back("late"); };
    {
        OutputOpener opener(context, 10s);
        std::promise<void> first, second;
        opener.open(held_open(first.get_future().share(), "first"), ready, late);
        opener.open(held_open(second.get_future().share(), "second"), ready, late);
        second.set_value();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !said.empty(); }, 10000));
        first.set_value();  // the older request ends after the newer: dropped
        QTest::qWait(100);  // anything wrongly posted arrives
        EXPECT_EQ(said, std::vector<std::string>{"second"});
        EXPECT_FALSE(opener.pending());
    }
    said.clear();
    {
        OutputOpener opener(context, 20ms);
        std::promise<void> slow;
        opener.open(held_open(slow.get_future().share(), "slow"), ready, late);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !said.empty(); }, 10000));
        EXPECT_TRUE(opener.pending());
        slow.set_value();
        ASSERT_TRUE(QTest::qWaitFor([&] { return said.size() == 2; }, 10000));
        EXPECT_EQ(said, (std::vector<std::string>{"late", "slow"}));
    }
    said.clear();
    std::promise<void> orphan;
    {
        OutputOpener opener(context, 10s);
        opener.open(held_open(orphan.get_future().share(), "orphan"), ready, late);
    }
    orphan.set_value();
    QTest::qWait(100);  // anything wrongly posted arrives
    EXPECT_TRUE(said.empty());
}

TEST(BackgroundText, HandsTheTextOverUnlessItsOwnerIsGone) {
    test::ensure_qt_app();
    QObject context;
    std::vector<std::string> got;
    {
        BackgroundText work(context);
        work.run([] { return std::string("hazır"); },
                 [&got](const std::string& t) { got.push_back(t); });
        ASSERT_TRUE(QTest::qWaitFor([&] { return !got.empty(); }, 10000));
    }
    std::promise<void> release;
    {
        BackgroundText work(context);
        work.run(
            [f = release.get_future().share()] {
                f.wait();
                return std::string("geç");
            },
            [&got](const std::string& t) { got.push_back(t); });
        std::promise<void> ended;
        BackgroundText posted(context);  // its text is on its way when its owner goes
        posted.run(
            [&ended] {
                ended.set_value();
                return std::string("yolda");
            },
            [&got](const std::string& t) { got.push_back(t); });
        ended.get_future().wait();
        std::this_thread::sleep_for(50ms);
    }
    release.set_value();
    QTest::qWait(100);  // anything wrongly posted arrives
    EXPECT_EQ(got, std::vector<std::string>{"hazır"});
}

// The counter's readings in nanoseconds, one per read (Calibrieren twice, Start, Halt); the time
// between Start and Halt less the two back-to-back reads of the calibration.
TEST(Stopwatch, MeasuresMillisecondsLessTheCalibratedOverhead) {
    const std::pair<std::vector<std::int64_t>, double> cases[] = {
        {{0, 0, 1'000'000, 4'000'000}, 3.0},
        {{100, 50'100, 1'000'000, 4'000'000}, 2.95},
        {{0, 0, 5'000'000, 5'250'000}, 0.25}};
    for (const auto& [reads, ms] : cases) {
        std::size_t next = 0;
        xTimer timer([&] { return reads.at(next++); });
        timer.Calibrieren();
        timer.Start();
        timer.Halt();
        EXPECT_DOUBLE_EQ(timer.RunTime(), ms) << ms;
    }
}

}  // namespace
}  // namespace orvena
