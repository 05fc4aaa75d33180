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

struct FakeSystem final : SchedulingSystem {
    bool root = false;
    int rtprio = 0;
    int fifo_error = 0;
    int rttime_error = 0;
    std::size_t memory_room = 0;  // bytes it lets lock
    std::optional<int> already;   // the thread is real-time already
    Calls calls;

    bool privileged() const override { return root; }
    int realtime_priority_limit() const override { return rtprio; }
    std::optional<int> realtime_priority_of(long) const override { return already; }
    int set_fifo(long thread, int priority) override {
        calls.push_back("fifo " + std::to_string(thread) + " " + std::to_string(priority));
        return fifo_error;
    }
    int limit_realtime_cpu(long us) override {
        calls.push_back("rttime " + std::to_string(us));
        return rttime_error;
    }
    int lock_memory(const void*, std::size_t bytes) override {
        calls.push_back("lock " + std::to_string(bytes));
        if (bytes > memory_room) return ENOMEM;
        memory_room -= bytes;
        return 0;
    }
};

struct FakeRtkit final : RealtimeService {
    std::optional<int> highest;  // none: the service is not there
    long cpu_cap = 0;
    bool grants = true;
    Calls* calls = nullptr;

    std::optional<int> max_priority(std::string& why_not) override {
        if (!highest) why_not = "org.freedesktop.DBus.Error.ServiceUnknown";
        return highest;
    }
    long max_realtime_cpu_us() override { return cpu_cap; }
    bool make_realtime(long thread, int priority, std::string& why_not) override {
        calls->push_back("rtkit " + std::to_string(thread) + " " + std::to_string(priority));
        if (!grants) why_not = "org.freedesktop.DBus.Error.AccessDenied";
        return grants;
    }
};

struct Case {
    const char* name;
    bool root;
    int rtprio;
    int fifo_error;
    bool has_service;
    std::optional<int> service_highest;
    bool service_grants;
    int rttime_error;
    Calls calls;
    std::string granted;
};

TEST(RealtimePriority, DirectlyWhenAllowedElseThroughRtkitElseNormal) {
    const std::string not_root = "yok, normal öncelik (doğrudan: izin yok (RLIMIT_RTPRIO 0); ";
    // clang-format off
    const Case cases[] = {
        {"Root", true, 0, 0, true, 20, true, 0, {"fifo 77 4"}, "SCHED_FIFO, öncelik 4 (doğrudan)"},
        {"UserLimitAbove", false, 95, 0, true, 20, true, 0, {"fifo 77 4"},
         "SCHED_FIFO, öncelik 4 (doğrudan)"},
        {"UserLimitBelow", false, 2, 0, true, 20, true, 0, {"fifo 77 2"},
         "SCHED_FIFO, öncelik 2 (doğrudan)"},
        {"KernelRefusesRtkitGrants", true, 0, EPERM, true, 20, true, 0,
         {"fifo 77 4", "rttime 150000", "rtkit 77 4"}, "SCHED_RR, öncelik 4 (rtkit)"},
        {"NoLimitRtkitLowCap", false, 0, 0, true, 3, true, 0, {"rttime 150000", "rtkit 77 3"},
         "SCHED_RR, öncelik 3 (rtkit)"},
        {"RtkitMissing", false, 0, 0, true, std::nullopt, true, 0, {},
         not_root + "rtkit: org.freedesktop.DBus.Error.ServiceUnknown)"},
        {"RtkitRefuses", false, 0, 0, true, 20, false, 0, {"rttime 150000", "rtkit 77 4"},
         not_root + "rtkit: org.freedesktop.DBus.Error.AccessDenied)"},
        {"RtkitGivesNoPriority", false, 0, 0, true, 0, true, 0, {},
         not_root + "rtkit: gerçek zamanlı öncelik vermiyor)"},
        {"NoCpuCapNoRtkit", false, 0, 0, true, 20, true, EPERM, {"rttime 150000"},
         not_root + "rtkit: RLIMIT_RTTIME konamadı (Operation not permitted))"},
        {"NoBus", true, 0, EPERM, false, 20, true, 0, {"fifo 77 4"},
         "yok, normal öncelik (doğrudan: Operation not permitted; rtkit: yok)"},
    };
    // clang-format on
    for (const Case& c : cases) {
        FakeSystem system;
        system.root = c.root;
        system.rtprio = c.rtprio;
        system.fifo_error = c.fifo_error;
        system.rttime_error = c.rttime_error;
        FakeRtkit rtkit;
        rtkit.highest = c.service_highest;
        rtkit.grants = c.service_grants;
        rtkit.cpu_cap = 150000;
        rtkit.calls = &system.calls;
        const RealtimeGrant grant = request_realtime(77, system, c.has_service ? &rtkit : nullptr);
        EXPECT_EQ(describe_grant(grant), c.granted) << c.name;
        EXPECT_EQ(system.calls, c.calls) << c.name;
    }
}

TEST(RealtimePriority, AThreadThatIsRealtimeAlreadyIsLeftAsItIs) {
    FakeSystem system;
    system.root = true;
    system.already = 70;  // a JACK client's thread
    FakeRtkit rtkit;
    rtkit.highest = 20;
    rtkit.calls = &system.calls;
    EXPECT_EQ(describe_grant(request_realtime(9, system, &rtkit)),
              "zaten gerçek zamanlı, öncelik 70");
    EXPECT_EQ(system.calls, Calls{});
}

TEST(RealtimePriority, RtkitWithoutACpuCapOfItsOwnGetsItsDefault) {
    FakeSystem system;
    FakeRtkit rtkit;
    rtkit.highest = 20;
    rtkit.calls = &system.calls;  // cpu_cap 0: the service did not say
    EXPECT_EQ(request_realtime(5, system, &rtkit).way, RealtimeGrant::Way::service);
    EXPECT_EQ(system.calls, (Calls{"rttime 200000", "rtkit 5 4"}));
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
