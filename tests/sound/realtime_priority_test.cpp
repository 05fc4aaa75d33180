// Real-time scheduling for the audio thread and locked memory for its samples, asked of a kernel
// and a RealtimeKit that the test plays: each way is tried only when the one before is not
// possible, and what was granted (or why nothing was) is said in the program's words.

#include "sound/realtime_priority.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

namespace orvena {
namespace {

using Calls = std::vector<std::string>;

struct Knobs {
    bool root = false, rtkit_grants = true, bus = true;
    int rtprio = 0, fifo_error = 0, rttime_error = 0;
    std::optional<int> already, rtkit_highest = 20;  // none: normal thread / no RealtimeKit
    long rtkit_cpu_cap = 150000;
    std::size_t memory_room = 0;  // bytes it lets lock
};

// The kernel and RealtimeKit in one, writing down what they were asked.
struct FakeSystem final : SchedulingSystem, RealtimeService {
    Knobs k;
    Calls calls;
    explicit FakeSystem(Knobs knobs) : k(knobs) {}
    bool privileged() const override { return k.root; }
    int realtime_priority_limit() const override { return k.rtprio; }
    std::optional<int> realtime_priority_of(long) const override { return k.already; }
    int set_fifo(long t, int p) override {
        return note("fifo " + std::to_string(t) + " " + std::to_string(p), k.fifo_error);
    }
    int limit_realtime_cpu(long us) override {
        return note("rttime " + std::to_string(us), k.rttime_error);
    }
    int lock_memory(const void*, std::size_t bytes) override {
        const bool fits = bytes <= k.memory_room;
        k.memory_room -= fits ? bytes : 0;
        return note("lock " + std::to_string(bytes), fits ? 0 : ENOMEM);
    }
    std::optional<int> max_priority(std::string& why_not) override {
        if (!k.rtkit_highest) why_not = "org.freedesktop.DBus.Error.ServiceUnknown";
        return k.rtkit_highest;
    }
    long max_realtime_cpu_us() override { return k.rtkit_cpu_cap; }
    bool make_realtime(long t, int p, std::string& why_not) override {
        note("rtkit " + std::to_string(t) + " " + std::to_string(p), 0);
        if (!k.rtkit_grants) why_not = "org.freedesktop.DBus.Error.AccessDenied";
        return k.rtkit_grants;
    }
    int note(std::string call, int result) {
        calls.push_back(std::move(call));
        return result;
    }
};

TEST(RealtimePriority, DirectlyWhenAllowedElseThroughRtkitElseNormal) {
    const std::string direct = "SCHED_FIFO, öncelik 4 (doğrudan)", rtkit = "SCHED_RR, öncelik ";
    const std::string user = "yok, normal öncelik (doğrudan: izin yok (RLIMIT_RTPRIO 0); rtkit: ";
    const std::tuple<Knobs, Calls, std::string> cases[] = {
        {{.root = true}, {"fifo 77 4"}, direct},
        {{.rtprio = 95}, {"fifo 77 4"}, direct},
        {{.rtprio = 2}, {"fifo 77 2"}, "SCHED_FIFO, öncelik 2 (doğrudan)"},
        // A JACK client's thread keeps the priority its server gave it.
        {{.root = true, .already = 70}, {}, "zaten gerçek zamanlı, öncelik 70"},
        {{.root = true, .fifo_error = EPERM},
         {"fifo 77 4", "rttime 150000", "rtkit 77 4"},
         rtkit + "4 (rtkit)"},
        {{.rtkit_highest = 3, .rtkit_cpu_cap = 0},
         {"rttime 200000", "rtkit 77 3"},
         rtkit + "3 (rtkit)"},
        {{.rtkit_highest = {}}, {}, user + "org.freedesktop.DBus.Error.ServiceUnknown)"},
        {{.rtkit_grants = false},
         {"rttime 150000", "rtkit 77 4"},
         user + "org.freedesktop.DBus.Error.AccessDenied)"},
        {{.rtkit_highest = 0}, {}, user + "gerçek zamanlı öncelik vermiyor)"},
        {{.rttime_error = EPERM}, {"rttime 150000"}, user + "RLIMIT_RTTIME konamadı (izin yok))"},
        {{.root = true, .bus = false, .fifo_error = EPERM},
         {"fifo 77 4"},
         "yok, normal öncelik (doğrudan: izin yok; rtkit: yok)"},
    };
    for (const auto& [knobs, calls, granted] : cases) {
        FakeSystem system(knobs);
        const RealtimeGrant grant = request_realtime(77, system, knobs.bus ? &system : nullptr);
        EXPECT_EQ(describe_grant(grant), granted) << granted;
        EXPECT_EQ(system.calls, calls) << granted;
    }
}

// Locks 1 MiB and 1.5 MiB (nothing asked for 0 bytes), is refused the next MiB and asks no more.
TEST(MemoryLocker, LocksUntilTheSystemRefusesAndSaysHowMuch) {
    FakeSystem system({.memory_room = 3 << 20}), none({});
    MemoryLocker locker(system), refused(none);
    EXPECT_EQ(locker.describe(), "ses belleği kilitli: 0.0 MB");
    for (std::size_t bytes : {1 << 20, 0, 3 << 19}) EXPECT_TRUE(locker.lock(&system, bytes));
    EXPECT_EQ(locker.describe(), "ses belleği kilitli: 2.5 MB");
    EXPECT_FALSE(locker.lock(&system, 1 << 20));
    EXPECT_FALSE(locker.lock(&system, 16));
    EXPECT_EQ(system.calls, (Calls{"lock 1048576", "lock 1572864", "lock 1048576"}));
    EXPECT_EQ(locker.describe(),
              "ses belleği: 2.5 MB kilitli, gerisi kilitlenemedi (bellek yetmedi)");
    EXPECT_FALSE(refused.lock(&none, 64));
    EXPECT_EQ(refused.describe(), "ses belleği kilitlenemedi (bellek yetmedi)");
}

}  // namespace
}  // namespace orvena
