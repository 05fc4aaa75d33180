#pragma once
// A Sound that plays nothing and writes down every call: "12/-3" string 12 plucked at lever
// -3, "cut" the plucked string cut, "on 12/-3 A4" and "off A4" a held note. Given a clock,
// each call says when it came ("12/-3@100"); with note_times, the note time it came with
// ("12/-3!100", or "!now" with none).

#include <optional>
#include <string>
#include <vector>

#include "sound/sound.h"
#include "support/recording_dialogs.h"

namespace orvena::test {

class RecordingSound final : public Sound {
  public:
    explicit RecordingSound(const RecordingClock* clock = nullptr) : clock_(clock) {}
    void play_tuned_sample(int s, int lever) override {
        note(std::to_string(s) + "/" + std::to_string(lever));
    }
    void play_note_alias(int s, int lever, const std::string& alias) override {
        note("on " + std::to_string(s) + "/" + std::to_string(lever) + " " + alias);
    }
    void stop_note_alias(const std::string& alias) override { note("off " + alias); }
    void stop_plucked() override { note("cut"); }
    void set_note_time(std::optional<double> ms) override { note_time = ms; }

    std::vector<std::string> calls;
    bool note_times = false;
    std::optional<double> note_time;

  private:
    void note(std::string call) {
        if (note_times)
            call += note_time ? "!" + std::to_string(static_cast<long>(*note_time)) : "!now";
        else if (clock_)
            call += "@" + std::to_string(static_cast<long>(clock_->now));
        calls.push_back(std::move(call));
    }
    const RecordingClock* clock_;
};

}  // namespace orvena::test
