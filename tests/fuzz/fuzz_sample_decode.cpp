// Decoding a sample file (our header check, then libsndfile) from any bytes: it yields
// 1- or 2-channel frames within -1..1, or nothing.

#include <cmath>

#include "fuzz/fuzz_support.h"
#include "sound/sample_bank.h"

void orvena::fuzz::check(std::string_view input) {
    const auto decoded = decode_sample_file(memory_file(input));
    if (!decoded) return;
    const std::int64_t values = decoded->frames() * decoded->channels();
    FUZZ_CHECK(decoded->channels() == 1 || decoded->channels() == 2);
    FUZZ_CHECK(decoded->frames() >= 0 && static_cast<std::size_t>(values) <= input.size());
    const float* frames = decoded->frame_ptr();
    const std::int64_t pad = SampleData::kPadFrames * decoded->channels();
    for (std::int64_t i = -pad; i < values + pad; ++i)
        FUZZ_CHECK(std::isfinite(frames[i]) && std::fabs(frames[i]) <= 1.0f);
}
