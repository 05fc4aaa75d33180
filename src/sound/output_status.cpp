#include "sound/output_status.h"

#include <charconv>
#include <cmath>

#include "sound/output_keeper.h"

namespace orvena {

namespace {

// The block size, and whether it is the automatic one and a larger one was given up.
std::string block_text(const AudioOutput& out, bool chosen) {
    std::string block = "blok " + std::to_string(out.block_frames()) + " kare";
    if (out.buffer_blocks() != 0) block += " × " + std::to_string(out.buffer_blocks());
    const bool no_help = out.size_change() == SizeChange::did_not_help;
    if (!chosen) {
        block += no_help ? " (otomatik; büyütmek kesintileri azaltmadı)" : " (otomatik)";
    } else if (no_help) {
        block += " (büyütmek kesintileri azaltmadı)";
    }
    return block;
}

}  // namespace

std::string output_status_text(const OutputKeeper& keeper) {
    if (keeper.reconnecting()) {
        return "ses yok: ses sunucusu ya da aygıt gitti; kendiliğinden yeniden açılacak";
    }
    if (keeper.opening()) return "ses çıkışı açılıyor…";
    const AudioOutput& out = keeper.output();
    if (!out.is_device()) return "ses yok: " + out.description();
    // With a point whatever the locale, as the dialog always showed it.
    char latency[32];
    const auto end = std::to_chars(latency, latency + sizeof latency,
                                   out.latency_seconds() * 1000.0, std::chars_format::fixed, 1)
                         .ptr;
    return out.description() + "\ngecikme " + std::string(latency, end) + " ms · " +
           block_text(out, keeper.choice().block_chosen) + " · " +
           std::to_string(std::lround(out.sample_rate())) + " Hz · kesinti " +
           std::to_string(out.underruns());
}

std::string realtime_status_text(const OutputKeeper& keeper) {
    const std::string realtime = keeper.realtime_text();
    return realtime.empty() ? "—" : realtime;
}

}  // namespace orvena
