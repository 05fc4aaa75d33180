#include "shell/program.h"

#include <QCoreApplication>
#include <QScreen>
#include <QTimer>

namespace orvena {

namespace {
// Long enough for the window system to map and paint the window, too short for a hand to
// reach a key.
constexpr int kSampleLoadDelayMs = 60;
}  // namespace

Program::~Program() {
    window_.reset();
    splash_.reset();
}

StartupOutcome Program::start(const ProgramOptions& options) {
    auto tell_owner = [&](QWidget* w) {
        if (options.message_owner) options.message_owner(w);
    };

    // 1. One instance per program folder.
    lock_ = std::make_unique<InstanceLock>(options.lock_folder);
    if (!lock_->acquire(options.program_folder)) {
        lock_.reset();
        dialogs_.message(kAlreadyRunning);
        return {false, 0};
    }

    // 2. The splash shows while the main window loads.
    splash_ = std::make_unique<frmSplash>();
    if (options.show_windows) {
        const QSize size = splash_->size();
        splash_->move((options.screen_pixels.width() - size.width()) / 2,
                      (options.screen_pixels.height() - size.height()) / 2);
        splash_->show();
        tell_owner(splash_.get());
        // Paint it now: the load below keeps the event loop from running.
        QCoreApplication::processEvents();
    }

    // 3. Load the main window without showing it, then show it.
    window_ = std::make_unique<arayüz>(dialogs_);
    LoadContext context;
    context.program_folder = options.program_folder;
    context.sound = options.sound;
    context.midi = options.midi;
    context.decimal_separator = options.decimal_separator;
    context.tuning_file = options.tuning_file;
    context.screen_width_twips =
        static_cast<double>(options.screen_pixels.width()) * kTwipsPerPixel;
    context.screen_height_twips =
        static_cast<double>(options.screen_pixels.height()) * kTwipsPerPixel;
    context.unload_splash = [this, tell_owner] {
        tell_owner(nullptr);
        if (splash_) splash_->close();
        splash_.reset();
    };
    const StartupOutcome outcome = window_->Form_Load(context);
    if (!outcome.goes_on) {
        tell_owner(nullptr);
        window_.reset();
        splash_.reset();
        lock_.reset();
        return outcome;
    }
    if (options.show_windows) {
        window_->show();
        window_->place_window();
        tell_owner(window_.get());
        // The samples are decoded just after the window has come up and painted, rather than
        // before it: the window shows sooner, and a key pressed in between decodes its own
        // sample.
        window_->repaint();
        QTimer::singleShot(kSampleLoadDelayMs, window_.get(),
                           [w = window_.get()] { w->sound->load_samples(); });
    } else {
        window_->sound->load_samples();
    }
    return outcome;
}

std::filesystem::path executable_folder() {
    return std::filesystem::path(QCoreApplication::applicationDirPath().toStdString());
}

}  // namespace orvena
