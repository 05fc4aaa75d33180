#include "interchange/musicxml_score.h"

#include <QString>
#include <QXmlStreamWriter>

#include <cmath>
#include <map>
#include <utility>

#include "interchange/staff_accidentals.h"

namespace orvena {

namespace {

constexpr int kHighestDiatonic = 6 * 7 + 2;  // E6, counting naturals up from C0
constexpr char kLetters[] = "CDEFGAB";
constexpr int kLetterSemitones[] = {0, 2, 4, 5, 7, 9, 11};
constexpr const char* kDoctype =
    "<!DOCTYPE score-partwise PUBLIC \"-//Recordare//DTD MusicXML 3.1 Partwise//EN\" "
    "\"http://www.musicxml.org/dtds/partwise.dtd\">";
constexpr const char* kStepCountSize = "7";  // points: small, above the staff

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

QString number(double value) {
    return QString::number(value, 'g', 8);
}

// What the notes of one measure have shown so far for each staff place (letter, octave).
using ShownSigns = std::map<std::pair<char, int>, int>;

class ScoreWriter {
  public:
    explicit ScoreWriter(QByteArray& out) : w_(&out) {
        w_.setAutoFormatting(true);
        w_.setAutoFormattingIndent(2);
    }

    void write(const ScoreSheet& sheet) {
        w_.writeStartDocument(QStringLiteral("1.0"), false);
        w_.writeDTD(QString::fromLatin1(kDoctype));
        w_.writeStartElement(QStringLiteral("score-partwise"));
        w_.writeAttribute(QStringLiteral("version"), QStringLiteral("3.1"));
        header(sheet.title);
        w_.writeStartElement(QStringLiteral("part"));
        w_.writeAttribute(QStringLiteral("id"), QStringLiteral("P1"));
        for (std::size_t m = 0; m < sheet.measures.size(); ++m) {
            w_.writeStartElement(QStringLiteral("measure"));
            w_.writeAttribute(QStringLiteral("number"), QString::number(m + 1));
            if (m == 0) opening(sheet.quarters_per_minute);
            ShownSigns shown;
            for (const ScorePiece& piece : sheet.measures[m]) {
                this->piece(sheet.events[piece.event], piece, shown);
            }
            w_.writeEndElement();
        }
        w_.writeEndElement();
        w_.writeEndElement();
        w_.writeEndDocument();
    }

  private:
    void element(const QString& name, const QString& value) { w_.writeTextElement(name, value); }

    void header(const std::string& title) {
        w_.writeStartElement(QStringLiteral("work"));
        element(QStringLiteral("work-title"), text(title));
        w_.writeEndElement();
        w_.writeStartElement(QStringLiteral("identification"));
        w_.writeStartElement(QStringLiteral("encoding"));
        element(QStringLiteral("software"), QStringLiteral("ORVENA"));
        w_.writeEndElement();
        w_.writeEndElement();
        w_.writeStartElement(QStringLiteral("part-list"));
        w_.writeStartElement(QStringLiteral("score-part"));
        w_.writeAttribute(QStringLiteral("id"), QStringLiteral("P1"));
        element(QStringLiteral("part-name"), QStringLiteral("ORVENA"));
        w_.writeEndElement();
        w_.writeEndElement();
    }

    void opening(double quarters_per_minute) {
        w_.writeStartElement(QStringLiteral("attributes"));
        element(QStringLiteral("divisions"), QString::number(kDivisionsPerQuarter));
        w_.writeStartElement(QStringLiteral("key"));
        element(QStringLiteral("fifths"), QStringLiteral("0"));
        w_.writeEndElement();
        w_.writeStartElement(QStringLiteral("time"));
        element(QStringLiteral("beats"), QStringLiteral("4"));
        element(QStringLiteral("beat-type"), QStringLiteral("4"));
        w_.writeEndElement();
        w_.writeStartElement(QStringLiteral("clef"));
        element(QStringLiteral("sign"), QStringLiteral("G"));
        element(QStringLiteral("line"), QStringLiteral("2"));
        w_.writeEndElement();
        w_.writeEndElement();

        w_.writeStartElement(QStringLiteral("direction"));
        w_.writeAttribute(QStringLiteral("placement"), QStringLiteral("above"));
        w_.writeStartElement(QStringLiteral("direction-type"));
        w_.writeStartElement(QStringLiteral("metronome"));
        element(QStringLiteral("beat-unit"), QStringLiteral("quarter"));
        element(QStringLiteral("per-minute"), number(quarters_per_minute));
        w_.writeEndElement();
        w_.writeEndElement();
        w_.writeEmptyElement(QStringLiteral("sound"));
        w_.writeAttribute(QStringLiteral("tempo"), number(quarters_per_minute));
        w_.writeEndElement();
    }

    void step_count(int step) {
        w_.writeStartElement(QStringLiteral("direction"));
        w_.writeAttribute(QStringLiteral("placement"), QStringLiteral("above"));
        w_.writeStartElement(QStringLiteral("direction-type"));
        w_.writeStartElement(QStringLiteral("words"));
        w_.writeAttribute(QStringLiteral("font-size"), QString::fromLatin1(kStepCountSize));
        w_.writeCharacters(text(step_count_text(step)));
        w_.writeEndElement();
        w_.writeEndElement();
        w_.writeEndElement();
    }

    // The accidental a note's first piece shows: its sign's name, or a natural where the
    // same place showed a sign earlier in the measure. Empty for none.
    static QString accidental(const ScoreEvent& e, const StaffPosition& at, ShownSigns& shown) {
        const auto place = std::make_pair(at.step, at.octave);
        const auto before = shown.find(place);
        const bool cancels = e.step == 0 && before != shown.end() && before->second != 0;
        shown[place] = e.step;
        if (cancels) return QStringLiteral("natural");
        const char* name = musicxml_accidental(e.step);
        return name != nullptr ? QString::fromLatin1(name) : QString();
    }

    void piece(const ScoreEvent& e, const ScorePiece& piece, ShownSigns& shown) {
        const StaffPosition at = staff_position(e.string);
        QString sign;
        if (!e.rest && !piece.tied_from) {
            sign = accidental(e, at, shown);
            if (e.step != 0 && sign.isEmpty()) step_count(e.step);
        } else if (!e.rest) {
            shown[{at.step, at.octave}] = e.step;  // the tied note shows it in this measure
        }
        w_.writeStartElement(QStringLiteral("note"));
        if (e.rest) {
            w_.writeEmptyElement(QStringLiteral("rest"));
        } else {
            w_.writeStartElement(QStringLiteral("pitch"));
            element(QStringLiteral("step"), QString(QChar::fromLatin1(at.step)));
            if (std::isfinite(e.pitch)) {
                element(QStringLiteral("alter"), text(alter_text(e.pitch, at.key)));
            }
            element(QStringLiteral("octave"), QString::number(at.octave));
            w_.writeEndElement();
        }
        element(QStringLiteral("duration"), QString::number(piece.divisions));
        ties(piece, QStringLiteral("tie"));
        element(QStringLiteral("voice"), QStringLiteral("1"));
        element(QStringLiteral("type"), QString::fromLatin1(value_type_name(piece.value.type)));
        if (piece.value.dotted) w_.writeEmptyElement(QStringLiteral("dot"));
        if (!sign.isEmpty()) element(QStringLiteral("accidental"), sign);
        if (piece.value.triplet) {
            w_.writeStartElement(QStringLiteral("time-modification"));
            element(QStringLiteral("actual-notes"), QStringLiteral("3"));
            element(QStringLiteral("normal-notes"), QStringLiteral("2"));
            w_.writeEndElement();
        }
        notations(piece);
        w_.writeEndElement();
    }

    // <tie> (the sound) or <tied> (the drawing): the stop of the piece before, then the start.
    void ties(const ScorePiece& piece, const QString& name) {
        for (const auto& [on, type] :
             {std::pair{piece.tied_from, "stop"}, std::pair{piece.tied_to, "start"}}) {
            if (!on) continue;
            w_.writeEmptyElement(name);
            w_.writeAttribute(QStringLiteral("type"), QString::fromLatin1(type));
        }
    }

    void notations(const ScorePiece& piece) {
        if (!piece.tied_from && !piece.tied_to && !piece.tuplet_start && !piece.tuplet_stop) return;
        w_.writeStartElement(QStringLiteral("notations"));
        ties(piece, QStringLiteral("tied"));
        for (const auto& [on, type] :
             {std::pair{piece.tuplet_start, "start"}, std::pair{piece.tuplet_stop, "stop"}}) {
            if (!on) continue;
            w_.writeEmptyElement(QStringLiteral("tuplet"));
            w_.writeAttribute(QStringLiteral("type"), QString::fromLatin1(type));
            if (std::string(type) == "start") {
                w_.writeAttribute(QStringLiteral("bracket"), QStringLiteral("yes"));
            }
        }
        w_.writeEndElement();
    }

    QXmlStreamWriter w_;
};

}  // namespace

StaffPosition staff_position(int string) {
    const int diatonic = kHighestDiatonic - (string - 1);
    const int letter = ((diatonic % 7) + 7) % 7;
    const int octave = (diatonic - letter) / 7;
    return {kLetters[letter], octave, 12 * (octave + 1) + kLetterSemitones[letter]};
}

std::string alter_text(double pitch, int natural_key) {
    const double hundredths = std::round((pitch - natural_key) * 100.0);
    // A whole "0": score editors that read only whole alters take "0.00" for a natural sign.
    if (hundredths == 0.0) return "0";
    return QString::number(hundredths / 100.0, 'f', 2).toStdString();
}

QByteArray musicxml_score(const ScoreSheet& sheet) {
    QByteArray out;
    ScoreWriter(out).write(sheet);
    return out;
}

}  // namespace orvena
