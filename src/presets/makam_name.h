#pragma once
// Whether a makam name can name a file in the program's folder and nowhere else.

#include <optional>
#include <string>

namespace orvena {

// The longest name a makam file may have, ".mkm" included (bytes of UTF-8).
inline constexpr std::size_t kMaxFileNameBytes = 255;

// Why name cannot be used as a makam name (a Turkish sentence for the user), or nothing when
// it can. The empty name is left to the caller, which has its own message for it.
std::optional<std::string> makam_name_problem(const std::string& name);

}  // namespace orvena
