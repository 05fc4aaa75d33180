#include "recording/performance_recorder.h"

#include "tuning/rounding.h"

namespace orvena {

namespace {
constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kRed = qRgb(255, 0, 0);
}  // namespace

PanelEnabled panel_enabled(RecorderState state) {
    const bool idle = state == RecorderState::idle;
    return {.rec = idle,
            .play = idle,
            .pause = state == RecorderState::replaying,
            .stop = !idle,
            .groups = idle};
}

PerformanceRecorder::PerformanceRecorder(PlayContext& play, RecordingPlatform platform)
    : play_(play), platform_(std::move(platform)) {}

void PerformanceRecorder::fill_lamp(Surface& lamp, QRgb colour) {
    lamp.LineBF(0, 0, lamp.width(), lamp.height(), colour);
    lamp.Refresh();
}

void PerformanceRecorder::rec_buton_Click() {
    InstrumentState& st = play_.st;
    file_.close();
    if (!file_.create(file_path())) {
        play_.dialogs.message(kRecordFileErrorMessage);
        return;
    }
    write_failed_ = false;
    st.transport.recording = true;
    awaiting_first_note_ = true;
    platform_.panel.show(RecorderState::recording);
    fill_lamp(platform_.Picture9, kRed);
}

std::int32_t PerformanceRecorder::measure_note() {
    platform_.timer.Halt();
    return to_int32(platform_.timer.RunTime());
}

void PerformanceRecorder::append_record(std::int16_t string, std::int16_t lever,
                                        std::int32_t interval_ms) {
    if (!file_.append({string, lever, interval_ms})) write_failed_ = true;
}

void PerformanceRecorder::write_sounding_note() {
    const InstrumentState& st = play_.st;
    append_record(st.selection.last_string, st.settings.mandal_pos[st.selection.last_string],
                  measure_note());
}

void PerformanceRecorder::before_pluck() {
    if (awaiting_first_note_) return;  // the first note has nothing before it
    write_sounding_note();
}

void PerformanceRecorder::after_pluck() {
    platform_.timer.Calibrieren();
    platform_.timer.Start();
    awaiting_first_note_ = false;
}

void PerformanceRecorder::stop_buton_Click() {
    InstrumentState& st = play_.st;
    platform_.panel.show(RecorderState::idle);
    if (st.transport.recording) {
        st.transport.recording = false;
        // A stop before any pluck has no note to write.
        if (!awaiting_first_note_) write_sounding_note();
        fill_lamp(platform_.Picture9, kWhite);
        file_.close();
        if (write_failed_) play_.dialogs.message(kRecordFileErrorMessage);
        write_failed_ = false;
    }
    if (st.transport.seq_playing) {
        st.transport.seq_playing = false;
        fill_lamp(platform_.Picture8, kWhite);
    }
}

void PerformanceRecorder::pause_buton_Click() {
    play_.dialogs.message(kPausedMessage);
    paused_ = true;
}

}  // namespace orvena
