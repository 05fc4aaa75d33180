#pragma once
// What every fuzz program shares. Each program defines check(): it hands one input to its
// reader and checks the reader's promises with FUZZ_CHECK. The entry libFuzzer calls (and
// the replay of the test suite) is in fuzz_support.cpp.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace orvena::fuzz {

// Defined by each fuzz program: runs its reader on one input and checks its promises.
void check(std::string_view input);

// A file held in memory only (memfd), refilled with `bytes`, and its path: readers that open
// a path (FreeXL, libsndfile, the WAV patch) read and write it without touching the disk.
const std::filesystem::path& memory_file(std::string_view bytes);
// What the memory file holds now.
std::string memory_file_bytes();

[[noreturn]] void broken_promise(const char* what, const char* file, int line);

}  // namespace orvena::fuzz

// Unlike assert, stays on in every build: a broken promise is a finding.
#define FUZZ_CHECK(condition) \
    ((condition) ? (void)0 : ::orvena::fuzz::broken_promise(#condition, __FILE__, __LINE__))
