#pragma once
// Scala scale files (.scl) and keyboard mappings (.kbm), as the many scale tools write them.
// Built in layers: the texts are read from strings (parse_scl, parse_kbm), then from files
// (read_scala_files). Every fault is one ScalaFileError saying which file, which line and
// what is wrong, in Turkish for the user.

#include <array>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace orvena {

class ScalaFileError : public std::runtime_error {
  public:
    // line: 1-based line of the text, 0 when the fault is the file's as a whole.
    ScalaFileError(std::string file, int line, std::string reason);
    const std::string& file() const { return file_; }
    int line() const { return line_; }
    const std::string& reason() const { return reason_; }

  private:
    std::string file_;
    int line_;
    std::string reason_;
};

// Bounds of what a scale may hold: more notes than this, or a pitch higher than this, is not
// a scale anyone tunes an instrument to, and would only cost memory and time.
inline constexpr int kMaxScaleNotes = 1000;
inline constexpr double kMaxScaleCents = 12000.0;  // ten octaves
// A scale or mapping file larger than this is refused before it is read.
inline constexpr std::size_t kMaxScalaFileBytes = 256 * 1024;

struct ScalaScale {
    // Pitches of degrees 1..count in cents above degree 0, strictly rising; the last one is
    // the period (usually the octave, 1200).
    std::vector<double> cents;
    // The line each pitch was read from, and the line of the count.
    std::vector<int> lines;
    int count_line = 0;

    int count() const { return static_cast<int>(cents.size()); }
    double period() const { return cents.back(); }
    // Cents of degree k above degree 0, for any k: whole periods plus the pitch within one.
    double degree_cents(long long k) const;
    // The line of the pitch that degree k repeats (the period line for whole periods).
    int line_of_degree(long long k) const;
};

// The instrument's strings, for a mapping that retunes one key for each.
inline constexpr long long kScalaStrings = 26;

// What a keyboard mapping says of its scale: the frequency of degree 0 in hertz, and, when it
// retunes exactly 26 keys (as the program's own Scala export writes), the degree each of
// those keys plays, the lowest key first: the lowest string (26) first.
struct ScalaReference {
    double degree0_hz = 0.0;
    std::optional<std::array<long long, kScalaStrings>> string_degrees;
};

// Texts: `file` only names the text in errors. Both throw ScalaFileError.
ScalaScale parse_scl(const std::string& text, const std::string& file = "");
ScalaReference parse_kbm(const std::string& text, const ScalaScale& scale,
                         const std::string& file = "");

// A scale file and, when one of the same name lies beside it, its mapping (name.kbm).
struct ScalaFiles {
    ScalaScale scale;
    std::optional<ScalaReference> reference;
};

// Reads a regular file of at most kMaxScalaFileBytes; throws ScalaFileError.
std::string read_scala_text(const std::filesystem::path& file);
ScalaFiles read_scala_files(const std::filesystem::path& scl);

}  // namespace orvena
