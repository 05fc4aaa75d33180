#include "shell/program.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace orvena {

namespace {
// Long enough for the window system to map and paint the window, too short for a hand to
// reach a key.
constexpr int kSampleLoadDelayMs = 60;
// How long a window just shown may take to be mapped by the window system (a window manager
// answers within a frame or two); painting does not wait beyond it.
constexpr int kExposeWaitMs = 500;

// Puts a window just shown on the screen now: the window system maps it and asks for its
// paint only through the event loop, which the load that follows keeps from running.
void paint_on_screen(QWidget& w) {
    QElapsedTimer waited;
    waited.start();
    while (!(w.windowHandle() && w.windowHandle()->isExposed()) &&
           waited.elapsed() < kExposeWaitMs) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
    }
    w.repaint();
    QGuiApplication::sync();
}
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
        paint_on_screen(*splash_);
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
    // The splash stays on screen until the main window is there to take its place.
    context.unload_splash = [this, tell_owner, &options] {
        tell_owner(nullptr);
        if (!options.show_windows) close_splash();
    };
    const StartupOutcome outcome = window_->Form_Load(context);
    if (!outcome.goes_on) {
        tell_owner(nullptr);
        window_.reset();
        close_splash();
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
        paint_on_screen(*window_);
        close_splash();
        QTimer::singleShot(kSampleLoadDelayMs, window_.get(),
                           [w = window_.get()] { w->sound().load_samples(); });
    } else {
        window_->sound().load_samples();
    }
    return outcome;
}

void Program::close_splash() {
    if (splash_) splash_->close();
    splash_.reset();
}

std::filesystem::path executable_folder() {
    return std::filesystem::path(QCoreApplication::applicationDirPath().toStdString());
}

}  // namespace orvena
