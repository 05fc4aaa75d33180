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
#include <utility>
#include <vector>

#include "sound/sample_data.h"

namespace orvena {

// Largest sample file the bank decodes: about six minutes of 16-bit mono sound at 44.1 kHz,
// far longer than any pluck. Its frames take up to four times as much memory.
constexpr std::uintmax_t kMaxSampleFileBytes = 32u << 20;

enum class SampleRefusal {
    none,
    unreadable,     // missing, unreadable, or not playable PCM
    too_large,      // above kMaxSampleFileBytes
    out_of_memory,  // the frames did not fit in memory
};

class SampleBank {
  public:
    explicit SampleBank(std::filesystem::path folder);
    ~SampleBank();
    SampleBank(const SampleBank&) = delete;
    SampleBank& operator=(const SampleBank&) = delete;

    // The frames of a file (a bare name resolves against the folder), decoding it when the
    // bank does not yet hold it or it changed on disk. Null when the file is missing,
    // unreadable, not playable PCM, too large or beyond the memory at hand (the pluck is then
    // silent). Never throws.
    const SampleData* get(const std::string& file_name);

    // Files refused since the last call (each time get refused them), with why; files that are
    // merely missing or not PCM are not listed.
    std::vector<std::pair<std::string, SampleRefusal>> take_refusals();

    // Records the file's present size and time after the program itself patched its
    // header, so that the patch does not cause a decode.
    void note_own_write(const std::string& file_name);

    // Frees replaced data that no voice uses any more.
    void collect();

    // Every sample decoded now.
    template <class Visit>
    void for_each_sample(Visit visit) const {
        for (const auto& [name, entry] : entries_) {
            if (entry.data) visit(*entry.data);
        }
    }

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
    std::vector<std::pair<std::string, SampleRefusal>> refusals_;
    int decode_count_ = 0;
};

struct SampleDecode {
    std::unique_ptr<SampleData> data;  // null when refused
    SampleRefusal refusal = SampleRefusal::none;
};

// Decodes a whole PCM WAV file into float frames, whatever rate its header holds (a rate
// field of 0 does not keep the frames from being read). Never throws.
SampleDecode decode_sample(const std::filesystem::path& file);
// The frames alone; null when refused.
std::unique_ptr<SampleData> decode_sample_file(const std::filesystem::path& file);

}  // namespace orvena
