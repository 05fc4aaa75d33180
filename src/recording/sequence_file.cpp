#include "recording/sequence_file.h"

#include "files/user_file.h"

#include "tuning/rounding.h"

namespace orvena {

SequenceFileError::SequenceFileError(const std::string& why, int record, int field, int line)
    : std::runtime_error("alan " + std::to_string(field) + ", satır " + std::to_string(line) +
                         ": " + why),
      why_(why),
      record_(record),
      field_(field),
      line_(line) {}

std::optional<SequenceRecord> SequenceReader::next() {
    if (numbers_.at_end()) return std::nullopt;
    const int record = ++records_;
    std::array<std::int16_t, kSequenceRecordFields> f{};
    for (int i = 0; i < kSequenceRecordFields; ++i) {
        const int field = i + 1;
        std::optional<double> value;
        try {
            value = numbers_.next();
        } catch (const NumberFileError& e) {
            throw SequenceFileError(e.what(), record, field, e.line());
        }
        if (!value) {
            throw SequenceFileError("metin bitti; kayıtta " +
                                        std::to_string(kSequenceRecordFields) + " sayıdan yalnız " +
                                        std::to_string(i) + " tanesi var",
                                    record, field, numbers_.line());
        }
        try {
            f[static_cast<std::size_t>(i)] = to_int16(*value);
        } catch (const NumberOverflow&) {
            throw SequenceFileError("sayı 16 bite sığmıyor", record, field, numbers_.line());
        }
    }
    SequenceRecord r;
    r.tuplet_flag = f[0];
    r.pitch_code = f[1];
    r.length_code = f[2];
    r.file_lever = f[3];
    r.dot_flag = f[4];
    r.unused = {f[5], f[6], f[7], f[8]};
    r.accidental_flag = f[9];
    return r;
}

std::vector<SequenceRecord> parse_sequence(const std::string& text) {
    SequenceReader reader(text);
    std::vector<SequenceRecord> records;
    while (auto record = reader.next()) records.push_back(*record);
    return records;
}

std::string read_sequence_text(const std::filesystem::path& file) {
    UserFileRead read = read_user_file(file, kMaxTextFileBytes);
    if (read.problem) throw SequenceFileError(*read.problem, 0, 0, 0);
    return std::move(read.bytes);
}

std::vector<SequenceRecord> read_sequence_file(const std::filesystem::path& file) {
    return parse_sequence(read_sequence_text(file));
}

}  // namespace orvena
