// Replay of "kayıt.txt" (the > button of PerformanceRecorder).

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

#include "recording/performance_recorder.h"
#include "recording/playback_pacer.h"
#include "sound/sound.h"

namespace orvena {

namespace {
constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kGreen = qRgb(0, 255, 0);
constexpr int kInstrumentSounds = 1;  // "çalgı"

// A record is drawn this long before its note is due, so that drawing and the window's
// events do not delay the note.
constexpr double kDrawAheadMs = 10;

class RecordOutOfRange : public std::runtime_error {
  public:
    RecordOutOfRange() : std::runtime_error("string outside 1..26") {}
};

bool valid_string(int s) {
    return s >= 1 && s <= kStringCount;
}
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
    std::ifstream in(file_path(), std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!in.good() && !in.eof()) {
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
        if (!valid_string(record.string)) throw RecordOutOfRange();
        st.cur_string = record.string;
        play_.views.mandal_at();
        play_.views.porte();
        play_.views.etiket();
        play_.views.arıza_yaz(st.cur_string);

        platform_.pump.process_pending();  // stop, pause and "arızalar" act here
        if (!started || paused_) {
            // After a pause the replay goes on from the moment it ends.
            started = true;
            paused_ = false;
            pacer.start();
            onset = 0;
        }

        pacer.wait_until(onset);
        const NoteTime due(play_.sound, pacer.deadline_ms(onset));
        play_.sound.stop_plucked();  // the previous note's time is up
        if (platform_.panel.accidental_source() == kInstrumentSounds) {
            const int sample = st.cur_string + st.ahenk_shift;
            if (!valid_string(sample)) throw RecordOutOfRange();
            play_.sound.play_tuned_sample(sample, st.mandal_pos[st.cur_string]);
        }
        // An interval below 0 (an edited file) waits nothing.
        onset += std::max<std::int32_t>(0, record.interval_ms);
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
