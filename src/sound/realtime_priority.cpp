#include "sound/realtime_priority.h"

#include <algorithm>
#include <cstdio>

#include "files/system_reason.h"

namespace orvena {

namespace {

// RealtimeKit's own default cap; used when the service does not say.
constexpr long kDefaultRealtimeCpuUs = 200000;

// Through RealtimeKit; empty when granted, else why not.
std::string ask_service(long thread_id, SchedulingSystem& system, RealtimeService& service,
                        int& priority) {
    std::string why;
    const std::optional<int> highest = service.max_priority(why);
    if (!highest) return "rtkit: " + why;
    if (*highest < 1) return "rtkit: gerçek zamanlı öncelik vermiyor";
    priority = std::min(kAudioThreadPriority, *highest);
    long cap = service.max_realtime_cpu_us();
    if (cap <= 0) cap = kDefaultRealtimeCpuUs;
    if (const int error = system.limit_realtime_cpu(cap); error != 0) {
        return "rtkit: RLIMIT_RTTIME konamadı (" + system_reason(error) + ")";
    }
    if (!service.make_realtime(thread_id, priority, why)) return "rtkit: " + why;
    return {};
}

}  // namespace

RealtimeGrant request_realtime(long thread_id, SchedulingSystem& system, RealtimeService* service) {
    if (const std::optional<int> already = system.realtime_priority_of(thread_id)) {
        return {RealtimeGrant::Way::already, *already, {}};
    }
    std::string reasons;
    const bool privileged = system.privileged();
    const int limit = system.realtime_priority_limit();
    if (privileged || limit > 0) {
        const int priority =
            privileged ? kAudioThreadPriority : std::min(kAudioThreadPriority, limit);
        const int error = system.set_fifo(thread_id, priority);
        if (error == 0) return {RealtimeGrant::Way::direct, priority, {}};
        reasons = "doğrudan: " + system_reason(error);
    } else {
        reasons = "doğrudan: izin yok (RLIMIT_RTPRIO 0)";
    }
    if (service == nullptr) return {RealtimeGrant::Way::none, 0, reasons + "; rtkit: yok"};
    int priority = 0;
    const std::string refused = ask_service(thread_id, system, *service, priority);
    if (refused.empty()) return {RealtimeGrant::Way::service, priority, {}};
    return {RealtimeGrant::Way::none, 0, reasons + "; " + refused};
}

std::string describe_grant(const RealtimeGrant& grant) {
    switch (grant.way) {
        case RealtimeGrant::Way::already:
            return "zaten gerçek zamanlı, öncelik " + std::to_string(grant.priority);
        case RealtimeGrant::Way::direct:
            return "SCHED_FIFO, öncelik " + std::to_string(grant.priority) + " (doğrudan)";
        case RealtimeGrant::Way::service:
            return "SCHED_RR, öncelik " + std::to_string(grant.priority) + " (rtkit)";
        case RealtimeGrant::Way::none:
            break;
    }
    return "yok, normal öncelik (" + grant.why_not + ")";
}

bool MemoryLocker::lock(const void* start, std::size_t bytes) {
    if (refusal_ != 0) return false;
    if (bytes == 0) return true;
    refusal_ = system_.lock_memory(start, bytes);
    if (refusal_ != 0) return false;
    locked_ += bytes;
    return true;
}

std::string MemoryLocker::describe() const {
    char megabytes[32];
    std::snprintf(megabytes, sizeof megabytes, "%.1f MB", static_cast<double>(locked_) / 1048576.0);
    if (refusal_ == 0) return std::string("ses belleği kilitli: ") + megabytes;
    if (locked_ == 0) return "ses belleği kilitlenemedi (" + system_reason(refusal_) + ")";
    return std::string("ses belleği: ") + megabytes + " kilitli, gerisi kilitlenemedi (" +
           system_reason(refusal_) + ")";
}

}  // namespace orvena
