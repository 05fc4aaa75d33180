#include "shell/command_line.h"

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "presets/scala_command.h"

namespace orvena {

std::optional<int> run_command_line(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::error_code ec;
    const std::filesystem::path folder =
        std::filesystem::read_symlink("/proc/self/exe", ec).parent_path();
    return run_scala_command(args, folder, std::cout, std::cerr);
}

}  // namespace orvena
