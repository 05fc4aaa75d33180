// Replay and sequence playback hand the sound each note's deadline, so a late wake-up on a
// busy machine does not make the note late in the sound.

#include <gtest/gtest.h>

#include <functional>

#include "playing/recording_views.h"
#include "recording/performance_recorder.h"
#include "recording/sequence_player.h"
#include "support/qt_app.h"
#include "support/temp_dir.h"

namespace orvena {
namespace {

// A clock that wakes `late_ms` after every deadline.
struct LateClock final : test::RecordingClock {
    void sleep_until_ms(double deadline_ms) override {
        Clock::sleep_until_ms(deadline_ms);
        now += late_ms;
    }
    double late_ms = 3;
};

// "5@100": string 5 plucked with the note time 100; "cut@100"; "@now" without a note time.
struct StampedSound final : Sound {
    void play_tuned_sample(int s, int) override { stamps.push_back(std::to_string(s) + at()); }
    void stop_plucked() override { stamps.push_back("cut" + at()); }
    void play_note_alias(const std::string&, const std::string&) override {}
    void stop_note_alias(const std::string&) override {}
    void set_note_time(double ms) override { note_time = ms; }
    std::string at() const {
        return note_time == 0 ? "@now" : "@" + std::to_string(static_cast<long>(note_time));
    }
    double note_time = 0;
    std::vector<std::string> stamps;
};

struct Desk {
    Desk() {
        test::ensure_qt_app();
        set_lever_limits(st);
        set_string_geometry(st);
        clock.now = 1000;
    }
    test::TempDir dir;
    InstrumentState st;
    LateClock clock;
    StampedSound sound;
    test::RecordingViews views;
    test::RecordingDialogs dialogs;
    test::CountingEventPump pump;
    PlayContext ctx{st, sound, views, dialogs};
};

struct Panel final : RecordingPanel {
    void show(RecorderState) override {}
    int accidental_source() const override { return 1; }
};

std::vector<std::string> replay(Desk& d) {
    Panel panel;
    Surface lamp8{12, 12}, lamp9{12, 12};
    xTimer timer{[] { return std::int64_t{0}; }};
    PerformanceRecorder recorder(
        d.ctx, RecordingPlatform{panel, lamp8, lamp9, d.pump, d.clock, timer, d.dir.path()});
    test::write_file_bytes(recorder.file_path(), "5 0 100\r\n9 0 250\r\n7 0 50\r\n");
    recorder.Play_buton_Click();
    return d.sound.stamps;
}

std::vector<std::string> play_sequence(Desk& d) {
    Surface picture7{56, 24};
    d.st.speed = 10;  // strings 7, 12 and 17 for 8, 4 and 4 units: 80, 40 and 40 ms
    test::write_file_bytes(
        d.dir.path() / "ezgi.ses",
        "0,3,4,0,0,0,0,0,0,0\r\n0,8,5,0,0,0,0,0,0,0\r\n0,13,5,0,0,0,0,0,0,0\r\n");
    SequencePlayback p{d.ctx, picture7, d.clock, d.pump, d.dir.path(), {}};
    p.window = {[] { return std::string("ezgi"); }, [] { return AccidentalSource::Instrument; },
                [](const char*) {}, [](bool) {}};
    aç_kapa_buton_Click(p);
    return d.sound.stamps;
}

TEST(NoteTime, EveryPluckAndCutOfAPlaybackCarriesItsDeadlineNotTheLateWakeUp) {
    struct Case {
        const char* what;
        std::function<std::vector<std::string>(Desk&)> play;
        std::vector<std::string> stamps;
    };
    const Case cases[] = {
        {"replay",
         replay,
         {"cut@T0", "5@T0", "cut@T100", "9@T100", "cut@T350", "7@T350", "cut@T400"}},
        {"sequence",
         play_sequence,
         {"7@T0", "cut@T80", "12@T80", "cut@T120", "17@T120", "cut@T160"}},
    };
    for (const Case& c : cases) {
        Desk d;
        const auto stamps = c.play(d);
        // The playback's start is wherever the clock stood when its first note was due.
        ASSERT_FALSE(stamps.empty());
        const long start = std::stol(stamps.front().substr(stamps.front().find('@') + 1));
        std::vector<std::string> expected;
        for (std::string s : c.stamps) {
            const auto at = s.find("@T");
            expected.push_back(s.substr(0, at + 1) +
                               std::to_string(start + std::stol(s.substr(at + 2))));
        }
        EXPECT_EQ(stamps, expected) << c.what;
        EXPECT_EQ(d.sound.note_time, 0) << c.what << ": keyboard notes sound at their own time";
    }
}

}  // namespace
}  // namespace orvena
