// Reading sequence files: ten 16-bit numbers per record in any mix of separators, and the one
// error that names the record, the field and the line of a fault.

#include <gtest/gtest.h>

#include "recording/sequence_file.h"
#include "recording/sequence_rules.h"
#include "support/temp_dir.h"
#include "tuning/instrument_state.h"

namespace orvena {
namespace {

SequenceRecord record(std::int16_t tuplet, std::int16_t pitch, std::int16_t length,
                      std::int16_t lever, std::int16_t dot, std::int16_t accidental) {
    SequenceRecord r;
    r.tuplet_flag = tuplet;
    r.pitch_code = pitch;
    r.length_code = length;
    r.file_lever = lever;
    r.dot_flag = dot;
    r.accidental_flag = accidental;
    return r;
}

TEST(SequenceFile, separatorsAndLayoutDoNotChangeTheRecords) {
    const std::vector<SequenceRecord> expected = {record(0, 3, 3, -2, 1, 1),
                                                  record(1, 29, 4, 0, 0, 0)};
    for (const char* text : {
             "0,3,3,-2,1,0,0,0,0,1\r\n1,29,4,0,0,0,0,0,0,0\r\n",
             "0 3 3 -2 1 0 0 0 0 1 1 29 4 0 0 0 0 0 0 0",
             "0, 3 ,3,\n-2\r\n1,0,0,0,0,1,1,29,4,0,0,0,0,0,0,0\n\n  \r\n",
             " 0             3             3            -2 1 0 0 0 0  1 \r\n"
             "1,29,4,0,0,0,0,0,0,0",
         }) {
        SCOPED_TRACE(text);
        EXPECT_EQ(parse_sequence(text), expected);
    }
    EXPECT_TRUE(parse_sequence(" \r\n").empty());
}

TEST(SequenceFile, faultsNameTheirRecordFieldAndLine) {
    struct Case {
        const char* text;
        int record, field, line;
    };
    const Case cases[] = {
        {"0,3,3,0,0,0,0,0,0,0\r\n0,3,3,0,0", 2, 6, 2},               // cut short by the end
        {"0,3,3,0,0,0,0,0,0,0\r\n0,3,x,0,0,0,0,0,0,0", 2, 3, 2},     // not a number
        {"0,3,3,0,0,0,0,0,0,0,\n0,40000,3,0,0,0,0,0,0,0", 2, 2, 2},  // beyond 16 bits
        {"0,3,3,0,0,0,0,0,0,-32769", 1, 10, 1},
        {"0,,3,0,0,0,0,0,0,0", 1, 2, 1},  // an empty field
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            parse_sequence(c.text);
            ADD_FAILURE() << "no error";
        } catch (const SequenceFileError& e) {
            EXPECT_EQ(e.record(), c.record);
            EXPECT_EQ(e.field(), c.field);
            EXPECT_EQ(e.line(), c.line);
        }
    }
}

TEST(SequenceFile, readerHandsOutGoodRecordsBeforeTheBrokenOne) {
    SequenceReader reader("0,3,3,0,0,0,0,0,0,0,0,4,3,0,0");
    ASSERT_TRUE(reader.next());
    EXPECT_THROW(reader.next(), SequenceFileError);
    EXPECT_EQ(reader.records_read(), 2);
}

TEST(SequenceFile, fileThatCannotBeOpenedIsRecordZero) {
    test::TempDir dir;
    test::write_file_bytes(dir / "a.ses", "0,3,3,0,0,0,0,0,0,32767\r\n");
    EXPECT_EQ(read_sequence_file(dir / "a.ses").at(0).accidental_flag, 32767);
    for (const auto& missing : {dir / "yok.ses", dir.path()}) {
        try {
            read_sequence_file(missing);
            ADD_FAILURE() << "no error for " << missing;
        } catch (const SequenceFileError& e) {
            EXPECT_EQ(e.record(), 0);
        }
    }
}

TEST(SequenceFile, shippedMelodiesHoldOnlyNotesAndRestsTheInstrumentCanPlay) {
    int melodies = 0;
    for (const auto& entry : std::filesystem::directory_iterator(test::source_dir() / "data")) {
        if (entry.path().extension() != ".ses") continue;
        ++melodies;
        SCOPED_TRACE(entry.path().filename().string());
        const std::vector<SequenceRecord> records = read_sequence_file(entry.path());
        EXPECT_GE(records.size(), 16u);
        for (const SequenceRecord& r : records) {
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
