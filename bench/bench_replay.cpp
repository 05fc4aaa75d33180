// Timing of a replayed performance: a 50-note recording with intervals of 40 to 200 ms
// replayed through the real handler (displays, header rewrite, voice start, the window's
// event pump, the system clock). Each note's onset (its voice started) is compared with its
// recorded time from the first note; the counters give the largest error and the last
// note's error in milliseconds. Under bench/onsets.sh the notes sound on the sound server
// and their onsets are measured in the recorded sound (see sound_onsets.h).

#include "qt_benchmark_main.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

#include "bench_instrument.h"
#include "recording/performance_recorder.h"
#include "recording/record_file.h"
#include "sound_onsets.h"
#include "surface/clock.h"
#include "surface/event_pump.h"

namespace {

using namespace orvena;
using bench::Instrument;

double now_ms() {
    return SystemClock().now_ms();
}

// The sound module, noting when each pluck's voice has started.
class OnsetSound final : public Sound {
  public:
    explicit OnsetSound(Instrument& in) : in_(in) {}
    void play_tuned_sample(int string, int lever) override {
        in_.sound->play_tuned_sample(string, lever);
        onsets.push_back(now_ms());
        in_.drain();
    }
    void play_note_alias(int s, int lever, const std::string& a) override {
        in_.sound->play_note_alias(s, lever, a);
    }
    void stop_note_alias(const std::string& a) override { in_.sound->stop_note_alias(a); }
    void stop_plucked() override { in_.sound->stop_plucked(); }
    void set_note_time(std::optional<double> ms) override { in_.sound->set_note_time(ms); }
    std::vector<double> onsets;

  private:
    Instrument& in_;
};

class InstrumentPanel final : public RecordingPanel {
  public:
    void show(RecorderState) override {}
    int accidental_source() const override { return 1; }
};

void BM_replay_50_notes(benchmark::State& state) {
    Instrument in(bench::timing_output());
    bench::let_output_settle();
    std::vector<double> recorded;  // ms from the first note
    std::string text;
    double at = 0;
    for (int i = 0; i < 50; ++i) {
        const int interval = 40 + (i * 37) % 161;
        recorded.push_back(at);
        at += interval;
        text += format_record({static_cast<std::int16_t>(1 + (i * 7) % 26), 0, interval});
    }
    bench::write_schedule(recorded);
    std::FILE* f = std::fopen((in.dir / kRecordFileName).c_str(), "wb");
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);

    OnsetSound sound(in);
    PlayContext ctx{in.st, sound, *in.views, in.dialogs};
    InstrumentPanel panel;
    Surface lamp8{12, 12}, lamp9{12, 12};
    QtEventPump pump;
    SystemClock clock;
    xTimer timer;
    PerformanceRecorder recorder(
        ctx, RecordingPlatform{panel, lamp8, lamp9, pump, clock, timer, in.dir});
    double worst = 0, last = 0, mean = 0;
    for (auto _ : state) {
        sound.onsets.clear();
        recorder.Play_buton_Click();
        if (sound.onsets.size() != recorded.size()) {
            state.SkipWithError("not every note sounded");
            return;
        }
        double sum = 0;
        for (std::size_t i = 0; i < recorded.size(); ++i) {
            const double error = std::fabs(sound.onsets[i] - sound.onsets[0] - recorded[i]);
            worst = std::max(worst, error);
            sum += error;
        }
        mean = sum / static_cast<double>(recorded.size());
        last = std::fabs(sound.onsets.back() - sound.onsets[0] - recorded.back());
    }
    state.counters["worst_onset_error_ms"] = worst;
    state.counters["mean_onset_error_ms"] = mean;
    state.counters["last_onset_error_ms"] = last;
}
BENCHMARK(BM_replay_50_notes)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(bench::timing_iterations(2));

}  // namespace

ORVENA_QT_BENCHMARK_MAIN()
