#pragma once
// The tuning system a run starts in and the one Ctrl+T goes back to, and the choice kept in
// orvena.ini for the next run. Event thread only.

#include <filesystem>
#include <optional>
#include <vector>

#include "presets/tuning_choice.h"
#include "surface/dialogs.h"

namespace orvena {

// The system named on the command line for this run (its failure is told, and the workbook
// plays), else the one kept from the last run: one that no longer loads is told in a notice
// and the workbook plays. Ctrl+T then goes to the system before: for a run with --tuning the
// one kept (the workbook when none), else the one kept as previous. Without a settings file
// nothing was kept.
void start_tuning(TuningChoice& tuning, Dialogs& dialogs,
                  const std::filesystem::path& settings_file,
                  const std::optional<std::filesystem::path>& for_this_run);

// Keeps the system in force and the one before it in the settings file, when there is one.
void keep_tuning_choice(const TuningChoice& tuning, const std::filesystem::path& settings_file);

// The files the system in force is read from (none for the program's workbook): an export
// reads them and never writes over them.
std::vector<std::filesystem::path> playing_tuning_files(const TuningChoice& tuning);

}  // namespace orvena
