#pragma once
// The decoded samples of the program's folder. Each file is decoded once (libsndfile, any
// integer PCM depth, mono or stereo) and kept in memory; a pluck only looks its data up.
// A file whose size or modification time has changed since it was decoded is decoded
// again; the program's own rate patches are recorded so they do not count as a change.
// Event thread only.

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sound/sample_data.h"

namespace orvena {

class SampleBank {
  public:
    explicit SampleBank(std::filesystem::path folder);
    ~SampleBank();
    SampleBank(const SampleBank&) = delete;
    SampleBank& operator=(const SampleBank&) = delete;

    // The frames of a file (a bare name resolves against the folder), decoding it when the
    // bank does not yet hold it or it changed on disk. Null when the file is missing,
    // unreadable or not playable PCM (the pluck is then silent).
    const SampleData* get(const std::string& file_name);

    // Records the file's present size and time after the program itself patched its
    // header, so that the patch does not cause a decode.
    void note_own_write(const std::string& file_name);

    // Frees replaced data that no voice uses any more.
    void collect();

    std::filesystem::path resolve(const std::string& file_name) const;
    int decode_count() const { return decode_count_; }  // files decoded so far
    std::size_t retired_count() const { return retired_.size(); }

  private:
    struct Stamp {
        std::uintmax_t size = 0;
        std::filesystem::file_time_type time{};
        bool operator==(const Stamp&) const = default;
    };
    struct Entry {
        std::unique_ptr<SampleData> data;
        Stamp stamp;
    };
    static bool stamp_of(const std::filesystem::path& file, Stamp& out);
    void retire(std::unique_ptr<SampleData> data);

    std::filesystem::path folder_;
    std::map<std::string, Entry> entries_;
    std::vector<std::unique_ptr<SampleData>> retired_;
    int decode_count_ = 0;
};

// Decodes a whole PCM WAV file into float frames; null when it cannot.
std::unique_ptr<SampleData> decode_sample_file(const std::filesystem::path& file);

}  // namespace orvena
