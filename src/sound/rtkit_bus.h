#pragma once
// RealtimeKit on the system bus: the service through which desktop programs without the
// right to set real-time priority themselves get it for their audio threads. Any thread:
// each call opens a connection of its own. Every call waits at most `answer_time` (a second
// unless told otherwise: a machine busy enough may take longer to answer than the program
// should wait at start-up, but not a test on a loaded machine).

#include <chrono>

#include "sound/realtime_priority.h"

namespace orvena {

class RtkitBus final : public RealtimeService {
  public:
    explicit RtkitBus(std::chrono::milliseconds answer_time = std::chrono::seconds(1))
        : answer_time_(answer_time) {}
    std::optional<int> max_priority(std::string& why_not) override;
    long max_realtime_cpu_us() override;
    bool make_realtime(long thread_id, int priority, std::string& why_not) override;

  private:
    std::chrono::milliseconds answer_time_;
};

}  // namespace orvena
