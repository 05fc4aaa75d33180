#pragma once
// The 26 string samples: file name and home pitch, shared by the generator and its check.

#include <array>

namespace orvena::samples {

struct StringSample {
    const char* file;
    int degree;  // home pitch in steps of 1200/79 cents above C4 (262 Hz)
};

constexpr std::array<StringSample, 26> kStrings = {{
    {"01-E6", 184}, {"02-D6", 171}, {"03-C6", 158}, {"04-B5", 151}, {"05-A5", 138}, {"06-G5", 125},
    {"07-F5", 112}, {"08-E5", 105}, {"09-D5", 92},  {"10-C5", 79},  {"11-B4", 72},  {"12-A4", 59},
    {"13-G4", 46},  {"14-F4", 33},  {"15-E4", 26},  {"16-D4", 13},  {"17-C4", 0},   {"18-B3", -7},
    {"19-A3", -20}, {"20-G3", -33}, {"21-F3", -46}, {"22-E3", -53}, {"23-D3", -66}, {"24-C3", -79},
    {"25-B2", -86}, {"26-A2", -99},
}};

}  // namespace orvena::samples
