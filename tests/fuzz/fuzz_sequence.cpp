// Sequence files (.ses) read and planned record by record as playback does, at every pitch
// level shift and accidental source. Promises: a broken file stops with the record, field
// and line it broke at; a note's string and lever reach the instrument's tables only
// through their checked lookups.

#include <string>

#include "fuzz/fuzz_support.h"
#include "recording/sequence_file.h"
#include "recording/sequence_rules.h"
#include "tuning/instrument_state.h"

namespace {

using namespace orvena;

// Looks the note up as playback does before it sounds: the string's own lever, then the
// sample rate of string and lever.
void look_up(const InstrumentState& st, const SequenceRecord& record, const SequenceStep& step,
             int shift) {
    for (const auto source :
         {AccidentalSource::Instrument, AccidentalSource::Conditional, AccidentalSource::File}) {
        try {
            const int lever = note_lever(record, source, st.mandal_pos[step.string], shift);
            (void)st.sample_rate(step.string, lever);
        } catch (const IndexOutOfRange&) {
            // playback reports the record as broken
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const InstrumentState st;
    SequenceReader reader(std::string(reinterpret_cast<const char*>(data), size));
    std::int16_t units = 0;
    try {
        while (const auto record = reader.next()) {
            for (int shift = -2; shift <= 3; ++shift) {
                std::int16_t planned = units;
                const SequenceStep step = plan_record(*record, planned, shift);
                FUZZ_CHECK(step.units >= 0);
                if (step.kind == SequenceStep::Kind::Note) look_up(st, *record, step, shift);
                if (shift == 0) units = planned;
            }
        }
    } catch (const SequenceFileError& e) {
        FUZZ_CHECK(e.record() == reader.records_read());
        FUZZ_CHECK(e.field() >= 1 && e.field() <= kSequenceRecordFields);
        FUZZ_CHECK(e.line() >= 1);
    }
    return 0;
}
