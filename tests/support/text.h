#pragma once
#include <string>

namespace orvena::test {

// A degree name as the degree list holds it: padded with spaces to 30 characters (chars is
// the name's length in characters, fewer than its bytes when it has Turkish letters).
inline std::string padded(const std::string& name, int chars) {
    return name + std::string(static_cast<std::size_t>(30 - chars), ' ');
}

}  // namespace orvena::test
