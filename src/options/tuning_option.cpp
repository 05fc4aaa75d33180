#include "options/tuning_option.h"

#include <string_view>

namespace orvena {

std::optional<std::filesystem::path> take_tuning_option(std::vector<std::string>& args) {
    constexpr std::string_view kJoined = "--tuning=";
    std::optional<std::string> file;
    for (auto it = args.begin(); it != args.end();) {
        if (*it == "--tuning" && it + 1 != args.end()) {
            file = *(it + 1);
            it = args.erase(it, it + 2);
        } else if (it->starts_with(kJoined)) {
            file = it->substr(kJoined.size());
            it = args.erase(it);
        } else {
            ++it;
        }
    }
    if (!file) return std::nullopt;
    return std::filesystem::absolute(*file);
}

}  // namespace orvena
