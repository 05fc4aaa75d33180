// The output keeper on a machine whose sound systems the test makes up: what the settings
// dialog says of the output as it opens, moves its block, is lost and comes back, and what the
// log says when a choice cannot be saved.

#include <gtest/gtest.h>
#include <QObject>
#include <QTest>

#include <chrono>
#include <sstream>
#include <string>

#include "sound/output_choice.h"
#include "sound/output_keeper.h"
#include "sound/output_status.h"
#include "support/fake_audio_host.h"
#include "support/qt_app.h"
#include "support/temp_dir.h"

namespace orvena::test {
namespace {

using namespace std::chrono_literals;

struct Keeper {
    explicit Keeper(bool chosen_block) {
        ensure_qt_app();
        host->present = {system_with(AudioApi::pulse, {"cap"})};
        SoundConfig config;
        config.settings_file = settings_file;
        config.choice.block_chosen = chosen_block;
        config.choice.device = "cap";
        write_file_bytes(dir / "plain", "");
        config.open = [host = host](const AudioChoice& choice) {
            std::ostringstream ignored;
            return open_output(*host, choice, ignored);
        };
        config.reopen = [host = host](const OutputRequest& request, std::string& why) {
            return host->open(request, why);
        };
        config.watch_interval = 5ms;
        keeper = std::make_unique<OutputKeeper>(context, sound, config, log);
        keeper->open_output();
    }
    std::string shown() const { return output_status_text(*keeper); }

    // Shared with the opens: one still running when the test ends finishes on a live host.
    std::shared_ptr<FakeAudioHost> host = std::make_shared<FakeAudioHost>();
    InstrumentState st;
    TempDir dir;
    std::filesystem::path settings_file = dir / "plain" / "orvena.ini";  // a file, no folder
    SoundModule sound{st, dir.path(), std::make_unique<NullOutput>()};
    QObject context;
    std::ostringstream log;
    std::unique_ptr<OutputKeeper> keeper;
};

TEST(OutputKeeper, TheSettingsSayWhatPlaysAndWhyTheBlockMoved) {
    const std::string figures = "pulse cap\ngecikme 5.0 ms · blok ";
    for (const bool chosen : {false, true}) {
        SCOPED_TRACE(chosen);
        Keeper k(chosen);
        ASSERT_TRUE(QTest::qWaitFor([&] { return k.keeper->output().is_device(); }, 10000));
        EXPECT_EQ(k.shown(), figures + "128 kare × 2" + (chosen ? "" : " (otomatik)") +
                                 " · 48000 Hz · kesinti 0");
        k.host->devices->block = 256;
        k.host->devices->blocks = 3;
        k.host->devices->change = SizeChange::did_not_help;
        EXPECT_EQ(k.shown(), figures + "256 kare × 3 (" + (chosen ? "" : "otomatik; ") +
                                 "büyütmek kesintileri azaltmadı) · 48000 Hz · kesinti 0");
        // The server goes away: said at once, and the output is back when it answers again.
        k.host->devices->gone = true;
        k.host->devices->lost_below = 1;
        ASSERT_TRUE(QTest::qWaitFor([&] { return k.keeper->reconnecting(); }, 10000));
        EXPECT_EQ(k.shown(),
                  "ses yok: ses sunucusu ya da aygıt gitti; kendiliğinden yeniden açılacak");
        k.host->devices->gone = false;
        ASSERT_TRUE(QTest::qWaitFor([&] { return !k.keeper->reconnecting(); }, 10000));
        EXPECT_EQ(k.shown().substr(0, 24), "pulse cap\ngecikme 5.0 ms");
    }
}

TEST(OutputKeeper, AChoiceThatCannotBeSavedIsLoggedAndStillApplied) {
    Keeper k(false);
    AudioChoice silent;
    silent.silent = true;
    k.keeper->apply(silent);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !k.keeper->opening(); }, 10000));
    EXPECT_FALSE(k.keeper->output().is_device());
    EXPECT_EQ(k.shown(), "ses yok: ayarlarda ses kapalı");
    EXPECT_NE(
        k.log.str().find("the sound settings could not be saved in " + k.settings_file.string()),
        std::string::npos)
        << k.log.str();
}

}  // namespace
}  // namespace orvena::test
