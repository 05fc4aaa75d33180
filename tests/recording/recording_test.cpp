// Recording a performance played with the mouse: the bytes of "kayıt.txt" and the lamp.

#include <gtest/gtest.h>

#include "recorder_desk.h"

namespace orvena {
namespace {

using test::RecorderDesk;

// One record as the file holds it: three print zones of 14 characters, CR LF.
std::string line(std::string string, const std::string& lever, const std::string& ms) {
    string.resize(14, ' ');
    return string + lever + std::string(14 - lever.size(), ' ') + ms + "\r\n";
}

TEST(Recording, WritesEachNoteWhenTheNextPluckOrTheStopEndsIt) {
    RecorderDesk d;
    test::write_file_bytes(d.recorder.file_path(), "old recording");
    d.recorder.rec_buton_Click();
    EXPECT_EQ(d.file(), "");
    EXPECT_EQ(d.lamp(d.Picture9), test::kRed);
    d.st.mandal_pos[9] = -2;
    d.click_string_after(5000, 5);  // the time before the first pluck is no note
    d.click_string_after(120.4, 9);
    d.click_string_after(250.5, 5);  // a tie goes to the even millisecond
    EXPECT_EQ(d.file(), line(" 5 ", " 0 ", " 120 ") + line(" 9 ", "-2 ", " 250 "));
    d.counter_ns += 75'600'000;
    d.recorder.stop_buton_Click();
    EXPECT_EQ(d.file(), line(" 5 ", " 0 ", " 120 ") + line(" 9 ", "-2 ", " 250 ") +
                            line(" 5 ", " 0 ", " 76 "));
    EXPECT_EQ(d.lamp(d.Picture9), test::kWhite);
    EXPECT_EQ(d.panel.shown, (std::vector{RecorderState::recording, RecorderState::idle}));

    // A new recording replaces the file; stopped before any pluck it stays empty.
    d.recorder.rec_buton_Click();
    d.counter_ns += 999'000'000;
    d.recorder.stop_buton_Click();
    EXPECT_EQ(d.file(), "");
    EXPECT_TRUE(d.dialogs.shown().empty());
}

}  // namespace
}  // namespace orvena
