#include "shell/render_command_line.h"

#include <QCoreApplication>

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "recording/render_command.h"
#include "shell/program_folder.h"

namespace orvena {

std::optional<int> run_render_command_line(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (!is_render_command(args)) return std::nullopt;
    QCoreApplication::setApplicationName(QStringLiteral("ORVENA"));
    std::error_code ec;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", ec);
    return run_render_command(args, program_working_folder(executable.parent_path()), std::cout,
                              std::cerr);
}

}  // namespace orvena
