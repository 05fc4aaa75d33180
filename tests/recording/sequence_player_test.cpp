// Sequence playback on a recorded instrument, with a clock that moves only by the player's
// own waits: which string sounds with which lever, when and for how long; stopping during a
// note; the message for a broken or missing file.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "recorder_desk.h"
#include "recording/sequence_player.h"
#include "support/qt_app.h"
#include "support/temp_dir.h"

namespace orvena {
namespace {

using Events = std::vector<std::string>;

struct Player : ::testing::Test {
    test::TempDir dir;
    InstrumentState st;
    test::RecordingClock clock;
    test::RecordingSound sound{&clock};  // "7/-3@0": string 7 at lever -3 at 0 ms; "cut@640"
    test::RecordingViews views;
    test::RecordingDialogs dialogs;
    test::CountingEventPump pump;
    PlayContext ctx{st, sound, views, dialogs};
    Surface Picture7{56, 24};
    std::string caption = ">";
    bool frames_enabled = true;
    AccidentalSource source = AccidentalSource::Instrument;
    SequencePlayback p{ctx, Picture7, clock, pump, dir.path(), {}};

    void SetUp() override {
        test::ensure_qt_app();
        st.speed = 40;
        p.window = {[] { return std::string("ezgi"); }, [this] { return source; },
                    [this](const char* c) { caption = c; },
                    [this](bool on) { frames_enabled = on; }};
    }
    void play(const std::string& text) {
        test::write_file_bytes(dir / "ezgi.ses", text);
        aç_kapa_buton_Click(p);
    }
    // The group is idle again; the counter box shows `counter` (nullptr: nothing printed), on
    // a white box when `white`.
    void expect_idle_with_counter(const char* counter, bool white) {
        if (counter) {
            EXPECT_EQ(Picture7.print_log().back().text.toStdString(), counter);
        }
        QImage blank(Picture7.image().size(), Picture7.image().format());
        blank.fill(Qt::white);
        EXPECT_EQ(Picture7.image() == blank, white);
        EXPECT_TRUE(caption == ">" && frames_enabled && !st.seq_playing);
    }
};

TEST_F(Player, eachRecordSoundsItsStringAndLeverForItsUnitsAtTheSpeedOfItsTime) {
    using S = AccidentalSource;
    struct Row {
        const char* record;
        S source;
        int shift, speed;
        int string, lever, units;  // string 0: nothing sounds for the units
    } const rows[] = {
        {"0,3,3,0,0,0,0,0,0,0", S::Instrument, 0, 40, 7, -3, 16},  // the instrument's lever
        {"0,3,3,0,0,0,0,0,0,0", S::Instrument, 4, 40, 11, 2, 16},  // ŞAH: four strings on
        {"0,15,1,5,0,0,0,0,0,1", S::Instrument, 0, 40, 12, 1, 64},
        {"0,8,4,0,0,0,0,0,0,0", S::Instrument, 0, 40, 12, 1, 8},
        {"1,8,4,0,1,0,0,0,0,0", S::Instrument, 0, 40, 12, 1, 5},  // triplet, dot ignored
        {"2,8,5,0,0,0,0,0,0,0", S::Instrument, 0, 40, 12, 1, 3},
        {"0,8,3,0,1,0,0,0,0,0", S::Instrument, 0, 40, 12, 1, 24},   // dotted quarter
        {"0,8,9,0,0,0,0,0,0,0", S::Instrument, 0, 40, 12, 1, 24},   // keeps the last value
        {"0,29,0,0,0,0,0,0,0,0", S::Instrument, 0, 40, 0, 0, 16},   // rest
        {"0,8,0,0,0,0,0,0,0,0", S::Instrument, 0, 40, 0, 0, 0},     // skipped
        {"0,40,3,0,0,0,0,0,0,0", S::Instrument, 0, 40, 0, 0, 0},    // skipped
        {"0,3,7,2,0,0,0,0,0,1", S::Conditional, 3, 40, 10, 8, 16},  // a raised level: +6
        {"0,3,3,2,0,0,0,0,0,0", S::Conditional, 0, 40, 7, -3, 16},  // no own accidental
        {"0,3,3,2,0,0,0,0,0,0", S::File, -3, 40, 4, 2, 16},
        {"0,14,5,0,0,0,0,0,0,0", S::Instrument, 0, 30, 18, 0, 4},  // the tempo moved
    };
    st.mandal_pos[7] = -3;
    st.mandal_pos[11] = 2;
    st.mandal_pos[12] = 1;
    std::string text = "\xEF\xBB\xBF";  // a byte order mark, as some editors write
    Events expected;
    long t = 0;
    bool sounding = false;
    const auto at = [&t] { return "@" + std::to_string(t); };
    for (const Row& r : rows) {
        text += std::string(r.record) + "\r\n";
        if (r.units == 0) continue;  // skipped
        if (sounding) expected.push_back("cut" + at());
        sounding = r.string != 0;
        if (sounding)
            expected.push_back(std::to_string(r.string) + "/" + std::to_string(r.lever) + at());
        t += r.units * r.speed;
    }
    if (sounding) expected.push_back("cut" + at());
    pump.on_call = [&](int n) {  // each record's settings arrive with its pass of events
        const Row& r = rows[n - 1];
        source = r.source;
        st.ahenk_shift = static_cast<std::int16_t>(r.shift);
        st.speed = static_cast<std::int16_t>(r.speed);
    };
    play(text);

    EXPECT_EQ(sound.calls, expected);
    EXPECT_EQ(clock.now, t);
    EXPECT_EQ(std::count(views.calls.begin(), views.calls.end(), "tel_çiz"), 12);
    expect_idle_with_counter("015", true);
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(Player, stopDuringANoteLetsItEndAndCountsButSkipsTheNextRecord) {
    pump.on_call = [&](int n) {
        EXPECT_TRUE(caption == "0" && !frames_enabled);
        if (n == 2) aç_kapa_buton_Click(p);  // the click waiting since the first note
    };
    play("0,3,3,0,0,0,0,0,0,0\r\n0,4,3,0,0,0,0,0,0,0\r\n0,5,3,0,0,0,0,0,0,0\r\n");
    EXPECT_EQ(sound.calls, (Events{"7/0@0", "cut@640"}));
    EXPECT_EQ(clock.now, 640);
    EXPECT_EQ(views.calls, (test::Calls{"tel_çiz", "mandal_at", "porte", "etiket"}));
    expect_idle_with_counter("002", true);
}

TEST_F(Player, brokenOrMissingFileIsReportedWithItsRecordNumber) {
    const std::string why = "\r\nses dosyasından kaynaklanan bir hata oluştu.";
    struct Case {
        const char* text;  // nullptr: no file
        int record;
        std::size_t notes_heard;
    } const cases[] = {
        {"0,3,3,0,0,0,0,0,0,0\r\n0,3,4,0,0,0,0,0,0,0\r\n0,3,3,0,0\r\n", 3, 2},
        {"0,3,3,0,0,0,0,0,0,0\r\n0,3,x,0,0,0,0,0,0,0\r\n", 2, 1},
        {"0,3,3,0,0,0,0,0,0,0,\n0,40000,3,0,0,0,0,0,0,0", 2, 1},  // beyond 16 bits
        {"0,,3,0,0,0,0,0,0,0", 1, 0},                             // an empty field
        {nullptr, 0, 0},
        {"<fifo>", 0, 0},  // read, it would hold the window
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.record);
        std::filesystem::remove(dir / "ezgi.ses");
        sound.calls.clear();
        dialogs.clear();
        const bool fifo = c.text && std::string(c.text) == "<fifo>";
        if (fifo) {
            ASSERT_EQ(::mkfifo((dir / "ezgi.ses").c_str(), 0644), 0);
        }
        c.text && !fifo ? play(c.text) : aç_kapa_buton_Click(p);
        EXPECT_EQ(dialogs.texts(), std::vector<std::string>{std::to_string(c.record) + why});
        // Each note heard is cut again: nothing is left sounding.
        ASSERT_EQ(sound.calls.size(), 2 * c.notes_heard);
        if (c.notes_heard) {
            EXPECT_EQ(sound.calls.back().substr(0, 4), "cut@");
        }
        // The counter box keeps the failing record's number.
        const std::string counter = "00" + std::to_string(c.record);
        expect_idle_with_counter(c.text && !fifo ? counter.c_str() : nullptr, false);
    }
}

}  // namespace
}  // namespace orvena
