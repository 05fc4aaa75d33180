#pragma once
// One stream of a compound document (the container format of Excel 97-2003 workbooks) held
// in memory, read whole through libgsf. Read-only; any thread.

#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace orvena {

// The bytes of the first stream whose name matches one of names (compared without regard to
// case, as the container does), or nothing when the file is not a readable compound document,
// holds no such stream, or the stream is larger than max_bytes.
std::optional<std::string> read_compound_stream(const std::string& file,
                                                std::initializer_list<std::string_view> names,
                                                std::size_t max_bytes);

}  // namespace orvena
