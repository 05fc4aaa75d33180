#pragma once
// The instrument's tables built from a Scala scale, the same tables the workbook import
// fills: each string's lever 0 on the scale degree nearest its natural note in Pythagorean
// intonation (or on the degree of its key, when a mapping gives each string a key), lever
// position p that many degrees above (below for p < 0), within the string's levers; the
// degree list with each reachable degree's pitch, name and places.

#include <optional>
#include <string>

#include "tuning/scala_scale.h"
#include "tuning/tuning_tables.h"

namespace orvena {

// The staff draws its signs in steps of this size (a flat is six of them, about a limma);
// a scale's lever steps are shown as the nearest number of them.
inline constexpr double kStaffStepCents = 1200.0 / 79.0;

struct ScaleSource {
    std::string name;                         // the system's name as the window shows it
    std::string scl_file;                     // names the scale's lines in messages
    std::optional<ScalaReference> reference;  // degree 0 elsewhere than C4 = 262 Hz
    bool perde_names = false;  // name degrees near a perde of the 53-comma theory after it
};

// The degree of `scale` (degree 0 at `degree0_cents` above C4) nearest the pitch `cents`;
// of two equally near, the lower. Throws std::range_error when the pitch lies absurdly many
// periods away.
long long nearest_degree(const ScalaScale& scale, double degree0_cents, double cents);

// `workbook`: the tables of the program's workbook, whose sample corrections and lever-0
// pitches say what each sample sounds. `akord_offset`: the fine tuning the tables will be
// played with. Throws ScalaFileError naming the scale line at fault when the reachable
// degrees do not fit the degree list or a reachable position has no playable rate.
TuningTables scale_tables(const ScalaScale& scale, const ScaleSource& source,
                          const TuningTables& workbook,
                          const PerString<std::int16_t>& akord_offset);

}  // namespace orvena
