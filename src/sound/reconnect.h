#pragma once
// Finding a lost output again. When the sound server goes away (killed, restarted, updated)
// or the device stops, the program tries the same system and device again: soon at first,
// then less and less often, never more than a second apart, so that sound is back within a
// second of a server answering and a machine without one is not kept busy. Only the output
// that was lost is tried: a server that comes back finds its device free, not taken by us
// through another system. Event thread only (the try itself, reopen(), runs anywhere).

#include <chrono>
#include <memory>
#include <string>

#include "sound/audio_host.h"

namespace orvena {

class Reconnect {
  public:
    using TimePoint = std::chrono::steady_clock::time_point;
    static constexpr std::chrono::milliseconds kFirstWait{100};
    static constexpr std::chrono::milliseconds kLongestWait{1000};

    // `lost` is the request that opened the output which was lost at `lost_at`.
    Reconnect(OutputRequest lost, TimePoint lost_at);

    const OutputRequest& request() const { return request_; }
    TimePoint next_try() const { return next_try_; }
    bool due(TimePoint now) const { return now >= next_try_; }
    // The try made at `now` found nothing: the next one waits twice as long, up to the longest.
    void failed(TimePoint now);
    int tries() const { return tries_; }

    // One try: the lost request again, nothing else. May wait as long as the server takes.
    static std::unique_ptr<AudioOutput> reopen(AudioHost& host, const OutputRequest& request,
                                               std::string& why_not);

  private:
    OutputRequest request_;
    std::chrono::milliseconds wait_ = kFirstWait;
    TimePoint next_try_;
    int tries_ = 0;
};

}  // namespace orvena
