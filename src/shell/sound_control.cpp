#include "shell/sound_control.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QShortcut>
#include <QWidget>

#include "shell/sound_settings_dialog.h"

namespace orvena {

SoundControl::SoundControl(QWidget& window, SoundModule& sound, SoundConfig config,
                           std::ostream& log)
    : window_(window), keeper_(window, sound, std::move(config), log) {
    notice_ = new QLabel(&window);
    notice_->setObjectName(QStringLiteral("sound_notice"));
    notice_->setAccessibleName(QString::fromUtf8("ses durumu"));
    notice_->setStyleSheet(QStringLiteral(
        "QLabel { background: #fff3b0; color: black; border: 1px solid #a08000; padding: 2px; }"));
    notice_->hide();

    auto* shortcut = new QShortcut(QKeySequence(Qt::Key_F9), &window);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, &window, [this] { show_settings(); });

    keeper_.set_events({
        .silent = [this](const std::string& why) { show_notice(QString::fromStdString(why)); },
        .playing = [this] { notice_->hide(); },
        .taken =
            [this] {
                if (dialog_) dialog_->refresh();
            },
        .figures_changed =
            [this] {
                if (dialog_) dialog_->update_figures();
            },
    });
}

SoundControl::~SoundControl() {
    if (dialog_) delete dialog_.data();
}

SoundSettingsDialog* SoundControl::dialog() const {
    return dialog_.data();
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
