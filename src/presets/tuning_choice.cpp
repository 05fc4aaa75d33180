#include "presets/tuning_choice.h"

#include <new>

#include "surface/file_list.h"
#include "tuning/install_tables.h"
#include "tuning/tuning_file.h"

namespace orvena {

namespace fs = std::filesystem;

TuningChoice::TuningChoice(InstrumentState& st, Dialogs& dialogs, Views& views,
                           fs::path program_folder)
    : st_(st),
      dialogs_(dialogs),
      views_(views),
      folder_(std::move(program_folder)),
      workbook_(st.tables),
      current_{kWorkbookSystem, std::nullopt} {
    workbook_.name = kWorkbookSystem;
    st_.tables.name = kWorkbookSystem;
}

std::string TuningChoice::key_of(const fs::path& file) const {
    std::error_code ec;
    const fs::path full = fs::weakly_canonical(fs::absolute(file, ec), ec);
    const fs::path folder = fs::weakly_canonical(folder_, ec);
    const fs::path inside = full.lexically_relative(folder);
    if (!inside.empty() && *inside.begin() != ".." && inside.is_relative())
        return inside.generic_string();
    return full.string();
}

fs::path TuningChoice::file_of(const std::string& key) const {
    const fs::path path(key);
    return path.is_absolute() ? path : folder_ / path;
}

std::vector<fs::path> TuningChoice::shipped_files() const {
    std::vector<fs::path> files;
    for (const std::string& name : list_matching_files(folder_ / kTuningFolder, "*.scl"))
        files.push_back(folder_ / kTuningFolder / name);
    return files;
}

void TuningChoice::remember_previous(const std::string& key) {
    if (key.empty() || key == current_.key) return;
    previous_ = System{key, std::nullopt};
}

bool TuningChoice::choose(const std::string& key, bool tell) {
    return put_in_force(System{key, std::nullopt}, tell);
}

bool TuningChoice::start_in(const std::string& key, bool tell) {
    return put_in_force(System{key, std::nullopt}, tell, true);
}

bool TuningChoice::toggle() {
    if (!previous_) return false;
    return put_in_force(*previous_, true);
}

bool TuningChoice::put_in_force(System next, bool tell, bool starting) {
    const fs::path file = file_of(next.key);
    failure_.clear();
    try {
        if (!next.tables) {
            next.tables = next.key == kWorkbookSystem
                              ? workbook_
                              : load_tuning(file, workbook_, st_.settings.akord_offset,
                                            folder_ / kTuningFolder);
        }
        // The fine tuning may have moved since the tables were read.
        if (const auto bad = first_unplayable(*next.tables, st_.settings.akord_offset)) {
            throw ScalaFileError(file.filename().string(), 0,
                                 "tel " + std::to_string(bad->string) + ", mandal konumu " +
                                     std::to_string(bad->position) + ": " + bad->reason);
        }
    } catch (const ScalaFileError& e) {
        failure_ = tuning_failure_message(e);
    } catch (const std::bad_alloc&) {
        failure_ =
            tuning_failure_message(ScalaFileError(file.filename().string(), 0, "bellek yetmedi"));
    }
    if (!failure_.empty()) {
        if (tell) dialogs_.message(failure_);
        return false;
    }
    install_tables(st_, *next.tables);
    if (next.key != current_.key) previous_ = std::move(current_);
    current_ = std::move(next);
    if (starting) return true;
    redraw();
    if (changed) changed();
    return true;
}

void TuningChoice::redraw() {
    // Lever numbers stay what they are; the lever strip's colours, the staff's sign and the
    // panel's pitch follow the tables.
    if (st_.selection.cur_string < 1 || st_.selection.cur_string > kStringCount) return;
    views_.show_selected_string();
}

}  // namespace orvena
