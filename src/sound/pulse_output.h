#pragma once
// A PulseAudio playback stream whose buffer the program sets itself: a target of two blocks,
// which the server keeps by adjusting its own latency, and which dropouts make larger (see
// block_size_policy.h). The server's default buffer is many times longer and makes every key
// sound late. The output is lost when the server goes away or drops the stream. Any thread.

#include <chrono>
#include <memory>
#include <string>

#include "sound/audio_host.h"

namespace orvena {

// How long a server may take to answer before it counts as not there.
inline constexpr std::chrono::milliseconds kPulseAnswerTime{1500};

// The server and its sinks (the default sink first); not available when no server answers.
AudioSystemInfo probe_pulse(std::chrono::milliseconds answer_time = kPulseAnswerTime);

// sink: a sink name from probe_pulse, or empty for the server's default. block_fixed: the
// player chose the block size, and dropouts change only the number of blocks.
std::unique_ptr<AudioOutput> open_pulse_output(
    const std::string& sink, unsigned block_frames, std::string& why_not,
    std::chrono::milliseconds answer_time = kPulseAnswerTime, bool block_fixed = false);

}  // namespace orvena
