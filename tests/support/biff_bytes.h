#pragma once
// Records of a workbook stream, built by hand.

#include <cstdint>
#include <string>

namespace orvena::test {

inline std::string le16(unsigned v) {
    return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
}
inline std::string le32(std::uint32_t v) {
    return le16(v & 0xFFFF) + le16(v >> 16);
}
inline std::string record(unsigned type, const std::string& body = {}) {
    return le16(type) + le16(static_cast<unsigned>(body.size())) + body;
}
// BIFF8 BOF of a substream: 0x05 the workbook's own, 0x10 a sheet, 0x20 a chart.
inline std::string bof(unsigned kind) {
    return record(0x0809, le16(0x0600) + le16(kind) + std::string(12, '\0'));
}
inline const std::string kEof = record(0x000A);

}  // namespace orvena::test
