#pragma once
// A Sound that plays nothing and remembers every call in order, for tests of the handlers
// that pluck strings.

#include <iosfwd>
#include <string>
#include <vector>

#include "sound/sound.h"

namespace orvena::test {

struct SoundCall {
    enum class Kind { play_tuned_sample, play_note_alias, stop_note_alias, stop_plucked };
    Kind kind = Kind::stop_plucked;
    int string = 0;     // play_tuned_sample
    int lever = 0;      // play_tuned_sample
    std::string file;   // play_note_alias
    std::string alias;  // play_note_alias, stop_note_alias

    static SoundCall tuned(int string, int lever) {
        return {Kind::play_tuned_sample, string, lever, {}, {}};
    }
    static SoundCall alias_on(const std::string& file, const std::string& alias) {
        return {Kind::play_note_alias, 0, 0, file, alias};
    }
    static SoundCall alias_off(const std::string& alias) {
        return {Kind::stop_note_alias, 0, 0, {}, alias};
    }
    static SoundCall stop() { return {}; }

    bool operator==(const SoundCall&) const = default;
};

// "play_tuned_sample(12, 1)", "play_note_alias(12-A4.wav, A4)", ...
std::string to_string(const SoundCall& call);
std::ostream& operator<<(std::ostream& out, const SoundCall& call);

class RecordingSound final : public Sound {
  public:
    void play_tuned_sample(int string, int lever) override {
        calls.push_back(SoundCall::tuned(string, lever));
    }
    void play_note_alias(const std::string& file, const std::string& alias) override {
        calls.push_back(SoundCall::alias_on(file, alias));
    }
    void stop_note_alias(const std::string& alias) override {
        calls.push_back(SoundCall::alias_off(alias));
    }
    void stop_plucked() override { calls.push_back(SoundCall::stop()); }

    std::vector<SoundCall> calls;
};

}  // namespace orvena::test
