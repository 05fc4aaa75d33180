#include "sound/sound_module.h"

#include "sound/wav_header.h"

namespace orvena {

SoundModule::SoundModule(const InstrumentState& st, std::filesystem::path program_dir,
                         std::unique_ptr<AudioOutput> output)
    : st_(st),
      bank_(std::move(program_dir)),
      mixer_(std::make_unique<Mixer>(output->sample_rate())),
      output_(std::move(output)) {
    output_->start(*mixer_);
}

SoundModule::SoundModule(const InstrumentState& st, std::filesystem::path program_dir)
    : SoundModule(st, std::move(program_dir), open_default_output()) {}

SoundModule::~SoundModule() {
    output_->stop();
}

void SoundModule::use_output(std::unique_ptr<AudioOutput> output) {
    output_->stop();
    output_.reset();
    if (output->sample_rate() != mixer_->device_rate()) {
        mixer_ = std::make_unique<Mixer>(output->sample_rate());
        open_aliases_.clear();
    }
    output_ = std::move(output);
    output_->start(*mixer_);
}

void SoundModule::load_samples() {
    for (int i = 0; i < kWavFileSlots; ++i) bank_.get(st_.wav_files[i]);
}

void SoundModule::play_tuned_sample(int string, int lever) {
    // Both lookups first: a call outside the tables changes nothing.
    const std::int32_t rate = st_.sample_rate(string, lever);
    const std::string& file = st_.wav_files[string];
    mixer_->cut_pluck();
    const SampleData* data = bank_.get(file);
    if (data == nullptr) return;
    if (patch_wav_rate(bank_.resolve(file), rate) != RatePatch::written) return;
    bank_.note_own_write(file);
    mixer_->start_pluck(*data, rate);
}

void SoundModule::play_note_alias(const std::string& file, const std::string& alias) {
    if (open_aliases_.count(alias) != 0) return;
    const SampleData* data = bank_.get(file);
    if (data == nullptr) return;
    // The rate the file holds now, from its header alone.
    const WavHeaderResult header = read_wav_header(bank_.resolve(file));
    if (!header.format) return;
    const auto rate = static_cast<std::int64_t>(header.format->sample_rate);
    if (rate < kMinSampleRateHz || rate > kMaxSampleRateHz) return;
    const std::uint32_t id = next_voice_id_++;
    if (mixer_->start_held(id, *data, static_cast<double>(rate))) open_aliases_[alias] = id;
}

void SoundModule::stop_note_alias(const std::string& alias) {
    const auto it = open_aliases_.find(alias);
    if (it == open_aliases_.end()) return;
    mixer_->stop_held(it->second);
    open_aliases_.erase(it);
}

void SoundModule::stop_plucked() {
    mixer_->cut_pluck();
}

}  // namespace orvena
