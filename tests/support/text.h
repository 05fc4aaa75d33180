#pragma once
#include <string>
#include <vector>

namespace orvena::test {

// A degree name as the degree list holds it: padded with spaces to 30 characters (chars is
// the name's length in characters, fewer than its bytes when it has Turkish letters).
inline std::string padded(const std::string& name, int chars) {
    return name + std::string(static_cast<std::size_t>(30 - chars), ' ');
}

// The items of a comma-separated list.
inline std::vector<std::string> split(const std::string& list) {
    std::vector<std::string> items(1);
    for (const char c : list) c == ',' ? void(items.emplace_back()) : items.back().push_back(c);
    return items;
}

}  // namespace orvena::test
