#pragma once
// The program's sound: sample files in the program folder, tuned by rewriting the rate
// fields of their headers, decoded once into memory and played by the mixer on the sound
// device (or silently, without one). Event thread only.

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "sound/audio_output.h"
#include "sound/mixer.h"
#include "sound/sample_bank.h"
#include "sound/sound.h"
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

    // Plays through another output from now on (one opened in the background, once it is
    // ready). Notes sounding on the old output end.
    void use_output(std::unique_ptr<AudioOutput> output);

    // Decodes every sample file named in wav_files now, so that no pluck has to.
    void load_samples();

    // Throws IndexOutOfRange for a string outside 1..26 or a lever outside -12..13, before
    // anything is silenced or written. A rate below 1000 Hz (the unused positions hold 0),
    // a missing file or one that is not PCM WAV: nothing is written and the pluck is silent.
    void play_tuned_sample(int string, int lever) override;
    void play_note_alias(const std::string& file, const std::string& alias) override;
    void stop_note_alias(const std::string& alias) override;
    void stop_plucked() override;

    bool alias_open(const std::string& alias) const { return open_aliases_.count(alias) != 0; }
    Mixer& mixer() { return *mixer_; }
    const AudioOutput& output() const { return *output_; }
    const SampleBank& bank() const { return bank_; }

  private:
    const InstrumentState& st_;
    SampleBank bank_;
    std::unique_ptr<Mixer> mixer_;
    std::unique_ptr<AudioOutput> output_;  // declared last: stopped before the mixer goes
    std::map<std::string, std::uint32_t> open_aliases_;
    std::uint32_t next_voice_id_ = 1;
};

}  // namespace orvena
