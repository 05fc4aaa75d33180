#include "recording/paced_playback.h"

namespace orvena {

void play_paced(PacedSource& source, const PacingRules& rules, PlaybackPacer& pacer,
                EventPump& pump, Sound& sound, bool& sounding) {
    bool started = false;  // the schedule starts with the first record that takes time
    double due = 0;        // when the next record begins, from the start (ms)
    for (;;) {
        if (started) pacer.wait_until(due - rules.lead_ms);
        if (!source.read_next()) break;
        if (started && rules.cut_as_read) {
            const NoteTime note_time(sound, pacer.deadline_ms(due));
            sound.stop_plucked();
        }
        pump.process_pending();
        const std::optional<PacedStep> step = source.step();
        if (!step) break;
        if (step->skip) continue;
        if (!started || step->restart) {
            pacer.start();
            started = true;
            due = 0;
        }
        const double late = pacer.elapsed_ms() - due;
        if (late > rules.resync_after_ms) due += late;
        pacer.wait_until(due);
        {
            const NoteTime note_time(sound, pacer.deadline_ms(due));
            if (sounding && !rules.cut_as_read) sound.stop_plucked();
            sounding = false;
            if (step->string != 0) {
                sound.play_tuned_sample(step->string, step->lever);
                sounding = true;
            }
        }
        due += step->ms;
        if (step->last) break;
    }
    if (started) pacer.wait_until(due);
    if (sounding || rules.cut_as_read) {
        const NoteTime note_time(sound, pacer.deadline_ms(due));
        sound.stop_plucked();
    }
    sounding = false;
}

}  // namespace orvena
