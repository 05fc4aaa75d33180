#pragma once
// A small Scala reader of our own, written from the format's rules rather than from the
// exporter: '!' lines are comments, the first other line is the description, the next the
// count; each pitch is the first token of its line (leading blanks skipped, anything after it
// ignored): cents when it holds a '.', else a ratio a/b or a whole number.

#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace orvena::test {

inline std::vector<std::string> scala_lines(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] != '!') lines.push_back(line);
    }
    return lines;
}

inline double scala_pitch(const std::string& line) {
    std::istringstream in(line);
    std::string token;
    in >> token;
    if (token.empty()) throw std::runtime_error("empty pitch line");
    if (token.find('.') != std::string::npos) return std::stod(token);
    const auto slash = token.find('/');
    const double num = std::stod(token.substr(0, slash));
    const double den = slash == std::string::npos ? 1.0 : std::stod(token.substr(slash + 1));
    return 1200.0 * std::log2(num / den);
}

struct Scl {
    std::string description;
    std::vector<double> cents;     // degree 1..count
    std::vector<std::string> raw;  // the pitch lines as written
};

inline Scl read_scl(const std::string& file) {
    const auto lines = scala_lines(file);
    Scl scl;
    scl.description = lines.at(0);
    const int count = std::stoi(lines.at(1));
    if (static_cast<int>(lines.size()) != count + 2) throw std::runtime_error("count mismatch");
    for (int i = 0; i < count; ++i) {
        scl.raw.push_back(lines[2 + i]);
        scl.cents.push_back(scala_pitch(lines[2 + i]));
    }
    return scl;
}

// Frequency of each MIDI key 0..127 under an .scl/.kbm pair; 0 for keys not retuned.
inline std::vector<double> key_frequencies(const Scl& scl, const std::string& kbm_file) {
    const auto lines = scala_lines(kbm_file);
    std::vector<int> field;
    for (int i = 0; i < 5; ++i) field.push_back(std::stoi(lines.at(i)));
    const double reference_frequency = std::stod(lines.at(5));
    const int octave_degree = std::stoi(lines.at(6));
    const int size = field[0], first = field[1], last = field[2], middle = field[3];
    const auto degree_cents = [&](int d) { return d == 0 ? 0.0 : scl.cents.at(d - 1); };
    const auto cents_of_key = [&](int key) {
        const int m = key - middle;
        const int octave = (m >= 0 ? m : m - size + 1) / size;
        const int degree = std::stoi(lines.at(7 + m - octave * size));
        return degree_cents(degree) + octave * degree_cents(octave_degree);
    };
    std::vector<double> f(128, 0.0);
    for (int key = first; key <= last; ++key)
        f[key] =
            reference_frequency * std::exp2((cents_of_key(key) - cents_of_key(field[4])) / 1200.0);
    return f;
}

}  // namespace orvena::test
