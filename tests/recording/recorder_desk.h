#pragma once
// A recorder on a fake window: its sound notes the clock time of every pluck and cut, the
// clock moves only by waiting, the stopwatch reads a counter the test moves, and the
// recording file lives in a fresh folder.

#include <string>
#include <vector>

#include "playing/mouse.h"
#include "playing/recording_views.h"
#include "recording/performance_recorder.h"
#include "support/qt_app.h"
#include "support/temp_dir.h"

namespace orvena::test {

struct FakePanel final : RecordingPanel {
    void show(RecorderState s) override { shown.push_back(s); }
    int accidental_source() const override { return source; }
    std::vector<RecorderState> shown;
    int source = 1;  // "çalgı"
};

struct RecorderDesk {
    RecorderDesk() {
        ensure_qt_app();
        set_lever_limits(st);
        set_string_geometry(st);
        st.last_string = 1;
    }
    // A left click on string n, ms milliseconds after the last event.
    void click_string_after(double ms, int n) {
        counter_ns += static_cast<std::int64_t>(ms * 1e6);
        Picture2_MouseDown(ctx, recorder, kLeftButton, 700, 29 + 15 * (n - 1));
    }
    std::string file() const { return read_file_bytes(recorder.file_path()); }
    QRgb lamp(const Surface& picture) const { return picture.pixel(6, 6); }

    TempDir dir;
    InstrumentState st;
    RecordingClock clock;
    RecordingSound sound{&clock};  // "5/-2@100": string 5 at lever -2 at 100 ms; "cut@350"
    RecordingViews views;
    RecordingDialogs dialogs;
    PlayContext ctx{st, sound, views, dialogs};
    FakePanel panel;
    Surface Picture8{12, 12}, Picture9{12, 12};
    CountingEventPump pump;
    std::int64_t counter_ns = 0;
    xTimer timer{[this] { return counter_ns; }};
    PerformanceRecorder recorder{
        ctx, RecordingPlatform{panel, Picture8, Picture9, pump, clock, timer, dir.path()}};
};

inline constexpr QRgb kWhite = 0xFFFFFF, kRed = 0xFF0000;

}  // namespace orvena::test
