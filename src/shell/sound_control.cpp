#include "shell/sound_control.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QShortcut>
#include <QTimer>
#include <QWidget>

#include <ostream>

#include "shell/sound_settings.h"
#include "shell/sound_settings_dialog.h"
#include "sound/output_choice.h"

namespace orvena {

SoundControl::SoundControl(QWidget& window, SoundModule& sound, SoundConfig config,
                           std::ostream& log)
    : window_(window),
      sound_(sound),
      config_(std::move(config)),
      log_(log),
      opener_(window, config_.time_limit) {
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
    systems_ = std::move(opened.systems);
    sound_.use_output(std::move(opened.output));
    const AudioOutput& out = sound_.output();
    if (out.is_device()) {
        notice_->hide();
        log_timer_->start();
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
    log_ << "ORVENA: sound " << describe_output(sound_.output()) << "\n";
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
