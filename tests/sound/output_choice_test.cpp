// Which sound system and device the program plays through, as a function of what the
// machine offers and what the player chose.

#include <gtest/gtest.h>

#include <sstream>

#include "sound/output_choice.h"
#include "support/fake_audio_host.h"

namespace orvena::test {
namespace {

using enum AudioApi;

struct ChoiceCase {
    const char* name;
    std::vector<AudioSystemInfo> present;
    AudioChoice choice;
    std::set<std::string> refusing;
    std::string plays;  // "api device" of the output that opens; "" for silence
    std::string log_has;
};

const AudioSystemInfo kJack = system_with(jack, {"system"});
const AudioSystemInfo kNoJack = system_without(jack, "no JACK server running");
const AudioSystemInfo kPulse = system_with(pulse, {"cap", "hdmi"});
const AudioSystemInfo kNoPulse = system_without(pulse, "no sound server");
const AudioSystemInfo kAlsa = system_with(alsa, {"default", "hw:0,0", "hw:1,0"});
const AudioSystemInfo kNoAlsa = system_without(alsa, "no output device");

TEST(OutputChoice, PlaysThroughTheBestOutputPresentOrSaysWhyItIsSilent) {
    // clang-format off
    const ChoiceCase cases[] = {
        {"JackFirst", {kJack, kPulse, kAlsa}, {}, {}, "jack ", "sound jack"},
        {"ServerWithoutJack", {kNoJack, kPulse, kAlsa}, {}, {}, "pulse ", ""},
        {"AlsaWithoutServer", {kNoJack, kNoPulse, kAlsa}, {}, {}, "alsa ", ""},
        {"AlsaCardWhenDefaultIsBusy", {kNoJack, kNoPulse, kAlsa}, {},
         {"alsa ", "alsa default", "alsa hw:0,0"}, "alsa hw:1,0", "refused alsa hw:0,0"},
        {"NothingAtAll", {kNoJack, kNoPulse, kNoAlsa}, {}, {}, "",
         "playing silently (no sound system found; jack: no JACK server running; "
         "pulse: no sound server; alsa: no output device)"},
        {"LastFailureIsTheReason", {kNoJack, kPulse, kNoAlsa}, {}, {"pulse "}, "",
         "playing silently (refused pulse )"},
        {"PlayersSystemAndDevice", {kJack, kPulse, kAlsa},
         {.api = alsa, .device = "hw:1,0", .block_frames = 256, .block_chosen = true}, {},
         "alsa hw:1,0", ""},
        {"PlayersDeviceFindsItsSystem", {kNoJack, kPulse, kAlsa}, {.device = "hdmi"}, {},
         "pulse hdmi", ""},
        {"PlayersSystemMissingFallsBack", {kNoJack, kPulse, kAlsa}, {.api = jack}, {},
         "pulse ", "jack is not available (no JACK server running)"},
        {"PlayersDeviceGoneFallsBack", {kNoJack, kPulse, kAlsa},
         {.api = pulse, .device = "usb"}, {"pulse usb"}, "pulse ", "refused pulse usb"},
        {"SilentByChoice", {kJack, kPulse, kAlsa}, {.silent = true}, {}, "",
         "sound turned off"},
    };
    // clang-format on
    for (const ChoiceCase& c : cases) {
        SCOPED_TRACE(c.name);
        FakeAudioHost host;
        host.present = c.present;
        host.refusing = c.refusing;
        std::ostringstream log;
        const OpenedOutput opened = open_output(host, c.choice, log);
        ASSERT_NE(opened.output, nullptr);
        EXPECT_EQ(opened.output->is_device(), !c.plays.empty());
        if (!c.plays.empty()) {
            EXPECT_EQ(opened.output->description(), c.plays);
            EXPECT_EQ(opened.output->block_frames(), c.choice.block_frames);
            // What a lost output is opened again with.
            ASSERT_TRUE(opened.request.has_value());
            EXPECT_EQ(std::string(api_name(opened.request->api)) + " " + opened.request->device,
                      c.plays);
            EXPECT_EQ(opened.request->block_fixed, c.choice.block_chosen);
        } else {
            EXPECT_FALSE(opened.request.has_value());
        }
        EXPECT_NE(log.str().find(c.log_has), std::string::npos) << log.str();
        EXPECT_EQ(opened.systems.size(), c.present.size());
    }
}

}  // namespace
}  // namespace orvena::test
