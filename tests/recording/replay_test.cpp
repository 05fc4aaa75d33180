// Replaying "kayıt.txt": what sounds and when (on a clock that moves only by waiting), the
// layouts the reader accepts, choices made during a replay, and every kind of bad file.

#include <gtest/gtest.h>

#include <functional>

#include "recorder_desk.h"

namespace orvena {
namespace {

using test::RecorderDesk;
using Events = std::vector<std::string>;

Events replay(RecorderDesk& d, const std::string& file) {
    test::write_file_bytes(d.recorder.file_path(), file);
    d.recorder.Play_buton_Click();
    EXPECT_EQ(d.panel.shown.front(), RecorderState::replaying);
    EXPECT_EQ(d.panel.shown.back(), RecorderState::idle);
    EXPECT_FALSE(d.st.seq_playing);
    EXPECT_EQ(d.lamp(d.Picture8), test::kWhite);
    return d.sound.calls;
}

TEST(Replay, AcceptsPrintZonesSpacesAndCommas) {
    for (const char* file : {" 12           -3             850 \r\n", "12 -3 850", "12,-3,850",
                             "  12 ,\t-3,850\n\r\n  \r\n", "12\r\n-3\r\n850\r\n"}) {
        RecorderDesk d;
        d.st.mandal_pos[12] = 2;  // the string's lever now sounds, not the one in the file
        EXPECT_EQ(replay(d, file), (Events{"12/2@0", "cut@850"})) << file;
        EXPECT_EQ(d.views.calls, (test::Calls{"mandal_at", "porte", "etiket", "arıza_yaz 12"}));
        EXPECT_TRUE(d.dialogs.shown().empty());
    }
}

TEST(Replay, EachNoteStartsAtTheSumOfTheEarlierIntervals) {
    RecorderDesk d;
    // A negative interval (an edited file) waits nothing.
    EXPECT_EQ(replay(d, "5 0 100\r\n9 0 250\r\n5 0 -40\r\n7 0 50\r\n"),
              (Events{"5/0@0", "cut@90", "9/0@100", "cut@340", "5/0@350", "cut@350", "7/0@350",
                      "cut@400"}));
    EXPECT_EQ(d.pump.calls, 4);             // input is let through once per record
    EXPECT_GT(d.pump.non_input_calls, 50);  // the window repaints while notes sound
}

// What sounds, at the moments it belongs to: a pause held 5 s as the second record is drawn
// still ends the first note at its recorded 100 ms, as without a pause.
TEST(Replay, StopPauseAndArizalarActFromTheRecordAtWhichTheyAreClicked) {
    struct Case {
        std::function<void(RecorderDesk&)> click;
        Events events;
    };
    const Case cases[] = {
        {[](RecorderDesk& d) { d.recorder.stop_buton_Click(); },  // that note still sounds
         {"5/0!0", "cut!100", "9/0!100", "cut!350"}},
        {[](RecorderDesk& d) { d.recorder.pause_buton_Click(); },  // 5 s until OK is pressed
         {"5/0!0", "cut!100", "9/0!5090", "cut!5340", "7/0!5340", "cut!5390"}},
        {[](RecorderDesk& d) { d.panel.source = 2; },  // "şartlı": drawn and timed, silent
         {"5/0!0", "cut!100", "cut!350", "cut!400"}},
    };
    for (const Case& c : cases) {
        RecorderDesk d;
        d.sound.note_times = true;
        d.dialogs.while_shown = [&d](const std::string&) { d.clock.now += 5000; };
        d.pump.on_call = [&](int call) {
            if (call == 2) c.click(d);
        };
        EXPECT_EQ(replay(d, "5 0 100\r\n9 0 250\r\n7 0 50\r\n"), c.events);
    }
}

TEST(Replay, AhenkShiftSoundsTheShiftedStringAtTheRecordedStringsLever) {
    RecorderDesk d;
    d.st.ahenk_shift = 4;  // ŞAH
    d.st.mandal_pos[5] = 3;
    EXPECT_EQ(replay(d, "5 0 10\r\n22 0 10\r\n"), (Events{"9/3@0", "cut@0", "26/0@10", "cut@20"}));
}

TEST(Replay, EveryBadFileEndsInTheMessageAndTheIdleState) {
    const std::pair<const char*, int> cases[] = {
        {"x 0 10", 0},         {"6 0", 0},         {"27 0 10", 0},
        {"0 0 10", 0},         {"40000 0 10", 0},  {"6 -40000 10", 0},
        {"6 0 3000000000", 0}, {"23 0 10\r\n", 4},  // ŞAH would sound string 27
        {"1 0 10\r\n", -1}};
    for (const auto& [bad, shift] : cases) {
        RecorderDesk d;
        d.st.ahenk_shift = static_cast<std::int16_t>(shift);
        const Events events = replay(d, std::string("5 0 10\r\n") + bad);
        EXPECT_EQ(d.dialogs.texts(), (std::vector<std::string>{kRecordFileErrorMessage})) << bad;
        EXPECT_EQ(events[0], std::to_string(5 + shift) + "/0@0");  // the good record sounded
        EXPECT_EQ(events.back().substr(0, 3), "cut");
        EXPECT_EQ(events.size(), shift == 0 ? 2u : 3u);
    }
    RecorderDesk none;
    none.recorder.Play_buton_Click();
    EXPECT_EQ(none.dialogs.texts(), (std::vector<std::string>{kNoRecordingMessage}));
    EXPECT_TRUE(none.panel.shown.empty());
    RecorderDesk empty;
    EXPECT_EQ(replay(empty, ""), (Events{"cut@0"}));
}

}  // namespace
}  // namespace orvena
