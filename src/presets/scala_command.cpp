#include "presets/scala_command.h"

#include <algorithm>

#include "presets/makam_format.h"
#include "presets/scala_export.h"
#include "tuning/tablo_oku.h"
#include "tuning/tuning_file.h"

namespace orvena {
namespace {

constexpr const char* kUsage = "usage: orvena --export-scala DIR [--makam NAME]";
constexpr const char* kZeroSettingName = "mandallar";

int fail(std::ostream& err, const std::string& message) {
    err << "orvena: " << message << "\n";
    return 1;
}

}  // namespace

bool is_scala_command(const std::vector<std::string>& args) {
    return std::find(args.begin(), args.end(), "--export-scala") != args.end() ||
           std::find(args.begin(), args.end(), "--makam") != args.end();
}

std::optional<int> run_scala_command(const std::vector<std::string>& args,
                                     const std::filesystem::path& program_folder, std::ostream& out,
                                     std::ostream& err,
                                     const std::optional<std::filesystem::path>& tuning) {
    if (!is_scala_command(args)) return std::nullopt;
    std::optional<std::string> dir, makam;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const bool has_value = i + 1 < args.size();
        if (args[i] == "--export-scala" && has_value && !dir) {
            dir = args[++i];
        } else if (args[i] == "--makam" && has_value && !makam) {
            makam = args[++i];
        } else {
            err << "orvena: unexpected argument '" << args[i] << "'\n" << kUsage << "\n";
            return 2;
        }
    }
    if (!dir) {
        err << "orvena: --makam goes with --export-scala\n" << kUsage << "\n";
        return 2;
    }

    InstrumentState st;
    set_lever_limits(st);
    const std::filesystem::path workbook = program_folder / st.workbook_name;
    if (const auto failure = import_tuning(st, workbook))
        return fail(err, workbook.string() + ": " + failure->cell + ": " + failure->reason);
    if (tuning) {
        try {
            use_tuning_file(st, *tuning, program_folder);
        } catch (const ScalaFileError& e) {
            return fail(err, std::string("akort sistemi yüklenemedi: ") + e.what());
        }
    }

    std::string name = kZeroSettingName;
    if (makam) {
        name = *makam;
        if (name.size() > 4 && name.ends_with(".mkm")) name.resize(name.size() - 4);
        const std::filesystem::path file = program_folder / (name + ".mkm");
        const MakamReading reading = read_makam_file(file, st);
        if (reading.error) {
            const MakamError& e = *reading.error;
            std::string where = e.line ? "line " + std::to_string(e.line) + ": " : "";
            return fail(err, file.string() + ": " + where + e.reason);
        }
        for (int s = 1; s <= kStringCount; ++s) st.mandal_pos[s] = reading.positions[s - 1];
    }
    if (const auto problem = write_scala_files(*dir, name, st, st.mandal_pos))
        return fail(err, *problem);
    out << "orvena: wrote dizek.scl, " << name << ".scl and " << name << ".kbm to " << *dir << "\n";
    return 0;
}

}  // namespace orvena
