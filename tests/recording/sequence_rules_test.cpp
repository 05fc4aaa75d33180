// What a record asks of the instrument: note values, dots, triplets, rests, skips, the string
// of a pitch code at each pitch level and the lever of each accidental source.

#include <gtest/gtest.h>

#include "recording/sequence_rules.h"

namespace orvena {
namespace {

SequenceRecord note(std::int16_t pitch, std::int16_t length, std::int16_t dot = 0,
                    std::int16_t tuplet = 0) {
    SequenceRecord r;
    r.pitch_code = pitch;
    r.length_code = length;
    r.dot_flag = dot;
    r.tuplet_flag = tuplet;
    return r;
}

TEST(SequenceRules, durationsOfNotesRestsAndSkipsInOrder) {
    using K = SequenceStep::Kind;
    struct Row {
        SequenceRecord r;
        K kind;
        int units;
    };
    // One running melody: the duration in force carries from row to row.
    const Row rows[] = {
        {note(3, 9), K::Note, 0},  // no duration set yet
        {note(3, 1), K::Note, 64},      {note(3, 2, 1), K::Note, 48},
        {note(3, 3), K::Note, 16},      {note(3, 3, 1), K::Note, 24},
        {note(3, 9), K::Note, 24},  // other codes keep the dotted quarter
        {note(3, 4, 0, 1), K::Note, 5}, {note(3, 4, 1, 1), K::Note, 5},
        {note(3, 5, 0, 2), K::Note, 3}, {note(3, 6, 1, 1), K::Note, 3},
        {note(3, 5, 1), K::Note, 6},    {note(3, 3, 2), K::Note, 16},  // dot flag 2: plain
        {note(3, 0), K::Skip, 0},       {note(-1, 3), K::Skip, 0},
        {note(32, 3), K::Skip, 0},      {note(3, 9), K::Note, 16},
        {note(26, 0), K::Rest, 2},      {note(29, 1, 1, 1), K::Rest, 16},
        {note(31, 0), K::Rest, 64},     {note(3, 7), K::Note, 64},  // a rest sets it too
    };
    std::int16_t current = 0;
    int row = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(++row);
        const SequenceStep step = plan_record(r.r, current, 0);
        EXPECT_EQ(step.kind, r.kind);
        if (r.kind != K::Skip) {
            EXPECT_EQ(step.units, r.units);
        }
    }
}

TEST(SequenceRules, stringOfEachPitchCodeAtEachShift) {
    // Codes 0..14 are strings 4..18, codes 15..25 strings 12..22, moved by the shift.
    EXPECT_EQ(note_string(3, 0), 7);
    EXPECT_EQ(note_string(3, 4), 11);
    EXPECT_EQ(note_string(8, 0), 12);
    EXPECT_EQ(note_string(15, 0), 12);
    for (int shift = -3; shift <= 4; ++shift) {
        for (int code = 0; code <= 25; ++code) {
            const int s = note_string(code, shift);
            EXPECT_TRUE(s >= 1 && s <= 26) << code << " " << shift;
        }
    }
}

TEST(SequenceRules, leverOfEachAccidentalSource) {
    using S = AccidentalSource;
    SequenceRecord own = note(3, 3);
    own.file_lever = 2;
    own.accidental_flag = 1;
    SequenceRecord plain = own;
    plain.accidental_flag = 0;
    struct Row {
        const SequenceRecord& r;
        S source;
        int shift, lever;
    };
    const Row rows[] = {
        {own, S::Instrument, 0, -3},    {own, S::File, 2, 2},         {plain, S::File, 0, 2},
        {plain, S::Conditional, 2, -3}, {own, S::Conditional, 0, 2},  {own, S::Conditional, 2, 8},
        {own, S::Conditional, -2, 8},   {own, S::Conditional, -1, 8}, {own, S::Conditional, 1, 8},
        {own, S::Conditional, 3, 8},    {own, S::Conditional, -3, 2}, {own, S::Conditional, 4, 2},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(note_lever(r.r, r.source, -3, r.shift), r.lever)
            << static_cast<int>(r.source) << " shift " << r.shift;
    }
}

}  // namespace
}  // namespace orvena
