#pragma once
// Sequence files (".ses"): a melody as records of ten whole numbers, each fitting 16 bits,
// separated by commas, spaces or line ends in any mix. One record per line is usual, but the
// reader only counts numbers. Read in layers: a record at a time from text (what playback
// uses, so earlier records play before a broken one is reached), all records of a text, and
// all records of a file. Every failure is one SequenceFileError saying where and why.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "tuning/number_format.h"

namespace orvena {

inline constexpr int kSequenceRecordFields = 10;

struct SequenceRecord {
    std::int16_t tuplet_flag = 0;          // > 0: part of a triplet
    std::int16_t pitch_code = 0;           // 0..25 a note, 26..31 a rest, else skipped
    std::int16_t length_code = 0;          // 1..6 note value, 0 skipped, else the last duration
    std::int16_t file_lever = 0;           // lever position the file gives the note
    std::int16_t dot_flag = 0;             // 1: dotted
    std::array<std::int16_t, 4> unused{};  // fields 6..9, read and ignored
    std::int16_t accidental_flag = 0;      // 1: the note carries its own accidental

    bool operator==(const SequenceRecord&) const = default;
};

class SequenceFileError : public std::runtime_error {
  public:
    // record: 1-based number of the record being read (0: the file itself failed);
    // field: 1..10 within that record (0: none); line: 1-based line of the text (0: none).
    SequenceFileError(const std::string& why, int record, int field, int line);
    int record() const { return record_; }
    int field() const { return field_; }
    int line() const { return line_; }
    const std::string& why() const { return why_; }

  private:
    std::string why_;
    int record_;
    int field_;
    int line_;
};

// Hands out the records of a sequence text one by one.
class SequenceReader {
  public:
    explicit SequenceReader(std::string text) : numbers_(std::move(text)) {}

    // True when only blanks remain.
    bool at_end() { return numbers_.at_end(); }
    // The next record, or nothing at the end of the text. A field with decimals is rounded
    // to the nearest whole number (a tie to the even one). Throws SequenceFileError for a
    // field that is not a number or does not fit 16 bits, and for a record cut short.
    std::optional<SequenceRecord> next();
    // Records handed out (or being read, while next() throws).
    int records_read() const { return records_; }

  private:
    NumberTextReader numbers_;
    int records_ = 0;
};

// Every record of a text; the first fault throws.
std::vector<SequenceRecord> parse_sequence(const std::string& text);

// The whole text of a sequence file; a file that cannot be opened or read throws
// SequenceFileError with record 0.
std::string read_sequence_text(const std::filesystem::path& file);
std::vector<SequenceRecord> read_sequence_file(const std::filesystem::path& file);

}  // namespace orvena
