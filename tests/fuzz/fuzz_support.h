#pragma once
// Pieces every fuzz program shares: a file that lives in memory only (for readers that take
// a path), and a check that stops the run with a message when a promise of a reader breaks.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace orvena::fuzz {

// An anonymous in-memory file (memfd) reachable by path, so readers that open a path
// (FreeXL, libsndfile, the WAV patch) read and write the fuzzer's bytes without touching
// the disk. One per program, refilled for every input.
class MemFile {
  public:
    MemFile();
    ~MemFile();
    MemFile(const MemFile&) = delete;
    MemFile& operator=(const MemFile&) = delete;

    // Replaces the whole content.
    void assign(const std::uint8_t* data, std::size_t size);
    // The present content.
    std::string bytes() const;
    const std::filesystem::path& path() const { return path_; }

  private:
    int fd_ = -1;
    std::filesystem::path path_;
};

// Takes a choice among `count` values from the input's last bytes and shortens `size` by the
// bytes it used, as libFuzzer's FuzzedDataProvider::PickValueInArray does, so that a kept
// input makes the same choice in the fuzzer and in the replay of the test suite.
std::size_t pick_index_from_end(const std::uint8_t* data, std::size_t& size, std::size_t count);

[[noreturn]] void broken_promise(const char* what, const char* file, int line);

}  // namespace orvena::fuzz

// Unlike assert, stays on in every build: a broken promise is a finding.
#define FUZZ_CHECK(condition) \
    ((condition) ? (void)0 : ::orvena::fuzz::broken_promise(#condition, __FILE__, __LINE__))
