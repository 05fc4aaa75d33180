#include "sound/output_keeper.h"

#include <cstdio>
#include <ostream>

#include "sound/output_choice.h"
#include "sound/sound_settings.h"

namespace orvena {

namespace {

// "pulse 'cap', gecikme 15.8 ms, 3 kesinti": the new lines' figures in the player's words.
std::string output_figures(const AudioOutput& out) {
    char figures[64];
    std::snprintf(figures, sizeof figures, ", gecikme %.1f ms, %llu kesinti",
                  out.latency_seconds() * 1000.0, static_cast<unsigned long long>(out.underruns()));
    return out.description() + figures;
}

// Why the output's size moved by itself, as the log says it.
std::string size_change_reason(SizeChange why, bool larger) {
    if (why == SizeChange::did_not_help) {
        const auto minutes = std::chrono::minutes(BlockSizePolicy::kRetryTime).count();
        return "daha büyüğü kesintileri azaltmadı, geri dönüldü; " + std::to_string(minutes) +
               " dakika yeniden denenmeyecek";
    }
    if (why == SizeChange::grew || (why == SizeChange::none && larger))
        return "kesintilerden sonra";
    return "sessiz geçen bir süreden sonra";
}

}  // namespace

OutputKeeper::OutputKeeper(QObject& context, SoundModule& sound, SoundConfig config,
                           std::ostream& log)
    : sound_(sound),
      config_(std::move(config)),
      log_(log),
      opener_(context, config_.time_limit),
      realtime_asker_(context) {
    log_timer_.setInterval(static_cast<int>(config_.log_interval.count()));
    QObject::connect(&log_timer_, &QTimer::timeout, &log_timer_, [this] { log_figures(); });
    watch_timer_.setInterval(static_cast<int>(config_.watch_interval.count()));
    QObject::connect(&watch_timer_, &QTimer::timeout, &watch_timer_, [this] { watch(); });
    watch_timer_.start();
    if (config_.memory != nullptr) sound_.keep_in_memory(*config_.memory);
}

OutputKeeper::~OutputKeeper() {
    if (sound_.output().is_device()) log_figures();
}

void OutputKeeper::open_output() {
    reconnect_.reset();  // the player's choice from now on
    if (!config_.open) {
        silent("ses çıkışı ayarlanmamış");
        return;
    }
    opener_.open([open = config_.open, choice = config_.choice] { return open(choice); },
                 [this](OpenedOutput opened) { take(std::move(opened)); },
                 [this] {
                     silent("ses sistemi zamanında yanıt vermedi");
                     log_ << "ORVENA: the sound output is not ready yet; playing silently\n";
                 });
}

void OutputKeeper::apply(const AudioChoice& choice) {
    config_.choice = choice;
    if (!config_.settings_file.empty() && !write_sound_settings(config_.settings_file, choice)) {
        log_ << "ORVENA: the sound settings could not be saved in "
             << config_.settings_file.string() << "\n";
    }
    open_output();
}

void OutputKeeper::take(OpenedOutput opened) {
    if (!opened.systems.empty()) systems_ = std::move(opened.systems);
    playing_request_ = opened.request;
    sound_.use_output(std::move(opened.output));
    const AudioOutput& out = sound_.output();
    logged_size_ = {out.block_frames(), out.buffer_blocks()};
    if (out.is_device()) {
        if (events_.playing) events_.playing();
        log_timer_.start();
        realtime_wanted_ = true;
    } else {
        log_timer_.stop();
        silent(out.description());
    }
    if (events_.taken) events_.taken();
}

void OutputKeeper::silent(const std::string& why) {
    if (events_.silent) events_.silent(why);
}

void OutputKeeper::figures_changed() {
    if (events_.figures_changed) events_.figures_changed();
}

void OutputKeeper::log_figures() {
    log_ << "ORVENA: sound " << describe_output(sound_.output());
    // More strings and fading notes than the mixer's voices: the newest notes were not heard.
    if (const std::uint64_t dropped = sound_.mixer().dropped_voices()) {
        log_ << ", " << dropped << " notes dropped (all " << Mixer::kMaxVoices
             << " voices sounding)";
    }
    log_ << "\n";
}

void OutputKeeper::watch() {
    const AudioOutput& out = sound_.output();
    if (out.is_device() && out.lost()) {
        output_lost();
    } else if (reconnect_ && !opener_.pending() &&
               reconnect_->due(std::chrono::steady_clock::now())) {
        try_reconnect();
    } else if (out.is_device()) {
        log_size_change();
        if (realtime_wanted_ && out.feeder_thread() != 0) ask_for_realtime();
    }
}

void OutputKeeper::output_lost() {
    const AudioOutput& out = sound_.output();
    log_ << "ORVENA: ses çıkışı kayboldu (" << out.description() << ", " << out.underruns()
         << " kesinti); yanıt verince kendiliğinden yeniden açılacak\n";
    if (playing_request_ && config_.reopen) {
        reconnect_.emplace(*playing_request_, std::chrono::steady_clock::now());
    }
    // The old output says nothing more; the rate stays, so the notes held go on in the mixer.
    sound_.use_output(std::make_unique<NullOutput>(
        out.sample_rate(), "ses sunucusu ya da aygıt gitti; yeniden aranıyor"));
    log_timer_.stop();
    realtime_wanted_ = false;
    silent(sound_.output().description());
    figures_changed();
}

void OutputKeeper::try_reconnect() {
    auto open = [reopen = config_.reopen, request = reconnect_->request()] {
        OpenedOutput result;
        std::string why_not;
        result.output = reopen(request, why_not);
        if (result.output) {
            result.request = request;
        } else {
            result.output = std::make_unique<NullOutput>(48000.0, why_not);
        }
        return result;
    };
    opener_.open(
        std::move(open),
        [this](OpenedOutput opened) {
            if (!reconnect_) return;
            if (!opened.output->is_device()) {
                reconnect_->failed(std::chrono::steady_clock::now());
                return;
            }
            log_ << "ORVENA: ses çıkışı " << reconnect_->tries() + 1
                 << ". denemede geri geldi: " << output_figures(*opened.output) << "\n";
            reconnect_.reset();
            take(std::move(opened));
        },
        nullptr);
}

void OutputKeeper::ask_for_realtime() {
    realtime_wanted_ = false;
    if (!config_.make_realtime) return;
    const long thread = sound_.output().feeder_thread();
    realtime_asker_.run([ask = config_.make_realtime, thread] { return ask(thread); },
                        [this](const std::string& granted) {
                            realtime_ = granted;
                            log_ << "ORVENA: gerçek zamanlı öncelik: " << realtime_text() << "\n";
                            figures_changed();
                        });
}

std::string OutputKeeper::realtime_text() const {
    std::string text = realtime_;
    if (config_.memory != nullptr) {
        text += (text.empty() ? "" : "; ") + config_.memory->describe();
    }
    return text;
}

void OutputKeeper::log_size_change() {
    const AudioOutput& out = sound_.output();
    const BufferSize now{out.block_frames(), out.buffer_blocks()};
    if (now == logged_size_) return;
    const bool larger =
        now.block_frames * now.blocks > logged_size_.block_frames * logged_size_.blocks;
    logged_size_ = now;
    log_ << "ORVENA: ses bloğu " << now.block_frames << " kare, elde " << now.blocks << " blok ("
         << size_change_reason(out.size_change(), larger) << "): " << output_figures(out) << "\n";
    figures_changed();
}

}  // namespace orvena
