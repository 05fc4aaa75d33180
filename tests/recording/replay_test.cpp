// Replaying "kayıt.txt": what sounds and when (on a clock that moves only by waiting), the
// layouts the reader accepts, the stop, pause and "arızalar" choices made during a replay,
// and the message and idle state after every kind of bad file.

#include <gtest/gtest.h>

#include <algorithm>

#include "recorder_desk.h"

namespace orvena {
namespace {

using test::RecorderDesk;
using Events = std::vector<std::string>;

TEST(Replay, AcceptsPrintZonesSpacesAndCommas) {
    const char* layouts[] = {" 12           -3             850 \r\n", "12 -3 850\r\n", "12,-3,850",
                             "  12 ,\t-3,850\n\r\n  \r\n", "12\r\n-3\r\n850\r\n"};
    for (const char* layout : layouts) {
        RecorderDesk d;
        d.st.mandal_pos[12] = 2;  // the string's lever now, not the one in the file, sounds
        d.write_recording(layout);
        d.recorder.Play_buton_Click();
        EXPECT_EQ(d.sound.events, (Events{"cut@0", "12/2@0", "cut@850"})) << layout;
        EXPECT_EQ(d.views.calls, (test::Calls{"mandal_at", "porte", "etiket", "arıza_yaz 12"}));
        EXPECT_EQ(d.pump.calls, 1);
        EXPECT_TRUE(d.dialogs.shown().empty());
        EXPECT_EQ(d.panel.shown, (std::vector{RecorderState::replaying, RecorderState::idle}));
        EXPECT_FALSE(d.st.seq_playing);
        EXPECT_EQ(d.lamp8(), test::kLampWhite);
    }
}

TEST(Replay, EachNoteStartsAtTheSumOfTheEarlierIntervals) {
    RecorderDesk d;
    d.write_recording("5 0 100\r\n9 0 250\r\n5 0 -40\r\n7 0 50\r\n");
    d.recorder.Play_buton_Click();
    // A negative interval (an edited file) waits nothing.
    EXPECT_EQ(d.sound.events, (Events{"cut@0", "5/0@0", "cut@100", "9/0@100", "cut@350", "5/0@350",
                                      "cut@350", "7/0@350", "cut@400"}));
    EXPECT_DOUBLE_EQ(d.clock.now, 400);
    EXPECT_EQ(d.pump.calls, 4);             // input is let through once per record
    EXPECT_GT(d.pump.non_input_calls, 50);  // the window repaints while notes sound
}

TEST(Replay, ChoicesMadeDuringTheReplayApplyFromTheirRecord) {
    struct Case {
        const char* name;
        std::function<void(RecorderDesk&)> at_second_record;
        Events events;
    };
    const Case cases[] = {
        {"stop: the drawn note still sounds its full time, the rest never",
         [](RecorderDesk& d) { d.recorder.stop_buton_Click(); },
         {"cut@0", "5/0@0", "cut@100", "9/0@100", "cut@350"}},
        {"pause: the replay goes on from the end of the pause",
         [](RecorderDesk& d) { d.recorder.pause_buton_Click(); },
         {"cut@0", "5/0@0", "cut@5090", "9/0@5090", "cut@5340", "7/0@5340", "cut@5390"}},
        {"\"şartlı\": drawn and timed, silent",
         [](RecorderDesk& d) { d.panel.source = 2; },
         {"cut@0", "5/0@0", "cut@100", "cut@350", "cut@400"}},
    };
    for (const Case& c : cases) {
        RecorderDesk d;
        d.write_recording("5 0 100\r\n9 0 250\r\n7 0 50\r\n");
        d.dialogs.while_shown = [&d](const std::string&) { d.clock.now += 5000; };
        d.pump.on_call = [&](int call) {
            if (call == 2) c.at_second_record(d);
        };
        d.recorder.Play_buton_Click();
        EXPECT_EQ(d.sound.events, c.events) << c.name;
        EXPECT_EQ(d.panel.state(), RecorderState::idle) << c.name;
        EXPECT_FALSE(d.st.seq_playing);
        EXPECT_EQ(d.lamp8(), test::kLampWhite);
    }
}

TEST(Replay, AhenkShiftSoundsTheShiftedStringAtTheRecordedStringsLever) {
    RecorderDesk d;
    d.st.ahenk_shift = 4;  // ŞAH
    d.st.mandal_pos[5] = 3;
    d.write_recording("5 0 10\r\n22 0 10\r\n");
    d.recorder.Play_buton_Click();
    EXPECT_EQ(d.sound.events, (Events{"cut@0", "9/3@0", "cut@10", "26/0@10", "cut@20"}));
    EXPECT_TRUE(d.dialogs.shown().empty());
}

TEST(Replay, EveryBadFileEndsInTheMessageAndTheIdleState) {
    struct Case {
        const char* text;
        int ahenk_shift;
    };
    const Case cases[] = {
        {"5 0 10\r\nx 0 10\r\n", 0},   // not a number
        {"5 0 10\r\n6 0", 0},          // cut off
        {"5 0 10\r\n27 0 10", 0},      // no string 27
        {"5 0 10\r\n0 0 10", 0},       // no string 0
        {"5 0 10\r\n40000 0 10", 0},   // does not fit 16 bits
        {"5 0 10\r\n6 -40000 10", 0},  // nor does this lever
        {"5 0 10\r\n6 0 3000000000", 0},
        {"5 0 10\r\n23 0 10\r\n", 4},  // ŞAH would sound string 27
        {"5 0 10\r\n1 0 10\r\n", -1},  // and here string 0
    };
    for (const Case& c : cases) {
        RecorderDesk d;
        d.st.ahenk_shift = static_cast<std::int16_t>(c.ahenk_shift);
        d.write_recording(c.text);
        d.recorder.Play_buton_Click();
        SCOPED_TRACE(c.text);
        EXPECT_EQ(d.dialogs.texts(), (std::vector<std::string>{kRecordFileErrorMessage}));
        EXPECT_EQ(d.sound.events.at(1), std::to_string(5 + c.ahenk_shift) + "/0@0");
        EXPECT_EQ(d.sound.events.back().substr(0, 3), "cut");  // the first note, then silence
        EXPECT_EQ(std::count_if(d.sound.events.begin(), d.sound.events.end(),
                                [](const std::string& e) { return e[0] != 'c'; }),
                  1);
        EXPECT_EQ(d.panel.state(), RecorderState::idle);
        EXPECT_FALSE(d.st.seq_playing);
        EXPECT_EQ(d.st.rec_file_no, 0);
        EXPECT_EQ(d.lamp8(), test::kLampWhite);
    }
}

TEST(Replay, NoFileSaysSoAndChangesNothingAnEmptyFileEndsAtOnce) {
    RecorderDesk none;
    none.recorder.Play_buton_Click();
    EXPECT_EQ(none.dialogs.texts(), (std::vector<std::string>{kNoRecordingMessage}));
    EXPECT_TRUE(none.panel.shown.empty());
    EXPECT_EQ(none.lamp8(), test::kLampWhite);

    RecorderDesk empty;
    empty.write_recording("");
    empty.recorder.Play_buton_Click();
    EXPECT_TRUE(empty.dialogs.shown().empty());
    EXPECT_EQ(empty.panel.shown, (std::vector{RecorderState::replaying, RecorderState::idle}));
    EXPECT_TRUE(empty.views.calls.empty());
    EXPECT_DOUBLE_EQ(empty.clock.now, 0);
}

}  // namespace
}  // namespace orvena
