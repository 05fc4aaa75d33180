#include "presets/scala_export.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <vector>

namespace orvena {
namespace {

constexpr double kOctaveTolerance = 0.001;

// One pitch line: a ratio for a whole number of octaves, else cents with a decimal point.
std::string pitch_line(double cents) {
    const double octaves = std::round(cents / 1200.0);
    char text[64];
    if (octaves >= 1 && octaves <= 30 && std::fabs(cents - 1200.0 * octaves) < kOctaveTolerance)
        std::snprintf(text, sizeof text, " %.0f/1", std::ldexp(1.0, static_cast<int>(octaves)));
    else
        std::snprintf(text, sizeof text, " %.6f", cents);
    return text;
}

std::string scl(const std::string& file_name, const std::string& description,
                const std::vector<double>& pitches) {
    std::string text = "! " + file_name + "\r\n!\r\n" + description + "\r\n " +
                       std::to_string(pitches.size()) + "\r\n!\r\n";
    for (double c : pitches) text += pitch_line(c) + "\r\n";
    return text;
}

bool write_file(const std::filesystem::path& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return static_cast<bool>(out);
}

}  // namespace

double sounding_cents(const InstrumentState& st, int s, int p) {
    return st.cents(s, p) + st.akord_offset[s];
}

std::string tuning_scl(const InstrumentState& st) {
    std::vector<double> pitches;
    for (int d = kDegreeLo; d <= kDegreeHi; ++d) {
        const double c = st.degrees[d].degree_cents;
        const bool empty = st.degrees[d].string_1 == 0 && st.degrees[d].string_2 == 0 &&
                           st.degrees[d].string_3 == 0;
        if (!empty && c > kOctaveTolerance && c < 1200.0 + kOctaveTolerance) pitches.push_back(c);
    }
    std::sort(pitches.begin(), pitches.end());
    pitches.erase(std::unique(pitches.begin(), pitches.end(),
                              [](double a, double b) { return b - a < kOctaveTolerance; }),
                  pitches.end());
    if (pitches.empty() || std::fabs(pitches.back() - 1200.0) >= kOctaveTolerance)
        pitches.push_back(1200.0);
    const std::string description = st.scale_tuning ? "ORVENA tuning system " + st.tuning_name
                                                    : "ORVENA tuning workbook " + st.tuning_name;
    return scl("dizek.scl", description, pitches);
}

std::string setting_scl(const InstrumentState& st, const PerString<std::int16_t>& positions,
                        const std::string& name) {
    const double base = sounding_cents(st, kStringCount, positions[kStringCount]);
    std::vector<double> pitches;
    for (int s = kStringCount - 1; s >= 1; --s)
        pitches.push_back(sounding_cents(st, s, positions[s]) - base);
    // The period: four octaves, above any string. Keys beyond string 1 are not retuned.
    pitches.push_back(4800.0);
    return scl(name + ".scl", "ORVENA lever setting " + name, pitches);
}

std::string setting_kbm(const InstrumentState& st, const PerString<std::int16_t>& positions) {
    const double cents = sounding_cents(st, kStringCount, positions[kStringCount]);
    char frequency[64];
    std::snprintf(frequency, sizeof frequency, "%.6f", 262.0 * std::exp2(cents / 1200.0));
    const int last_key = kScalaFirstKey + kStringCount - 1;
    std::string text = "! 26 strings on consecutive keys: string 26 on key " +
                       std::to_string(kScalaFirstKey) + ", string 1 on key " +
                       std::to_string(last_key) + "\r\n!\r\n";
    const auto field = [&text](const std::string& comment, const std::string& value) {
        text += "! " + comment + "\r\n" + value + "\r\n";
    };
    field("Size of map", std::to_string(kStringCount));
    field("First MIDI note number to retune", std::to_string(kScalaFirstKey));
    field("Last MIDI note number to retune", std::to_string(last_key));
    field("Middle note where the first entry of the mapping is mapped to",
          std::to_string(kScalaFirstKey));
    field("Reference note for which frequency is given", std::to_string(kScalaFirstKey));
    field("Frequency to tune the above note to", frequency);
    field("Scale degree to consider as formal octave", std::to_string(kStringCount));
    text += "! Mapping: key " + std::to_string(kScalaFirstKey) + " + i plays string 26 - i\r\n";
    for (int i = 0; i < kStringCount; ++i) text += std::to_string(i) + "\r\n";
    return text;
}

std::optional<std::string> write_scala_files(const std::filesystem::path& folder,
                                             const std::string& name, const InstrumentState& st,
                                             const PerString<std::int16_t>& positions) {
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) return "no such folder: " + folder.string();
    const std::filesystem::path scl_file = folder / (name + ".scl");
    const std::filesystem::path kbm_file = folder / (name + ".kbm");
    const std::filesystem::path tuning_file = folder / "dizek.scl";
    if (!write_file(tuning_file, tuning_scl(st))) return "cannot write " + tuning_file.string();
    if (!write_file(scl_file, setting_scl(st, positions, name)))
        return "cannot write " + scl_file.string();
    if (!write_file(kbm_file, setting_kbm(st, positions)))
        return "cannot write " + kbm_file.string();
    return std::nullopt;
}

}  // namespace orvena
