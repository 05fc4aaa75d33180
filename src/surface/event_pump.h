#pragma once
// Lets pending window events run once, re-entrantly, from inside a long action (replay and
// sequence playback call it once per record). Event thread only.

namespace orvena {

class EventPump {
  public:
    virtual ~EventPump() = default;
    // Processes the events waiting now and returns; never waits for new ones.
    virtual void process_pending() = 0;
};

class QtEventPump : public EventPump {
  public:
    void process_pending() override;
};

}  // namespace orvena
