// A click on a string is heard as soon as a letter key: the string sounds before anything is
// drawn, whether or not the performance is being recorded.

#include <gtest/gtest.h>

#include "playing/mouse.h"
#include "playing/recording_views.h"

namespace orvena {
namespace {

// Writes down, for every sound call, how many drawings came before it; the recorder's steps
// are written down in the same list.
struct OrderedPlay : Sound, PluckRecorder {
    test::RecordingViews views;
    std::vector<std::string> steps;
    void note(const std::string& what) {
        steps.push_back(what + " after " + std::to_string(views.calls.size()) + " drawings");
    }
    void play_tuned_sample(int s, int) override { note("pluck " + std::to_string(s)); }
    void play_note_alias(int, int, const std::string&) override { note("on"); }
    void stop_note_alias(const std::string& alias) override { note("off " + alias); }
    void stop_plucked() override { note("cut"); }
    void before_pluck() override { note("record"); }
    void after_pluck() override { note("timer"); }
};

TEST(StringClick, SoundsBeforeAnythingIsDrawn) {
    for (const bool recording : {false, true}) {
        InstrumentState st;
        set_lever_limits(st);
        set_names(st);
        set_string_geometry(st);
        st.recording = recording;
        OrderedPlay play;
        test::RecordingDialogs dialogs;
        PlayContext ctx{st, play, play.views, dialogs};
        Picture2_MouseDown(ctx, play, kLeftButton, 700, 29 + 15 * 4);  // string 5
        const std::vector<std::string> expected =
            recording
                ? std::vector<std::string>{"off A5 after 0 drawings", "record after 0 drawings",
                                           "pluck 5 after 0 drawings", "timer after 0 drawings"}
                : std::vector<std::string>{"off A5 after 0 drawings", "pluck 5 after 0 drawings"};
        EXPECT_EQ(play.steps, expected) << "recording " << recording;
        EXPECT_EQ(play.views.calls,
                  (test::Calls{"tel_çiz", "key up 5", "mandal_at", "porte", "etiket"}));
    }
}

}  // namespace
}  // namespace orvena
