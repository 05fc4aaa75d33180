#pragma once
// The kernel's answers for the real-time request (see realtime_priority.h). Any thread.

#include "sound/realtime_priority.h"

namespace orvena {

class LinuxScheduling final : public SchedulingSystem {
  public:
    bool privileged() const override;
    int realtime_priority_limit() const override;
    std::optional<int> realtime_priority_of(long thread_id) const override;
    int set_fifo(long thread_id, int priority) override;
    int limit_realtime_cpu(long microseconds) override;
    int lock_memory(const void* start, std::size_t bytes) override;
};

// The kernel's id of the calling thread (what set_fifo and RealtimeKit take).
long current_thread_id();

}  // namespace orvena
