#include "sound/linux_scheduling.h"

#include <sched.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>

namespace orvena {

bool LinuxScheduling::privileged() const {
    return ::geteuid() == 0;
}

int LinuxScheduling::realtime_priority_limit() const {
    rlimit limit{};
    if (::getrlimit(RLIMIT_RTPRIO, &limit) != 0) return 0;
    if (limit.rlim_cur == RLIM_INFINITY) return 99;
    return static_cast<int>(limit.rlim_cur);
}

std::optional<int> LinuxScheduling::realtime_priority_of(long thread_id) const {
    const int policy = ::sched_getscheduler(static_cast<pid_t>(thread_id)) & ~SCHED_RESET_ON_FORK;
    if (policy != SCHED_FIFO && policy != SCHED_RR) return std::nullopt;
    sched_param param{};
    if (::sched_getparam(static_cast<pid_t>(thread_id), &param) != 0) return std::nullopt;
    return param.sched_priority;
}

int LinuxScheduling::set_fifo(long thread_id, int priority) {
    sched_param param{};
    param.sched_priority = priority;
    // Threads the audio thread might start do not inherit its priority.
    if (::sched_setscheduler(static_cast<pid_t>(thread_id), SCHED_FIFO | SCHED_RESET_ON_FORK,
                             &param) != 0) {
        return errno;
    }
    return 0;
}

int LinuxScheduling::limit_realtime_cpu(long microseconds) {
    rlimit limit{};
    if (::getrlimit(RLIMIT_RTTIME, &limit) != 0) return errno;
    const auto cap = static_cast<rlim_t>(microseconds);
    if (limit.rlim_max != RLIM_INFINITY && limit.rlim_max <= cap && limit.rlim_cur <= cap) {
        return 0;  // capped tighter already
    }
    limit.rlim_cur = cap;
    limit.rlim_max = cap;
    return ::setrlimit(RLIMIT_RTTIME, &limit) == 0 ? 0 : errno;
}

int LinuxScheduling::lock_memory(const void* start, std::size_t bytes) {
    return ::mlock(start, bytes) == 0 ? 0 : errno;
}

long current_thread_id() {
    return static_cast<long>(::gettid());
}

}  // namespace orvena
