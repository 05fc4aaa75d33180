#include "recording/record_file.h"

#include <system_error>

#include "tuning/rounding.h"

namespace orvena {

namespace {
double next_field(NumberTextReader& reader) {
    const std::optional<double> value = reader.next();
    if (!value) throw NumberFileError("kayıtta üç sayı olmalı; metin önce bitiyor", reader.line());
    return *value;
}
}  // namespace

std::string format_record(const Record& record) {
    return join_print_zones({print_form(record.string), print_form(record.lever),
                             print_form(record.interval_ms)}) +
           std::string(kLineEnd);
}

Record read_record(NumberTextReader& reader) {
    Record record;
    record.string = to_int16(next_field(reader));
    record.lever = to_int16(next_field(reader));
    record.interval_ms = to_int32(next_field(reader));
    return record;
}

bool RecordFile::create(const std::filesystem::path& file) {
    close();
    std::error_code ec;
    if (!std::filesystem::is_directory(file, ec)) std::filesystem::remove(file, ec);
    file_ = std::fopen(file.c_str(), "ab");
    return file_ != nullptr;
}

bool RecordFile::append(const Record& record) {
    if (file_ == nullptr) return false;
    const std::string line = format_record(record);
    const bool written = std::fwrite(line.data(), 1, line.size(), file_) == line.size();
    return std::fflush(file_) == 0 && written;
}

void RecordFile::close() {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
}

}  // namespace orvena
