#pragma once
// Lets pending window events run once, re-entrantly, from inside a long action (replay and
// sequence playback call it once per record). Event thread only.

namespace orvena {

class EventPump {
  public:
    virtual ~EventPump() = default;
    // Processes the events waiting now and returns; never waits for new ones.
    virtual void process_pending() = 0;
    // Processes waiting paint and other non-input events only: the window keeps repainting
    // while a long action waits, but no click or key reaches a handler. Never waits.
    virtual void process_non_input() = 0;
};

class QtEventPump : public EventPump {
  public:
    void process_pending() override;
    void process_non_input() override;
};

}  // namespace orvena
