#include "presets/scala_export.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "files/output_batch.h"
#include "files/shown_text.h"
#include "files/system_reason.h"

namespace orvena {
namespace {

namespace fs = std::filesystem;

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

// Makes folder when it is missing; first_made is then the highest folder made, for taking
// them away again.
std::optional<std::string> make_folder(const fs::path& folder, fs::path& first_made) {
    std::error_code ec;
    const fs::file_status status = fs::status(folder, ec);
    if (fs::is_directory(status)) return std::nullopt;
    if (fs::exists(status)) return in_quotes(folder) + " bir klasör değil.";
    fs::path missing = folder;
    while (missing.has_parent_path() && !fs::exists(missing.parent_path(), ec)) {
        missing = missing.parent_path();
    }
    if (!fs::create_directories(folder, ec) && ec) {
        return in_quotes(folder) + " klasörü oluşturulamadı: " + system_reason(ec.value()) + ".";
    }
    first_made = missing;
    return std::nullopt;
}

// Takes away the folders make_folder made, as far as they are still empty.
void remove_made_folders(fs::path folder, const fs::path& first_made) {
    std::error_code ec;
    for (; !first_made.empty(); folder = folder.parent_path()) {
        if (!fs::remove(folder, ec) || folder == first_made) break;
    }
}

}  // namespace

double sounding_cents(const InstrumentState& st, int s, int p) {
    return st.tables.cents(s, p) + st.settings.akord_offset[s];
}

std::string tuning_scl(const TuningTables& tables) {
    std::vector<double> pitches;
    for (int d = kDegreeLo; d <= kDegreeHi; ++d) {
        const double c = tables.degrees[d].degree_cents;
        const bool empty = tables.degrees[d].string_1 == 0 && tables.degrees[d].string_2 == 0 &&
                           tables.degrees[d].string_3 == 0;
        if (!empty && c > kOctaveTolerance && c < 1200.0 + kOctaveTolerance) pitches.push_back(c);
    }
    std::sort(pitches.begin(), pitches.end());
    pitches.erase(std::unique(pitches.begin(), pitches.end(),
                              [](double a, double b) { return b - a < kOctaveTolerance; }),
                  pitches.end());
    if (pitches.empty() || std::fabs(pitches.back() - 1200.0) >= kOctaveTolerance)
        pitches.push_back(1200.0);
    const std::string description = tables.scale_tuning ? "ORVENA tuning system " + tables.name
                                                        : "ORVENA tuning workbook " + tables.name;
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

std::optional<std::string> write_scala_files(const fs::path& folder, const std::string& name,
                                             const InstrumentState& st,
                                             const PerString<std::int16_t>& positions,
                                             const fs::path& program_folder, bool devices_allowed,
                                             const std::vector<fs::path>& inputs) {
    fs::path first_made;
    if (auto problem = make_folder(folder, first_made)) return problem;
    const auto write_all = [&]() -> std::optional<std::string> {
        OutputBatch batch(
            {{program_folder}, inputs, devices_allowed});  // gone, with what it staged, on return
        if (auto problem = batch.add(folder / "dizek.scl", tuning_scl(st.tables))) return problem;
        if (auto problem = batch.add(folder / (name + ".scl"), setting_scl(st, positions, name)))
            return problem;
        if (auto problem = batch.add(folder / (name + ".kbm"), setting_kbm(st, positions)))
            return problem;
        return batch.commit();
    };
    auto problem = write_all();
    if (problem) remove_made_folders(folder, first_made);
    return problem;
}

}  // namespace orvena
