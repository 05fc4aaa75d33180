#pragma once
// What a request to close the main window comes to, without the window: whether it puts the
// quit question, whether it takes away a question already open, whether the answer cancels
// it, and which reason a close event from the window system means. The window shows the
// question and closes itself; this keeps the state in between. No Qt; event thread only.

#include <optional>

#include "surface/dialogs.h"

namespace orvena {

// Why the window is asked to close.
enum class UnloadReason {
    FormControlMenu = 0,  // the close box or the system menu
    FormCode = 1,         // the program (the exit button)
    AppWindows = 2,       // the user logs off or the system shuts down
    AppTaskManager = 3,   // ended from outside (task manager, kill)
};

// What the window does with a request to close.
enum class CloseStep {
    already_closed,  // unloaded before: nothing to do, the window is closed
    close_question,  // the system ends the program while the question is open: take it away
    close_window,    // run the close (its event, the question, the unload)
};

class CloseRequest {
  public:
    // A request to close for reason arrives.
    CloseStep request(UnloadReason reason);
    // Whether the close for reason puts the quit question (the session and the system end
    // the program without asking). When it does, the question is open until answered.
    bool opens_question(UnloadReason reason);
    // The open question was answered (a question taken away answers No); true cancels the
    // close. A system request that came while it was open is not the user's to refuse.
    bool cancelled_by(MessageAnswer answer);

    // The window closes itself for reason: its close event means that reason.
    void closing_for(UnloadReason reason) { pending_ = reason; }
    void closing_done() { pending_.reset(); }
    // Which reason a close event means: the window's own close, else the close box (the
    // window system's spontaneous event), else the session ending.
    UnloadReason event_reason(bool spontaneous);
    // A hidden window gets no close event: after a close that went through (closed) the
    // window runs the question and the unload itself.
    bool unloads_without_event(bool closed, bool visible) const;

    // True the first time only: the unload runs once.
    bool unload();
    bool unloaded() const { return unloaded_; }

  private:
    bool unloaded_ = false;
    bool asking_ = false;                // the quit question is open
    bool system_close_waiting_ = false;  // the system asked to end while it was
    std::optional<UnloadReason> pending_;
};

}  // namespace orvena
