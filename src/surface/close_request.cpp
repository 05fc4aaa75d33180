#include "surface/close_request.h"

namespace orvena {

namespace {
bool ended_by_system(UnloadReason reason) {
    return reason == UnloadReason::AppWindows || reason == UnloadReason::AppTaskManager;
}
}  // namespace

CloseStep CloseRequest::request(UnloadReason reason) {
    if (unloaded_) return CloseStep::already_closed;
    if (asking_ && ended_by_system(reason)) {
        // The window is inside its close request already; ending the question lets that
        // request go on to the unload.
        system_close_waiting_ = true;
        return CloseStep::close_question;
    }
    return CloseStep::close_window;
}

bool CloseRequest::opens_question(UnloadReason reason) {
    if (ended_by_system(reason)) return false;
    asking_ = true;
    return true;
}

bool CloseRequest::cancelled_by(MessageAnswer answer) {
    asking_ = false;
    if (system_close_waiting_) return false;
    return answer != MessageAnswer::Yes;
}

UnloadReason CloseRequest::event_reason(bool spontaneous) {
    const UnloadReason reason =
        pending_.value_or(spontaneous ? UnloadReason::FormControlMenu : UnloadReason::AppWindows);
    pending_.reset();
    return reason;
}

bool CloseRequest::unloads_without_event(bool closed, bool visible) const {
    return !unloaded_ && !visible && closed;
}

bool CloseRequest::unload() {
    if (unloaded_) return false;
    unloaded_ = true;
    return true;
}

}  // namespace orvena
