#include "sound/sample_bank.h"

#include <sndfile.h>

#include <algorithm>

#include "sound/wav_header.h"

namespace orvena {

std::unique_ptr<SampleData> decode_sample_file(const std::filesystem::path& file) {
    // Our own header check first: libsndfile would happily decode float or compressed
    // files that the rate patch refuses to touch.
    if (!read_wav_header(file).format) return nullptr;
    SF_INFO info{};
    SNDFILE* snd = sf_open(file.c_str(), SFM_READ, &info);
    if (snd == nullptr) return nullptr;
    std::unique_ptr<SampleData> data;
    if ((info.channels == 1 || info.channels == 2) && info.frames >= 0) {
        std::vector<float> frames(static_cast<std::size_t>(info.frames * info.channels));
        const sf_count_t got = sf_readf_float(snd, frames.data(), info.frames);
        frames.resize(static_cast<std::size_t>(std::max<sf_count_t>(got, 0) * info.channels));
        data = std::make_unique<SampleData>(frames, info.channels);
    }
    sf_close(snd);
    return data;
}

SampleBank::SampleBank(std::filesystem::path folder) : folder_(std::move(folder)) {}

SampleBank::~SampleBank() = default;

std::filesystem::path SampleBank::resolve(const std::string& file_name) const {
    const std::filesystem::path p(file_name);
    return p.is_absolute() ? p : folder_ / p;
}

bool SampleBank::stamp_of(const std::filesystem::path& file, Stamp& out) {
    std::error_code ec;
    out.size = std::filesystem::file_size(file, ec);
    if (ec) return false;
    out.time = std::filesystem::last_write_time(file, ec);
    return !ec;
}

void SampleBank::retire(std::unique_ptr<SampleData> data) {
    if (data) retired_.push_back(std::move(data));
}

const SampleData* SampleBank::get(const std::string& file_name) {
    if (file_name.empty()) return nullptr;
    const auto path = resolve(file_name);
    Stamp now;
    const bool exists = stamp_of(path, now);
    auto it = entries_.find(file_name);
    if (it != entries_.end() && exists && it->second.stamp == now) return it->second.data.get();
    if (it != entries_.end()) {
        retire(std::move(it->second.data));
        entries_.erase(it);
    }
    collect();
    if (!exists) return nullptr;
    auto data = decode_sample_file(path);
    ++decode_count_;
    if (!data) return nullptr;
    const SampleData* raw = data.get();
    entries_[file_name] = Entry{std::move(data), now};
    return raw;
}

void SampleBank::note_own_write(const std::string& file_name) {
    auto it = entries_.find(file_name);
    if (it == entries_.end()) return;
    Stamp now;
    if (stamp_of(resolve(file_name), now)) it->second.stamp = now;
}

void SampleBank::collect() {
    std::erase_if(retired_, [](const std::unique_ptr<SampleData>& d) {
        return d->users().load(std::memory_order_acquire) == 0;
    });
}

}  // namespace orvena
