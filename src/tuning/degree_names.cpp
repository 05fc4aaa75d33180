#include "tuning/degree_names.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <stdexcept>

namespace orvena {

namespace {

constexpr const char* kLetters = "CDEFGAB";
// Numerator and denominator of each natural's Pythagorean ratio above C.
constexpr std::array<std::array<int, 2>, 7> kRatios = {
    {{1, 1}, {9, 8}, {81, 64}, {4, 3}, {3, 2}, {27, 16}, {243, 128}}};

constexpr int kCommasPerOctave = 53;
constexpr double kCommaCents = 1200.0 / kCommasPerOctave;

// The perdes of one octave by commas above its Çârgâh (C), as Turkish makam theory names
// them; the octave from Kaba Çârgâh (C4) and the one from Çârgâh (C5).
struct Perde {
    int commas;
    const char* low;   // C4 .. C5
    const char* high;  // C5 .. C6
};
constexpr std::array<Perde, 24> kPerdes = {{
    {0, "Kaba Çârgâh", "Çârgâh"},
    {4, "Kaba Nim Hicaz", "Nim Hicaz"},
    {5, "Kaba Hicaz", "Hicaz"},
    {8, "Kaba Dik Hicaz", "Dik Hicaz"},
    {9, "Yegâh", "Nevâ"},
    {13, "Kaba Nim Hisar", "Nim Hisar"},
    {14, "Kaba Hisar", "Hisar"},
    {17, "Kaba Dik Hisar", "Dik Hisar"},
    {18, "Hüseynî Aşîrân", "Hüseynî"},
    {22, "Acem Aşîrân", "Acem"},
    {23, "Dik Acem Aşîrân", "Dik Acem"},
    {26, "Irak", "Eviç"},
    {27, "Geveşt", "Mahur"},
    {30, "Dik Geveşt", "Dik Mahur"},
    {31, "Rast", "Gerdâniye"},
    {35, "Nim Zirgüle", "Nim Şehnaz"},
    {36, "Zirgüle", "Şehnaz"},
    {39, "Dik Zirgüle", "Dik Şehnaz"},
    {40, "Dügâh", "Muhayyer"},
    {44, "Kürdî", "Sünbüle"},
    {45, "Dik Kürdî", "Dik Sünbüle"},
    {48, "Segâh", "Tiz Segâh"},
    {49, "Bûselik", "Tiz Bûselik"},
    {52, "Dik Bûselik", "Tiz Dik Bûselik"},
}};
// The octaves below and above take "Kaba" and "Tiz" before the names of the octave next to
// them: below, from Rast (G3) up; above, up to Gerdâniye (G6).
constexpr int kFirstKabaCommas = 31;
constexpr int kLastTizCommas = 31;

std::optional<std::string> name_at_commas(int commas) {
    const int octave =
        commas >= 0 ? commas / kCommasPerOctave : -1 - (-commas - 1) / kCommasPerOctave;
    const int within = commas - octave * kCommasPerOctave;
    for (const Perde& p : kPerdes) {
        if (p.commas != within) continue;
        switch (octave) {
            case -1:
                if (within >= kFirstKabaCommas) return std::string("Kaba ") + p.low;
                return std::nullopt;
            case 0:
                return std::string(p.low);
            case 1:
                return std::string(p.high);
            case 2:
                if (within <= kLastTizCommas) return std::string("Tiz ") + p.high;
                return std::nullopt;
            default:
                return std::nullopt;
        }
    }
    return std::nullopt;
}

int letter_index(char letter) {
    for (int i = 0; i < 7; ++i)
        if (kLetters[i] == letter) return i;
    throw std::invalid_argument(std::string("not a natural note: ") + letter);
}

}  // namespace

double pythagorean_cents(const std::string& note) {
    if (note.size() != 2 || note[1] < '0' || note[1] > '9')
        throw std::invalid_argument("not a natural note: " + note);
    const auto& r = kRatios[static_cast<std::size_t>(letter_index(note[0]))];
    return 1200.0 * (note[1] - '4') + 1200.0 * std::log2(static_cast<double>(r[0]) / r[1]);
}

std::optional<std::string> perde_name(double cents, double tolerance) {
    if (!std::isfinite(cents) || std::fabs(cents) > 1e6) return std::nullopt;
    const int commas = static_cast<int>(std::lround(cents / kCommaCents));
    if (std::fabs(cents - commas * kCommaCents) > tolerance) return std::nullopt;
    return name_at_commas(commas);
}

std::string note_degree_name(long long degree, double cents,
                             const std::vector<NaturalDegree>& naturals) {
    const NaturalDegree* best = nullptr;
    for (const NaturalDegree& n : naturals) {
        if (best == nullptr) {
            best = &n;
            continue;
        }
        const long long d = std::llabs(degree - n.degree);
        const long long b = std::llabs(degree - best->degree);
        const double dc = std::fabs(cents - n.pythagorean);
        const double bc = std::fabs(cents - best->pythagorean);
        if (d < b || (d == b && dc < bc)) best = &n;
    }
    if (best == nullptr) throw std::invalid_argument("no natural notes");
    const long long offset = degree - best->degree;
    if (offset == 0) return best->note;
    // The minus sign proper, as the panel prints it.
    return best->note + (offset > 0 ? " +" : " \u2212") + std::to_string(std::llabs(offset));
}

std::string degree_name(long long degree, double cents, const std::vector<NaturalDegree>& naturals,
                        bool perdes) {
    if (perdes) {
        if (auto name = perde_name(cents)) return *name;
    }
    return note_degree_name(degree, cents, naturals);
}

std::vector<std::string> natural_notes() {
    std::vector<std::string> notes;
    for (char octave = '1'; octave <= '7'; ++octave)
        for (int i = 0; i < 7; ++i) notes.push_back(std::string{kLetters[i], octave});
    return notes;
}

std::string fit_degree_name(const std::string& text) {
    constexpr std::size_t kNameLength = 30;
    std::size_t i = 0;
    std::size_t count = 0;
    while (i < text.size() && count < kNameLength) {
        ++i;
        while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
        ++count;
    }
    return text.substr(0, i) + std::string(kNameLength - count, ' ');
}

}  // namespace orvena
