// Playing sequence files on a recorded instrument with a clock that only moves by the
// player's own waits: which string sounds with which lever, when and for how long; the
// counter box; stopping during a note; and the message for a broken or missing file.

#include <gtest/gtest.h>

#include "playing/recording_views.h"
#include "recording/sequence_player.h"
#include "support/qt_app.h"
#include "support/temp_dir.h"

namespace orvena {
namespace {

// A note as heard: string and lever, from its start to its cut (ms from the start).
struct Heard {
    int string, lever;
    double from, to;
    bool operator==(const Heard&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Heard& h) {
    return out << "string " << h.string << " lever " << h.lever << " " << h.from << ".." << h.to;
}

class TimedSound final : public Sound {
  public:
    explicit TimedSound(test::RecordingClock& clock) : clock_(clock) {}
    void play_tuned_sample(int string, int lever) override {
        heard.push_back({string, lever, clock_.now, -1});
    }
    void stop_plucked() override {
        if (!heard.empty() && heard.back().to < 0) heard.back().to = clock_.now;
    }
    void play_note_alias(const std::string&, const std::string&) override {}
    void stop_note_alias(const std::string&) override {}
    std::vector<Heard> heard;

  private:
    test::RecordingClock& clock_;
};

struct Player : ::testing::Test {
    test::TempDir dir;
    InstrumentState st;
    test::RecordingClock clock;
    TimedSound sound{clock};
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
        p.window.file_name = [] { return std::string("ezgi"); };
        p.window.accidental_source = [this] { return source; };
        p.window.set_button_caption = [this](const char* c) { caption = c; };
        p.window.enable_frames = [this](bool on) { frames_enabled = on; };
    }
    void play(const std::string& text) {
        test::write_file_bytes(dir / "ezgi.ses", text);
        aç_kapa_buton_Click(p);
    }
    QString last_counter() const { return Picture7.print_log().back().text; }
    bool counter_box_white() const {
        for (int y = 0; y < Picture7.height(); ++y)
            for (int x = 0; x < Picture7.width(); ++x)
                if (Picture7.pixel(x, y) != test::rgb(255, 255, 255)) return false;
        return true;
    }
};

TEST_F(Player, eachRecordSoundsItsStringAndLeverForItsUnitsAtTheSpeedOfItsTime) {
    using S = AccidentalSource;
    struct Row {
        const char* record;
        S source;
        int shift, speed;
        int string, lever, units;  // string 0: nothing sounds for the units
    };
    const Row rows[] = {
        {"0,3,3,0,0,0,0,0,0,0", S::Instrument, 0, 40, 7, -3, 16},  // the instrument's lever
        {"0,3,3,0,0,0,0,0,0,0", S::Instrument, 4, 40, 11, 2, 16},  // ŞAH: four strings on
        {"0,15,4,5,0,0,0,0,0,1", S::Instrument, 0, 40, 12, 1, 8},
        {"0,8,4,0,0,0,0,0,0,0", S::Instrument, 0, 40, 12, 1, 8},
        {"1,8,4,0,1,0,0,0,0,0", S::Instrument, 0, 40, 12, 1, 5},    // triplet, dot ignored
        {"0,8,3,0,1,0,0,0,0,0", S::Instrument, 0, 40, 12, 1, 24},   // dotted quarter
        {"0,8,9,0,0,0,0,0,0,0", S::Instrument, 0, 40, 12, 1, 24},   // keeps the last value
        {"0,29,0,0,0,0,0,0,0,0", S::Instrument, 0, 40, 0, 0, 16},   // rest
        {"0,8,0,0,0,0,0,0,0,0", S::Instrument, 0, 40, 0, 0, 0},     // skipped
        {"0,40,3,0,0,0,0,0,0,0", S::Instrument, 0, 40, 0, 0, 0},    // skipped
        {"0,3,3,2,0,0,0,0,0,1", S::Conditional, 2, 40, 9, 8, 16},   // KIZ NEYİ: +6
        {"0,3,3,2,0,0,0,0,0,0", S::Conditional, 0, 40, 7, -3, 16},  // no own accidental
        {"0,3,3,2,0,0,0,0,0,0", S::File, -3, 40, 4, 2, 16},
        {"0,13,5,0,0,0,0,0,0,0", S::Instrument, 0, 30, 17, 0, 4},  // the tempo moved
    };
    st.mandal_pos[7] = -3;
    st.mandal_pos[11] = 2;
    st.mandal_pos[12] = 1;
    std::string text;
    std::vector<Heard> expected;
    double t = 0;
    for (const Row& r : rows) {
        text += std::string(r.record) + "\r\n";
        const double length = r.units * r.speed;
        if (r.string != 0) expected.push_back({r.string, r.lever, t, t + length});
        t += length;
    }
    pump.on_call = [&](int n) {  // each record's settings arrive with its event pass
        const Row& r = rows[n - 1];
        source = r.source;
        st.ahenk_shift = static_cast<std::int16_t>(r.shift);
        st.speed = static_cast<std::int16_t>(r.speed);
    };
    play(text);

    EXPECT_EQ(sound.heard, expected);
    EXPECT_EQ(clock.now, t);
    EXPECT_EQ(pump.calls, 14);
    EXPECT_EQ(std::count(views.calls.begin(), views.calls.end(), "tel_çiz"), 11);
    EXPECT_EQ(last_counter(), "014");
    EXPECT_TRUE(counter_box_white());
    EXPECT_EQ(caption, ">");
    EXPECT_TRUE(frames_enabled);
    EXPECT_FALSE(st.seq_playing);
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(Player, stopDuringANoteLetsItEndAndCountsButSkipsTheNextRecord) {
    pump.on_call = [&](int n) {
        EXPECT_EQ(caption, "0");
        EXPECT_FALSE(frames_enabled);
        if (n == 2) aç_kapa_buton_Click(p);  // the click waiting since the first note
    };
    play("0,3,3,0,0,0,0,0,0,0\r\n0,4,3,0,0,0,0,0,0,0\r\n0,5,3,0,0,0,0,0,0,0\r\n");
    EXPECT_EQ(sound.heard, (std::vector<Heard>{{7, 0, 0, 640}}));
    EXPECT_EQ(clock.now, 640);
    EXPECT_EQ(views.calls, (test::Calls{"tel_çiz", "mandal_at", "porte", "etiket"}));
    EXPECT_EQ(last_counter(), "002");
    EXPECT_TRUE(counter_box_white());
    EXPECT_EQ(caption, ">");
    EXPECT_TRUE(frames_enabled);
    EXPECT_FALSE(st.seq_playing);
}

TEST_F(Player, brokenOrMissingFileIsReportedWithItsRecordNumber) {
    const std::string message = "\r\nses dosyasından kaynaklanan bir hata oluştu.";
    struct Case {
        const char* text;  // nullptr: no file
        std::string shown;
        std::size_t notes_heard;
    };
    const Case cases[] = {
        {"0,3,3,0,0,0,0,0,0,0\r\n0,3,4,0,0,0,0,0,0,0\r\n0,3,3,0,0\r\n", "3" + message, 2},
        {"0,3,3,0,0,0,0,0,0,0\r\n0,3,x,0,0,0,0,0,0,0\r\n", "2" + message, 1},
        {nullptr, "0" + message, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        std::filesystem::remove(dir / "ezgi.ses");
        sound.heard.clear();
        dialogs.clear();
        if (c.text) {
            play(c.text);
        } else {
            aç_kapa_buton_Click(p);
        }
        EXPECT_EQ(dialogs.texts(), std::vector<std::string>{c.shown});
        ASSERT_EQ(sound.heard.size(), c.notes_heard);
        for (const Heard& h : sound.heard) EXPECT_GE(h.to, h.from) << "a note left sounding";
        if (c.text) {
            EXPECT_EQ(last_counter().toStdString(), "00" + c.shown.substr(0, 1));
        }
        EXPECT_EQ(caption, ">");
        EXPECT_TRUE(frames_enabled);
        EXPECT_FALSE(st.seq_playing);
    }
}

}  // namespace
}  // namespace orvena
