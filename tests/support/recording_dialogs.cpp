#include "support/recording_dialogs.h"

namespace orvena::test {

MessageAnswer RecordingDialogs::message(const std::string& text, MessageButtons buttons) {
    shown_.push_back({text, buttons});
    if (while_shown) while_shown(text);
    if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    if (answers_.empty()) return default_answer;
    const MessageAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

std::vector<std::string> RecordingDialogs::texts() const {
    std::vector<std::string> out;
    out.reserve(shown_.size());
    for (const ShownMessage& m : shown_) out.push_back(m.text);
    return out;
}

void CountingEventPump::process_pending() {
    ++calls;
    if (on_call) on_call(calls);
}

}  // namespace orvena::test
