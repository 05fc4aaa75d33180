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

AudioChoice chose(std::optional<AudioApi> api, std::string device = "", unsigned block = 128) {
    AudioChoice c;
    c.api = api;
    c.device = std::move(device);
    c.block_frames = block;
    return c;
}

const AudioSystemInfo kJack = system_with(jack, {"system"});
const AudioSystemInfo kNoJack = system_without(jack, "no JACK server running");
const AudioSystemInfo kPulse = system_with(pulse, {"cap", "hdmi"});
const AudioSystemInfo kNoPulse = system_without(pulse, "no sound server");
const AudioSystemInfo kAlsa = system_with(alsa, {"default", "hw:0,0", "hw:1,0"});
const AudioSystemInfo kNoAlsa = system_without(alsa, "no output device");

void PrintTo(const ChoiceCase& c, std::ostream* os) {
    *os << c.name;
}

class OutputChoice : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(OutputChoice, PlaysThroughTheBestOutputPresentOrSaysWhyItIsSilent) {
    const ChoiceCase& c = GetParam();
    FakeAudioHost host;
    host.present = c.present;
    host.refusing = c.refusing;
    std::ostringstream log;
    const OpenedOutput opened = open_output(host, c.choice, log);
    ASSERT_NE(opened.output, nullptr);
    if (c.plays.empty()) {
        EXPECT_FALSE(opened.output->is_device());
    } else {
        EXPECT_TRUE(opened.output->is_device());
        EXPECT_EQ(opened.output->description(), c.plays);
        EXPECT_EQ(opened.output->block_frames(), c.choice.block_frames);
    }
    EXPECT_NE(log.str().find(c.log_has), std::string::npos) << log.str();
    EXPECT_EQ(opened.systems.size(), c.present.size());
}

INSTANTIATE_TEST_SUITE_P(
    WhatIsPresent, OutputChoice,
    ::testing::Values(
        ChoiceCase{"JackFirst", {kJack, kPulse, kAlsa}, chose({}), {}, "jack ", "sound jack"},
        ChoiceCase{"ServerWithoutJack", {kNoJack, kPulse, kAlsa}, chose({}), {}, "pulse ", ""},
        ChoiceCase{"AlsaWithoutServer", {kNoJack, kNoPulse, kAlsa}, chose({}), {}, "alsa ", ""},
        ChoiceCase{"AlsaCardWhenDefaultIsBusy",
                   {kNoJack, kNoPulse, kAlsa},
                   chose({}),
                   {"alsa ", "alsa default", "alsa hw:0,0"},
                   "alsa hw:1,0",
                   "refused alsa hw:0,0"},
        ChoiceCase{"NothingAtAll",
                   {kNoJack, kNoPulse, kNoAlsa},
                   chose({}),
                   {},
                   "",
                   "playing silently (no sound system found; jack: no JACK server running; "
                   "pulse: no sound server; alsa: no output device)"},
        ChoiceCase{"LastFailureIsTheReason",
                   {kNoJack, kPulse, kNoAlsa},
                   chose({}),
                   {"pulse "},
                   "",
                   "playing silently (refused pulse )"},
        ChoiceCase{"PlayersSystemAndDevice",
                   {kJack, kPulse, kAlsa},
                   chose(alsa, "hw:1,0", 256),
                   {},
                   "alsa hw:1,0",
                   ""},
        ChoiceCase{"PlayersDeviceFindsItsSystem",
                   {kNoJack, kPulse, kAlsa},
                   chose({}, "hdmi"),
                   {},
                   "pulse hdmi",
                   ""},
        ChoiceCase{"PlayersSystemMissingFallsBack",
                   {kNoJack, kPulse, kAlsa},
                   chose(jack),
                   {},
                   "pulse ",
                   "jack is not available (no JACK server running)"},
        ChoiceCase{"PlayersDeviceGoneFallsBack",
                   {kNoJack, kPulse, kAlsa},
                   chose(pulse, "usb"),
                   {"pulse usb"},
                   "pulse ",
                   "refused pulse usb"},
        ChoiceCase{"SilentByChoice",
                   {kJack, kPulse, kAlsa},
                   [] {
                       AudioChoice c;
                       c.silent = true;
                       return c;
                   }(),
                   {},
                   "",
                   "sound turned off"}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace orvena::test
