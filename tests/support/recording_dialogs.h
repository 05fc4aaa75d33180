#pragma once
// Doubles of the window services: message boxes that record each text and answer from a
// script, an event pump that counts its calls, and a clock that moves only by its waits.

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "surface/clock.h"
#include "surface/dialogs.h"
#include "surface/event_pump.h"

namespace orvena::test {

struct ShownMessage {
    std::string text;
    MessageButtons buttons = MessageButtons::Ok;
    bool modal = true;  // false: a notice, shown without waiting for the user
};

class RecordingDialogs : public Dialogs {
  public:
    using Dialogs::message;
    MessageAnswer message(const std::string& text, MessageButtons buttons) override {
        shown_.push_back({text, buttons});
        if (while_shown) while_shown(text);
        if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
        if (answers_.empty()) return default_answer;
        const MessageAnswer answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    void notice(const std::string& text) override {
        shown_.push_back({text, MessageButtons::Ok, false});
    }

    // Answers for the next Yes/No questions, in order; when none is queued a question gets
    // default_answer. OK boxes always answer Ok.
    void answer_next(MessageAnswer answer) { answers_.push_back(answer); }
    MessageAnswer default_answer = MessageAnswer::No;

    // Runs inside every message, while the box would be open (a modal box lets events run).
    std::function<void(const std::string&)> while_shown;

    const std::vector<ShownMessage>& shown() const { return shown_; }
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const ShownMessage& m : shown_) out.push_back(m.text);
        return out;
    }
    void clear() { shown_.clear(); }

  private:
    std::vector<ShownMessage> shown_;
    std::deque<MessageAnswer> answers_;
};

class CountingEventPump : public EventPump {
  public:
    void process_pending() override {
        ++calls;
        if (on_call) on_call(calls);
    }
    void process_non_input() override { ++non_input_calls; }
    int calls = 0;
    int non_input_calls = 0;
    // Runs on each call with the call number (1, 2, ...): a test's "click during playback".
    std::function<void(int)> on_call;
};

class RecordingClock : public Clock {
  public:
    // Time moves only by the waits, so the clock reads exactly what the waits add up to.
    void Sleep(std::uint32_t milliseconds) override { now += milliseconds; }
    double now_ms() override { return now; }
    double now = 0;
};

}  // namespace orvena::test
