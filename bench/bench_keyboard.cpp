// Cost of a key press through the whole keyboard handler: an arrow key (state, header patch,
// voice start, lever strip, staff, panel, lever number) and a letter key (held note queued).

#include "qt_benchmark_main.h"

#include <algorithm>
#include <filesystem>
#include <random>

#include "playing/keyboard.h"
#include "playing/surface_views.h"
#include "sound/sound_module.h"
#include "surface/artwork.h"
#include "surface/dialogs.h"
#include "tuning/tablo_oku.h"

namespace {

using namespace orvena;
namespace fs = std::filesystem;

class SilentDialogs : public Dialogs {
  public:
    using Dialogs::message;
    MessageAnswer message(const std::string&, MessageButtons) override { return MessageAnswer::Ok; }
};

// The shipped program folder copied aside (plucks rewrite the samples' headers), with the
// instrument loaded as start-up leaves it and the displays on surfaces of their real sizes.
struct Instrument {
    Instrument()
        : dir(fs::temp_directory_path() /
              ("orvena-bench-" + std::to_string(std::random_device{}()))) {
        fs::create_directories(dir);
        std::vector<std::string> wavs;
        for (const auto& e : fs::directory_iterator(ORVENA_PROGRAM_DIR)) {
            const auto name = e.path().filename().string();
            if (e.path().extension() == ".wav" || name == "dizek.xls")
                fs::copy_file(e.path(), dir / name);
            if (e.path().extension() == ".wav") wavs.push_back(name);
        }
        std::sort(wavs.begin(), wavs.end());
        for (std::size_t i = 0; i < wavs.size(); ++i) st.wav_files[static_cast<long>(i)] = wavs[i];
        set_lever_limits(st);
        set_string_geometry(st);
        set_names(st);
        if (import_tuning(st, dir / "dizek.xls")) std::abort();
        st.manual_levers = true;
        st.cur_string = 12;
        sound = std::make_unique<SoundModule>(st, dir, std::make_unique<NullOutput>());
        sound->load_samples();
        views = std::make_unique<SurfaceViews>(
            st, PictureSurfaces{picture1, picture2, picture3, picture6, picture10},
            notation_sheet(), '.');
        ctx = std::make_unique<PlayContext>(PlayContext{st, *sound, *views, dialogs});
    }
    ~Instrument() {
        ctx.reset();
        views.reset();
        sound.reset();
        fs::remove_all(dir);
    }
    // Keeps the mixer's command queue from filling up during a long run.
    void drain() {
        static std::vector<float> block(2 * 256);
        sound->mixer().render(block.data(), 256);
    }

    fs::path dir;
    InstrumentState st;
    Surface picture1{485, 60, qRgb(224, 224, 224)};
    Surface picture2{904, 420};
    Surface picture3{140, 132};
    Surface picture6{239, 100, qRgb(255, 224, 192)};
    Surface picture10{90, 396};
    SilentDialogs dialogs;
    std::unique_ptr<SoundModule> sound;
    std::unique_ptr<SurfaceViews> views;
    std::unique_ptr<PlayContext> ctx;
};

void BM_arrow_key_lever_step(benchmark::State& state) {
    Instrument in;
    bool up = true;
    for (auto _ : state) {
        // Walk the lever of string 12 between 0 and 1 so every press sounds and redraws.
        Form_KeyDown(*in.ctx, up ? kKeyRight : kKeyLeft);
        up = !up;
        state.PauseTiming();
        in.drain();
        in.picture1.clear_print_log();
        in.picture6.clear_print_log();
        in.picture10.clear_print_log();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_arrow_key_lever_step)->Unit(benchmark::kMicrosecond);

void BM_arrow_key_string_walk(benchmark::State& state) {
    Instrument in;
    bool up = true;
    for (auto _ : state) {
        Form_KeyDown(*in.ctx, up ? kKeyUp : kKeyDown);
        up = !up;
        state.PauseTiming();
        in.drain();
        in.picture6.clear_print_log();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_arrow_key_string_walk)->Unit(benchmark::kMicrosecond);

void BM_letter_key_down(benchmark::State& state) {
    Instrument in;
    for (auto _ : state) {
        Form_KeyDown(*in.ctx, 'S');
        state.PauseTiming();
        Form_KeyUp(*in.ctx, 'S');
        in.drain();
        in.picture10.clear_print_log();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_letter_key_down)->Unit(benchmark::kMicrosecond);

}  // namespace

ORVENA_QT_BENCHMARK_MAIN()
