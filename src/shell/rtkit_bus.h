#pragma once
// RealtimeKit on the system bus: the service through which desktop programs without the
// right to set real-time priority themselves get it for their audio threads. Any thread:
// each call opens a connection of its own. Every call waits at most a second.

#include "sound/realtime_priority.h"

namespace orvena {

class RtkitBus final : public RealtimeService {
  public:
    std::optional<int> max_priority(std::string& why_not) override;
    long max_realtime_cpu_us() override;
    bool make_realtime(long thread_id, int priority, std::string& why_not) override;
};

}  // namespace orvena
