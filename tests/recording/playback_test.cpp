// Recording with the mouse, replaying "kayıt.txt" and playing sequence files on a clock that
// moves only by waiting: what sounds and when, the file, the lamps, the counter, bad files.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include "files/user_file.h"
#include "playing/mouse.h"
#include "playing/recording_views.h"
#include "recording/performance_recorder.h"
#include "recording/sequence_player.h"
#include "support/qt_app.h"
#include "support/special_files.h"
#include "support/temp_dir.h"

namespace orvena {
namespace {

using Events = std::vector<std::string>;
constexpr QRgb kWhite = 0xFFFFFF, kRed = 0xFF0000, kGreen = 0x00FF00;

struct FakePanel final : RecordingPanel {
    void show(RecorderState s) override { shown.push_back(s); }
    int accidental_source() const override { return source; }
    std::vector<RecorderState> shown;
    int source = 1;  // "çalgı"
};

// A recorder on a fake window; the stopwatch reads a counter the test moves.
struct Desk {
    Desk() {
        test::ensure_qt_app();
        set_lever_limits(st.build);
        set_string_geometry(st.build);
        st.selection.last_string = 1;
    }
    void click_string_after(double ms, int n) {  // a left click on string n
        counter_ns += static_cast<std::int64_t>(ms * 1e6);
        Picture2_MouseDown(ctx, recorder, kLeftButton, 700, 29 + 15 * (n - 1));
    }
    std::string file() const { return test::read_file_bytes(recorder.file_path()); }
    Events replay(const std::string& text) {
        test::write_file_bytes(recorder.file_path(), text);
        pump.on_call = [this, then = pump.on_call](int n) {  // green from the start
            EXPECT_TRUE(n > 1 || Picture8.pixel(6, 6) == kGreen);
            if (then) then(n);
        };
        recorder.Play_buton_Click();
        EXPECT_EQ(std::tuple(panel.shown.front(), panel.shown.back(), st.transport.seq_playing,
                             Picture8.pixel(6, 6)),
                  std::tuple(RecorderState::replaying, RecorderState::idle, false, kWhite));
        return sound.calls;
    }
    test::TempDir dir;
    InstrumentState st;
    test::RecordingClock clock;
    test::RecordingSound sound{&clock};  // "5/-2@100": string 5 at lever -2 at 100 ms
    test::RecordingViews views;
    test::RecordingDialogs dialogs;
    PlayContext ctx{st, sound, views, dialogs};
    FakePanel panel;
    Surface Picture8{12, 12}, Picture9{12, 12};
    test::CountingEventPump pump;
    std::int64_t counter_ns = 0;
    xTimer timer{[this] { return counter_ns; }};
    PerformanceRecorder recorder{
        ctx, RecordingPlatform{panel, Picture8, Picture9, pump, clock, timer, dir.path()}};
};

TEST(Recording, WritesEachNoteWhenTheNextPluckOrTheStopEndsIt) {
    Desk d;
    test::write_file_bytes(d.recorder.file_path(), "old recording");
    d.recorder.rec_buton_Click();
    EXPECT_EQ(d.file(), "");
    EXPECT_EQ(d.Picture9.pixel(6, 6), kRed);
    d.st.settings.mandal_pos[9] = -2;
    d.click_string_after(5000, 5);  // the time before the first pluck is no note
    d.click_string_after(120.4, 9);
    d.click_string_after(250.5, 5);  // a tie goes to the even millisecond
    // Each record in three print zones of 14 characters, CR LF.
    const std::string two =
        " 5             0             120 \r\n 9            -2             250 \r\n";
    EXPECT_EQ(d.file(), two);
    d.counter_ns += 75'600'000;
    d.recorder.stop_buton_Click();
    EXPECT_EQ(d.file(), two + " 5             0             76 \r\n");
    EXPECT_EQ(d.Picture9.pixel(6, 6), kWhite);
    EXPECT_EQ(d.panel.shown, (std::vector{RecorderState::recording, RecorderState::idle}));
    // A new recording replaces the file; stopped before any pluck it stays empty.
    d.recorder.rec_buton_Click();
    d.counter_ns += 999'000'000;
    d.recorder.stop_buton_Click();
    EXPECT_TRUE(d.file().empty() && d.dialogs.shown().empty());
}

// A recording file that cannot be made is reported at once and nothing records; one whose
// writes start failing (the file may grow no further) keeps what it had and is reported at
// the stop.
TEST(Recording, AFileThatCannotBeWrittenIsReported) {
    const std::vector<std::string> told = {kRecordFileErrorMessage};
    {
        Desk d;
        std::filesystem::create_directory(d.recorder.file_path());
        d.recorder.rec_buton_Click();
        EXPECT_EQ(std::pair(d.st.transport.recording, d.dialogs.texts()), std::pair(false, told));
    }
    Desk d;
    d.recorder.rec_buton_Click();
    d.click_string_after(10, 5);
    d.click_string_after(120, 9);
    const std::string first = " 5             0             120 \r\n";
    ASSERT_EQ(d.file(), first);
    {
        const test::FileSizeLimit full(first.size());
        d.click_string_after(250, 5);
        EXPECT_TRUE(d.dialogs.texts().empty()) << "told before the stop";
        d.recorder.stop_buton_Click();
    }
    EXPECT_EQ(std::pair(d.file(), d.dialogs.texts()), std::pair(first, told));
}

// R and > start, I I pauses only a replay, O stops either; the groups are locked while one runs.
TEST(Recording, ThePanelEnablesWhatTheStateAllows) {
    const std::pair<RecorderState, PanelEnabled> cases[] = {
        {RecorderState::idle, {true, true, false, false, true}},
        {RecorderState::recording, {false, false, false, true, false}},
        {RecorderState::replaying, {false, false, true, true, false}}};
    for (const auto& [state, enabled] : cases)
        EXPECT_TRUE(panel_enabled(state) == enabled) << static_cast<int>(state);
}

TEST(Replay, SoundsEachNoteAtTheSumOfTheEarlierIntervalsWithTheInstrumentsLever) {
    for (const char* file : {" 12           -3             850 \r\n", "12 -3 850", "12,-3,850",
                             "  12 ,\t-3,850\n\r\n  \r\n", "12\r\n-3\r\n850\r\n"}) {
        Desk d;
        d.st.settings.mandal_pos[12] = 2;  // the string's lever now sounds, not the one in the file
        EXPECT_EQ(d.replay(file), (Events{"12/2@0", "cut@850"})) << file;
        EXPECT_EQ(d.views.calls, (test::Calls{"mandal_at", "porte", "etiket", "arıza_yaz 12"}));
        EXPECT_TRUE(d.dialogs.shown().empty());
    }
    Desk d;  // a negative interval (an edited file) waits nothing
    EXPECT_EQ(d.replay("5 0 100\r\n9 0 250\r\n5 0 -40\r\n7 0 50\r\n"),
              (Events{"5/0@0", "cut@90", "9/0@100", "cut@340", "5/0@350", "cut@350", "7/0@350",
                      "cut@400"}));
    EXPECT_EQ(d.pump.calls, 4);             // input is let through once per record
    EXPECT_GT(d.pump.non_input_calls, 50);  // the window repaints while notes sound
}

// Each click acts at the record it comes in; a pause held 5 s as the second record is drawn
// still ends the first note at its recorded 100 ms.
TEST(Replay, StopPauseAndArizalarActFromTheRecordAtWhichTheyAreClicked) {
    const std::pair<std::function<void(Desk&)>, Events> cases[] = {
        {[](Desk& d) { d.recorder.stop_buton_Click(); },  // that note still sounds
         {"5/0!0", "cut!100", "9/0!100", "cut!350"}},
        {[](Desk& d) { d.recorder.pause_buton_Click(); },  // 5 s until OK is pressed
         {"5/0!0", "cut!100", "9/0!5090", "cut!5340", "7/0!5340", "cut!5390"}},
        {[](Desk& d) { d.panel.source = 2; },  // "şartlı": drawn and timed, silent
         {"5/0!0", "cut!100", "cut!350", "cut!400"}}};
    for (const auto& [click, events] : cases) {
        Desk d;
        d.sound.note_times = true;
        d.dialogs.while_shown = [&d](const std::string&) { d.clock.now += 5000; };
        d.pump.on_call = [&](int call) {
            if (call == 2) click(d);
        };
        EXPECT_EQ(d.replay("5 0 100\r\n9 0 250\r\n7 0 50\r\n"), events);
    }
}

// A pitch level (ŞAH 4) sounds the string four on at the recorded string's lever; a record it
// would move off the instrument is a bad one.
TEST(Replay, EveryBadFileEndsInTheMessageAndTheIdleState) {
    const std::pair<const char*, int> cases[] = {
        {"x 0 10", 0},         {"6 0", 0},         {"27 0 10", 0},
        {"0 0 10", 0},         {"40000 0 10", 0},  {"6 -40000 10", 0},
        {"6 0 3000000000", 0}, {"23 0 10\r\n", 4}, {"1 0 10\r\n", -1}};
    for (const auto& [bad, shift] : cases) {
        Desk d;
        d.st.settings.ahenk_shift = static_cast<std::int16_t>(shift);
        d.st.settings.mandal_pos[5] = 3;
        const Events events = d.replay(std::string("5 0 10\r\n") + bad);
        EXPECT_EQ(d.dialogs.texts(), (std::vector<std::string>{kRecordFileErrorMessage})) << bad;
        EXPECT_EQ(events[0], std::to_string(5 + shift) + "/3@0");  // the good record sounded
        EXPECT_EQ(events.back().substr(0, 3), "cut");
        EXPECT_EQ(events.size(), shift == 0 ? 2u : 3u);
    }
    Desk none;
    none.recorder.Play_buton_Click();
    EXPECT_EQ(none.dialogs.texts(), (std::vector<std::string>{kNoRecordingMessage}));
    EXPECT_TRUE(none.panel.shown.empty());
    Desk empty, big;
    EXPECT_EQ(empty.replay(""), (Events{"cut@0"}));
    EXPECT_EQ(big.replay(std::string(kMaxTextFileBytes + 1, ' ')), (Events{"cut@0"}));
    EXPECT_EQ(big.dialogs.texts(), (std::vector<std::string>{kRecordFileErrorMessage}));
}

// Every note value (a whole one 64 units), rest and pitch code; the pitch levels at which
// "şartlı" takes a note's own accidental six positions higher.
TEST(SequenceRules, EveryCodeHasItsUnitsStringAndLever) {
    const std::int16_t plain[] = {0, 64, 32, 16, 8, 4, 2, 0}, dot[] = {0, 96, 48, 24, 12, 6, 3, 0};
    const std::int16_t rest[] = {0, 2, 4, 8, 16, 32, 64, 0};  // pitch codes 25..32
    for (int c = 0; c <= 7; ++c)
        EXPECT_EQ(std::tuple(note_units(c, false), note_units(c, true), rest_units(c + 25)),
                  std::tuple(plain[c], dot[c], rest[c]));
    // Pitch codes -1..26: 0..14 strings 4..18, 15..25 strings 12..22; a rest or a skip none.
    const int strings[] = {0,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16,
                           17, 18, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 0};
    for (int c = -1; c <= 26; ++c) {
        std::int16_t units = 0;
        EXPECT_EQ(plan_record({0, static_cast<std::int16_t>(c), 3}, units, 0).string,
                  strings[c + 1])
            << c;
    }
    SequenceRecord own{0, 3, 3, 2};  // file lever 2, an accidental of its own
    own.accidental_flag = 1;
    const int levers[] = {2, 2, 8, 8, 2, 8, 8, 8, 2, 2};  // pitch levels -4..5
    for (int shift = -4; shift <= 5; ++shift)
        EXPECT_EQ(note_lever(own, AccidentalSource::Conditional, -3, shift), levers[shift + 4]);
}

// Sequence playback on the desk; the window's caption, frames and accidental source here.
struct Player : ::testing::Test {
    Desk d;
    Surface Picture7{56, 24};
    std::string caption = ">";
    bool frames_enabled = true;
    AccidentalSource source = AccidentalSource::Instrument;
    SequencePlayback p{d.ctx, Picture7, d.clock, d.pump, d.dir.path(), {}};
    void SetUp() override {
        d.st.transport.speed = 40;
        p.window = {[] { return std::string("ezgi"); }, [this] { return source; },
                    [this](const char* c) { caption = c; },
                    [this](bool on) { frames_enabled = on; }};
    }
    void write(const std::string& text) { test::write_file_bytes(d.dir / "ezgi.ses", text); }
    void play(const std::string& text) { write(text), aç_kapa_buton_Click(p); }
    // Idle again; the counter box shows `counter` (nullptr: nothing), on white when `white`.
    void expect_idle_with_counter(const char* counter, bool white) {
        EXPECT_TRUE(!counter || (Picture7.print_log().back().text.toStdString() == counter &&
                                 Picture7.print_log().back().font_size == 12));
        QImage blank(Picture7.image().size(), Picture7.image().format());
        blank.fill(Qt::white);
        EXPECT_EQ(Picture7.image() == blank, white);
        EXPECT_TRUE(caption == ">" && frames_enabled && !d.st.transport.seq_playing);
    }
};

TEST_F(Player, eachRecordSoundsItsStringAndLeverForItsUnitsAtTheSpeedOfItsTime) {
    using S = AccidentalSource;
    // Record, source, shift, speed, string, lever, units; string 0: nothing sounds for the units.
    const std::tuple<const char*, S, int, int, int, int, int> rows[] = {
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
    d.st.settings.mandal_pos[7] = -3;
    d.st.settings.mandal_pos[11] = 2;
    d.st.settings.mandal_pos[12] = 1;
    std::string text = "\xEF\xBB\xBF";  // a byte order mark, as some editors write
    Events expected;
    long t = 0;
    bool sounding = false;
    const auto at = [&t] { return "@" + std::to_string(t); };
    for (const auto& [record, accidentals, shift, speed, string, lever, units] : rows) {
        text += std::string(record) + "\r\n";
        if (units == 0) continue;  // skipped
        if (sounding) expected.push_back("cut" + at());
        sounding = string != 0;
        if (sounding)
            expected.push_back(std::to_string(string) + "/" + std::to_string(lever) + at());
        t += units * speed;
    }
    if (sounding) expected.push_back("cut" + at());
    d.pump.on_call = [&](int n) {  // each record's settings arrive with its pass of events
        source = std::get<S>(rows[n - 1]);
        d.st.settings.ahenk_shift = static_cast<std::int16_t>(std::get<2>(rows[n - 1]));
        d.st.transport.speed = static_cast<std::int16_t>(std::get<3>(rows[n - 1]));
    };
    play(text);
    EXPECT_EQ(d.sound.calls, expected);
    EXPECT_EQ(d.clock.now, t);
    EXPECT_EQ(std::count(d.views.calls.begin(), d.views.calls.end(), "tel_çiz"), 12);
    expect_idle_with_counter("015", true);
    EXPECT_TRUE(d.dialogs.shown().empty());
}

TEST_F(Player, stopDuringANoteLetsItEndAndCountsButSkipsTheNextRecord) {
    d.pump.on_call = [&](int n) {
        EXPECT_TRUE(caption == "0" && !frames_enabled);
        if (n == 2) aç_kapa_buton_Click(p);  // the click waiting since the first note
    };
    play("0,3,3,0,0,0,0,0,0,0\r\n0,4,3,0,0,0,0,0,0,0\r\n0,5,3,0,0,0,0,0,0,0\r\n");
    EXPECT_EQ(d.sound.calls, (Events{"7/0@0", "cut@640"}));
    EXPECT_EQ(d.views.calls, (test::Calls{"tel_çiz", "mandal_at", "porte", "etiket"}));
    expect_idle_with_counter("002", true);
}

TEST_F(Player, brokenOrMissingFileIsReportedWithItsRecordNumber) {
    const std::tuple<const char*, int, std::size_t> cases[] = {
        // text, record, notes heard
        {"0,3,3,0,0,0,0,0,0,0\r\n0,3,4,0,0,0,0,0,0,0\r\n0,3,3,0,0\r\n", 3, 2},
        {"0,3,3,0,0,0,0,0,0,0\r\n0,3,3x,0,0,0,0,0,0,0\r\n", 2, 1},  // a number, then letters
        {"0,3,3,0,0,0,0,0,0,0,\n0,40000,3,0,0,0,0,0,0,0", 2, 1},    // beyond 16 bits
        {"0,,3,0,0,0,0,0,0,0", 1, 0},                               // an empty field
        {nullptr, 0, 0},                                            // no file
        {"<fifo>", 0, 0},  // read, it would hold the window
    };
    for (const auto& [text, record, heard] : cases) {
        SCOPED_TRACE(record);
        std::filesystem::remove(d.dir / "ezgi.ses");
        d.sound.calls.clear();
        d.dialogs.clear();
        const bool fifo = text && std::string(text) == "<fifo>";
        ASSERT_TRUE(!fifo || ::mkfifo((d.dir / "ezgi.ses").c_str(), 0644) == 0);
        text && !fifo ? play(text) : aç_kapa_buton_Click(p);
        const std::string why =
            std::to_string(record) + "\r\nses dosyasından kaynaklanan bir hata oluştu.";
        EXPECT_EQ(d.dialogs.texts(), std::vector{why});
        ASSERT_EQ(d.sound.calls.size(), 2 * heard);  // each note heard is cut again
        EXPECT_TRUE(!heard || d.sound.calls.back().starts_with("cut@"));
        const std::string counter = "00" + std::to_string(record);  // the failing record's
        expect_idle_with_counter(text && !fifo ? counter.c_str() : nullptr, false);
    }
}

struct LateClock final : test::RecordingClock {
    void Sleep(std::uint32_t milliseconds) override { now += milliseconds + 3; }
};

// Every wait ends 3 ms late, as on a busy machine: the sound still gets each pluck and cut of
// a sequence with its deadline, and keyboard notes afterwards go back to their own moment.
TEST_F(Player, everyPluckAndCutCarriesItsDeadline) {
    LateClock late;
    SequencePlayback q{d.ctx, Picture7, late, d.pump, d.dir.path(), {}};
    q.window = p.window;
    d.sound.note_times = true;
    d.st.transport.speed = 10;  // strings 7, 12 and 17 for 8, 4 and 4 units: 80, 40 and 40 ms
    write("0,3,4,0,0,0,0,0,0,0\r\n0,8,5,0,0,0,0,0,0,0\r\n0,13,5,0,0,0,0,0,0,0\r\n");
    aç_kapa_buton_Click(q);
    EXPECT_EQ(d.sound.calls,
              (Events{"7/0!0", "cut!80", "12/0!80", "cut!120", "17/0!120", "cut!160"}));
    EXPECT_EQ(d.sound.note_time, std::nullopt);
}

// Held up 300 ms at the second record (the machine was busy), the playback goes on from there
// instead of rushing the notes it missed.
TEST_F(Player, aHoldUpOfMoreThan200MsIsNotMadeUp) {
    d.st.transport.speed = 10;
    d.pump.on_call = [&](int n) { d.clock.now += n == 2 ? 300 : 0; };
    play("0,3,4,0,0,0,0,0,0,0\r\n0,8,4,0,0,0,0,0,0,0\r\n0,13,4,0,0,0,0,0,0,0\r\n");
    EXPECT_EQ(d.sound.calls,
              (Events{"7/0@0", "cut@372", "12/0@372", "cut@452", "17/0@452", "cut@532"}));
}

}  // namespace
}  // namespace orvena
