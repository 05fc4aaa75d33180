#pragma once
// The shipped instrument for benchmarks: the program folder copied aside (plucks rewrite the
// samples' headers), loaded as start-up leaves it, with the displays on surfaces of their
// real sizes and a silent sound output (or the one given).

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "display/play_context.h"
#include "playing/surface_views.h"
#include "sound/sound_module.h"
#include "surface/artwork.h"
#include "surface/dialogs.h"
#include "tuning/tablo_oku.h"

namespace orvena::bench {

namespace fs = std::filesystem;

class SilentDialogs : public Dialogs {
  public:
    using Dialogs::message;
    MessageAnswer message(const std::string&, MessageButtons) override { return MessageAnswer::Ok; }
};

struct Instrument {
    explicit Instrument(std::unique_ptr<AudioOutput> output = std::make_unique<NullOutput>())
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
        for (std::size_t i = 0; i < wavs.size(); ++i)
            st.build.wav_files[static_cast<long>(i)] = wavs[i];
        set_lever_limits(st.build);
        set_string_geometry(st.build);
        set_names(st.build);
        if (import_tuning(st, dir / "dizek.xls")) std::abort();
        st.settings.manual_levers = true;
        st.selection.cur_string = 12;
        sound = std::make_unique<SoundModule>(st, dir, std::move(output));
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
    // Keeps the mixer's command queue from filling up during a long run (a device drains it
    // by itself).
    void drain() {
        if (sound->output().is_device()) return;
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

}  // namespace orvena::bench
