// Replay and sequence playback hand the sound each note's deadline with its pluck and with
// the cut before it, so that drawing or a late wake-up after the deadline does not make the
// note late in the sound; keyboard notes played afterwards go back to their own moment.

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "playing/recording_views.h"
#include "recording/performance_recorder.h"
#include "recording/sequence_player.h"
#include "support/qt_app.h"
#include "support/temp_dir.h"

namespace orvena {
namespace {

// "5@100": string 5 plucked with the note time 100 ms; "cut@100"; "@now": no note time.
struct StampedSound final : Sound {
    void play_tuned_sample(int s, int) override { stamps.push_back(std::to_string(s) + at()); }
    void stop_plucked() override { stamps.push_back("cut" + at()); }
    void play_note_alias(const std::string&, const std::string&) override {}
    void stop_note_alias(const std::string&) override {}
    void set_note_time(std::optional<double> ms) override { note_time = ms; }
    std::string at() const {
        return note_time ? "@" + std::to_string(static_cast<long>(*note_time)) : "@now";
    }
    std::optional<double> note_time;
    std::vector<std::string> stamps;
};

struct Desk {
    test::TempDir dir;
    InstrumentState st;
    test::RecordingClock clock;  // starts at 0: the deadlines are the playback's own times
    StampedSound sound;
    test::RecordingViews views;
    test::RecordingDialogs dialogs;
    test::CountingEventPump pump;
    PlayContext ctx{st, sound, views, dialogs};
};

struct Panel final : RecordingPanel {
    void show(RecorderState) override {}
    int accidental_source() const override { return 1; }  // "çalgı"
};

void replay(Desk& d) {
    Panel panel;
    Surface lamp8{12, 12}, lamp9{12, 12};
    xTimer timer{[] { return std::int64_t{0}; }};
    PerformanceRecorder recorder(
        d.ctx, RecordingPlatform{panel, lamp8, lamp9, d.pump, d.clock, timer, d.dir.path()});
    test::write_file_bytes(recorder.file_path(), "5 0 100\r\n9 0 250\r\n7 0 50\r\n");
    recorder.Play_buton_Click();
}

void play_sequence(Desk& d) {
    Surface picture7{56, 24};
    d.st.speed = 10;  // strings 7, 12 and 17 for 8, 4 and 4 units: 80, 40 and 40 ms
    test::write_file_bytes(
        d.dir.path() / "ezgi.ses",
        "0,3,4,0,0,0,0,0,0,0\r\n0,8,5,0,0,0,0,0,0,0\r\n0,13,5,0,0,0,0,0,0,0\r\n");
    SequencePlayback p{d.ctx, picture7, d.clock, d.pump, d.dir.path(), {}};
    p.window = {[] { return std::string("ezgi"); }, [] { return AccidentalSource::Instrument; },
                [](const char*) {}, [](bool) {}};
    aç_kapa_buton_Click(p);
}

TEST(NoteTime, EveryPluckAndCutOfAPlaybackCarriesItsDeadline) {
    const std::pair<std::function<void(Desk&)>, std::vector<std::string>> cases[] = {
        {replay, {"cut@0", "5@0", "cut@100", "9@100", "cut@350", "7@350", "cut@400"}},
        {play_sequence, {"7@0", "cut@80", "12@80", "cut@120", "17@120", "cut@160"}},
    };
    for (const auto& [play, stamps] : cases) {
        test::ensure_qt_app();
        Desk d;
        set_lever_limits(d.st);
        set_string_geometry(d.st);
        play(d);
        EXPECT_EQ(d.sound.stamps, stamps);
        EXPECT_EQ(d.sound.note_time, std::nullopt);
    }
}

}  // namespace
}  // namespace orvena
