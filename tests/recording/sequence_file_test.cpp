// Reading sequence files: ten 16-bit numbers per record in any mix of separators, one error
// naming the record, field and line of a fault, and the shipped melodies.

#include <gtest/gtest.h>

#include "recording/sequence_rules.h"
#include "support/temp_dir.h"
#include "tuning/instrument_state.h"

namespace orvena {
namespace {

TEST(SequenceFile, separatorsAndLayoutDoNotChangeTheRecords) {
    const std::vector<SequenceRecord> expected = {{0, 3, 3, -2, 1, {5, 6, 7, 8}, 1},
                                                  {1, 29, 4, 0, 0, {}, 0}};
    for (const char* text : {"0,3,3,-2,1,5,6,7,8,1\r\n1,29,4,0,0,0,0,0,0,0\r\n",
                             "0 3 3 -2 1 5 6 7 8 1 1 29 4 0 0 0 0 0 0 0",
                             "0, 3 ,3,\n-2\r\n1,5,6,7,8,1,1,29,4,0,0,0,0,0,0,0.4\n\n  \r\n"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(parse_sequence(text), expected);
    }
}

TEST(SequenceFile, faultsNameTheirRecordFieldAndLine) {
    struct Case {
        const char* text;
        int record, field, line;
    } const cases[] = {
        {"0,3,3,0,0,0,0,0,0,0\r\n0,3,3,0,0", 2, 6, 2},               // cut short by the end
        {"0,3,3,0,0,0,0,0,0,0\r\n0,3,x,0,0,0,0,0,0,0", 2, 3, 2},     // not a number
        {"0,3,3,0,0,0,0,0,0,0,\n0,40000,3,0,0,0,0,0,0,0", 2, 2, 2},  // beyond 16 bits
        {"0,,3,0,0,0,0,0,0,0", 1, 2, 1},                             // an empty field
    };
    for (const Case& c : cases) {
        try {
            parse_sequence(c.text);
            ADD_FAILURE() << "no error: " << c.text;
        } catch (const SequenceFileError& e) {
            EXPECT_EQ(std::make_tuple(e.record(), e.field(), e.line()),
                      std::make_tuple(c.record, c.field, c.line))
                << c.text;
        }
    }
}

TEST(SequenceFile, shippedMelodiesHoldOnlyNotesAndRestsTheInstrumentCanPlay) {
    int melodies = 0;
    for (const auto& entry : std::filesystem::directory_iterator(test::source_dir() / "data")) {
        if (entry.path().extension() != ".ses") continue;
        ++melodies;
        SCOPED_TRACE(entry.path().filename().string());
        for (const SequenceRecord& r : read_sequence_file(entry.path())) {
            if (rest_units(r.pitch_code) > 0) continue;
            ASSERT_TRUE(r.pitch_code >= 0 && r.pitch_code <= 25 && note_units(r.length_code, 0));
            const int s = note_string(r.pitch_code, 0);
            EXPECT_TRUE(r.file_lever >= lever_min_of(s) && r.file_lever <= lever_max_of(s));
            EXPECT_EQ(r.accidental_flag, r.file_lever != 0 ? 1 : 0);
        }
    }
    EXPECT_GE(melodies, 6);
}

}  // namespace
}  // namespace orvena
