// Closing the main window, without the window: who is asked "Bu proğramı kapatmak
// istiyormusunuz ?", what the answer does, and a system request while the question is open.

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <tuple>

#include "surface/close_request.h"

namespace orvena {
namespace {

using R = UnloadReason;
constexpr MessageAnswer Yes = MessageAnswer::Yes, No = MessageAnswer::No;

// Whether the exit button's question is open when the request comes, what the open question is
// answered, whether the system ends the program while the request's question is open; then
// what the user's reasons (close box, code) and the system's (session end, task manager) give:
// the request's step, whether it asks, the system's step, what remains.
using CloseRow = std::tuple<bool, MessageAnswer, bool, const char*, const char*>;

std::string step_name(CloseStep step) {
    return std::array{"closed", "end-question", "close"}.at(static_cast<std::size_t>(step));
}

// The window's part: request, question, a system request meanwhile, the answer.
std::string run(UnloadReason reason, bool asking, MessageAnswer answer, bool system_waiting) {
    CloseRequest c;
    if (asking) c.opens_question(R::FormCode);
    const CloseStep step = c.request(reason);
    const bool asks = step == CloseStep::close_window && c.opens_question(reason);
    std::string out = step_name(step) + (asks ? " asks" : " silent");
    if (system_waiting) out += " system:" + step_name(c.request(R::AppTaskManager));
    const bool cancelled = (asks || asking) && c.cancelled_by(answer);  // a question was open
    return out + (cancelled ? " stays" : " goes");
}

TEST(CloseRequests, OnlyTheUserAsksAndOnlyTheUserSaysNo) {
    // clang-format off
    const CloseRow rows[] = {
        {false, Yes, false, "close asks goes", "close silent goes"},
        {false, No,  false, "close asks stays", "close silent goes"},
        {false, Yes, true,  "close asks system:end-question goes", "close silent system:close goes"},
        {false, No,  true,  "close asks system:end-question goes", "close silent system:close goes"},
        {true,  Yes, false, "close asks goes", "end-question silent goes"},
        {true,  No,  false, "close asks stays", "end-question silent goes"},
        {true,  Yes, true,  "close asks system:end-question goes", "end-question silent system:end-question goes"},
        {true,  No,  true,  "close asks system:end-question goes", "end-question silent system:end-question goes"}};
    // clang-format on
    for (const auto& [asking, answer, system_waiting, by_user, by_system] : rows) {
        SCOPED_TRACE(testing::Message() << asking << (answer == Yes) << system_waiting);
        for (UnloadReason user : {R::FormControlMenu, R::FormCode})
            EXPECT_EQ(run(user, asking, answer, system_waiting), by_user);
        for (UnloadReason system : {R::AppWindows, R::AppTaskManager})
            EXPECT_EQ(run(system, asking, answer, system_waiting), by_system);
    }
}

// A close event means the window's own reason while it closes itself, else the close box when
// the window system sent it, else the session ending; the own reason serves one event only.
TEST(CloseEvent, ReasonIsTheWindowsOwnElseTheCloseBoxElseTheSession) {
    // The window's own reason, whether the window system sent the event, the two reasons given.
    const std::tuple<std::optional<UnloadReason>, bool, UnloadReason, UnloadReason> rows[] = {
        {std::nullopt, true, R::FormControlMenu, R::FormControlMenu},
        {std::nullopt, false, R::AppWindows, R::AppWindows},
        {R::FormCode, true, R::FormCode, R::FormControlMenu},
        {R::FormCode, false, R::FormCode, R::AppWindows},
        {R::AppTaskManager, true, R::AppTaskManager, R::FormControlMenu},
        {R::FormControlMenu, false, R::FormControlMenu, R::AppWindows}};
    for (const auto& [own, spontaneous, first, second] : rows) {
        CloseRequest c;
        if (own) c.closing_for(*own);
        EXPECT_EQ(c.event_reason(spontaneous), first);
        EXPECT_EQ(c.event_reason(spontaneous), second);
    }
    CloseRequest done;
    done.closing_for(R::FormCode);
    done.closing_done();
    EXPECT_EQ(done.event_reason(false), R::AppWindows) << "a finished close leaves no reason";
}

// The unload runs once; after it every request finds the window closed, and a hidden window
// (no close event) unloads itself only when its close went through.
TEST(CloseEvent, UnloadRunsOnceAndAHiddenWindowUnloadsItself) {
    CloseRequest c;
    EXPECT_EQ(std::tuple(c.unloads_without_event(true, false), c.unloads_without_event(true, true),
                         c.unloads_without_event(false, false), c.unloaded()),
              std::tuple(true, false, false, false));
    EXPECT_TRUE(c.unload());
    EXPECT_EQ(std::tuple(c.unload(), c.unloaded(), c.unloads_without_event(true, false)),
              std::tuple(false, true, false));
    for (UnloadReason r : {R::FormControlMenu, R::FormCode, R::AppWindows, R::AppTaskManager})
        EXPECT_EQ(c.request(r), CloseStep::already_closed);
}

}  // namespace
}  // namespace orvena
