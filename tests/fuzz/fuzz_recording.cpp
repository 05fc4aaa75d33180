// The recording kayıt.txt read record by record as replay reads it. Promises: a record read
// is written back by the recorder and read again unchanged; any other text stops the reading
// with a number-file or overflow error, never anything worse.

#include "fuzz/fuzz_support.h"
#include "recording/record_file.h"
#include "tuning/rounding.h"

void orvena::fuzz::check(std::string_view input) {
    NumberTextReader reader{std::string(input)};
    try {
        while (!reader.at_end()) {
            const Record record = read_record(reader);
            NumberTextReader again(format_record(record));
            const Record back = read_record(again);
            FUZZ_CHECK(back.string == record.string && back.lever == record.lever &&
                       back.interval_ms == record.interval_ms && again.at_end());
        }
    } catch (const NumberFileError& e) {
        FUZZ_CHECK(e.line() >= 1);
    } catch (const NumberOverflow&) {
    }
}
