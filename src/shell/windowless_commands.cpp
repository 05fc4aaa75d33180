#include "shell/windowless_commands.h"

#include <QCoreApplication>

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "interchange/export_command.h"
#include "options/tuning_option.h"
#include "presets/scala_command.h"
#include "recording/render_command.h"
#include "shell/program_working_folder.h"

namespace orvena {

std::optional<int> run_windowless_command(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const auto tuning = take_tuning_option(args);
    const bool scala = is_scala_command(args);
    const bool exports = is_export_command(args);
    if (!scala && !exports && !is_render_command(args)) return std::nullopt;
    // The folder the window would work in: the program's own, or the user's copy of it.
    QCoreApplication::setApplicationName(QStringLiteral("ORVENA"));
    std::error_code ec;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::filesystem::path folder = program_working_folder(executable.parent_path());
    if (exports) return run_export_command(args, folder, std::cout, std::cerr, tuning);
    return scala ? run_scala_command(args, folder, std::cout, std::cerr, tuning)
                 : run_render_command(args, folder, std::cout, std::cerr, tuning);
}

}  // namespace orvena
