#pragma once
// The program's sound: sample files in the program folder, tuned by rewriting the rate
// fields of their headers, decoded once into memory and played by the mixer on the sound
// device (or silently, without one). Event thread only.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "sound/audio_output.h"
#include "sound/mixer.h"
#include "sound/realtime_priority.h"
#include "sound/sample_bank.h"
#include "sound/sound.h"
#include "sound/wav_header.h"
#include "tuning/instrument_state.h"

namespace orvena {

class SoundModule final : public Sound {
  public:
    // Reads `sample_rate` and `wav_files` of st whenever it plays; file names resolve
    // against program_dir. The output is started at once; with a NullOutput nothing is
    // heard and mixer() can be rendered by hand.
    SoundModule(const InstrumentState& st, std::filesystem::path program_dir,
                std::unique_ptr<AudioOutput> output);
    // Plays through the default output device, or silently when there is none.
    SoundModule(const InstrumentState& st, std::filesystem::path program_dir);
    ~SoundModule() override;
    SoundModule(const SoundModule&) = delete;
    SoundModule& operator=(const SoundModule&) = delete;

    // Decodes every sample file named in wav_files now, so that no pluck has to. Never throws.
    void load_samples() noexcept;

    // Shows a Turkish warning to the user (the window passes its notice). Called once when
    // the sample files cannot be written, and once for each sample refused as too large or
    // too big for memory.
    void on_warning(std::function<void(const std::string&)> show) { warn_ = std::move(show); }

    // Writes a rate into a sample file's header; patch_wav_rate unless a test stands in.
    using RateWriter = std::function<RatePatch(const std::filesystem::path&, std::int32_t)>;
    void set_rate_writer(RateWriter writer) { write_rate_ = std::move(writer); }

    // Keeps the memory the audio thread reads in RAM from now on, as far as the locker may:
    // the mixer's and every decoded sample's. Call once.
    void keep_in_memory(MemoryLocker& locker);

    // Plays through another output from now on (one opened in the background, once it is
    // ready). Notes sounding on the old output go on when the rate stays, except after a silent
    // output: what was played while nothing was heard is dropped, not heard late.
    void use_output(std::unique_ptr<AudioOutput> output);

    // Throws IndexOutOfRange for a string outside 1..26 or a lever outside -12..13, before
    // anything is silenced or written. A rate below 1000 Hz (the unused positions hold 0),
    // a missing file or one that is not PCM WAV: nothing is written and the pluck is silent.
    // A file that cannot be written (read-only) still sounds, from memory, at the rate.
    void play_tuned_sample(int string, int lever) override;
    // The same lookups, checks and header write as play_tuned_sample, for a held note.
    void play_note_alias(int string, int lever, const std::string& alias) override;
    void stop_note_alias(const std::string& alias) override;
    void stop_plucked() override;
    void set_note_time(std::optional<double> steady_ms) override { note_time_ms_ = steady_ms; }

    bool alias_open(const std::string& alias) const { return open_aliases_.count(alias) != 0; }
    Mixer& mixer() { return *mixer_; }
    const AudioOutput& output() const { return *output_; }
    const SampleBank& bank() const { return bank_; }

  private:
    const SampleData* sample(const std::string& file);
    // Writes rate into the file's header; false when the file cannot be played at it (no
    // playable header, a rate out of range). A file that cannot be written still plays.
    bool write_rate(const std::string& file, std::int32_t rate);
    void note_unwritten(const std::string& file);
    Mixer::TimePoint note_time() const;
    void start_output();
    void lock_mixer();

    const InstrumentState& st_;
    SampleBank bank_;
    std::function<void(const std::string&)> warn_;
    RateWriter write_rate_ = patch_wav_rate;
    bool told_unwritable_ = false;
    std::set<std::string> told_refused_;
    std::unique_ptr<Mixer> mixer_;
    std::unique_ptr<AudioOutput> output_;  // declared last: stopped before the mixer goes
    std::map<std::string, std::uint32_t> open_aliases_;
    std::uint32_t next_voice_id_ = 1;
    std::optional<double> note_time_ms_;  // see set_note_time
    MemoryLocker* locker_ = nullptr;      // see keep_in_memory
};

}  // namespace orvena
