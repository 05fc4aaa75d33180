#include "presets/scala_command.h"

#include <algorithm>

#include "files/shown_text.h"
#include "presets/makam_format.h"
#include "presets/makam_name.h"
#include "presets/scala_export.h"
#include "tuning/tablo_oku.h"
#include "tuning/tuning_file.h"

namespace orvena {
namespace {

constexpr const char* kUsage = "kullanım: orvena --export-scala KLASÖR [--makam AD]";
constexpr const char* kZeroSettingName = "mandallar";

int fail(std::ostream& err, const std::string& message, int status = 1) {
    err << "orvena: " << message << "\n";
    if (status == 2) err << kUsage << "\n";
    return status;
}

struct ScalaArguments {
    std::optional<std::string> dir, makam;
    std::optional<std::string> problem;  // what is wrong with the arguments
};

ScalaArguments scala_arguments(const std::vector<std::string>& args) {
    ScalaArguments a;
    for (std::size_t i = 0; i < args.size() && !a.problem; ++i) {
        const bool has_value = i + 1 < args.size() && !args[i + 1].starts_with("--");
        if (args[i] == "--export-scala" && !a.dir) {
            if (has_value)
                a.dir = args[++i];
            else
                a.problem = "--export-scala bir klasör ister";
        } else if (args[i] == "--makam" && !a.makam) {
            if (has_value)
                a.makam = args[++i];
            else
                a.problem = "--makam bir makam adı ister";
        } else {
            a.problem = "beklenmeyen argüman " + in_quotes(args[i]);
        }
    }
    if (!a.problem && !a.dir) a.problem = "--makam yalnız --export-scala ile kullanılır";
    return a;
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
    const ScalaArguments a = scala_arguments(args);
    if (a.problem) return fail(err, *a.problem, 2);

    std::string name = kZeroSettingName;
    if (a.makam) {
        name = *a.makam;
        if (name.size() > 4 && name.ends_with(".mkm")) name.resize(name.size() - 4);
        // The names the window's makam list can hold: a file of the program folder and no
        // other.
        if (const auto problem = makam_name_problem(name); problem || name.empty()) {
            return fail(err,
                        in_quotes(name) +
                            " makam ismi olarak kullanılamaz: " + problem.value_or("isim boş."),
                        2);
        }
    }
    InstrumentState st;
    set_lever_limits(st.build);
    const std::filesystem::path workbook = program_folder / st.build.workbook_name;
    if (const auto failure = import_tuning(st, workbook))
        return fail(err, import_failure_line(workbook, *failure));
    if (tuning) {
        try {
            use_tuning_file(st, *tuning, program_folder);
        } catch (const ScalaFileError& e) {
            return fail(err, std::string("akort sistemi yüklenemedi: ") + e.what());
        }
    }
    if (a.makam) {
        const std::filesystem::path file = program_folder / (name + ".mkm");
        const MakamReading reading = read_makam_file(file, st);
        if (reading.error) {
            const MakamError& e = *reading.error;
            const std::string where = e.line ? "satır " + std::to_string(e.line) + ": " : "";
            return fail(err, in_quotes(file) + ": " + where + e.reason);
        }
        for (int s = 1; s <= kStringCount; ++s)
            st.settings.mandal_pos[s] = reading.positions[s - 1];
    }
    const std::vector<std::filesystem::path> inputs =
        tuning ? tuning_source_files(*tuning) : std::vector<std::filesystem::path>{};
    if (const auto problem = write_scala_files(*a.dir, name, st, st.settings.mandal_pos,
                                               program_folder, true, inputs))
        return fail(err, *problem);
    out << "orvena: dizek.scl, " << shown(name) << ".scl ve " << shown(name) << ".kbm "
        << in_quotes(*a.dir) << " klasörüne yazıldı\n";
    return 0;
}

}  // namespace orvena
