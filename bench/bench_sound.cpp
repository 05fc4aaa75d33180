// Costs and quality of the sound path:
//  - BM_Mixer27Voices: rendering 27 voices in 256-frame blocks at 48 kHz; core_pct is the
//    share of one core the audio thread needs (target: 3 % or less).
//  - BM_PlayTunedSample: one pluck from the event thread: header patch and voice start
//    (target: 100 us or less).
//  - BM_InterpolationQuality: strongest spurious component of a 5 kHz sine sample played
//    200 cents down and up, in dB below the tone (target: -80 dB or lower).
//  - BM_DeviceLatency: the output latency the sound device reports, when there is one.

#include <benchmark/benchmark.h>

#include <cmath>
#include <complex>
#include <filesystem>
#include <iostream>
#include <numbers>
#include <random>
#include <sstream>

#include "pitch/pitch.h"
#include "sound/audio_output.h"
#include "sound/mixer.h"
#include "sound/sample_bank.h"
#include "sound/sound_module.h"
#include "tuning/instrument_state.h"
#include "tuning/tablo_oku.h"

namespace {

using namespace orvena;

constexpr double kDeviceRate = 48000.0;
constexpr std::size_t kBlock = 256;
std::filesystem::path program_dir() {
    return ORVENA_PROGRAM_DIR;
}

std::vector<std::string> sample_names() {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(program_dir())) {
        if (e.path().extension() == ".wav") names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The instrument as start-up leaves it, tuned by the shipped workbook; false when the
// program folder lacks the workbook.
bool tuned_state(const std::vector<std::string>& names, InstrumentState& st) {
    set_names(st.build);
    set_lever_limits(st.build);
    if (import_tuning(st, program_dir() / "dizek.xls")) return false;
    for (std::size_t i = 0; i < names.size() && i < 57; ++i) {
        st.build.wav_files[static_cast<long>(i)] = names[i];
    }
    return true;
}

// 27 voices of the shipped samples; arg 0: rates of random lever positions, 1: every voice
// at the sample's own rate (slower than the device), 2: every voice faster than the device.
void BM_Mixer27Voices(benchmark::State& state) {
    const auto names = sample_names();
    if (names.size() < 27) {
        state.SkipWithError("the program folder holds no samples; build orvena_samples");
        return;
    }
    InstrumentState st;
    if (!tuned_state(names, st)) {
        state.SkipWithError("the program folder holds no workbook; build orvena_workbook");
        return;
    }
    std::vector<std::unique_ptr<SampleData>> data;
    for (const auto& n : names) data.push_back(decode_sample_file(program_dir() / n));
    std::mt19937 rng(1);
    std::vector<double> rates;
    for (int v = 0; v < 27; ++v) {
        const int s = 1 + v % 26;
        std::uniform_int_distribution<int> lever(st.build.mandal_min[s], st.build.mandal_max[s]);
        switch (state.range(0)) {
            case 0:
                rates.push_back(st.derived.sample_rate(s, lever(rng)));
                break;
            case 1:
                rates.push_back(44100.0);
                break;
            default:
                rates.push_back(49000.0);
                break;
        }
    }
    Mixer mixer(kDeviceRate);
    auto start_all = [&] {
        for (std::uint32_t v = 0; v < 27; ++v) {
            mixer.stop_held(v);
            mixer.start_held(v, *data[v], rates[v]);
        }
    };
    start_all();
    std::vector<float> out(2 * kBlock);
    std::int64_t blocks = 0;
    for (auto _ : state) {
        mixer.render(out.data(), kBlock);
        benchmark::DoNotOptimize(out.data());
        if (++blocks % 400 == 0) {  // every ~2 s of sound, before the samples run out
            state.PauseTiming();
            start_all();
            state.ResumeTiming();
        }
    }
    const double audio_seconds = static_cast<double>(blocks * kBlock) / kDeviceRate;
    state.counters["core_pct"] = benchmark::Counter(
        audio_seconds / 100.0, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_Mixer27Voices)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void BM_PlayTunedSample(benchmark::State& state) {
    const auto names = sample_names();
    if (names.size() < 27) {
        state.SkipWithError("the program folder holds no samples; build orvena_samples");
        return;
    }
    const auto dir = std::filesystem::temp_directory_path() /
                     ("orvena-bench-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir);
    for (const auto& n : names) std::filesystem::copy_file(program_dir() / n, dir / n);
    InstrumentState st;
    if (!tuned_state(names, st)) {
        state.SkipWithError("the program folder holds no workbook; build orvena_workbook");
        return;
    }
    {
        SoundModule module(st, dir, std::make_unique<NullOutput>(kDeviceRate));
        module.load_samples();
        std::vector<float> out(2);
        int i = 0;
        for (auto _ : state) {
            const int s = 1 + i % 26;
            const int p =
                st.build.mandal_min[s] + i % (st.build.mandal_max[s] - st.build.mandal_min[s] + 1);
            module.play_tuned_sample(s, p);
            module.mixer().render(out.data(), 1);  // the audio thread takes the commands
            ++i;
        }
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_PlayTunedSample)->Unit(benchmark::kMicrosecond);

void BM_InterpolationQuality(benchmark::State& state) {
    std::vector<float> tone(static_cast<std::size_t>(2 * 44100));
    for (std::size_t i = 0; i < tone.size(); ++i) {
        tone[i] = static_cast<float>(0.5 * std::sin(2 * std::numbers::pi * 5000.0 * i / 44100.0));
    }
    const SampleData sample(tone, 1);
    double down = 0, up = 0;
    for (auto _ : state) {
        for (double cents : {-200.0, 200.0}) {
            Mixer mixer(kDeviceRate);
            mixer.start_pluck(sample, std::round(44100.0 * std::pow(2.0, cents / 1200.0)));
            std::vector<float> out(2 * 72000);
            mixer.render(out.data(), 72000);
            std::vector<float> left(65536);
            for (std::size_t i = 0; i < left.size(); ++i) left[i] = out[2 * (4800 + i)];
            (cents < 0 ? down : up) = orvena::test::spurious_level_db(left, kDeviceRate);
        }
    }
    state.counters["spurious_dB_minus200c"] = down;
    state.counters["spurious_dB_plus200c"] = up;
}
BENCHMARK(BM_InterpolationQuality)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_DeviceLatency(benchmark::State& state) {
    std::ostringstream log;
    auto out = open_default_output(log);
    for (auto _ : state) benchmark::DoNotOptimize(out.get());
    if (out->is_device()) {
        state.counters["latency_ms"] = out->latency_seconds() * 1000.0;
        state.counters["device_rate_hz"] = out->sample_rate();
        state.SetLabel(out->description());
    } else {
        state.SetLabel("no sound device: " + log.str());
    }
}
BENCHMARK(BM_DeviceLatency)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
