#pragma once
// Names of the degrees of a tuning system, as the information panel shows them: the natural
// note nearest in degrees with the signed number of degrees from it ("E5", "E5 +2", "E5 −1"),
// or, where a system asks for it, the Turkish name of the perde of the 53-comma theory that
// lies within a few cents.

#include <optional>
#include <string>
#include <vector>

namespace orvena {

// Cents above C4 of a natural note ("E6", "A2") in Pythagorean intonation: C 0, D 9/8,
// E 81/64, F 4/3, G 3/2, A 27/16, B 243/128, octaves apart.
double pythagorean_cents(const std::string& note);

// The perde of the 53-comma theory (one comma = 1200/53 cents, Kaba Çârgâh = C4) whose pitch
// lies within `tolerance` cents of `cents`, if it has a name from Kaba Rast (G3) to Tiz
// Gerdâniye (G6).
inline constexpr double kPerdeTolerance = 5.0;
std::optional<std::string> perde_name(double cents, double tolerance = kPerdeTolerance);

// A natural note's place in a tuning system.
struct NaturalDegree {
    long long degree = 0;
    std::string note;        // "E5"
    double pythagorean = 0;  // its Pythagorean pitch, cents above C4
};

// The note rule: the natural nearest in degrees to `degree` (cents: its pitch), with the
// signed offset. Of two naturals equally far in degrees, the one nearer in pitch, then the
// lower. `naturals` must not be empty.
std::string note_degree_name(long long degree, double cents,
                             const std::vector<NaturalDegree>& naturals);

// Both rules: the perde's name when `perdes` and one lies near, else the note rule.
std::string degree_name(long long degree, double cents, const std::vector<NaturalDegree>& naturals,
                        bool perdes);

// A name as the degree list holds it: left-aligned in exactly 30 characters, cut after the
// 30th or padded with spaces. A character is one UTF-8 sequence, so a Turkish letter counts
// once.
std::string fit_degree_name(const std::string& text);

// The natural notes C1..B7, for placing on a system's degrees.
std::vector<std::string> natural_notes();

}  // namespace orvena
