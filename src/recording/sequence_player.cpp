#include "recording/sequence_player.h"

#include "recording/playback_pacer.h"
#include "sound/sound.h"
#include "tuning/number_format.h"
#include "tuning/rounding.h"

namespace orvena {

namespace {

// The next record is read, counted and drawn this long before it is due, so the note is
// on screen and sounds exactly on time however long the drawing takes (up to this lead).
constexpr double kPrepareLeadMs = 8;
// A playback held up for longer than this (the machine was busy) goes on from where it is
// instead of rushing the notes it missed.
constexpr double kResyncAfterMs = 200;

void show_counter(Surface& Picture7, std::int16_t counter) {
    Picture7.FontSize = 12;
    Picture7.Cls();
    Picture7.Print(QString::fromStdString(format_picture(counter, "000")));
}

void set_idle(SequencePlayback& p) {
    p.window.set_button_caption(kSequenceIdleCaption);
    p.window.enable_frames(true);
    p.play.st.seq_playing = false;
}

// The loop of one playback; throws on any fault of the file or the note it asks for.
// counter is the number of the record being read or played.
void play_records(SequencePlayback& p, std::int16_t& counter, bool& sounding) {
    InstrumentState& st = p.play.st;
    SequenceReader reader(read_sequence_text(p.folder / (p.window.file_name() + ".ses")));
    // The schedule starts when the first note or rest begins, once its drawing is done.
    PlaybackPacer pacer(p.clock, p.pump);
    bool started = false;
    double started_ms = 0;
    double due = 0;  // ms from the start at which the next record's sound or silence begins
    std::int16_t current_units = 0;

    for (;;) {
        if (started) pacer.wait_until(due - kPrepareLeadMs);
        if (reader.at_end()) break;
        counter = checked_add16(counter, 1);
        show_counter(p.Picture7, counter);
        const SequenceRecord record = *reader.next();
        p.pump.process_pending();
        if (!st.seq_playing) break;

        // The speed and the accidental source are read afresh for every record: moving the
        // bar changes the tempo from the next record on.
        const SequenceSound sound =
            sound_of_record(record, current_units, p.window.accidental_source(), st);
        if (sound.step.kind == SequenceStep::Kind::Skip) continue;
        const bool note = sound.step.kind == SequenceStep::Kind::Note;
        if (note) {
            st.cur_string = static_cast<std::int16_t>(sound.step.string);
            p.play.views.tel_çiz();
            p.play.views.mandal_at();
            p.play.views.porte();
            p.play.views.etiket();
        }
        if (!started) {
            pacer.start();
            started_ms = p.clock.now_ms();
            started = true;
        }
        const double late = p.clock.now_ms() - started_ms - due;
        if (late > kResyncAfterMs) due += late;
        pacer.wait_until(due);
        const NoteTime note_time(p.play.sound, pacer.deadline_ms(due));
        if (sounding) p.play.sound.stop_plucked();
        sounding = false;
        if (note) {
            p.play.sound.play_tuned_sample(sound.step.string, sound.lever);
            sounding = true;
        }
        due += sound.ms;
    }
    if (started) pacer.wait_until(due);
    const NoteTime note_time(p.play.sound, pacer.deadline_ms(due));
    if (sounding) p.play.sound.stop_plucked();
    sounding = false;
}

}  // namespace

void aç_kapa_buton_Click(SequencePlayback& p) {
    if (p.play.st.seq_playing) {
        p.play.st.seq_playing = false;  // the playback notices at its next record
        return;
    }
    yürüt10(p);
}

void yürüt10(SequencePlayback& p) {
    p.play.st.seq_playing = true;
    p.window.set_button_caption(kSequencePlayingCaption);
    p.window.enable_frames(false);
    std::int16_t counter = 0;
    bool sounding = false;
    try {
        play_records(p, counter, sounding);
    } catch (const std::exception&) {
        if (sounding) p.play.sound.stop_plucked();
        p.play.dialogs.message(std::to_string(counter) + "\r\n" + kSequenceFileError);
        set_idle(p);
        return;
    }
    p.Picture7.LineBF(0, 0, p.Picture7.width(), p.Picture7.height(), qRgb(255, 255, 255));
    set_idle(p);
}

std::string sequence_name_of(const std::string& file_name) {
    return file_name.size() > 4 ? file_name.substr(0, file_name.size() - 4) : std::string();
}

}  // namespace orvena
