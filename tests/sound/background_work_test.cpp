// Work the window hands to other threads: the output opened on a thread of its own (only the
// newest request is delivered; a slow one is reported late and still delivered; nothing after
// the opener is gone), the background text (nothing after its owner is gone), and the
// stopwatch that times recorded notes.

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QObject>

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

// Runs the event loop until `done` holds, for at most five seconds.
template <typename Done>
bool pump_until(Done done) {
    const auto limit = std::chrono::steady_clock::now() + 5s;
    while (!done() && std::chrono::steady_clock::now() < limit)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

// Lets the event loop run for a while, so that anything wrongly posted arrives.
void pump_for(std::chrono::milliseconds time) {
    const auto limit = std::chrono::steady_clock::now() + time;
    while (std::chrono::steady_clock::now() < limit)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

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
        ASSERT_TRUE(pump_until([&] { return !said.empty(); }));
        first.set_value();  // the older request ends after the newer: dropped
        pump_for(100ms);
        EXPECT_EQ(said, std::vector<std::string>{"second"});
        EXPECT_FALSE(opener.pending());
    }
    said.clear();
    {
        OutputOpener opener(context, 20ms);
        std::promise<void> slow;
        opener.open(held_open(slow.get_future().share(), "slow"), ready, late);
        ASSERT_TRUE(pump_until([&] { return !said.empty(); }));
        EXPECT_TRUE(opener.pending());
        slow.set_value();
        ASSERT_TRUE(pump_until([&] { return said.size() == 2; }));
        EXPECT_EQ(said, (std::vector<std::string>{"late", "slow"}));
    }
    said.clear();
    std::promise<void> orphan;
    {
        OutputOpener opener(context, 10s);
        opener.open(held_open(orphan.get_future().share(), "orphan"), ready, late);
    }
    orphan.set_value();
    pump_for(100ms);
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
        ASSERT_TRUE(pump_until([&] { return !got.empty(); }));
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
    pump_for(100ms);
    EXPECT_EQ(got, std::vector<std::string>{"hazır"});
}

// The counter's readings in nanoseconds, one per read; the time between Start and Halt less
// the two back-to-back reads of the calibration.
TEST(Stopwatch, MeasuresMillisecondsLessTheCalibratedOverhead) {
    const struct {
        std::vector<std::int64_t> reads;  // Calibrieren twice, Start, Halt
        double ms;
    } cases[] = {{{0, 0, 1'000'000, 4'000'000}, 3.0},
                 {{100, 50'100, 1'000'000, 4'000'000}, 2.95},
                 {{0, 0, 5'000'000, 5'250'000}, 0.25}};
    for (const auto& c : cases) {
        std::size_t next = 0;
        xTimer timer([&] { return c.reads.at(next++); });
        timer.Calibrieren();
        timer.Start();
        timer.Halt();
        EXPECT_DOUBLE_EQ(timer.RunTime(), c.ms) << c.ms;
    }
}

}  // namespace
}  // namespace orvena
