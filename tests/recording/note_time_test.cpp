// Replay and sequence playback hand the sound each note's deadline with its pluck and with
// the cut before it, so that drawing or a late wake-up after the deadline does not make the
// note late in the sound; keyboard notes played afterwards go back to their own moment.

#include <gtest/gtest.h>

#include "recorder_desk.h"
#include "recording/sequence_player.h"

namespace orvena {
namespace {

// Every wait ends 3 ms late, as on a busy machine.
struct LateClock final : test::RecordingClock {
    void Sleep(std::uint32_t milliseconds) override { now += milliseconds + 3; }
};

TEST(NoteTime, EveryPluckAndCutOfAPlaybackCarriesItsDeadline) {
    test::RecorderDesk d;
    d.sound.note_times = true;
    test::write_file_bytes(d.recorder.file_path(), "5 0 100\r\n9 0 250\r\n7 0 50\r\n");
    d.recorder.Play_buton_Click();
    EXPECT_EQ(d.sound.calls,
              (test::Calls{"5/0!0", "cut!100", "9/0!100", "cut!350", "7/0!350", "cut!400"}));

    // Strings 7, 12 and 17 for 8, 4 and 4 units at speed 10: 80, 40 and 40 ms.
    d.sound.calls.clear();
    d.st.speed = 10;
    test::write_file_bytes(
        d.dir / "ezgi.ses",
        "0,3,4,0,0,0,0,0,0,0\r\n0,8,5,0,0,0,0,0,0,0\r\n0,13,5,0,0,0,0,0,0,0\r\n");
    Surface picture7{56, 24};
    LateClock late;
    SequencePlayback p{d.ctx, picture7, late, d.pump, d.dir.path(), {}};
    p.window = {[] { return std::string("ezgi"); }, [] { return AccidentalSource::Instrument; },
                [](const char*) {}, [](bool) {}};
    aç_kapa_buton_Click(p);
    EXPECT_EQ(d.sound.calls,
              (test::Calls{"7/0!0", "cut!80", "12/0!80", "cut!120", "17/0!120", "cut!160"}));
    EXPECT_EQ(d.sound.note_time, std::nullopt);
}

}  // namespace
}  // namespace orvena
