#include "recording/sequence_rules.h"

#include "tuning/rounding.h"

namespace orvena {

std::int16_t note_units(int length_code, bool dotted) {
    if (length_code < 1 || length_code > 6) return 0;
    const int plain = 64 >> (length_code - 1);
    return static_cast<std::int16_t>(dotted ? plain * 3 / 2 : plain);
}

std::int16_t rest_units(int pitch_code) {
    if (pitch_code < 26 || pitch_code > 31) return 0;
    return static_cast<std::int16_t>(2 << (pitch_code - 26));
}

int note_string(int pitch_code, int ahenk_shift) {
    return (pitch_code <= 14 ? pitch_code + 4 : pitch_code - 3) + ahenk_shift;
}

SequenceStep plan_record(const SequenceRecord& r, std::int16_t& current_units, int ahenk_shift) {
    if (const std::int16_t rest = rest_units(r.pitch_code); rest > 0) {
        current_units = rest;
        return {SequenceStep::Kind::Rest, rest, 0};
    }
    if (r.pitch_code < 0 || r.pitch_code > 25 || r.length_code == 0) return {};
    if (const std::int16_t units = note_units(r.length_code, r.dot_flag == 1); units > 0) {
        current_units = units;
    }
    // Triplet eighths and sixteenths: 16/3 and 8/3 units, rounded.
    if (r.tuplet_flag > 0 && r.length_code == 4) current_units = 5;
    if (r.tuplet_flag > 0 && r.length_code == 5) current_units = 3;
    return {SequenceStep::Kind::Note, current_units, note_string(r.pitch_code, ahenk_shift)};
}

int note_lever(const SequenceRecord& r, AccidentalSource source, int instrument_lever,
               int ahenk_shift) {
    switch (source) {
        case AccidentalSource::File:
            return r.file_lever;
        case AccidentalSource::Conditional:
            if (r.accidental_flag != 1) return instrument_lever;
            switch (ahenk_shift) {
                case -2:
                case -1:
                case 1:
                case 2:
                case 3:
                    return r.file_lever + 6;
                default:
                    return r.file_lever;
            }
        case AccidentalSource::Instrument:
            break;
    }
    return instrument_lever;
}

SequenceSound sound_of_record(const SequenceRecord& record, std::int16_t& current_units,
                              AccidentalSource source, const InstrumentState& st) {
    SequenceSound sound;
    sound.step = plan_record(record, current_units, st.settings.ahenk_shift);
    if (sound.step.kind == SequenceStep::Kind::Note) {
        sound.lever = note_lever(record, source, st.settings.mandal_pos[sound.step.string],
                                 st.settings.ahenk_shift);
    }
    sound.ms = to_int16(st.transport.speed * sound.step.units);
    return sound;
}

}  // namespace orvena
