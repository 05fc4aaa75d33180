// Sequence files (.ses) read and planned record by record as playback does, at every pitch
// level shift and accidental source. Promises: a broken file stops with the record, field
// and line it broke at; a note's string and lever reach the instrument's tables only
// through their checked lookups.

#include "fuzz/fuzz_support.h"
#include "recording/sequence_file.h"
#include "recording/sequence_rules.h"
#include "tuning/instrument_state.h"

namespace {

using namespace orvena;

// Looks the note up as playback does before it sounds: the string's own lever, then the
// sample rate of string and lever. An index out of range is reported as a broken record.
void look_up(const SequenceRecord& record, const SequenceStep& step, int shift) {
    static const InstrumentState st;
    for (const auto source :
         {AccidentalSource::Instrument, AccidentalSource::Conditional, AccidentalSource::File}) {
        try {
            (void)st.sample_rate(step.string,
                                 note_lever(record, source, st.mandal_pos[step.string], shift));
        } catch (const IndexOutOfRange&) {
        }
    }
}

}  // namespace

void orvena::fuzz::check(std::string_view input) {
    SequenceReader reader{std::string(input)};
    std::int16_t units = 0;
    try {
        while (const auto record = reader.next()) {
            for (int shift = -2; shift <= 3; ++shift) {
                std::int16_t planned = units;
                const SequenceStep step = plan_record(*record, planned, shift);
                FUZZ_CHECK(step.units >= 0);
                if (step.kind == SequenceStep::Kind::Note) look_up(*record, step, shift);
                if (shift == 0) units = planned;
            }
        }
    } catch (const SequenceFileError& e) {
        FUZZ_CHECK(e.record() == reader.records_read());
        FUZZ_CHECK(e.field() >= 1 && e.field() <= kSequenceRecordFields);
        FUZZ_CHECK(e.line() >= 1);
    }
}
