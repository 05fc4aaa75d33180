#pragma once
// The sound systems a machine offers and the choice among them. The real host asks JACK,
// the PulseAudio server and ALSA; tests hand the chooser a fake host instead. Any thread,
// but one host at a time.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sound/audio_output.h"

namespace orvena {

// In the order they are preferred: a JACK server plays with the least delay, a sound-server
// stream whose buffer we set comes next, plain ALSA last.
enum class AudioApi { jack, pulse, alsa };
inline constexpr AudioApi kApiPreference[] = {AudioApi::jack, AudioApi::pulse, AudioApi::alsa};

// "jack", "pulse", "alsa": the names of the command line, the settings file and the log.
std::string_view api_name(AudioApi api);
std::optional<AudioApi> api_from_name(std::string_view name);

struct AudioDevice {
    std::string id;    // what the system opens it by (a sink name, "hw:0,0", "default")
    std::string name;  // what the player reads
};

struct AudioSystemInfo {
    AudioApi api;
    bool available = false;            // the server runs / the library answers with a device
    std::string why_not;               // when not available
    std::vector<AudioDevice> devices;  // the first is the system's default
};

inline constexpr unsigned kDefaultBlockFrames = 128;
inline constexpr unsigned kMinBlockFrames = 32;
inline constexpr unsigned kMaxBlockFrames = 4096;

// What the player asked for. Without an api the preference order decides; a device without
// an api goes to whichever system lists it.
struct AudioChoice {
    std::optional<AudioApi> api;
    bool silent = false;  // "none": no sound device at all
    std::string device;   // id; empty: the system's default
    unsigned block_frames = kDefaultBlockFrames;
    // The player chose the block size (F9, --buffer-frames): the output keeps it. Otherwise it
    // is where the output starts, and dropouts may make it larger.
    bool block_chosen = false;
};

struct OutputRequest {
    AudioApi api;
    std::string device;  // empty: the system's default
    unsigned block_frames;
    bool block_fixed = false;  // see AudioChoice::block_chosen
    bool operator==(const OutputRequest&) const = default;
};

class AudioHost {
  public:
    virtual ~AudioHost() = default;
    // Every system with what it offers now. May take as long as a server takes to answer.
    virtual std::vector<AudioSystemInfo> systems() = 0;
    // Opens one output; null with why_not set when it cannot.
    virtual std::unique_ptr<AudioOutput> open(const OutputRequest& request,
                                              std::string& why_not) = 0;
};

}  // namespace orvena
