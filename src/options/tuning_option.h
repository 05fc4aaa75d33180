#pragma once
// The tuning system a windowless command plays, taken out of its arguments before the command
// reads them. Any thread.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace orvena {

// Takes every "--tuning FILE" and "--tuning=FILE" out of the arguments: the last FILE (as the
// window's options count the last one) made absolute from the folder the program was started
// in, or nothing.
std::optional<std::filesystem::path> take_tuning_option(std::vector<std::string>& args);

}  // namespace orvena
