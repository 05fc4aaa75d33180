#pragma once
// What every fuzz program shares. Each defines check(), which hands one input to its reader
// and checks the reader's promises; the entry that calls it is in fuzz_support.cpp.

#include <filesystem>
#include <string>
#include <string_view>

namespace orvena::fuzz {

void check(std::string_view input);  // defined by each fuzz program

// A file held in memory only (memfd), refilled with `bytes`, and its path: readers that open
// a path (FreeXL, libsndfile, the WAV patch) read and write it without touching the disk.
const std::filesystem::path& memory_file(std::string_view bytes);
std::string bytes_of(const std::filesystem::path& file);

[[noreturn]] void broken_promise(const char* what, const char* file, int line);

}  // namespace orvena::fuzz

// Unlike assert, stays on in every build: a broken promise is a finding.
#define FUZZ_CHECK(condition) \
    ((condition) ? (void)0 : ::orvena::fuzz::broken_promise(#condition, __FILE__, __LINE__))
