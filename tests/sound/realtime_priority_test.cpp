// Real-time scheduling for the audio thread, asked of a system and a RealtimeKit that the
// tests play: each way is tried only when the one before is not possible, and what was
// granted (or why nothing was) is said in the program's words.

#include "sound/realtime_priority.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

namespace orvena {
namespace {

using Calls = std::vector<std::string>;

// The kernel and RealtimeKit in one, writing down what they were asked.
struct FakeSystem final : SchedulingSystem, RealtimeService {
    bool root = false;
    int rtprio = 0, fifo_error = 0, rttime_error = 0;
    std::optional<int> already, rtkit_highest;  // none: normal thread / no RealtimeKit
    long rtkit_cpu_cap = 150000;
    bool rtkit_grants = true;
    std::size_t memory_room = 0;  // bytes it lets lock
    Calls calls;

    bool privileged() const override { return root; }
    int realtime_priority_limit() const override { return rtprio; }
    std::optional<int> realtime_priority_of(long) const override { return already; }
    int set_fifo(long thread, int priority) override {
        return note("fifo " + std::to_string(thread) + " " + std::to_string(priority), fifo_error);
    }
    int limit_realtime_cpu(long us) override {
        return note("rttime " + std::to_string(us), rttime_error);
    }
    int lock_memory(const void*, std::size_t bytes) override {
        const bool fits = bytes <= memory_room;
        if (fits) memory_room -= bytes;
        return note("lock " + std::to_string(bytes), fits ? 0 : ENOMEM);
    }
    std::optional<int> max_priority(std::string& why_not) override {
        if (!rtkit_highest) why_not = "org.freedesktop.DBus.Error.ServiceUnknown";
        return rtkit_highest;
    }
    long max_realtime_cpu_us() override { return rtkit_cpu_cap; }
    bool make_realtime(long thread, int priority, std::string& why_not) override {
        note("rtkit " + std::to_string(thread) + " " + std::to_string(priority), 0);
        if (!rtkit_grants) why_not = "org.freedesktop.DBus.Error.AccessDenied";
        return rtkit_grants;
    }
    int note(std::string call, int result) {
        calls.push_back(std::move(call));
        return result;
    }
};

struct Case {
    const char* name;
    void (*set)(FakeSystem&);
    bool has_rtkit;
    Calls calls;
    std::string granted;
};

TEST(RealtimePriority, DirectlyWhenAllowedElseThroughRtkitElseNormal) {
    const std::string user = "yok, normal öncelik (doğrudan: izin yok (RLIMIT_RTPRIO 0); ";
    // clang-format off
    const Case cases[] = {
        {"Root", [](FakeSystem& s) { s.root = true; }, true, {"fifo 77 4"},
         "SCHED_FIFO, öncelik 4 (doğrudan)"},
        {"UserLimitAbove", [](FakeSystem& s) { s.rtprio = 95; }, true, {"fifo 77 4"},
         "SCHED_FIFO, öncelik 4 (doğrudan)"},
        {"UserLimitBelow", [](FakeSystem& s) { s.rtprio = 2; }, true, {"fifo 77 2"},
         "SCHED_FIFO, öncelik 2 (doğrudan)"},
        {"RealtimeAlready", [](FakeSystem& s) { s.root = true; s.already = 70; }, true, {},
         "zaten gerçek zamanlı, öncelik 70"},  // a JACK client's thread keeps its priority
        {"KernelRefusesRtkitGrants", [](FakeSystem& s) { s.root = true; s.fifo_error = EPERM; },
         true, {"fifo 77 4", "rttime 150000", "rtkit 77 4"}, "SCHED_RR, öncelik 4 (rtkit)"},
        {"RtkitLowerCap", [](FakeSystem& s) { s.rtkit_highest = 3; s.rtkit_cpu_cap = 0; }, true,
         {"rttime 200000", "rtkit 77 3"}, "SCHED_RR, öncelik 3 (rtkit)"},
        {"RtkitMissing", [](FakeSystem& s) { s.rtkit_highest.reset(); }, true, {},
         user + "rtkit: org.freedesktop.DBus.Error.ServiceUnknown)"},
        {"RtkitRefuses", [](FakeSystem& s) { s.rtkit_grants = false; }, true,
         {"rttime 150000", "rtkit 77 4"}, user + "rtkit: org.freedesktop.DBus.Error.AccessDenied)"},
        {"RtkitGivesNoPriority", [](FakeSystem& s) { s.rtkit_highest = 0; }, true, {},
         user + "rtkit: gerçek zamanlı öncelik vermiyor)"},
        {"NoCpuCapNoRtkit", [](FakeSystem& s) { s.rttime_error = EPERM; }, true, {"rttime 150000"},
         user + "rtkit: RLIMIT_RTTIME konamadı (Operation not permitted))"},
        {"NoBus", [](FakeSystem& s) { s.root = true; s.fifo_error = EPERM; }, false, {"fifo 77 4"},
         "yok, normal öncelik (doğrudan: Operation not permitted; rtkit: yok)"},
    };
    // clang-format on
    for (const Case& c : cases) {
        FakeSystem system;
        system.rtkit_highest = 20;
        c.set(system);
        const RealtimeGrant grant = request_realtime(77, system, c.has_rtkit ? &system : nullptr);
        EXPECT_EQ(describe_grant(grant), c.granted) << c.name;
        EXPECT_EQ(system.calls, c.calls) << c.name;
    }
}

TEST(MemoryLocker, LocksUntilTheSystemRefusesAndSaysHowMuch) {
    constexpr std::size_t kMiB = 1 << 20;
    FakeSystem system;
    system.memory_room = 3 * kMiB;
    MemoryLocker locker(system);
    EXPECT_EQ(locker.describe(), "ses belleği kilitli: 0.0 MB");
    EXPECT_TRUE(locker.lock(&system, kMiB));
    EXPECT_TRUE(locker.lock(&system, 0));  // nothing to lock: not asked
    EXPECT_TRUE(locker.lock(&system, kMiB + kMiB / 2));
    EXPECT_EQ(locker.describe(), "ses belleği kilitli: 2.5 MB");
    EXPECT_FALSE(locker.lock(&system, kMiB));  // over the room
    EXPECT_FALSE(locker.lock(&system, 16));    // not asked again after a refusal
    EXPECT_EQ(system.calls, (Calls{"lock 1048576", "lock 1572864", "lock 1048576"}));
    EXPECT_EQ(locker.locked_bytes(), 2 * kMiB + kMiB / 2);
    EXPECT_EQ(locker.describe(),
              "ses belleği: 2.5 MB kilitli, gerisi kilitlenemedi (Cannot allocate memory)");
    FakeSystem none;
    MemoryLocker refused(none);
    EXPECT_FALSE(refused.lock(&none, 64));
    EXPECT_EQ(refused.describe(), "ses belleği kilitlenemedi (Cannot allocate memory)");
}

}  // namespace
}  // namespace orvena
