#include "shell/scala_command_line.h"

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include <QCoreApplication>

#include "presets/scala_command.h"
#include "shell/program_folder.h"

namespace orvena {

std::optional<int> run_scala_command_line(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (!is_scala_command(args)) return std::nullopt;
    QCoreApplication::setApplicationName(QStringLiteral("ORVENA"));
    std::error_code ec;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", ec);
    return run_scala_command(args, program_working_folder(executable.parent_path()), std::cout,
                             std::cerr);
}

}  // namespace orvena
