// Closing the main window, without the window: who is asked "Bu proğramı kapatmak
// istiyormusunuz ?", what the answer does, and a system request while the question is open.

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

#include "surface/close_request.h"

namespace orvena {
namespace {

using R = UnloadReason;
constexpr MessageAnswer Yes = MessageAnswer::Yes, No = MessageAnswer::No;

struct CloseRow {
    UnloadReason reason;
    bool asking;           // the exit button's question is open when the request comes
    MessageAnswer answer;  // what the open question is answered
    bool system_waiting;   // the system ends the program while the request's question is open
    const char* outcome;   // request's step, whether it asks, the system's step, what remains
};

std::string step_name(CloseStep step) {
    switch (step) {
        case CloseStep::already_closed:
            return "closed";
        case CloseStep::close_question:
            return "end-question";
        case CloseStep::close_window:
            return "close";
    }
    return "?";
}

// The window's part: request, question, a system request meanwhile, the answer.
std::string run(const CloseRow& row) {
    CloseRequest c;
    if (row.asking) c.opens_question(R::FormCode);
    const CloseStep step = c.request(row.reason);
    const bool asks = step == CloseStep::close_window && c.opens_question(row.reason);
    std::string out = step_name(step) + (asks ? " asks" : " silent");
    if (row.system_waiting) out += " system:" + step_name(c.request(R::AppTaskManager));
    const bool question_open = asks || row.asking;
    const bool cancelled = question_open && c.cancelled_by(row.answer);
    return out + (cancelled ? " stays" : " goes");
}

// Names the row in the test list: reason, question open, answer, system request.
void PrintTo(const CloseRow& row, std::ostream* os) {
    *os << static_cast<int>(row.reason) << (row.asking ? "_asking" : "") << "_"
        << (row.answer == Yes ? "Yes" : "No") << (row.system_waiting ? "_system" : "");
}

class CloseRequests : public ::testing::TestWithParam<CloseRow> {};

TEST_P(CloseRequests, OnlyTheUserAsksAndOnlyTheUserSaysNo) {
    EXPECT_EQ(run(GetParam()), GetParam().outcome);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, CloseRequests, ::testing::Values(
    CloseRow{R::FormControlMenu, false, Yes, false, "close asks goes"},
    CloseRow{R::FormControlMenu, false, No,  false, "close asks stays"},
    CloseRow{R::FormControlMenu, false, Yes, true,  "close asks system:end-question goes"},
    CloseRow{R::FormControlMenu, false, No,  true,  "close asks system:end-question goes"},
    CloseRow{R::FormControlMenu, true,  Yes, false, "close asks goes"},
    CloseRow{R::FormControlMenu, true,  No,  false, "close asks stays"},
    CloseRow{R::FormControlMenu, true,  Yes, true,  "close asks system:end-question goes"},
    CloseRow{R::FormControlMenu, true,  No,  true,  "close asks system:end-question goes"},
    CloseRow{R::FormCode,        false, Yes, false, "close asks goes"},
    CloseRow{R::FormCode,        false, No,  false, "close asks stays"},
    CloseRow{R::FormCode,        false, Yes, true,  "close asks system:end-question goes"},
    CloseRow{R::FormCode,        false, No,  true,  "close asks system:end-question goes"},
    CloseRow{R::FormCode,        true,  Yes, false, "close asks goes"},
    CloseRow{R::FormCode,        true,  No,  false, "close asks stays"},
    CloseRow{R::FormCode,        true,  Yes, true,  "close asks system:end-question goes"},
    CloseRow{R::FormCode,        true,  No,  true,  "close asks system:end-question goes"},
    CloseRow{R::AppWindows,      false, Yes, false, "close silent goes"},
    CloseRow{R::AppWindows,      false, No,  false, "close silent goes"},
    CloseRow{R::AppWindows,      false, Yes, true,  "close silent system:close goes"},
    CloseRow{R::AppWindows,      false, No,  true,  "close silent system:close goes"},
    CloseRow{R::AppWindows,      true,  Yes, false, "end-question silent goes"},
    CloseRow{R::AppWindows,      true,  No,  false, "end-question silent goes"},
    CloseRow{R::AppWindows,      true,  Yes, true,  "end-question silent system:end-question goes"},
    CloseRow{R::AppWindows,      true,  No,  true,  "end-question silent system:end-question goes"},
    CloseRow{R::AppTaskManager,  false, Yes, false, "close silent goes"},
    CloseRow{R::AppTaskManager,  false, No,  false, "close silent goes"},
    CloseRow{R::AppTaskManager,  false, Yes, true,  "close silent system:close goes"},
    CloseRow{R::AppTaskManager,  false, No,  true,  "close silent system:close goes"},
    CloseRow{R::AppTaskManager,  true,  Yes, false, "end-question silent goes"},
    CloseRow{R::AppTaskManager,  true,  No,  false, "end-question silent goes"},
    CloseRow{R::AppTaskManager,  true,  Yes, true,  "end-question silent system:end-question goes"},
    CloseRow{R::AppTaskManager,  true,  No,  true,  "end-question silent system:end-question goes"}),
    [](const auto& row) { return ::testing::PrintToString(row.param); });
// clang-format on

// A close event means the window's own reason while it closes itself, else the close box when
// the window system sent it, else the session ending; the own reason serves one event only.
TEST(CloseEvent, ReasonIsTheWindowsOwnElseTheCloseBoxElseTheSession) {
    struct Row {
        std::optional<UnloadReason> own;
        bool spontaneous;
        UnloadReason first, second;
    };
    const Row rows[] = {
        {std::nullopt, true, R::FormControlMenu, R::FormControlMenu},
        {std::nullopt, false, R::AppWindows, R::AppWindows},
        {R::FormCode, true, R::FormCode, R::FormControlMenu},
        {R::FormCode, false, R::FormCode, R::AppWindows},
        {R::AppTaskManager, true, R::AppTaskManager, R::FormControlMenu},
        {R::FormControlMenu, false, R::FormControlMenu, R::AppWindows},
    };
    for (const Row& row : rows) {
        CloseRequest c;
        if (row.own) c.closing_for(*row.own);
        EXPECT_EQ(c.event_reason(row.spontaneous), row.first);
        EXPECT_EQ(c.event_reason(row.spontaneous), row.second);
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
    EXPECT_TRUE(c.unloads_without_event(true, false));
    EXPECT_FALSE(c.unloads_without_event(true, true));
    EXPECT_FALSE(c.unloads_without_event(false, false));
    EXPECT_FALSE(c.unloaded());
    EXPECT_TRUE(c.unload());
    EXPECT_FALSE(c.unload());
    EXPECT_TRUE(c.unloaded());
    EXPECT_FALSE(c.unloads_without_event(true, false));
    for (UnloadReason r : {R::FormControlMenu, R::FormCode, R::AppWindows, R::AppTaskManager})
        EXPECT_EQ(c.request(r), CloseStep::already_closed);
}

}  // namespace
}  // namespace orvena
