#pragma once
// Real-time scheduling for the thread that feeds the sound device, so that a busy machine
// (a build, a browser) does not make it late for the device. Asked for in three ways, each
// tried when the one before is not possible: directly from the kernel (root, or a user whose
// RLIMIT_RTPRIO allows it), through the RealtimeKit service that desktop sound servers use,
// or not at all (the thread goes on at normal priority). And the memory the audio thread reads
// (the mixer's tables, the decoded samples) locked in RAM, where the limits allow, so that a
// note never waits for a page to come back from swap.
//
// The system's side is an interface: the real one talks to the kernel, tests hand a fake.
// Any thread; the request may wait as long as the service takes to answer.

#include <cstddef>
#include <optional>
#include <string>

namespace orvena {

// Modest: one below the priority desktop sound servers run at (5), so the server's own work
// comes first and ours before every ordinary program.
inline constexpr int kAudioThreadPriority = 4;

// What the kernel lets this process do.
class SchedulingSystem {
  public:
    virtual ~SchedulingSystem() = default;
    // Root (or a process the kernel lets set any priority).
    virtual bool privileged() const = 0;
    // The soft RLIMIT_RTPRIO: the highest real-time priority an unprivileged process may take.
    virtual int realtime_priority_limit() const = 0;
    // The thread's real-time priority when it runs under SCHED_FIFO or SCHED_RR already (a
    // JACK client's thread, made so by the server); none under normal scheduling.
    virtual std::optional<int> realtime_priority_of(long thread_id) const = 0;
    // SCHED_FIFO at `priority` for the kernel thread `thread_id`; 0 or an errno value.
    virtual int set_fifo(long thread_id, int priority) = 0;
    // Caps the CPU time a real-time thread may take without blocking (RealtimeKit refuses
    // processes without such a cap); 0 or an errno value.
    virtual int limit_realtime_cpu(long microseconds) = 0;
    // Keeps the pages of [start, start + bytes) in RAM; 0 or an errno value.
    virtual int lock_memory(const void* start, std::size_t bytes) = 0;
};

// RealtimeKit (org.freedesktop.RealtimeKit1 on the system bus).
class RealtimeService {
  public:
    virtual ~RealtimeService() = default;
    // The highest priority it hands out; none (and why) when the service does not answer.
    virtual std::optional<int> max_priority(std::string& why_not) = 0;
    // The longest CPU time (µs) it allows a real-time thread without blocking.
    virtual long max_realtime_cpu_us() = 0;
    // SCHED_RR at `priority` for `thread_id`; false (and why) when refused.
    virtual bool make_realtime(long thread_id, int priority, std::string& why_not) = 0;
};

struct RealtimeGrant {
    enum class Way { already, direct, service, none };
    Way way = Way::none;
    int priority = 0;
    std::string why_not;  // for none: what each way answered
};

// Asks for real-time scheduling of `thread_id`: directly when the process may, else through
// `service` (when there is one), else none. A thread that is real-time already is left as it
// is (its own server may have given it more than we would ask for).
RealtimeGrant request_realtime(long thread_id, SchedulingSystem& system, RealtimeService* service);

// "SCHED_FIFO, öncelik 4 (doğrudan)", "SCHED_RR, öncelik 4 (rtkit)", "zaten gerçek zamanlı,
// öncelik 70" or "yok, normal öncelik (…)": the log's and the sound settings' words.
std::string describe_grant(const RealtimeGrant& grant);

// Locks regions of memory one after another until the system refuses one; counts what it
// locked. Event thread only.
class MemoryLocker {
  public:
    explicit MemoryLocker(SchedulingSystem& system) : system_(system) {}
    // False (and nothing more is tried afterwards) once the system has refused.
    bool lock(const void* start, std::size_t bytes);
    std::size_t locked_bytes() const { return locked_; }
    // "ses belleği kilitli: 13.8 MB" or why not.
    std::string describe() const;

  private:
    SchedulingSystem& system_;
    std::size_t locked_ = 0;
    int refusal_ = 0;  // errno of the first refusal
};

}  // namespace orvena
