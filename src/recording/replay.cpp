// Replay of "kayıt.txt" (the > button of PerformanceRecorder).

#include <system_error>

#include "files/user_file.h"
#include "recording/performance_recorder.h"
#include "recording/playback_pacer.h"
#include "recording/replay_rules.h"
#include "sound/sound.h"

namespace orvena {

namespace {
constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kGreen = qRgb(0, 255, 0);
constexpr int kInstrumentSounds = 1;  // "çalgı"

// A record is drawn this long before its note is due, so that drawing and the window's
// events do not delay the note.
constexpr double kDrawAheadMs = 10;
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
    st.seq_playing = true;
    st.rec_file_no = kOpenFileNo;
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
    st.rec_file_no = 0;
    st.seq_playing = false;
    platform_.panel.show(RecorderState::idle);
    fill_lamp(platform_.Picture8, kWhite);
}

void PerformanceRecorder::replay_records(const std::string& text) {
    InstrumentState& st = play_.st;
    NumberTextReader reader(text);
    PlaybackPacer pacer(platform_.clock, platform_.pump);
    paused_ = false;
    bool started = false;  // the replay's time starts with its first note
    double onset = 0;      // when the record being read is due, from the replay's start (ms)
    while (!reader.at_end()) {
        if (started) pacer.wait_until(onset - kDrawAheadMs);
        const Record record = read_record(reader);
        st.cur_string = static_cast<std::int16_t>(replayed_string(record));
        play_.views.mandal_at();
        play_.views.porte();
        play_.views.etiket();
        play_.views.arıza_yaz(st.cur_string);
        if (started) {
            // The note sounding ends at its own time, even when a pause opens just below and
            // holds the replay: its cut goes out now, stamped with its deadline.
            const NoteTime due(play_.sound, pacer.deadline_ms(onset));
            play_.sound.stop_plucked();
        }

        platform_.pump.process_pending();  // stop, pause and "arızalar" act here
        if (!started || paused_) {
            // After a pause the replay goes on from the moment it ends.
            started = true;
            paused_ = false;
            pacer.start();
            onset = 0;
        }

        pacer.wait_until(onset);
        if (platform_.panel.accidental_source() == kInstrumentSounds) {
            const NoteTime due(play_.sound, pacer.deadline_ms(onset));
            const ReplayedPluck pluck = replayed_pluck(st.cur_string, st);
            play_.sound.play_tuned_sample(pluck.sample_string, pluck.lever);
        }
        onset += replayed_ms(record);
        if (!st.seq_playing) break;  // stopped: this note still sounds its full time
    }
    pacer.wait_until(onset);
    const NoteTime due(play_.sound, pacer.deadline_ms(onset));
    play_.sound.stop_plucked();
}

void PerformanceRecorder::replay_failed() {
    play_.sound.stop_plucked();
    play_.dialogs.message(kRecordFileErrorMessage);
    play_.st.rec_file_no = 0;
    stop_buton_Click();
}

}  // namespace orvena
