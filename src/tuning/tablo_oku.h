#pragma once
// Import of the tuning table from the workbook (dizek.xls): the cents and lever steps of the
// seven highest strings, the degree list with the cents, names and places of every pitch of
// the tuning system, the sample correction of each string and the captions of the two
// "oktav" buttons. Runs once at start-up, on the event thread; the workbook is only read.

#include <filesystem>
#include <optional>
#include <string>

#include "tuning/instrument_state.h"

namespace orvena {

// Why the import stopped: the cell that could not be used ("" when the file itself could not
// be read) and what is wrong with it, as a Turkish sentence for the user.
struct ImportFailure {
    std::string cell;
    std::string reason;
};

// Fills cents, mandal_step, degrees, degree_at, sample_cents and option4_captions of st from
// the workbook's active sheet. On failure st is left exactly as it was. Never throws.
std::optional<ImportFailure> tablo_oku(InstrumentState& st, const std::filesystem::path& workbook);

// tablo_oku, then the frequency and sample-rate tables (derive_freq, derive_sample_rates). A
// sample rate that would not fit in 32 bits is reported as a failure naming the cell it comes
// from, and st is then left as it was. Never throws.
std::optional<ImportFailure> import_tuning(InstrumentState& st,
                                           const std::filesystem::path& workbook);

// The text of the message box that reports a failed import: the program's two fixed lines
// and a line naming the cell and what is wrong with it, joined by CR LF.
std::string import_failure_message(const ImportFailure& f);

// The same on one line for the command line: the workbook, the cell when there is one, why.
std::string import_failure_line(const std::filesystem::path& workbook, const ImportFailure& f);

}  // namespace orvena
