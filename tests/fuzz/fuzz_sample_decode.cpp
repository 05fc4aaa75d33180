// Decoding a sample file (our header check, then libsndfile) from any bytes: it yields
// 1- or 2-channel frames within -1..1, or nothing.

#include <cmath>

#include "fuzz/fuzz_support.h"
#include "sound/sample_bank.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static orvena::fuzz::MemFile file;
    file.assign(data, size);
    const auto decoded = orvena::decode_sample_file(file.path());
    if (!decoded) return 0;
    FUZZ_CHECK(decoded->channels() == 1 || decoded->channels() == 2);
    FUZZ_CHECK(decoded->frames() >= 0 &&
               static_cast<std::size_t>(decoded->frames() * decoded->channels()) <= size);
    const float* frames = decoded->frame_ptr();
    const std::int64_t pad = orvena::SampleData::kPadFrames * decoded->channels();
    for (std::int64_t i = -pad; i < decoded->frames() * decoded->channels() + pad; ++i) {
        FUZZ_CHECK(std::isfinite(frames[i]) && std::fabs(frames[i]) <= 1.0f);
    }
    return 0;
}
