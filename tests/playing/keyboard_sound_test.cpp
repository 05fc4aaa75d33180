#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "playing/keyboard.h"
#include "playing/recording_views.h"
#include "sound/sound_module.h"
#include "support/pitch.h"
#include "support/recording_dialogs.h"
#include "support/temp_dir.h"
#include "tuning/tablo_oku.h"

namespace orvena {
namespace {

namespace fs = std::filesystem;

// The shipped program folder copied aside, its tuning imported and its samples loaded into
// a sound module that renders offline.
struct PlayedInstrument {
    PlayedInstrument() {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(test::program_dir())) {
            const auto name = entry.path().filename().string();
            if (entry.path().extension() == ".wav" || name == "dizek.xls") {
                fs::copy_file(entry.path(), dir / name);
                if (entry.path().extension() == ".wav") names.push_back(name);
            }
        }
        std::sort(names.begin(), names.end());
        for (std::size_t i = 0; i < names.size(); ++i)
            st.wav_files[static_cast<long>(i)] = names[i];
        set_lever_limits(st);
        set_names(st);
        EXPECT_FALSE(import_tuning(st, dir / "dizek.xls").has_value());
        st.manual_levers = true;
        st.cur_string = 12;
        sound.load_samples();
    }

    std::vector<float> render(double seconds) {
        std::vector<float> out(static_cast<std::size_t>(seconds * kRate) * 2);
        sound.mixer().render(out.data(), out.size() / 2);
        return test::channel_of(out, 0);
    }

    static constexpr double kRate = 48000.0;
    test::TempDir dir;
    InstrumentState st;
    SoundModule sound{st, dir.path(), std::make_unique<NullOutput>(kRate)};
    test::RecordingViews views;
    test::RecordingDialogs dialogs;
    PlayContext ctx{st, sound, views, dialogs};
};

TEST(KeyboardSound, LetterAndLeverKeysSoundTheTablesPitches) {
    PlayedInstrument played;
    Form_KeyDown(played.ctx, 'S');
    const auto held = played.render(1.0);
    EXPECT_NEAR(test::cents_between(test::measure_fundamental(held, PlayedInstrument::kRate),
                                    played.st.freq(12, 0)),
                0.0, 0.5);

    Form_KeyUp(played.ctx, 'S');
    played.render(0.05);  // the released note fades out
    for (int i = 0; i < 3; ++i) Form_KeyDown(played.ctx, kKeyRight);
    ASSERT_EQ(played.st.mandal_pos[12], 3);
    const auto raised = played.render(1.0);
    EXPECT_NEAR(test::cents_between(test::measure_fundamental(raised, PlayedInstrument::kRate),
                                    played.st.freq(12, 3)),
                0.0, 0.5);

    // The letter key now plays the file as the last lever pluck left it: position 3.
    played.sound.stop_plucked();
    played.render(0.05);
    Form_KeyDown(played.ctx, 'S');
    played.render(0.02);
    const auto again = played.render(1.0);
    EXPECT_NEAR(test::cents_between(test::measure_fundamental(again, PlayedInstrument::kRate),
                                    played.st.freq(12, 3)),
                0.0, 0.5);
}

}  // namespace
}  // namespace orvena
