// The score a sequence file becomes: the accidental names of the staff's signs, and the
// MusicXML a score editor reads: places, alters, values, ties over bar lines, triplets.

#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <set>

#include "interchange/musicxml_score.h"
#include "interchange/score_measures.h"
#include "interchange/staff_accidentals.h"
#include "recording/render_command.h"
#include "recording/render_schedule.h"
#include "support/temp_dir.h"

namespace orvena {
namespace {

InstrumentState started_instrument() {
    InstrumentState st;
    if (const auto problem = start_render_instrument(st, test::program_dir()))
        ADD_FAILURE() << *problem;
    return st;
}

// Each staff sign by the commas (1200/53 cents) of its name against its steps (1200/79 cents):
// a name fits within half a step, the Arel-Ezgi-Uzdilek names before the numbered ones.
TEST(StaffAccidentals, NameEverySignThatAMusicXmlNameFits) {
    // clang-format off
    const char* const names[] = {  // steps -13 to 13
        "", "double-slash-flat", "", "", "", "", "flat", "slash-flat", "", "flat-3", "flat-2", "",
        "flat-1", "", "sharp-1", "", "sharp-2", "sharp-3", "", "sharp", "slash-quarter-sharp", "",
        "", "", "", "slash-sharp", ""};
    // clang-format on
    for (int step = -13; step <= 13; ++step) {
        const char* got = musicxml_accidental(step);
        EXPECT_EQ(got ? std::string(got) : "", names[step + 13]) << step;
    }
    EXPECT_EQ(step_count_text(5), "+5");
    EXPECT_EQ(step_count_text(-2), "-2");
}

// What a score editor reads, in order: "|" where a measure starts; for each note a step count
// printed before it, its step, alter, octave, duration, ties, type, dot, accidental, triplet
// and bracket.
std::vector<std::string> read_notes(const QByteArray& xml) {
    const std::set<std::string> texts = {"words",      "step",         "alter",
                                         "octave",     "duration",     "type",
                                         "accidental", "actual-notes", "normal-notes"};
    std::vector<std::string> notes;
    std::string note;
    for (QXmlStreamReader r(xml); !r.atEnd();) {
        r.readNext();
        const std::string name = r.name().toString().toStdString();
        const std::string type =
            r.attributes().value(QStringLiteral("type")).toString().toStdString();
        if (r.isEndElement() && name == "note") notes.push_back(note.substr(1)), note.clear();
        if (!r.isStartElement()) continue;
        if (name == "measure") notes.push_back("|");
        if (name == "rest" || name == "dot") note += " " + name;
        if (name == "tie" || name == "tuplet") note += " " + name + "-" + type;
        if (texts.contains(name)) note += " " + r.readElementText().toStdString();
    }
    return notes;
}

TEST(MusicXmlScore, SpellsTiesAndBracketsAsTheStaffDrawsThem) {
    const InstrumentState st = started_instrument();
    // A4 quarter, B4 six low, B4, F4 five high (eighths), three triplet eighths D5 (its dot
    // not played, so not written) C5+6 D5, G4 quarter over the bar line, a quarter rest, A4
    // whole over the next one.
    const std::string text =
        "0,8,3,0,0,0,0,0,0,0\n0,7,4,-6,0,0,0,0,0,1\n0,7,4,0,0,0,0,0,0,0\n0,10,4,5,0,0,0,0,0,1\n"
        "1,5,4,0,1,0,0,0,0,0\n1,6,4,6,0,0,0,0,0,1\n1,5,4,0,0,0,0,0,0,0\n0,9,3,0,0,0,0,0,0,0\n"
        "0,29,0,0,0,0,0,0,0,0\n0,8,1,0,0,0,0,0,0,0\n";
    ScoreSheet sheet{"ezgi", 93.75, score_events(text, st, AccidentalSource::File), {}};
    sheet.measures = score_measures(sheet.events);
    const QByteArray xml = musicxml_score(sheet);
    const std::vector<std::string> expected = {
        "|",
        "A -0.01 4 48 quarter",
        "B -0.95 4 24 eighth slash-flat",
        "B -0.04 4 24 eighth natural",
        "+5 F 0.80 4 24 eighth",
        "D 0 5 16 eighth 3 2 tuplet-start",
        "C 0.94 5 16 eighth sharp 3 2",
        "D 0 5 16 eighth 3 2 tuplet-stop",
        "G 0.01 4 24 tie-start eighth",
        "|",
        "G 0.01 4 24 tie-stop eighth",
        "rest 48 quarter",
        "A -0.01 4 96 tie-start half",
        "A -0.01 4 24 tie-stop tie-start eighth",
        "|",
        "A -0.01 4 72 tie-stop quarter dot",
    };
    EXPECT_EQ(read_notes(xml), expected);
    for (const char* part : {"<score-partwise version=\"3.1\">", "<divisions>48</divisions>",
                             "-//Recordare//DTD MusicXML 3.1 Partwise//EN",
                             "<sound tempo=\"93.75\"/>", "<work-title>ezgi</work-title>"})
        EXPECT_TRUE(xml.contains(part)) << part;
}

}  // namespace
}  // namespace orvena
