// Replay of "kayıt.txt" (the > button of PerformanceRecorder).

#include <system_error>

#include "files/user_file.h"
#include "recording/paced_playback.h"
#include "recording/performance_recorder.h"
#include "recording/replay_rules.h"
#include "sound/sound.h"

namespace orvena {

namespace {
constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kGreen = qRgb(0, 255, 0);
constexpr int kInstrumentSounds = 1;  // "çalgı"

// A record is drawn this long before its note is due, so that drawing and the window's
// events do not delay the note. The sounding note's cut goes out as the next record is read,
// stamped with its deadline: a pause opening just then still ends it on time.
constexpr PacingRules kReplayPacing{.lead_ms = 10, .cut_as_read = true};

// The records of "kayıt.txt" as the pacer plays them: each is drawn as it is read, and
// sounds only with "çalgı".
class ReplaySource final : public PacedSource {
  public:
    ReplaySource(const std::string& text, PlayContext& play, const RecordingPanel& panel,
                 bool& paused)
        : reader_(text), play_(play), panel_(panel), paused_(paused) {}

    bool read_next() override {
        if (reader_.at_end()) return false;
        record_ = read_record(reader_);
        InstrumentState& st = play_.st;
        st.selection.cur_string = static_cast<std::int16_t>(replayed_string(record_));
        play_.views.show_selected_string();
        play_.views.arıza_yaz(st.selection.cur_string);
        return true;
    }

    std::optional<PacedStep> step() override {
        PacedStep step;
        // After a pause the replay goes on from the moment it ends.
        step.restart = paused_;
        paused_ = false;
        if (panel_.accidental_source() == kInstrumentSounds) {
            const ReplayedPluck pluck =
                replayed_pluck(play_.st.selection.cur_string, play_.st.settings);
            step.string = pluck.sample_string;
            step.lever = pluck.lever;
        }
        step.ms = replayed_ms(record_);
        step.last =
            !play_.st.transport.seq_playing;  // stopped: this note still sounds its full time
        return step;
    }

  private:
    NumberTextReader reader_;
    PlayContext& play_;
    const RecordingPanel& panel_;
    bool& paused_;
    Record record_;
};

}  // namespace

void PerformanceRecorder::Play_buton_Click() {
    InstrumentState& st = play_.st;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file_path(), ec)) {
        play_.dialogs.message(kNoRecordingMessage);
        return;
    }
    fill_lamp(platform_.Picture8, kGreen);
    platform_.panel.show(RecorderState::replaying);
    st.transport.seq_playing = true;
    const UserFileRead read = read_user_file(file_path(), kMaxTextFileBytes);
    const std::string& text = read.bytes;
    if (read.problem) {
        replay_failed();
        return;
    }
    try {
        replay_records(text);
    } catch (const std::exception&) {
        replay_failed();
        return;
    }
    st.transport.seq_playing = false;
    platform_.panel.show(RecorderState::idle);
    fill_lamp(platform_.Picture8, kWhite);
}

void PerformanceRecorder::replay_records(const std::string& text) {
    paused_ = false;
    ReplaySource source(text, play_, platform_.panel, paused_);
    PlaybackPacer pacer(platform_.clock, platform_.pump);
    bool sounding = false;
    play_paced(source, kReplayPacing, pacer, platform_.pump, play_.sound, sounding);
}

void PerformanceRecorder::replay_failed() {
    play_.sound.stop_plucked();
    play_.dialogs.message(kRecordFileErrorMessage);
    stop_buton_Click();
}

}  // namespace orvena
