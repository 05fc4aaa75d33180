#pragma once
// A PulseAudio playback stream whose buffer the program sets itself: a target of two blocks,
// which the server keeps by adjusting its own latency. The server's default buffer is many
// times longer and makes every key sound late. Any thread.

#include <chrono>
#include <memory>
#include <string>

#include "sound/audio_host.h"

namespace orvena {

// How long a server may take to answer before it counts as not there.
inline constexpr std::chrono::milliseconds kPulseAnswerTime{1500};

// The server and its sinks (the default sink first); not available when no server answers.
AudioSystemInfo probe_pulse(std::chrono::milliseconds answer_time = kPulseAnswerTime);

// sink: a sink name from probe_pulse, or empty for the server's default.
std::unique_ptr<AudioOutput> open_pulse_output(
    const std::string& sink, unsigned block_frames, std::string& why_not,
    std::chrono::milliseconds answer_time = kPulseAnswerTime);

}  // namespace orvena
