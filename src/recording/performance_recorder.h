#pragma once
// Recording a performance played with the mouse into "kayıt.txt" and replaying it: the
// buttons R, >, I I and O of "Kaydet / Dinlet", the two lamps, and the timing of each
// recorded note. Replay runs inside its button's click, lets the window's input through
// once per record (stop, pause and the "arızalar" choice act there) and keeps each note on
// its time from the replay's start. Event thread only.

#include <filesystem>

#include "display/play_context.h"
#include "recording/record_file.h"
#include "sound/x_timer.h"
#include "surface/clock.h"
#include "surface/event_pump.h"
#include "surface/surface.h"

namespace orvena {

inline constexpr const char* kNoRecordingMessage = "önceden yapılmış bir kayıt bulunamadı";
inline constexpr const char* kRecordFileErrorMessage =
    "kayıt dosyasından kaynaklanan bir hata oluştu";
inline constexpr const char* kPausedMessage = "durduruldu";

enum class RecorderState { idle, recording, replaying };

// What the window's panel enables in a state: R and > when idle, I I while replaying, O while
// either runs, and the groups locked while either runs.
struct PanelEnabled {
    bool rec, play, pause, stop, groups;
    bool operator==(const PanelEnabled&) const = default;
};
PanelEnabled panel_enabled(RecorderState state);

// The window's side: the four buttons and the six groups locked while a recording or a
// replay runs, and which "arızalar" source is chosen.
class RecordingPanel {
  public:
    virtual ~RecordingPanel() = default;
    // Enables R, >, I I, O and the groups as panel_enabled has them.
    virtual void show(RecorderState state) = 0;
    // Option3: 1 "çalgı" (the instrument sounds), 2 "şartlı", 3 "dosya".
    virtual int accidental_source() const = 0;
};

struct RecordingPlatform {
    RecordingPanel& panel;
    Surface& Picture8;  // replay lamp
    Surface& Picture9;  // recording lamp
    EventPump& pump;
    Clock& clock;
    xTimer& timer;
    std::filesystem::path folder;  // where "kayıt.txt" lives
};

class PerformanceRecorder final : public PluckRecorder {
  public:
    PerformanceRecorder(PlayContext& play, RecordingPlatform platform);

    // R: replaces "kayıt.txt" with an empty recording and starts recording.
    void rec_buton_Click();
    // O: ends a recording (writing its last note) or a replay (after the current note).
    void stop_buton_Click();
    // >: replays "kayıt.txt"; returns when the replay has ended.
    void Play_buton_Click();
    // I I: holds the replay until the message is closed; the replay then goes on with the
    // note it had drawn.
    void pause_buton_Click();

    // The timing of a recorded string click.
    void before_pluck() override;
    void after_pluck() override;

    std::filesystem::path file_path() const { return platform_.folder / kRecordFileName; }

  private:
    void append_record(std::int16_t string, std::int16_t lever, std::int32_t interval_ms);
    // Milliseconds since the timer started, to the nearest whole one.
    std::int32_t measure_note();
    // Writes the note sounding since the last pluck: its string, lever and length.
    void write_sounding_note();
    void fill_lamp(Surface& lamp, QRgb colour);
    void replay_records(const std::string& text);
    void replay_failed();

    PlayContext& play_;
    RecordingPlatform platform_;
    RecordFile file_;
    bool write_failed_ = false;
    bool awaiting_first_note_ = false;  // recording, and no string plucked yet
    bool paused_ = false;
};

}  // namespace orvena
