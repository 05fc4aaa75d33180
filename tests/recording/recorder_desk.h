#pragma once
// A recorder on a fake window: its sound notes the clock time of every pluck and cut, the
// clock moves only by waiting, the stopwatch reads a counter the test moves, and the
// recording file lives in a fresh folder.

#include <QtGui/qrgb.h>

#include <memory>
#include <string>
#include <vector>

#include "playing/mouse.h"
#include "playing/recording_views.h"
#include "recording/performance_recorder.h"
#include "support/qt_app.h"
#include "support/recording_dialogs.h"
#include "support/temp_dir.h"

namespace orvena::test {

// "5/-2@100": string 5 at lever -2 plucked at 100 ms; "cut@350": the plucked channel cut.
class TimedSound final : public Sound {
  public:
    explicit TimedSound(const RecordingClock& clock) : clock_(clock) {}
    void play_tuned_sample(int string, int lever) override {
        events.push_back(std::to_string(string) + "/" + std::to_string(lever) + at());
    }
    void play_note_alias(const std::string&, const std::string&) override {}
    void stop_note_alias(const std::string&) override {}
    void stop_plucked() override { events.push_back("cut" + at()); }
    std::vector<std::string> events;

  private:
    std::string at() const { return "@" + std::to_string(static_cast<long>(clock_.now)); }
    const RecordingClock& clock_;
};

class FakePanel final : public RecordingPanel {
  public:
    void show(RecorderState s) override { shown.push_back(s); }
    int accidental_source() const override { return source; }
    RecorderState state() const { return shown.empty() ? RecorderState::idle : shown.back(); }
    std::vector<RecorderState> shown;
    int source = 1;  // "çalgı"
};

struct RecorderDesk {
    RecorderDesk() {
        ensure_qt_app();
        set_lever_limits(st);
        set_names(st);
        set_string_geometry(st);
        st.manual_levers = true;
        st.cur_string = 12;
        st.last_string = 1;
    }
    // A left click in the middle of string n's band, after ms milliseconds more.
    void click_string_after(double ms, int n) {
        counter_ns += static_cast<std::int64_t>(ms * 1e6);
        Picture2_MouseDown(ctx, recorder, kLeftButton, 700, 29 + 15 * (n - 1));
    }
    void stop_after(double ms) {
        counter_ns += static_cast<std::int64_t>(ms * 1e6);
        recorder.stop_buton_Click();
    }
    std::string file_bytes() const { return read_file_bytes(recorder.file_path()); }
    void write_recording(const std::string& bytes) {
        write_file_bytes(recorder.file_path(), bytes);
    }
    QRgb lamp8() const { return Picture8.pixel(6, 6); }
    QRgb lamp9() const { return Picture9.pixel(6, 6); }

    TempDir dir;
    InstrumentState st;
    RecordingClock clock;
    TimedSound sound{clock};
    RecordingViews views;
    RecordingDialogs dialogs;
    PlayContext ctx{st, sound, views, dialogs};
    FakePanel panel;
    Surface Picture8{12, 12};
    Surface Picture9{12, 12};
    CountingEventPump pump;
    std::int64_t counter_ns = 0;
    xTimer timer{[this] { return counter_ns; }};
    PerformanceRecorder recorder{
        ctx, RecordingPlatform{panel, Picture8, Picture9, pump, clock, timer, dir.path()}};
};

inline constexpr QRgb kLampWhite = 0xFFFFFF, kLampRed = 0xFF0000, kLampGreen = 0x00FF00;

}  // namespace orvena::test
