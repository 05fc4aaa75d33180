#include "shell/sound_control.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QShortcut>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ostream>

#include "shell/sound_settings_dialog.h"
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

}  // namespace

SoundControl::SoundControl(QWidget& window, SoundModule& sound, SoundConfig config,
                           std::ostream& log)
    : window_(window),
      sound_(sound),
      config_(std::move(config)),
      log_(log),
      opener_(window, config_.time_limit),
      realtime_asker_(window) {
    notice_ = new QLabel(&window);
    notice_->setObjectName(QStringLiteral("sound_notice"));
    notice_->setAccessibleName(QString::fromUtf8("ses durumu"));
    notice_->setStyleSheet(QStringLiteral(
        "QLabel { background: #fff3b0; color: black; border: 1px solid #a08000; padding: 2px; }"));
    notice_->hide();

    auto* shortcut = new QShortcut(QKeySequence(Qt::Key_F9), &window);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, &window, [this] { show_settings(); });

    log_timer_ = new QTimer(&window);
    log_timer_->setInterval(static_cast<int>(config_.log_interval.count()));
    QObject::connect(log_timer_, &QTimer::timeout, &window, [this] { log_figures(); });

    watch_timer_ = new QTimer(&window);
    watch_timer_->setInterval(static_cast<int>(config_.watch_interval.count()));
    QObject::connect(watch_timer_, &QTimer::timeout, &window, [this] { watch(); });
    watch_timer_->start();
    if (config_.memory != nullptr) sound_.keep_in_memory(*config_.memory);
}

SoundControl::~SoundControl() {
    // The run's own figures, underruns included, once more as the program ends.
    if (sound_.output().is_device()) log_figures();
    if (dialog_) delete dialog_.data();
}

SoundSettingsDialog* SoundControl::dialog() const {
    return dialog_.data();
}

void SoundControl::open_output() {
    reconnect_.reset();  // the player's choice from now on
    if (!config_.open) {
        show_notice(QStringLiteral("no sound output configured"));
        return;
    }
    opener_.open([open = config_.open, choice = config_.choice] { return open(choice); },
                 [this](OpenedOutput opened) { take(std::move(opened)); },
                 [this] {
                     show_notice(QStringLiteral("the sound system did not answer in time"));
                     log_ << "ORVENA: the sound output is not ready yet; playing silently\n";
                 });
}

void SoundControl::apply(const AudioChoice& choice) {
    config_.choice = choice;
    if (!config_.settings_file.empty() && !write_sound_settings(config_.settings_file, choice)) {
        log_ << "ORVENA: the sound settings could not be saved in "
             << config_.settings_file.string() << "\n";
    }
    open_output();
}

void SoundControl::take(OpenedOutput opened) {
    if (!opened.systems.empty()) systems_ = std::move(opened.systems);
    playing_request_ = opened.request;
    sound_.use_output(std::move(opened.output));
    const AudioOutput& out = sound_.output();
    logged_size_ = {out.block_frames(), out.buffer_blocks()};
    if (out.is_device()) {
        notice_->hide();
        log_timer_->start();
        realtime_wanted_ = true;
    } else {
        log_timer_->stop();
        show_notice(QString::fromStdString(out.description()));
    }
    if (dialog_) dialog_->refresh();
}

void SoundControl::show_notice(const QString& why) {
    notice_->setText(QString::fromUtf8(kNoSoundNotice));
    notice_->setToolTip(why);
    notice_->adjustSize();
    // Over the top right corner of the window, clear of the controls' layout.
    notice_->move(window_.width() - notice_->width() - 24, 2);
    notice_->raise();
    notice_->show();
}

void SoundControl::log_figures() {
    log_ << "ORVENA: sound " << describe_output(sound_.output());
    // More strings and fading notes than the mixer's voices: the newest notes were not heard.
    if (const std::uint64_t dropped = sound_.mixer().dropped_voices()) {
        log_ << ", " << dropped << " notes dropped (all " << Mixer::kMaxVoices
             << " voices sounding)";
    }
    log_ << "\n";
}

void SoundControl::watch() {
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

void SoundControl::output_lost() {
    const AudioOutput& out = sound_.output();
    log_ << "ORVENA: ses çıkışı kayboldu (" << out.description() << ", " << out.underruns()
         << " kesinti); yanıt verince kendiliğinden yeniden açılacak\n";
    if (playing_request_ && config_.reopen) {
        reconnect_.emplace(*playing_request_, std::chrono::steady_clock::now());
    }
    // The old output says nothing more; the rate stays, so the notes held go on in the mixer.
    sound_.use_output(std::make_unique<NullOutput>(
        out.sample_rate(), "ses sunucusu ya da aygıt gitti; yeniden aranıyor"));
    log_timer_->stop();
    realtime_wanted_ = false;
    show_notice(QString::fromStdString(sound_.output().description()));
    if (dialog_) dialog_->update_figures();
}

void SoundControl::try_reconnect() {
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

void SoundControl::ask_for_realtime() {
    realtime_wanted_ = false;
    if (!config_.make_realtime) return;
    const long thread = sound_.output().feeder_thread();
    realtime_asker_.run([ask = config_.make_realtime, thread] { return ask(thread); },
                        [this](const std::string& granted) {
                            realtime_ = granted;
                            log_ << "ORVENA: gerçek zamanlı öncelik: " << realtime_text() << "\n";
                            if (dialog_) dialog_->update_figures();
                        });
}

std::string SoundControl::realtime_text() const {
    std::string text = realtime_;
    if (config_.memory != nullptr) {
        text += (text.empty() ? "" : "; ") + config_.memory->describe();
    }
    return text;
}

namespace {

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

void SoundControl::log_size_change() {
    const AudioOutput& out = sound_.output();
    const BufferSize now{out.block_frames(), out.buffer_blocks()};
    if (now == logged_size_) return;
    const bool larger =
        now.block_frames * now.blocks > logged_size_.block_frames * logged_size_.blocks;
    logged_size_ = now;
    log_ << "ORVENA: ses bloğu " << now.block_frames << " kare, elde " << now.blocks << " blok ("
         << size_change_reason(out.size_change(), larger) << "): " << output_figures(out) << "\n";
    if (dialog_) dialog_->update_figures();
}

void SoundControl::show_settings() {
    if (!dialog_) dialog_ = new SoundSettingsDialog(*this, &window_);
    dialog_->refresh();
    dialog_->show();
    dialog_->raise();
    dialog_->activateWindow();
}

void SoundControl::show_menu(const QPoint& global_position, const QList<QAction*>& more) {
    QMenu menu(&window_);
    QAction* settings = menu.addAction(QString::fromUtf8(kSoundSettingsTitle) + "…");
    settings->setShortcut(QKeySequence(Qt::Key_F9));
    if (!more.isEmpty()) menu.addSeparator();
    menu.addActions(more);
    if (menu.exec(global_position) == settings) show_settings();
}

}  // namespace orvena
