#pragma once
// The tuning system in force and the one before it: choosing one retunes the instrument at
// once (levers, makam setting, transposition and fine tuning stay; pitches and displays
// follow), and the two can be swapped in one step to hear a phrase in both. A system that
// cannot be read or played is refused with a message and the tuning in force stays.
// Event thread only.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "display/views.h"
#include "surface/dialogs.h"
#include "tuning/instrument_state.h"
#include "tuning/tuning_tables.h"

namespace orvena {

// How the program's own workbook is named among the systems and in the settings file.
inline constexpr const char* kWorkbookSystem = "dizek.xls";

inline constexpr const char* kTuningMenuText = "Akort sistemi…";
inline constexpr const char* kWorkbookEntry = "dizek.xls (çalışma kitabı)";
inline constexpr const char* kOtherScaleEntry = "Başka bir Scala dosyası…";
inline constexpr const char* kOtherScaleTitle = "Akort sistemi olarak bir Scala dosyası seçin";
inline constexpr const char* kTuningToggleText = "Önceki akort sistemine geç";
inline constexpr const char* kSavedTuningLost =
    "Son seçilen akort sistemi yüklenemedi; çalışma kitabının akordu çalınıyor.\r\n";

class TuningChoice {
  public:
    // `st` holds the program workbook's tables (start-up has imported them). `changed` runs
    // after every change of system (saving the choice, showing its name).
    TuningChoice(InstrumentState& st, Dialogs& dialogs, Views& views,
                 std::filesystem::path program_folder);

    std::function<void()> changed;

    // The program's workbook, or a file: a Scala scale or another workbook. `key` is how
    // the settings file names a system: kWorkbookSystem, a path within the program folder
    // ("akort/53-EDO.scl") or a full path. Returns whether the system is now in force; a
    // failure shows its message (when `tell` is set) and changes nothing.
    bool choose(const std::string& key, bool tell = true);
    bool choose_file(const std::filesystem::path& file) { return choose(key_of(file)); }
    // The same while the program starts: nothing is drawn yet, so nothing is redrawn, and
    // `changed` does not run.
    bool start_in(const std::string& key, bool tell);
    // Swaps the system in force and the one before it (Ctrl+T); nothing without one before.
    bool toggle();

    const std::string& current_key() const { return current_.key; }
    // Why the last choice failed, as its message says it.
    const std::string& failure() const { return failure_; }
    const std::string& previous_key() const { return previous_ ? previous_->key : empty_; }
    // Makes `key` the system before the one in force, read only when toggled to.
    void remember_previous(const std::string& key);

    // The shipped systems: every .scl of the program folder's akort/, by name.
    std::vector<std::filesystem::path> shipped_files() const;
    // How the settings file names a file.
    std::string key_of(const std::filesystem::path& file) const;
    std::filesystem::path file_of(const std::string& key) const;

  private:
    struct System {
        std::string key;
        std::optional<TuningTables> tables;  // read when first needed
    };
    bool put_in_force(System system, bool tell, bool starting = false);
    void redraw();

    InstrumentState& st_;
    Dialogs& dialogs_;
    Views& views_;
    std::filesystem::path folder_;
    TuningTables workbook_;
    System current_;
    std::optional<System> previous_;
    std::string empty_;
    std::string failure_;
};

}  // namespace orvena
