#pragma once
// The folder this program works in: the shipped folder, or the user's copy of it in the
// application data location the toolkit names. Event thread only.

#include <filesystem>

namespace orvena {

std::filesystem::path program_working_folder(const std::filesystem::path& executable_folder);

}  // namespace orvena
