#include "tuning/scala_scale.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <system_error>
#include <vector>

#include "files/shown_text.h"
#include "files/user_file.h"

namespace orvena {

// The name in quotes, as the user may have typed it: control bytes and bidi marks escaped.
ScalaFileError::ScalaFileError(std::string file, int line, std::string reason)
    : std::runtime_error(in_quotes(file) + (line > 0 ? ", satır " + std::to_string(line) : "") +
                         ": " + reason),
      file_(std::move(file)),
      line_(line),
      reason_(std::move(reason)) {}

namespace {

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

// The lines of a text that are not comments ('!' first), with their numbers. A NUL byte
// anywhere means the file is not text at all.
class ScalaLines {
  public:
    ScalaLines(const std::string& text, std::string file) : text_(text), file_(std::move(file)) {
        // A byte-order mark is not part of the first line.
        if (text_.rfind("\xEF\xBB\xBF", 0) == 0) pos_ = 3;
    }

    // The next line that is not a comment, without its line end; nothing at the end.
    std::optional<std::string> next() {
        while (pos_ < text_.size()) {
            const std::size_t end = std::min(text_.find('\n', pos_), text_.size());
            std::string line = text_.substr(pos_, end - pos_);
            pos_ = end + 1;
            ++line_;
            if (line.find('\0') != std::string::npos) fail("metin değil (ikili veri var)");
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (!line.empty() && line[0] == '!') continue;
            return line;
        }
        return std::nullopt;
    }

    int line() const { return line_; }
    [[noreturn]] void fail(const std::string& reason) const {
        throw ScalaFileError(file_, line_, reason);
    }
    [[noreturn]] void fail_at(int line, const std::string& reason) const {
        throw ScalaFileError(file_, line, reason);
    }

  private:
    const std::string& text_;
    std::string file_;
    std::size_t pos_ = 0;
    int line_ = 0;
};

// The first word of a line: leading blanks skipped, everything after the next blank ignored.
std::string first_word(const std::string& line) {
    std::size_t b = 0;
    while (b < line.size() && is_blank(line[b])) ++b;
    std::size_t e = b;
    while (e < line.size() && !is_blank(line[e])) ++e;
    return line.substr(b, e - b);
}

bool all_digits(const std::string& s) {
    if (s.empty()) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

std::string quoted(const std::string& word) {
    return "\"" + word + "\"";
}

// A whole number written with digits and an optional minus sign.
std::optional<long long> whole_number(const std::string& word) {
    const bool negative = !word.empty() && word[0] == '-';
    const std::string digits = negative ? word.substr(1) : word;
    if (!all_digits(digits)) return std::nullopt;
    long long value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return negative ? -value : value;
}

// A decimal number: an optional sign, digits with at most one point, at least one digit.
std::optional<double> decimal_number(const std::string& word) {
    const bool negative = !word.empty() && word[0] == '-';
    const std::string body =
        !word.empty() && (word[0] == '-' || word[0] == '+') ? word.substr(1) : word;
    const std::size_t point = body.find('.');
    const std::string whole = body.substr(0, point);
    const std::string fraction = point == std::string::npos ? "" : body.substr(point + 1);
    const bool digits_only = (whole.empty() || all_digits(whole)) &&
                             (fraction.empty() || all_digits(fraction)) &&
                             !(whole.empty() && fraction.empty());
    if (!digits_only) return std::nullopt;
    double value = 0.0;
    const auto [end, ec] =
        std::from_chars(body.data(), body.data() + body.size(), value, std::chars_format::fixed);
    if (ec != std::errc() || end != body.data() + body.size() || !std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

double parse_cents(const ScalaLines& in, const std::string& word) {
    const auto value = decimal_number(word);
    if (!value) in.fail(quoted(word) + " bir sent değeri değil");
    return *value;
}

double ratio_part(const ScalaLines& in, const std::string& word, const std::string& part,
                  bool denominator) {
    if (!part.empty() && part[0] == '-') in.fail(quoted(word) + " negatif bir oran");
    if (!all_digits(part)) in.fail(quoted(word) + " bir oran ya da sent değeri değil");
    double value = 0.0;
    const auto [end, ec] =
        std::from_chars(part.data(), part.data() + part.size(), value, std::chars_format::fixed);
    if (ec != std::errc() || end != part.data() + part.size() || !std::isfinite(value))
        in.fail(quoted(word) + " akla yatkın bir oran değil");
    if (value == 0.0)
        in.fail(quoted(word) +
                (denominator ? " bir oran değil; paydası sıfır" : " sıfır bir oran"));
    return value;
}

// A pitch line: cents when the value holds a point, else a ratio a/b or a whole number.
double parse_pitch(const ScalaLines& in, const std::string& line) {
    const std::string word = first_word(line);
    if (word.empty()) in.fail("perde değeri yok; satır boş");
    if (word.find('.') != std::string::npos) return parse_cents(in, word);
    const std::size_t slash = word.find('/');
    const double num = ratio_part(in, word, word.substr(0, slash), false);
    const double den =
        slash == std::string::npos ? 1.0 : ratio_part(in, word, word.substr(slash + 1), true);
    return 1200.0 * std::log2(num / den);
}

std::string cents_text(double cents) {
    char text[48];
    std::snprintf(text, sizeof text, "%.3f", cents);
    return text;
}

}  // namespace

double ScalaScale::degree_cents(long long k) const {
    const long long n = count();
    long long periods = k / n;
    long long within = k % n;
    if (within < 0) {
        within += n;
        --periods;
    }
    return static_cast<double>(periods) * period() +
           (within == 0 ? 0.0 : cents[static_cast<std::size_t>(within - 1)]);
}

int ScalaScale::line_of_degree(long long k) const {
    const long long n = count();
    long long within = k % n;
    if (within < 0) within += n;
    return lines[static_cast<std::size_t>(within == 0 ? n - 1 : within - 1)];
}

ScalaScale parse_scl(const std::string& text, const std::string& file) {
    ScalaLines in(text, file);
    ScalaScale scale;
    // The first line is the scale's description, which the program does not show.
    if (!in.next()) {
        if (in.line() == 0) in.fail_at(1, "dosya boş");
        in.fail_at(in.line() + 1, "açıklama satırı yok");
    }

    const auto count_line = in.next();
    if (!count_line) in.fail_at(in.line() + 1, "perde sayısı satırı yok");
    scale.count_line = in.line();
    const std::string word = first_word(*count_line);
    const auto count = whole_number(word);
    if (!count) in.fail(quoted(word) + " perde sayısı olarak bir tamsayı değil");
    if (*count < 1) in.fail("perde sayısı en az 1 olmalı (en az peryot perdesi)");
    if (*count > kMaxScaleNotes)
        in.fail("perde sayısı " + word + " çok büyük; en çok " + std::to_string(kMaxScaleNotes));

    double previous = 0.0;
    for (long long i = 0; i < *count; ++i) {
        const auto line = in.next();
        if (!line) {
            in.fail_at(scale.count_line, "perde sayısı " + std::to_string(*count) +
                                             ", ama dosyada yalnız " + std::to_string(i) +
                                             " perde var");
        }
        const double cents = parse_pitch(in, *line);
        if (cents > kMaxScaleCents)
            in.fail(cents_text(cents) + " sent akla yatkın değil; en çok " +
                    cents_text(kMaxScaleCents) + " sent");
        if (!(cents > previous))
            in.fail("perde bir öncekinden yüksek değil (" + cents_text(cents) + " sent, önceki " +
                    cents_text(previous) + " sent)");
        scale.cents.push_back(cents);
        scale.lines.push_back(in.line());
        previous = cents;
    }
    return scale;
}

namespace {

// The numbered fields a mapping starts with, in order.
enum KbmField { kSize, kFirstKey, kLastKey, kMiddleKey, kReferenceKey, kFrequency, kOctave };
constexpr const char* kFieldNames[] = {"eşleme boyu",   "ilk tuş",      "son tuş",
                                       "orta tuş",      "başvuru tuşu", "başvuru frekansı",
                                       "oktav derecesi"};

long long kbm_whole(ScalaLines& in, KbmField field, long long lo, long long hi) {
    const auto line = in.next();
    if (!line) in.fail_at(in.line() + 1, std::string(kFieldNames[field]) + " satırı yok");
    const std::string word = first_word(*line);
    const auto value = whole_number(word);
    if (!value) in.fail(quoted(word) + " " + kFieldNames[field] + " olarak bir tamsayı değil");
    if (*value < lo || *value > hi)
        in.fail(std::string(kFieldNames[field]) + " " + word + ", " + std::to_string(lo) + ".." +
                std::to_string(hi) + " aralığının dışında");
    return *value;
}

}  // namespace

ScalaReference parse_kbm(const std::string& text, const ScalaScale& scale,
                         const std::string& file) {
    ScalaLines in(text, file);
    const long long size = kbm_whole(in, kSize, 0, kMaxScaleNotes);
    const long long first_key = kbm_whole(in, kFirstKey, 0, 127);
    const long long last_key = kbm_whole(in, kLastKey, 0, 127);
    const long long middle = kbm_whole(in, kMiddleKey, 0, 127);
    const long long reference_key = kbm_whole(in, kReferenceKey, 0, 127);
    const int reference_key_line = in.line();

    const auto frequency_line = in.next();
    if (!frequency_line) in.fail_at(in.line() + 1, "başvuru frekansı satırı yok");
    const int frequency_line_no = in.line();
    const std::string word = first_word(*frequency_line);
    const double hz = decimal_number(word).value_or(0.0);
    if (!(hz > 0.0))
        in.fail(quoted(word) + " başvuru frekansı olarak sıfırdan büyük bir sayı değil");
    const long long octave = kbm_whole(in, kOctave, 0, kMaxScaleNotes);
    const long long octave_degree = octave == 0 ? scale.count() : octave;

    // The mapping: one entry per key of a cycle; 'x' and missing entries leave a key unmapped.
    std::vector<std::optional<long long>> mapping;
    for (long long i = 0; i < size; ++i) {
        const auto line = in.next();
        if (!line) break;
        const std::string e = first_word(*line);
        if (e == "x" || e == "X") {
            mapping.emplace_back();
            continue;
        }
        const auto entry = whole_number(e);
        if (!entry || *entry < 0 || *entry > kMaxScaleNotes)
            in.fail(quoted(e) + " bir perde numarası ya da x değil");
        mapping.emplace_back(entry);
    }
    // The degree a key plays and its whole cycles: each cycle one formal octave higher.
    struct KeyDegree {
        long long entry, cycles;
    };
    const auto degree_of_key = [&](long long key) -> std::optional<KeyDegree> {
        const long long offset = key - middle;
        if (size == 0) return KeyDegree{offset, 0};
        const long long cycles = offset >= 0 ? offset / size : -((-offset + size - 1) / size);
        const auto slot = static_cast<std::size_t>(offset - cycles * size);
        if (slot >= mapping.size() || !mapping[slot]) return std::nullopt;
        return KeyDegree{*mapping[slot], cycles};
    };

    const auto reference = degree_of_key(reference_key);
    if (!reference) {
        in.fail_at(reference_key_line,
                   "başvuru tuşu " + std::to_string(reference_key) + " hiçbir perdeye eşlenmemiş");
    }
    const double cents = scale.degree_cents(reference->entry) +
                         static_cast<double>(reference->cycles) * scale.degree_cents(octave_degree);
    ScalaReference result;
    result.degree0_hz = hz / std::exp2(cents / 1200.0);
    if (!(result.degree0_hz > 0.0) || !std::isfinite(result.degree0_hz))
        in.fail_at(frequency_line_no, "başvuru tuşunun eşlemesi akla yatkın bir perde vermiyor");

    // A mapping of exactly one key per string, every key mapped, places the strings itself.
    if (last_key - first_key + 1 == kScalaStrings) {
        std::array<long long, kScalaStrings> degrees{};
        for (long long i = 0; i < kScalaStrings; ++i) {
            const auto key = degree_of_key(first_key + i);
            if (!key) return result;
            degrees[static_cast<std::size_t>(i)] = key->entry + key->cycles * octave_degree;
        }
        result.string_degrees = degrees;
    }
    return result;
}

std::string read_scala_text(const std::filesystem::path& file) {
    // A FIFO or a device under the name is refused without being opened.
    UserFileRead read = read_user_file(file, kMaxScalaFileBytes);
    if (read.problem) throw ScalaFileError(file.filename().string(), 0, *read.problem);
    return std::move(read.bytes);
}

ScalaFiles read_scala_files(const std::filesystem::path& scl) {
    ScalaFiles files;
    files.scale = parse_scl(read_scala_text(scl), scl.filename().string());
    std::filesystem::path kbm = scl;
    kbm.replace_extension(".kbm");
    std::error_code ec;
    if (std::filesystem::exists(kbm, ec)) {
        files.reference = parse_kbm(read_scala_text(kbm), files.scale, kbm.filename().string());
    }
    return files;
}

}  // namespace orvena
