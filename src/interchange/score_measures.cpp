#include "interchange/score_measures.h"

#include <algorithm>

namespace orvena {

namespace {

constexpr int kShortestType = 6;  // 64th
constexpr int kTripletsToBracket = 3;

// Pieces of one event from `at` (divisions into the last measure) on, across as many bar
// lines as it needs.
void lay_event(std::size_t index, const ScoreEvent& e, int& at, std::vector<ScoreMeasure>& out) {
    int left = e.divisions;
    bool first = true;
    while (left > 0) {
        if (out.empty() || at == kMeasureDivisions) {
            out.emplace_back();
            at = 0;
        }
        const int here = std::min(left, kMeasureDivisions - at);
        // A note that fits whole keeps the value it was written with.
        const std::vector<NoteValue> values = here == e.divisions
                                                  ? std::vector<NoteValue>{e.value}
                                                  : values_making_up(here, e.value.triplet);
        int used = 0;
        for (std::size_t i = 0; i < values.size(); ++i) {
            ScorePiece piece;
            piece.event = index;
            piece.value = values[i];
            const bool last = i + 1 == values.size();
            piece.divisions = last ? here - used : value_divisions(values[i]);
            piece.tied_from = !e.rest && !(first && i == 0);
            piece.tied_to = !e.rest && (!last || left > here);
            used += piece.divisions;
            out.back().push_back(piece);
        }
        first = false;
        at += here;
        left -= here;
    }
}

// Brackets over runs of triplet pieces in one measure, closed when three pieces of the first
// one's length have gone by, before a plain piece and at the end of the measure.
void bracket_triplets(ScoreMeasure& measure) {
    bool open = false;
    int filled = 0, bracket = 0;
    for (std::size_t i = 0; i < measure.size(); ++i) {
        ScorePiece& piece = measure[i];
        if (!piece.value.triplet) {
            if (open) measure[i - 1].tuplet_stop = true;
            open = false;
            continue;
        }
        if (!open) {
            open = piece.tuplet_start = true;
            filled = 0;
            bracket = kTripletsToBracket * piece.divisions;
        }
        filled += piece.divisions;
        if (filled >= bracket) {
            piece.tuplet_stop = true;
            open = false;
        }
    }
    if (open) measure.back().tuplet_stop = true;
}

}  // namespace

std::vector<NoteValue> values_making_up(int divisions, bool triplet) {
    // Every value a piece may take, longest first.
    std::vector<NoteValue> candidates;
    for (int type = 0; type <= kShortestType; ++type) {
        if (!triplet && type < kShortestType) candidates.push_back({type, true, false});
        candidates.push_back({type, false, triplet});
    }
    std::vector<NoteValue> values;
    int left = divisions;
    for (const NoteValue& v : candidates) {
        while (value_divisions(v) <= left) {
            values.push_back(v);
            left -= value_divisions(v);
        }
    }
    if (values.empty()) values.push_back(candidates.back());
    return values;
}

std::vector<ScoreMeasure> score_measures(const std::vector<ScoreEvent>& events) {
    std::vector<ScoreMeasure> measures;
    int at = 0;
    for (std::size_t i = 0; i < events.size(); ++i) lay_event(i, events[i], at, measures);
    for (ScoreMeasure& measure : measures) bracket_triplets(measure);
    return measures;
}

}  // namespace orvena
