// Replaying "kayıt.txt": what sounds and when (on a clock that moves only by waiting), the
// layouts the reader accepts, choices made during a replay, and every kind of bad file.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>

#include "recorder_desk.h"
#include "recording/render_command.h"
#include "sound/sound_module.h"

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

TEST(Replay, StopPauseAndArizalarActFromTheRecordAtWhichTheyAreClicked) {
    struct Case {
        std::function<void(RecorderDesk&)> click;
        Events events;
    };
    const Case cases[] = {
        {[](RecorderDesk& d) { d.recorder.stop_buton_Click(); },  // that note still sounds
         {"5/0@0", "cut@90", "9/0@100", "cut@350"}},
        {[](RecorderDesk& d) { d.recorder.pause_buton_Click(); },  // 5 s until OK is pressed
         {"5/0@0", "cut@90", "9/0@5090", "cut@5330", "7/0@5340", "cut@5390"}},
        {[](RecorderDesk& d) { d.panel.source = 2; },  // "şartlı": drawn and timed, silent
         {"5/0@0", "cut@90", "cut@340", "cut@400"}},
    };
    for (const Case& c : cases) {
        RecorderDesk d;
        d.dialogs.while_shown = [&d](const std::string&) { d.clock.now += 5000; };
        d.pump.on_call = [&](int call) {
            if (call == 2) c.click(d);
        };
        EXPECT_EQ(replay(d, "5 0 100\r\n9 0 250\r\n7 0 50\r\n"), c.events);
    }
}

// A clock whose waits are the sound device's time: each millisecond waited renders the
// mixer's next millisecond, asked for at that moment.
struct DeviceClock final : Clock {
    explicit DeviceClock(Mixer& m) : mixer(m) {}
    void Sleep(std::uint32_t ms) override {
        constexpr std::size_t kFramesPerMs = 48;
        float block[2 * kFramesPerMs];
        for (std::uint32_t i = 0; i < ms; ++i, now += 1) {
            mixer.render(
                block, kFramesPerMs,
                Mixer::TimePoint(std::chrono::milliseconds(static_cast<std::int64_t>(now))));
            for (std::size_t f = 0; f < kFramesPerMs; ++f) left.push_back(block[2 * f]);
        }
    }
    double now_ms() override { return now; }
    Mixer& mixer;
    double now = 0;
    std::vector<float> left;  // everything rendered, left channel
};

// What a replay of "kayıt.txt" on the shipped instrument sounds; pause_ms > 0 pauses it as the
// second record is drawn and answers "durduruldu" after that long.
std::vector<float> heard_replay(const std::string& recording, double pause_ms) {
    test::TempDir dir;
    for (const auto& entry : std::filesystem::directory_iterator(test::program_dir())) {
        const std::string ext = entry.path().extension().string();
        if (ext == ".wav" || ext == ".xls")
            std::filesystem::copy(entry.path(), dir / entry.path().filename());
    }
    InstrumentState st;
    if (const auto problem = start_render_instrument(st, dir.path())) ADD_FAILURE() << *problem;
    SoundModule sound(st, dir.path(), std::make_unique<NullOutput>());
    sound.load_samples();
    DeviceClock clock(sound.mixer());
    test::RecordingViews views;
    test::RecordingDialogs dialogs;
    PlayContext ctx{st, sound, views, dialogs};
    test::FakePanel panel;
    Surface picture8{12, 12}, picture9{12, 12};
    test::CountingEventPump pump;
    xTimer timer{[] { return std::int64_t{0}; }};
    PerformanceRecorder recorder{
        ctx, RecordingPlatform{panel, picture8, picture9, pump, clock, timer, dir.path()}};
    pump.on_call = [&](int call) {
        if (call == 2 && pause_ms > 0) recorder.pause_buton_Click();
    };
    dialogs.while_shown = [&](const std::string&) {
        clock.Sleep(static_cast<std::uint32_t>(pause_ms));
    };
    test::write_file_bytes(recorder.file_path(), recording);
    recorder.Play_buton_Click();
    clock.Sleep(500);
    return clock.left;
}

float loudest(const std::vector<float>& sound, double from_ms, double to_ms) {
    const auto at = [&](double ms) {
        return sound.begin() +
               std::clamp<std::ptrdiff_t>(std::lround(ms * 48), 0,
                                          static_cast<std::ptrdiff_t>(sound.size()));
    };
    float peak = 0;
    for (auto it = at(from_ms); it < at(to_ms); ++it) peak = std::max(peak, std::abs(*it));
    return peak;
}

// A pause held while a note sounds does not make it ring on: the note ends at its recorded
// interval as it does without a pause, and the replay then goes on as it would have.
TEST(Replay, APausedNoteEndsAtItsIntervalAndTheReplayGoesOnUnchanged) {
    const std::string recording = " 12 0 1500\r\n 19 0 400\r\n";
    const double pause = 3000;
    const std::vector<float> plain = heard_replay(recording, 0);
    const std::vector<float> paused = heard_replay(recording, pause);
    // The pause opens 10 ms before the second note is due; the note ends 1.5 s after it began
    // (its moment, a 10 ms allowance and the 3 ms fade).
    EXPECT_GT(loudest(paused, 100, 1400), 0.01f);
    EXPECT_EQ(loudest(paused, 1530, 1490 + pause), 0.0f) << "the paused note rang on";
    const auto second = [](const std::vector<float>& sound, double from_ms) {
        const auto first = static_cast<std::ptrdiff_t>(std::lround(from_ms * 48));
        return std::vector<float>(sound.begin() + first, sound.begin() + first + 48 * 400);
    };
    EXPECT_EQ(std::vector<float>(paused.begin(), paused.begin() + 48 * 1490),
              std::vector<float>(plain.begin(), plain.begin() + 48 * 1490));
    EXPECT_EQ(second(paused, 1490 + pause + 20), second(plain, 1500 + 20));
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
