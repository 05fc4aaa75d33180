#include "tuning/tuning_file.h"

#include <algorithm>
#include <cctype>
#include <system_error>

#include "tuning/install_tables.h"
#include "tuning/scale_tables.h"
#include "tuning/tablo_oku.h"

namespace orvena {

namespace {

bool same_folder(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code ec;
    return !a.empty() && !b.empty() && std::filesystem::equivalent(a, b, ec) && !ec;
}

TuningTables load_workbook(const std::filesystem::path& file,
                           const PerString<std::int16_t>& akord_offset) {
    InstrumentState scratch;
    set_lever_limits(scratch.build);
    scratch.settings.akord_offset = akord_offset;
    if (const auto failure = import_tuning(scratch, file)) {
        const std::string where = failure->cell.empty() ? "" : "hücre " + failure->cell + ": ";
        throw ScalaFileError(file.filename().string(), 0, where + failure->reason);
    }
    scratch.tables.name = file.filename().string();
    return scratch.tables;
}

}  // namespace

bool is_workbook_file(const std::filesystem::path& file) {
    std::string extension = file.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".xls";
}

TuningTables load_tuning(const std::filesystem::path& file, const TuningTables& workbook,
                         const PerString<std::int16_t>& akord_offset,
                         const std::filesystem::path& shipped_folder) {
    if (is_workbook_file(file)) return load_workbook(file, akord_offset);
    const ScalaFiles files = read_scala_files(file);
    ScaleSource source;
    source.name = file.stem().string();
    source.scl_file = file.filename().string();
    source.reference = files.reference;
    source.perde_names =
        same_folder(file.parent_path().empty() ? "." : file.parent_path(), shipped_folder);
    return scale_tables(files.scale, source, workbook, akord_offset);
}

void use_tuning_file(InstrumentState& st, const std::filesystem::path& file,
                     const std::filesystem::path& program_folder) {
    install_tables(
        st, load_tuning(file, st.tables, st.settings.akord_offset, program_folder / kTuningFolder));
}

std::vector<std::filesystem::path> tuning_source_files(const std::filesystem::path& file) {
    if (is_workbook_file(file)) return {file};
    std::filesystem::path kbm = file;
    return {file, kbm.replace_extension(".kbm")};
}

std::string tuning_failure_message(const ScalaFileError& error) {
    return "Akort sistemi yüklenemedi:\r\n" + std::string(error.what()) +
           "\r\nÇalınan akort değişmedi.";
}

}  // namespace orvena
