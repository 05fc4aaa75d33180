// Timing of sequence playback in real time: 100 thirty-second notes at the fastest speed
// (60 ms each), drawn on the window's displays with the shipped tuning and sounded through
// the sound module (sample headers rewritten in the program folder, silent output). Each
// onset is compared with its place in the schedule counted from the first one; the counters
// give the largest error, the drift from the first note to the last and the longest pluck
// call, in milliseconds. Under bench/onsets.sh the notes sound on the sound server and their
// onsets are measured in the recorded sound (see sound_onsets.h).

#include "qt_benchmark_main.h"
#include "sound_onsets.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "playing/surface_views.h"
#include "recording/sequence_player.h"
#include "sound/sound_module.h"
#include "surface/artwork.h"
#include "surface/file_list.h"
#include "tuning/tablo_oku.h"

namespace {

using namespace orvena;

// Notes the time each pluck has been handed to the mixer.
class OnsetSound final : public Sound {
  public:
    OnsetSound(Sound& inner, Clock& clock) : inner_(inner), clock_(clock) {}
    void play_tuned_sample(int string, int lever) override {
        const double before = clock_.now_ms();
        inner_.play_tuned_sample(string, lever);
        onsets.push_back(clock_.now_ms());
        call_ms = std::max(call_ms, onsets.back() - before);
    }
    void play_note_alias(int s, int lever, const std::string& a) override {
        inner_.play_note_alias(s, lever, a);
    }
    void stop_note_alias(const std::string& a) override { inner_.stop_note_alias(a); }
    void stop_plucked() override { inner_.stop_plucked(); }
    void set_note_time(std::optional<double> ms) override { inner_.set_note_time(ms); }
    std::vector<double> onsets;
    double call_ms = 0;  // longest pluck call

  private:
    Sound& inner_;
    Clock& clock_;
};

class NoDialogs : public Dialogs {
  public:
    using Dialogs::message;
    MessageAnswer message(const std::string&, MessageButtons) override { return {}; }
};

void BM_sequence_onsets(benchmark::State& state) {
    const std::filesystem::path folder = ORVENA_PROGRAM_DIR;
    InstrumentState st;
    set_lever_limits(st.build);
    set_string_geometry(st.build);
    set_names(st.build);
    if (import_tuning(st, folder / "dizek.xls")) {
        state.SkipWithError("no tuning workbook in the program folder");
        return;
    }
    const std::vector<std::string> wavs = list_matching_files(folder, "*.wav");
    st.build.wav_file_count = static_cast<int>(std::min<std::size_t>(wavs.size(), kWavFileSlots));
    for (int i = 0; i < st.build.wav_file_count; ++i)
        st.build.wav_files[i] = wavs[static_cast<std::size_t>(i)];
    st.transport.speed = 30;
    st.selection.cur_string = 12;

    Surface p1(485, 60), p2(904, 420), p3(140, 132), p6(239, 100), p7(56, 24), p10(90, 396);
    SurfaceViews views(st, PictureSurfaces{p1, p2, p3, p6, p10}, notation_sheet(), '.');
    SoundModule module(st, folder, bench::timing_output());
    module.load_samples();
    bench::let_output_settle();
    SystemClock clock;
    QtEventPump pump;
    OnsetSound sound(module, clock);
    NoDialogs dialogs;
    PlayContext ctx{st, sound, views, dialogs};

    // A walk up and down the middle strings, one thirty-second note each.
    std::string text;
    for (int i = 0; i < 100; ++i) {
        const int walk = i % 20 < 10 ? i % 10 : 10 - i % 10;
        text += "0," + std::to_string(4 + walk) + ",6,0,0,0,0,0,0,0\r\n";
    }
    std::vector<double> due;
    for (int i = 0; i < 100; ++i) due.push_back(60.0 * i);
    bench::write_schedule(due);
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "olcum.ses";
    std::FILE* out = std::fopen(file.c_str(), "wb");
    std::fwrite(text.data(), 1, text.size(), out);
    std::fclose(out);

    SequencePlayback playback{ctx, p7, clock, pump, file.parent_path(), {}};
    playback.window.file_name = [] { return std::string("olcum"); };
    playback.window.accidental_source = [] { return AccidentalSource::Instrument; };
    playback.window.set_button_caption = [](const char*) {};
    playback.window.enable_frames = [](bool) {};

    double worst = 0, drift = 0;
    std::vector<double> errors;
    for (auto _ : state) {
        sound.onsets.clear();
        yürüt10(playback);
        for (std::size_t k = 0; k < sound.onsets.size(); ++k) {
            const double error = sound.onsets[k] - sound.onsets[0] - 60.0 * static_cast<double>(k);
            worst = std::max(worst, std::fabs(error));
            errors.push_back(std::fabs(error));
            drift = error;
        }
    }
    std::filesystem::remove(file);
    state.counters["notes"] = static_cast<double>(sound.onsets.size());
    state.counters["max_onset_error_ms"] = worst;
    state.counters["drift_ms"] = drift;
    // A busy machine delays a few wake-ups; the 95th percentile shows the usual precision.
    std::sort(errors.begin(), errors.end());
    if (!errors.empty()) state.counters["p95_onset_error_ms"] = errors[errors.size() * 95 / 100];
    state.counters["longest_pluck_ms"] = sound.call_ms;
}
BENCHMARK(BM_sequence_onsets)
    ->Iterations(bench::timing_iterations(3))
    ->Unit(benchmark::kMillisecond);

}  // namespace

ORVENA_QT_BENCHMARK_MAIN()
