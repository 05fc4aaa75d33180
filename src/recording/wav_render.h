#pragma once
// Offline render of a schedule of plucks through the mixer into a WAV file (48 kHz, 24-bit
// stereo), as fast as the machine allows. The file appears only when the render has
// finished: it is written to a temporary file beside the target and renamed over it at the
// end, so a failed or cancelled render leaves no partial file and an existing file of that
// name as it was. Event thread only.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "recording/render_schedule.h"
#include "sound/sample_bank.h"
#include "tuning/instrument_state.h"

namespace orvena {

inline constexpr int kRenderRateHz = 48000;
inline constexpr int kRenderChannels = 2;

// Called now and then with the share of the render done (0..1); false cancels it.
using RenderProgress = std::function<bool(double done)>;

enum class RenderOutcome { written, cancelled, unwritable };

struct RenderResult {
    RenderOutcome outcome = RenderOutcome::written;
    std::string why;          // for unwritable: the system's reason
    std::int64_t frames = 0;  // frames written
};

// Plucks sound the samples of st.wav_files, decoded by bank, at the scheduled rates; a rate
// outside kMinSampleRateHz..kMaxSampleRateHz or a sample that cannot be decoded is a silent
// pluck, as on the instrument.
RenderResult render_wav(const RenderSchedule& schedule, const InstrumentState& st, SampleBank& bank,
                        const std::filesystem::path& out, const RenderProgress& progress = {});

}  // namespace orvena
