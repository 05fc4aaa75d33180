// The output: the settings file, the best output present, finding a lost one again, the sound
// kept in hand after dropouts, real-time scheduling for its thread.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <sstream>
#include <tuple>

#include "sound/block_size_policy.h"
#include "sound/linux_scheduling.h"
#include "sound/output_choice.h"
#include "sound/realtime_priority.h"
#include "sound/reconnect.h"
#include "sound/sound_settings.h"
#include "support/fake_audio_host.h"
#include "support/qt_app.h"
#include "support/temp_dir.h"

namespace orvena::test {
namespace {

using enum AudioApi;
using std::chrono::milliseconds;

TEST(SoundSettingsFile, BrokenOrUnknownValuesFallBackToTheDefaultWithAMessage) {
    ensure_qt_app();
    // orvena.ini ("-" none, "|" a FIFO, "=" saved, a block not chosen as 512), then api, device,
    // block, chosen, and what the log says.
    // clang-format off
    const std::tuple<std::string, std::string, std::string, unsigned, bool, std::string> cases[] = {
        {"-", "auto", "", 128, false, ""},
        {"[sound]\napi=alsa\ndevice=hw:1,0\nbuffer_frames=4096\n", "alsa", "hw:1,0", 4096, true,
         ""},
        {"[sound]\napi=none\n", "none", "", 128, false, ""},
        {"[sound]\napi=coreaudio\nbuffer_frames=64\n", "auto", "", 64, true,
         "unknown sound system 'coreaudio'"},
        {"[sound]\napi=pulse\nbuffer_frames=12x\n", "pulse", "", 128, false, "buffer_frames '12x'"},
        {"[sound]\nbuffer_frames=1000000\n", "auto", "", 128, false, "buffer_frames '1000000'"},
        {"[sound]\napi=a\x1b[2J\n", "auto", "", 128, false, "unknown sound system 'a\\x1B[2J'"},
        {"|", "auto", "", 128, false, "cannot be read"},  // read, it would hold the start-up
        {"[sound]\ndevice=\" cap \"\n", "auto", "cap", 128, false, ""},
        {"=", "alsa", "hw:1,0", 256, true, ""}, {"=", "none", "", 128, false, ""},
    };
    // clang-format on
    for (const auto& [file, api, device, block, chosen, log_has] : cases) {
        SCOPED_TRACE(file);
        TempDir dir;
        if (file == "|") {
            ASSERT_EQ(::mkfifo((dir / kSettingsFileName).c_str(), 0644), 0);
        } else if (file == "=") {  // as the dialog saves the row's choice
            AudioChoice saved{.device = device, .block_frames = 512, .block_chosen = chosen};
            if (chosen) saved.block_frames = block;
            ASSERT_TRUE(set_api_by_name(saved, api));
            ASSERT_TRUE(write_sound_settings(dir / kSettingsFileName, saved));
        } else if (file != "-") {
            write_file_bytes(dir / kSettingsFileName, file);
        }
        std::ostringstream log;
        const AudioChoice c = read_sound_settings(dir / kSettingsFileName, log);
        EXPECT_EQ(std::tuple(api_setting_name(c), c.device, c.block_frames, c.block_chosen),
                  std::tuple(api, device, block, chosen));
        EXPECT_EQ(log.str().empty(), log_has.empty()) << log.str();
        EXPECT_NE(log.str().find(log_has), std::string::npos) << log.str();
    }
}

TEST(OutputChoice, PlaysThroughTheBestOutputPresentOrSaysWhyItIsSilent) {
    const auto jack_ = system_with(jack, {"system"}), no_jack = system_without(jack, "no JACK");
    const auto pulse_ = system_with(pulse, {"cap", "hdmi"}),
               no_pulse = system_without(pulse, "no server");
    const auto alsa_ = system_with(alsa, {"default", "hw:0,0", "hw:1,0"});
    const auto no_alsa = system_without(alsa, "no output device");
    const std::vector<AudioSystemInfo> all = {jack_, pulse_, alsa_}, pa = {no_jack, pulse_, alsa_};
    // What is present, chosen and refused; the output that plays ("" silence); what the log says.
    // clang-format off
    const std::tuple<std::vector<AudioSystemInfo>, AudioChoice, std::set<std::string>, std::string,
                     std::string> cases[] = {
        {all, {}, {}, "jack ", "sound jack , 128-frame blocks (2 in hand) at 48000 Hz, latency 5.0 ms, 0 underruns\n"},
        {{no_jack, no_pulse, alsa_}, {}, {"alsa ", "alsa default", "alsa hw:0,0"}, "alsa hw:1,0",
         "refused alsa hw:0,0"},
        {{no_jack, no_pulse, no_alsa}, {}, {}, "", "playing silently (ses sistemi bulunamadı; "
         "jack: no JACK; pulse: no server; alsa: no output device)"},
        {{no_jack, pulse_, no_alsa}, {}, {"pulse "}, "", "playing silently (refused pulse )"},
        {all, {.api = alsa, .device = "hw:1,0", .block_frames = 256, .block_chosen = true}, {},
         "alsa hw:1,0", ""},
        {pa, {.device = "hdmi"}, {}, "pulse hdmi", ""},
        {pa, {.api = jack}, {}, "pulse ", "jack is not available (no JACK)"},
        {pa, {.api = pulse, .device = "usb"}, {"pulse usb"}, "pulse ", "refused pulse usb"},
        {all, {.silent = true}, {}, "", "playing silently (ayarlarda ses kapalı)"},
    };
    // clang-format on
    for (const auto& [present, choice, refusing, plays, log_has] : cases) {
        SCOPED_TRACE(plays + " / " + log_has);
        FakeAudioHost host;
        host.present = present;
        host.refusing = refusing;
        std::ostringstream log;
        const OpenedOutput opened = open_output(host, choice, log);
        ASSERT_NE(opened.output, nullptr);
        EXPECT_EQ(opened.output->is_device(), !plays.empty());
        EXPECT_EQ(opened.request.has_value(), !plays.empty());
        if (opened.request) {  // what a lost output is opened again with
            EXPECT_EQ(opened.output->description(), plays);
            EXPECT_EQ(std::string(api_name(opened.request->api)) + " " + opened.request->device,
                      plays);
            EXPECT_EQ(opened.request->block_fixed, choice.block_chosen);
        }
        EXPECT_NE(log.str().find(log_has), std::string::npos) << log.str();
    }
}

// Tries at 100, 300, 700, 1500, 2500, 3500, ... ms after the loss, only of the lost output.
TEST(Reconnect, TriesSoonThenAtMostASecondApartUntilTheServerAnswers) {
    // The server answers again this long after the loss; the output opens at; tries before.
    const std::tuple<int, int, int> cases[] = {{0, 100, 0},     {100, 100, 0},   {101, 300, 1},
                                               {650, 700, 2},   {1200, 1500, 3}, {1501, 2500, 4},
                                               {2600, 3500, 5}, {9000, 9500, 11}};
    for (auto [back_ms, reopened_ms, tries] : cases) {
        FakeAudioHost host;
        const auto lost_at = std::chrono::steady_clock::now();
        Reconnect reconnect({pulse, "cap", 128}, lost_at);
        std::unique_ptr<AudioOutput> output;
        std::chrono::steady_clock::time_point at;
        while (!output && reconnect.tries() < 100) {
            at = reconnect.next_try();
            host.devices->gone = at < lost_at + milliseconds(back_ms);
            std::string why_not;
            output = Reconnect::reopen(host, reconnect.request(), why_not);
            if (output) break;
            EXPECT_EQ(why_not, "refused pulse cap");
            reconnect.failed(at);
        }
        ASSERT_NE(output, nullptr) << back_ms;
        EXPECT_EQ(output->description(), "pulse cap");
        EXPECT_EQ(at - lost_at, milliseconds(reopened_ms)) << "server back at " << back_ms;
        EXPECT_EQ(reconnect.tries(), tries) << back_ms;
    }
}

// The policy is asked every 100 ms, as blocks are. A step up is judged on the spell's rate:
// four dropouts after it in the time the old rate brings four undo it; a quiet minute (longer
// on a busy machine) steps back. Sizes from 128: 2, 3, 4 blocks, then 256 x 3, 256 x 4, ...
TEST(BlockSizePolicy, GrowsWhileMoreInHandMakesDropoutsRarerAndComesBackWhenQuiet) {
    constexpr auto none = SizeChange::none, grew = SizeChange::grew, quiet = SizeChange::quiet,
                   no_help = SizeChange::did_not_help;
    // A name, the dropouts in ms from the start (in order), the end in ms, the size expected and
    // why; the block the player chose (0: none, the policy starts from 128).
    using History =
        std::tuple<const char*, std::vector<int>, int, BufferSize, SizeChange, unsigned>;
    // Five steps of 2 dropouts 1 s apart, each after the last step's 4 s trial (from the
    // step's settling at +0.5 s) has passed.
    const std::vector<int> ladder = {1000, 2000, 7000, 8000, 13000, 14000};
    std::vector<int> to_the_top;  // the ladder on to 50 s
    for (int s = 1000; s < 50000; s += 6000) to_the_top.insert(to_the_top.end(), {s, s + 1000});
    // A step at 2 s on a rate of 1/s, undone by four dropouts by 2.9 s: 128 x 3 barred.
    const std::vector<int> undone = {1000, 2000, 2600, 2700, 2800, 2900};
    auto then = [](std::vector<int> a, std::initializer_list<int> b) {
        a.insert(a.end(), b);
        return a;
    };
    // clang-format off
    const History cases[] = {
        {"none", {}, 600000, {128, 2}, none, 0},
        {"a repeat adds a block", {1000, 2000}, 2000, {128, 3}, grew, 0},
        // Rate 1/s before: four by 6.5 s (4 s after settling) undo it, the fourth at 6.6 s not.
        {"as often after it", {1000, 2000, 3000, 4000, 5000, 6500}, 6500, {128, 2}, no_help, 0},
        {"a little rarer: kept", {1000, 2000, 3000, 4000, 5000, 6600}, 6600, {128, 3}, grew, 0},
        // Every dropout heard counts for the rate: 5 intervals in 0.5 s, so 4 in 0.4 s.
        {"dense, as dense after", {1000, 1100, 1200, 1300, 1400, 1500, 2100, 2200, 2300, 2400},
         2400, {128, 2}, no_help, 0},
        {"dense, thinner after",
         {1000, 1100, 1200, 1300, 1400, 1500, 2100, 2200, 2300, 2401, 2901}, 3000, {128, 4}, grew,
         0},
        // One interval of 50 s: the trial lasts 200 s.
        {"slow, as slow after", {1000, 51000, 100000, 150000, 200000, 250000}, 250000, {128, 2},
         no_help, 0},
        {"undone", undone, 2900, {128, 2}, no_help, 0},
        {"a barred size is skipped", then(undone, {3500, 4000}), 4000, {128, 4}, grew, 0},
        {"tried after 10 min", then(undone, {603000, 604000}), 604000, {128, 3}, grew, 0},
        {"third step: next block", ladder, 14000, {256, 3}, grew, 0},
        {"up to 1024", to_the_top, 50000, {1024, 4}, grew, 0},
        {"a burst is one stall", {1000, 1100, 1200, 1400}, 1400, {128, 2}, none, 0},
        {"just settled", {1000, 1500}, 1500, {128, 3}, grew, 0},
        {"not yet settled", {1000, 1499}, 1500, {128, 2}, none, 0},
        {"the step settles too", {1000, 2000, 2100, 2200, 2300, 2400}, 2400, {128, 3}, grew, 0},
        {"just under a minute", {1000, 60900}, 60900, {128, 3}, grew, 0},
        {"a minute apart", {1000, 61000}, 61000, {128, 2}, none, 0},
        {"chosen block stays", ladder, 14000, {128, 4}, grew, 128},
        {"chosen undone too", undone, 2900, {256, 2}, no_help, 256},
        // 256 x 3 undone at 2.9 s; 256 x 4 tried at 4 s (rate 1 in 0.5 s), undone at 4.9 s.
        {"chosen: all barred", then(undone, {3500, 4000, 4600, 4700, 4800, 4900, 5500, 6000}),
         6000, {256, 2}, no_help, 256},
        {"quiet a minute", {1000, 2000, 7000, 8000}, 68000, {128, 3}, quiet, 0},
        {"never below the start", {1000, 2000}, 600000, {128, 2}, quiet, 0},
        {"uncounted restarts", {1000, 2000, 2200}, 62100, {128, 3}, grew, 0},
        // 128 x 4 at 8 s, back at 68 s, a dropout at 70 s: the next step back waits 120 s;
        // again 10 s after that, four minutes from the step up at 201 s.
        {"busy: 2 min", {1000, 2000, 7000, 8000, 70000}, 189900, {128, 3}, quiet, 0},
        {"busy: after 2 min", {1000, 2000, 7000, 8000, 70000}, 190000, {128, 2}, quiet, 0},
        {"busier: 4 min", {1000, 2000, 7000, 8000, 70000, 200000, 201000}, 440900, {128, 3},
         grew, 0},
        // Back at the start at 62 s; dropouts at 150 s are no sign of a busy machine.
        {"late dropouts", {1000, 2000, 150000, 151000}, 211000, {128, 2}, quiet, 0},
    };
    // clang-format on
    const auto start = std::chrono::steady_clock::time_point{} + std::chrono::hours(1);
    for (const auto& [name, underruns_ms, end_ms, expected, why, chosen] : cases) {
        BlockSizePolicy policy(chosen ? chosen : 128, chosen != 0, start);
        std::size_t next = 0;
        for (int t = 0; t <= end_ms; t += 100) {
            for (; next < underruns_ms.size() && underruns_ms[next] <= t; ++next)
                policy.underrun(start + milliseconds(underruns_ms[next]));
            policy.tick(start + milliseconds(t));
        }
        EXPECT_EQ(policy.size(), expected)
            << name << ": " << policy.size().block_frames << " x " << policy.size().blocks;
        EXPECT_EQ(policy.last_change(), why) << name;
    }
}

using Calls = std::vector<std::string>;

struct Knobs {
    bool root = false, rtkit_grants = true, bus = true;
    int rtprio = 0, fifo_error = 0, rttime_error = 0;
    std::optional<int> already, rtkit_highest = 20;  // none: normal thread / no RealtimeKit
    long rtkit_cpu_cap = 150000;
};

// The kernel and RealtimeKit in one, writing down what they were asked.
struct FakeSystem final : SchedulingSystem, RealtimeService {
    Knobs k;
    Calls calls;
    explicit FakeSystem(Knobs knobs) : k(knobs) {}
    bool privileged() const override { return k.root; }
    int realtime_priority_limit() const override { return k.rtprio; }
    std::optional<int> realtime_priority_of(long) const override { return k.already; }
    int set_fifo(long t, int p) override { return note("fifo " + ids(t, p), k.fifo_error); }
    int limit_realtime_cpu(long us) override {
        return note("rttime " + std::to_string(us), k.rttime_error);
    }
    int lock_memory(const void*, std::size_t) override { return ENOMEM; }
    std::optional<int> max_priority(std::string& why_not) override {
        if (!k.rtkit_highest) why_not = "org.freedesktop.DBus.Error.ServiceUnknown";
        return k.rtkit_highest;
    }
    long max_realtime_cpu_us() override { return k.rtkit_cpu_cap; }
    bool make_realtime(long t, int p, std::string& why_not) override {
        note("rtkit " + ids(t, p), 0);
        if (!k.rtkit_grants) why_not = "org.freedesktop.DBus.Error.AccessDenied";
        return k.rtkit_grants;
    }
    static std::string ids(long t, int p) { return std::to_string(t) + " " + std::to_string(p); }
    int note(std::string call, int result) {
        calls.push_back(std::move(call));
        return result;
    }
};

TEST(RealtimePriority, DirectlyWhenAllowedElseThroughRtkitElseNormal) {
    const std::string direct = "SCHED_FIFO, öncelik 4 (doğrudan)", rtkit = "SCHED_RR, öncelik ";
    const std::string user = "yok, normal öncelik (doğrudan: izin yok (RLIMIT_RTPRIO 0); rtkit: ";
    // clang-format off
    const std::tuple<Knobs, Calls, std::string> cases[] = {
        {{.root = true}, {"fifo 77 4"}, direct},
        {{.rtprio = 2}, {"fifo 77 2"}, "SCHED_FIFO, öncelik 2 (doğrudan)"},
        // A JACK client's thread keeps the priority its server gave it.
        {{.root = true, .already = 70}, {}, "zaten gerçek zamanlı, öncelik 70"},
        {{.root = true, .fifo_error = EPERM}, {"fifo 77 4", "rttime 150000", "rtkit 77 4"},
         rtkit + "4 (rtkit)"},
        {{.rtkit_highest = 3, .rtkit_cpu_cap = 0}, {"rttime 200000", "rtkit 77 3"},
         rtkit + "3 (rtkit)"},
        {{.rtkit_highest = {}}, {}, user + "org.freedesktop.DBus.Error.ServiceUnknown)"},
        {{.rtkit_grants = false}, {"rttime 150000", "rtkit 77 4"},
         user + "org.freedesktop.DBus.Error.AccessDenied)"},
        {{.rtkit_highest = 0}, {}, user + "gerçek zamanlı öncelik vermiyor)"},
        {{.rttime_error = EPERM}, {"rttime 150000"}, user + "RLIMIT_RTTIME konamadı (izin yok))"},
        {{.root = true, .bus = false, .fifo_error = EPERM}, {"fifo 77 4"},
         "yok, normal öncelik (doğrudan: izin yok; rtkit: yok)"},
    };
    // clang-format on
    for (const auto& [knobs, calls, granted] : cases) {
        FakeSystem system(knobs);
        const RealtimeGrant grant = request_realtime(77, system, knobs.bus ? &system : nullptr);
        EXPECT_EQ(describe_grant(grant), granted) << granted;
        EXPECT_EQ(system.calls, calls) << granted;
    }
}

// The system's own answers, in a child process (a hard limit, once lowered, stays lowered):
// a thread at normal priority has no real-time priority, the real-time CPU cap is set where
// there is none, and a tighter cap the user set stays.
TEST(RealtimePriority, TheSystemKeepsTheTighterRealtimeCpuCap) {
    const std::tuple<rlim_t, rlim_t> cases[] = {{RLIM_INFINITY, 200000}, {1000, 1000}};
    for (const auto& [before, after] : cases) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            LinuxScheduling system;
            rlimit limit{before, before};
            if (before != RLIM_INFINITY && setrlimit(RLIMIT_RTTIME, &limit) != 0) _exit(2);
            const bool ok = !system.realtime_priority_of(current_thread_id()) &&
                            system.limit_realtime_cpu(200000) == 0 &&
                            getrlimit(RLIMIT_RTTIME, &limit) == 0 && limit.rlim_cur == after &&
                            limit.rlim_max == after;
            _exit(ok ? 0 : 1);
        }
        int status = -1;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_EQ(status, 0) << before;
    }
}

}  // namespace
}  // namespace orvena::test
