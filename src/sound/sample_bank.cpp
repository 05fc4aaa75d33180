#include "sound/sample_bank.h"

#include <sndfile.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <new>
#include <utility>

#include "sound/wav_header.h"

namespace orvena {

namespace {

// A file held in memory, read by libsndfile through its virtual I/O.
struct MemoryFile {
    const std::string& bytes;
    sf_count_t pos = 0;
};

SF_VIRTUAL_IO memory_io() {
    SF_VIRTUAL_IO io{};
    io.get_filelen = [](void* m) {
        return static_cast<sf_count_t>(static_cast<MemoryFile*>(m)->bytes.size());
    };
    io.seek = [](sf_count_t offset, int whence, void* m) {
        auto& f = *static_cast<MemoryFile*>(m);
        const auto size = static_cast<sf_count_t>(f.bytes.size());
        const sf_count_t base = whence == SEEK_CUR ? f.pos : whence == SEEK_END ? size : 0;
        f.pos = std::clamp<sf_count_t>(base + offset, 0, size);
        return f.pos;
    };
    io.read = [](void* out, sf_count_t count, void* m) {
        auto& f = *static_cast<MemoryFile*>(m);
        const sf_count_t n =
            std::clamp<sf_count_t>(static_cast<sf_count_t>(f.bytes.size()) - f.pos, 0, count);
        std::memcpy(out, f.bytes.data() + f.pos, static_cast<std::size_t>(n));
        f.pos += n;
        return n;
    };
    io.write = [](const void*, sf_count_t, void*) -> sf_count_t { return 0; };
    io.tell = [](void* m) { return static_cast<MemoryFile*>(m)->pos; };
    return io;
}

void put_le16(std::string& bytes, std::size_t at, std::uint16_t v) {
    for (std::size_t i = 0; i < 2; ++i) bytes[at + i] = static_cast<char>(v >> (8 * i));
}

void put_le32(std::string& bytes, std::size_t at, std::uint32_t v) {
    for (std::size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(v >> (8 * i));
}

// libsndfile reads a canonical copy of the file: our checked format and the bytes of the data
// chunk, nothing else. Its own chunk walker then never meets the file's other chunks (a damaged
// LIST chunk kept it busy for minutes), and a header holding no playable rate still decodes:
// the frames do not depend on the rate, so the copy carries one libsndfile accepts.
std::string canonical_wav(const std::string& file_bytes, const WavFormat& format) {
    const std::size_t start =
        static_cast<std::size_t>(std::min<std::uint64_t>(format.data_offset, file_bytes.size()));
    const std::size_t length = static_cast<std::size_t>(
        std::min<std::uint64_t>(format.data_size, file_bytes.size() - start));
    const auto rate = static_cast<std::uint32_t>(kBaseSampleRate);
    std::string bytes(44, '\0');
    bytes.replace(0, 4, "RIFF");
    put_le32(bytes, 4, static_cast<std::uint32_t>(36 + length));
    bytes.replace(8, 8, "WAVEfmt ");
    put_le32(bytes, 16, 16);
    put_le16(bytes, 20, 1);  // integer PCM, which the header check has made sure of
    put_le16(bytes, 22, format.channels);
    put_le32(bytes, 24, rate);
    put_le32(bytes, 28, rate * format.block_align);
    put_le16(bytes, 32, format.block_align);
    put_le16(bytes, 34, format.bits_per_sample);
    bytes.replace(36, 4, "data");
    put_le32(bytes, 40, static_cast<std::uint32_t>(length));
    bytes.append(file_bytes, start, length);
    return bytes;
}

std::unique_ptr<SampleData> decode_bytes(const std::string& bytes) {
    MemoryFile file{bytes};
    SF_VIRTUAL_IO io = memory_io();
    SF_INFO info{};
    SNDFILE* snd = sf_open_virtual(&io, SFM_READ, &info, &file);
    if (snd == nullptr) return nullptr;
    std::unique_ptr<SampleData> data;
    try {
        if ((info.channels == 1 || info.channels == 2) && info.frames >= 0) {
            std::vector<float> frames(static_cast<std::size_t>(info.frames * info.channels));
            const sf_count_t got = sf_readf_float(snd, frames.data(), info.frames);
            frames.resize(static_cast<std::size_t>(std::max<sf_count_t>(got, 0) * info.channels));
            data = std::make_unique<SampleData>(frames, info.channels);
        }
    } catch (...) {
        sf_close(snd);
        throw;
    }
    sf_close(snd);
    return data;
}

}  // namespace

SampleDecode decode_sample(const std::filesystem::path& file) {
    // Our own header check first: libsndfile would happily decode float or compressed
    // files that the rate patch refuses to touch.
    const WavHeaderResult header = read_wav_header(file);
    if (!header.format) return {nullptr, SampleRefusal::unreadable};
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    if (ec) return {nullptr, SampleRefusal::unreadable};
    if (size > kMaxSampleFileBytes) return {nullptr, SampleRefusal::too_large};
    try {
        std::string bytes(static_cast<std::size_t>(size), '\0');
        std::ifstream in(file, std::ios::binary);
        if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
            return {nullptr, SampleRefusal::unreadable};
        }
        auto data = decode_bytes(canonical_wav(bytes, *header.format));
        if (!data) return {nullptr, SampleRefusal::unreadable};
        return {std::move(data), SampleRefusal::none};
    } catch (const std::bad_alloc&) {
        return {nullptr, SampleRefusal::out_of_memory};
    } catch (...) {
        return {nullptr, SampleRefusal::unreadable};
    }
}

std::unique_ptr<SampleData> decode_sample_file(const std::filesystem::path& file) {
    return decode_sample(file).data;
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
    SampleDecode decoded = decode_sample(path);
    ++decode_count_;
    if (!decoded.data) {
        if (decoded.refusal != SampleRefusal::unreadable) {
            refusals_.emplace_back(file_name, decoded.refusal);
        }
        return nullptr;
    }
    try {
        const SampleData* raw = decoded.data.get();
        entries_[file_name] = Entry{std::move(decoded.data), now};
        return raw;
    } catch (...) {
        refusals_.emplace_back(file_name, SampleRefusal::out_of_memory);
        return nullptr;
    }
}

std::vector<std::pair<std::string, SampleRefusal>> SampleBank::take_refusals() {
    return std::exchange(refusals_, {});
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
