#include "sound/sound_module.h"

#include <chrono>
#include <cmath>

#include "sound/wav_header.h"

namespace orvena {

namespace {
// A note with a deadline (replay, sequence playback) belongs this much after its deadline: a
// player on a busy machine may wake a few milliseconds late, and a note sent after the device
// asked for its block could only start in the next one. The whole performance moves by this
// much; every note keeps its place in it.
constexpr double kDeadlineSlackMs = 10.0;
}  // namespace

SoundModule::SoundModule(const InstrumentState& st, std::filesystem::path program_dir,
                         std::unique_ptr<AudioOutput> output)
    : st_(st),
      bank_(std::move(program_dir)),
      mixer_(std::make_unique<Mixer>(output->sample_rate())),
      output_(std::move(output)) {
    start_output();
}

SoundModule::SoundModule(const InstrumentState& st, std::filesystem::path program_dir)
    : SoundModule(st, std::move(program_dir), open_default_output()) {}

SoundModule::~SoundModule() {
    output_->stop();
}

void SoundModule::load_samples() noexcept {
    try {
        for (int i = 0; i < kWavFileSlots; ++i) sample(st_.build.wav_files[i]);
    } catch (...) {  // the strings not decoded yet decode on their first pluck
    }
}

const SampleData* SoundModule::sample(const std::string& file) {
    const int decoded_before = bank_.decode_count();
    const SampleData* data = bank_.get(file);
    if (locker_ != nullptr && data != nullptr && bank_.decode_count() != decoded_before) {
        locker_->lock(data->storage(), data->storage_bytes());
    }
    std::string text;
    for (const auto& [name, refusal] : bank_.take_refusals()) {
        if (!told_refused_.insert(name).second) continue;
        if (!text.empty()) text += "\r\n";
        text += refusal == SampleRefusal::too_large
                    ? name + " ses dosyası çok büyük (en çok " +
                          std::to_string(kMaxSampleFileBytes >> 20) + " MB olabilir)"
                    : name + " ses dosyası için bellek yetmedi";
    }
    if (!text.empty() && warn_) warn_(text + "\r\nBu dosyaların telleri sessiz kalacak.");
    return data;
}

void SoundModule::note_unwritten(const std::string& file) {
    if (told_unwritable_) return;
    told_unwritable_ = true;
    if (warn_) {
        warn_("Ses dosyaları güncellenemiyor: " + file +
              " yazılamıyor (salt okunur).\r\n"
              "Teller doğru perdede bellekten çalınıyor, ama dosyalardaki örnekleme hızları "
              "değişmeyecek.");
    }
}

bool SoundModule::write_rate(const std::string& file, std::int32_t rate) {
    switch (write_rate_(bank_.resolve(file), rate)) {
        case RatePatch::written:
            bank_.note_own_write(file);
            return true;
        case RatePatch::write_failed:
            note_unwritten(file);  // it still sounds, from memory
            return true;
        case RatePatch::rate_out_of_range:
        case RatePatch::bad_header:
            break;
    }
    return false;
}

void SoundModule::use_output(std::unique_ptr<AudioOutput> output) {
    output_->stop();
    const bool was_silent = !output_->is_device();
    output_.reset();
    if (output->sample_rate() != mixer_->device_rate()) {
        mixer_ = std::make_unique<Mixer>(output->sample_rate());
        open_aliases_.clear();
        lock_mixer();
    } else if (was_silent) {
        // What was played while nothing was heard is not heard late.
        mixer_->clear();
        open_aliases_.clear();
    }
    output_ = std::move(output);
    start_output();
}

void SoundModule::start_output() {
    mixer_->set_block_lead(output_->block_frames());
    output_->start(*mixer_);
}

void SoundModule::keep_in_memory(MemoryLocker& locker) {
    locker_ = &locker;
    lock_mixer();
    bank_.for_each_sample(
        [this](const SampleData& data) { locker_->lock(data.storage(), data.storage_bytes()); });
}

void SoundModule::lock_mixer() {
    if (locker_ == nullptr) return;
    mixer_->for_each_region(
        [this](const void* start, std::size_t bytes) { locker_->lock(start, bytes); });
}

Mixer::TimePoint SoundModule::note_time() const {
    if (!note_time_ms_) return Mixer::now();
    const double ms = *note_time_ms_ + kDeadlineSlackMs;
    return Mixer::TimePoint(std::chrono::nanoseconds(std::llround(ms * 1e6)));
}

void SoundModule::play_tuned_sample(int string, int lever) {
    // Both lookups first: a call outside the tables changes nothing.
    const std::int32_t rate = st_.derived.sample_rate(string, lever);
    const std::string& file = st_.build.wav_files[string];
    mixer_->cut_pluck(note_time());
    const SampleData* data = sample(file);
    if (data == nullptr || !write_rate(file, rate)) return;
    mixer_->start_pluck(*data, rate, note_time());
}

void SoundModule::play_note_alias(int string, int lever, const std::string& alias) {
    const std::int32_t rate = st_.derived.sample_rate(string, lever);
    const std::string& file = st_.build.wav_files[string];
    if (open_aliases_.count(alias) != 0) return;
    const SampleData* data = sample(file);
    if (data == nullptr || !write_rate(file, rate)) return;
    const std::uint32_t id = next_voice_id_++;
    if (mixer_->start_held(id, *data, static_cast<double>(rate), note_time())) {
        open_aliases_[alias] = id;
    }
}

void SoundModule::stop_note_alias(const std::string& alias) {
    const auto it = open_aliases_.find(alias);
    if (it == open_aliases_.end()) return;
    mixer_->stop_held(it->second, note_time());
    open_aliases_.erase(it);
}

void SoundModule::stop_plucked() {
    mixer_->cut_pluck(note_time());
}

}  // namespace orvena
