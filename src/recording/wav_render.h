#pragma once
// Offline render of a schedule of plucks through the mixer into a WAV file (48 kHz, 24-bit
// stereo, RF64 above 4 GiB), as fast as the machine allows. The file is written through an
// OutputFile, so it appears only when the render has finished: a failed or cancelled render
// leaves no partial file and an existing file of that name as it was. Event thread only.

#include <cstdint>
#include <functional>
#include <string>

#include "files/safe_output.h"
#include "recording/render_schedule.h"
#include "recording/wav_file.h"
#include "sound/sample_bank.h"
#include "tuning/instrument_state.h"

namespace orvena {

// Called now and then with the share of the render done (0..1); false cancels it.
using RenderProgress = std::function<bool(double done)>;

enum class RenderOutcome { written, cancelled, unwritable };

struct RenderResult {
    RenderOutcome outcome = RenderOutcome::written;
    std::string why;          // for unwritable: a sentence naming the file and the reason
    std::int64_t frames = 0;  // frames written
};

// Whether a pluck at this rate sounds; the mixer takes no other rate.
bool audible_rate(std::int32_t rate_hz);

// Frames the render of schedule holds: up to its end, then the last note's fade.
std::int64_t rendered_frames(const RenderSchedule& schedule);

// Plucks sound the samples of st.build.wav_files, decoded by bank, at the scheduled rates; a rate
// outside kMinSampleRateHz..kMaxSampleRateHz is a silent pluck, as on the instrument (the
// export checks the samples before it renders). out is open; the render commits or cancels it.
RenderResult render_wav(const RenderSchedule& schedule, const InstrumentState& st, SampleBank& bank,
                        OutputFile& out, const RenderProgress& progress = {});

}  // namespace orvena
