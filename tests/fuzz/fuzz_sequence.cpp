// Sequence files (.ses) read and planned record by record as playback does, at every pitch
// level shift and accidental source. Promises: a broken file stops with the record, field
// and line it broke at; a note reaches the instrument's tables only through checked lookups.

#include "fuzz/fuzz_support.h"
#include "recording/sequence_file.h"
#include "recording/sequence_rules.h"
#include "tuning/instrument_state.h"

void orvena::fuzz::check(std::string_view input) {
    static const InstrumentState st;
    SequenceReader reader{std::string(input)};
    std::int16_t units = 0;
    try {
        while (const auto record = reader.next()) {
            for (int shift = -2; shift <= 3; ++shift) {
                std::int16_t planned = units;
                const SequenceStep step = plan_record(*record, planned, shift);
                FUZZ_CHECK(step.units >= 0);
                if (shift == 0) units = planned;
                if (step.kind != SequenceStep::Kind::Note) continue;
                for (const auto source : {AccidentalSource::Instrument,
                                          AccidentalSource::Conditional, AccidentalSource::File}) {
                    try {  // as playback looks the note up: the string's lever, then its rate
                        const int lever =
                            note_lever(*record, source, st.settings.mandal_pos[step.string], shift);
                        (void)st.derived.sample_rate(step.string, lever);
                    } catch (const IndexOutOfRange&) {
                    }
                }
            }
        }
    } catch (const SequenceFileError& e) {
        FUZZ_CHECK(e.record() == reader.records_read());
        FUZZ_CHECK(e.field() >= 1 && e.field() <= kSequenceRecordFields && e.line() >= 1);
    }
}
