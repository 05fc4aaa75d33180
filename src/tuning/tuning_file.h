#pragma once
// A tuning system from a file: a Scala scale (with the keyboard mapping of the same name
// beside it, if any) or a tuning workbook.

#include <filesystem>
#include <string>
#include <vector>

#include "files/program_folder.h"
#include "tuning/instrument_state.h"
#include "tuning/scala_scale.h"
#include "tuning/tuning_tables.h"

namespace orvena {

// Whether the file is read as a workbook (.xls) rather than as a Scala scale.
bool is_workbook_file(const std::filesystem::path& file);

// The tables of `file`, for an instrument whose program workbook gave `workbook` and whose
// fine tuning is `akord_offset`. Scales in `shipped_folder` name their degrees after the
// perdes they lie near. Throws ScalaFileError (a workbook's fault names its cell).
TuningTables load_tuning(const std::filesystem::path& file, const TuningTables& workbook,
                         const PerString<std::int16_t>& akord_offset,
                         const std::filesystem::path& shipped_folder);

// Puts the tuning of `file` in force on a state that holds the program workbook's tables
// (program_folder: where the shipped systems lie). Throws ScalaFileError and leaves st as
// it was.
void use_tuning_file(InstrumentState& st, const std::filesystem::path& file,
                     const std::filesystem::path& program_folder);

// The files a tuning system is read from: the workbook, or the scale and the mapping of the same
// name beside it. An export is never written over them.
std::vector<std::filesystem::path> tuning_source_files(const std::filesystem::path& file);

// The message box text for a tuning file that cannot be used.
std::string tuning_failure_message(const ScalaFileError& error);

}  // namespace orvena
