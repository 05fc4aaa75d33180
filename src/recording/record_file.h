#pragma once
// The recording file "kayıt.txt": one line per pluck with the string, its lever position
// and the milliseconds until the next pluck (or the stop), each number in print form in
// its own print zone, every line ending in CR LF. Event thread only.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "tuning/number_format.h"

namespace orvena {

inline constexpr const char* kRecordFileName = "kayıt.txt";

struct Record {
    std::int16_t string = 0;
    std::int16_t lever = 0;
    std::int32_t interval_ms = 0;
};

// " 12           -3             850 \r\n"
std::string format_record(const Record& record);

// The next record of a recording's text. Numbers may be separated by spaces, commas or line
// ends. Throws NumberFileError for text that is not a number or a record cut off by the end,
// NumberOverflow for a field that does not fit its width.
Record read_record(NumberTextReader& reader);

// The recording being written. Each record reaches the file as it is appended, so a crash
// loses at most the note that was sounding.
class RecordFile {
  public:
    RecordFile() = default;
    ~RecordFile() { close(); }
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    // Deletes any earlier recording and opens an empty one; false when it cannot.
    bool create(const std::filesystem::path& file);
    // False when the line could not be written (the file is full, gone, or not open).
    bool append(const Record& record);
    void close();
    bool is_open() const { return file_ != nullptr; }

  private:
    std::FILE* file_ = nullptr;
};

}  // namespace orvena
