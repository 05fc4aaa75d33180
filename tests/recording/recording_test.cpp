// Recording a performance played with the mouse: the bytes of "kayıt.txt", the lamps and
// the buttons' state.

#include <gtest/gtest.h>

#include "recorder_desk.h"

namespace orvena {
namespace {

using test::RecorderDesk;

// One record as the file holds it: three print zones of 14 characters, CR LF.
std::string line(const std::string& string, const std::string& lever, const std::string& ms) {
    std::string out = string;
    out.resize(14, ' ');
    out += lever;
    out.resize(28, ' ');
    return out + ms + "\r\n";
}

TEST(Recording, WritesEachNoteWhenTheNextPluckOrTheStopEndsIt) {
    RecorderDesk d;
    d.recorder.rec_buton_Click();
    d.st.mandal_pos[9] = -2;
    d.click_string_after(5000, 5);  // time before the first pluck is not recorded
    EXPECT_EQ(d.file_bytes(), "");
    d.click_string_after(120.4, 9);
    d.click_string_after(250.5, 5);  // a tie goes to the even millisecond
    EXPECT_EQ(d.file_bytes(), line(" 5 ", " 0 ", " 120 ") + line(" 9 ", "-2 ", " 250 "));
    d.stop_after(75.6);
    EXPECT_EQ(d.file_bytes(), line(" 5 ", " 0 ", " 120 ") + line(" 9 ", "-2 ", " 250 ") +
                                  line(" 5 ", " 0 ", " 76 "));
    EXPECT_EQ(d.st.rec_time, 76);
}

TEST(Recording, ANewRecordingReplacesTheOldFile) {
    RecorderDesk d;
    d.write_recording(line(" 3 ", " 1 ", " 999 "));
    d.recorder.rec_buton_Click();
    EXPECT_EQ(d.file_bytes(), "");
    d.click_string_after(0, 12);
    d.stop_after(850);
    d.recorder.rec_buton_Click();
    d.click_string_after(0, 26);
    d.stop_after(40);
    EXPECT_EQ(d.file_bytes(), line(" 26 ", " 0 ", " 40 "));
}

TEST(Recording, AStopBeforeAnyPluckLeavesTheFileEmpty) {
    RecorderDesk d;
    d.click_string_after(0, 4);  // before recording: the stopwatch is not running
    d.recorder.rec_buton_Click();
    d.stop_after(123456);
    EXPECT_EQ(d.file_bytes(), "");
    EXPECT_FALSE(d.st.recording);
}

TEST(Recording, LampsAndButtonsFollowTheRecording) {
    RecorderDesk d;
    d.recorder.rec_buton_Click();
    EXPECT_TRUE(d.st.recording);
    EXPECT_TRUE(d.st.rec_first_event);
    EXPECT_EQ(d.panel.state(), RecorderState::recording);
    EXPECT_EQ(d.lamp9(), test::kLampRed);
    EXPECT_EQ(d.lamp8(), test::kLampWhite);
    d.click_string_after(0, 7);
    EXPECT_FALSE(d.st.rec_first_event);
    d.stop_after(10);
    EXPECT_EQ(d.panel.state(), RecorderState::idle);
    EXPECT_EQ(d.lamp9(), test::kLampWhite);
    EXPECT_TRUE(d.dialogs.shown().empty());
}

TEST(Recording, AFolderThatCannotHoldTheFileSaysSoAndStaysIdle) {
    RecorderDesk d;
    std::filesystem::create_directory(d.recorder.file_path());  // a folder where the file goes
    d.recorder.rec_buton_Click();
    EXPECT_EQ(d.dialogs.texts(), (std::vector<std::string>{kRecordFileErrorMessage}));
    EXPECT_FALSE(d.st.recording);
    EXPECT_TRUE(d.panel.shown.empty());
    EXPECT_EQ(d.lamp9(), test::kLampWhite);
}

}  // namespace
}  // namespace orvena
