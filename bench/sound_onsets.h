#pragma once
// Onsets in the sound itself. With ORVENA_BENCH_SCHEDULE set to a file name, a timing
// benchmark plays through the machine's sound output (under bench/onsets.sh, the black-box
// desktop's sink, which that script records), runs once, and writes the time each note was
// due, in ms from the first note, one per line, for bench/onset_errors.py.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

#include "sound/audio_output.h"

namespace orvena::bench {

inline const char* schedule_file() {
    return std::getenv("ORVENA_BENCH_SCHEDULE");
}

inline bool plays_aloud() {
    return schedule_file() != nullptr;
}

inline int timing_iterations(int silent_iterations) {
    return plays_aloud() ? 1 : silent_iterations;
}

inline std::unique_ptr<AudioOutput> timing_output() {
    if (plays_aloud()) return open_default_output();
    return std::make_unique<NullOutput>();
}

// The program's output plays long before a performance starts; so does the benchmark's, until
// the mixer knows where the device's blocks fall.
inline void let_output_settle() {
    if (plays_aloud()) std::this_thread::sleep_for(std::chrono::milliseconds(1500));
}

inline void write_schedule(const std::vector<double>& due_ms) {
    if (!plays_aloud()) return;
    std::FILE* f = std::fopen(schedule_file(), "w");
    if (f == nullptr) return;
    for (const double ms : due_ms) std::fprintf(f, "%.3f\n", ms);
    std::fclose(f);
}

}  // namespace orvena::bench
