#include "recording/sequence_player.h"

#include "recording/paced_playback.h"
#include "sound/sound.h"
#include "tuning/number_format.h"
#include "tuning/rounding.h"

namespace orvena {

namespace {

// The next record is read, counted and drawn 8 ms before it is due, so the note is on
// screen and sounds exactly on time however long the drawing takes (up to this lead). A
// playback held up for longer than 200 ms (the machine was busy) goes on from where it is
// instead of rushing the notes it missed.
constexpr PacingRules kSequencePacing{.lead_ms = 8, .resync_after_ms = 200};

void show_counter(Surface& Picture7, std::int16_t counter) {
    Picture7.FontSize = 12;
    Picture7.Cls();
    Picture7.Print(QString::fromStdString(format_picture(counter, "000")));
}

void set_idle(SequencePlayback& p) {
    p.window.set_button_caption(kSequenceIdleCaption);
    p.window.enable_frames(true);
    p.play.st.transport.seq_playing = false;
}

// The records of a ".ses" file as the pacer plays them. The counter shows each record as it
// is read; a note is drawn once the input has had its turn. counter is the number of the
// record being read or played.
class SequenceSource final : public PacedSource {
  public:
    SequenceSource(SequencePlayback& p, std::int16_t& counter)
        : p_(p),
          counter_(counter),
          reader_(read_sequence_text(p.folder / (p.window.file_name() + ".ses"))) {}

    bool read_next() override {
        if (reader_.at_end()) return false;
        counter_ = checked_add16(counter_, 1);
        show_counter(p_.Picture7, counter_);
        record_ = *reader_.next();
        return true;
    }

    std::optional<PacedStep> step() override {
        InstrumentState& st = p_.play.st;
        if (!st.transport.seq_playing) return std::nullopt;
        // The speed and the accidental source are read afresh for every record: moving the
        // bar changes the tempo from the next record on.
        const SequenceSound sound =
            sound_of_record(record_, current_units_, p_.window.accidental_source(), st);
        PacedStep step;
        step.skip = sound.step.kind == SequenceStep::Kind::Skip;
        step.ms = sound.ms;
        if (sound.step.kind == SequenceStep::Kind::Note) {
            st.selection.cur_string = static_cast<std::int16_t>(sound.step.string);
            p_.play.views.tel_çiz();
            p_.play.views.show_selected_string();
            step.string = sound.step.string;
            step.lever = sound.lever;
        }
        return step;
    }

  private:
    SequencePlayback& p_;
    std::int16_t& counter_;
    SequenceReader reader_;
    SequenceRecord record_;
    std::int16_t current_units_ = 0;
};

// One playback; throws on any fault of the file or the note it asks for.
void play_records(SequencePlayback& p, std::int16_t& counter, bool& sounding) {
    SequenceSource source(p, counter);
    PlaybackPacer pacer(p.clock, p.pump);
    play_paced(source, kSequencePacing, pacer, p.pump, p.play.sound, sounding);
}

}  // namespace

void aç_kapa_buton_Click(SequencePlayback& p) {
    if (p.play.st.transport.seq_playing) {
        p.play.st.transport.seq_playing = false;  // the playback notices at its next record
        return;
    }
    yürüt10(p);
}

void yürüt10(SequencePlayback& p) {
    p.play.st.transport.seq_playing = true;
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
