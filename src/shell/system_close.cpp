#include "shell/system_close.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <sys/socket.h>
#include <unistd.h>

#include "shell/arayuz.h"

namespace orvena {

namespace {

// A signal handler may only write a byte; the window closes on the event thread when the
// byte arrives.
int g_signal_fds[2] = {-1, -1};

void on_terminate_signal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(g_signal_fds[0], &byte, 1);
}

}  // namespace

SystemCloseRequests::SystemCloseRequests(QGuiApplication& app, arayüz& window) {
    // Logging off or shutting down.
    connect(&app, &QGuiApplication::commitDataRequest, this,
            [&window](QSessionManager&) { window.close_for(UnloadReason::AppWindows); });
    connect(&app, &QCoreApplication::aboutToQuit, this, [&window] {
        if (window.loaded()) window.close_for(UnloadReason::AppWindows);
    });

    // Ended from outside.
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signal_fds) != 0) return;
    notifier_ = new QSocketNotifier(g_signal_fds[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [&window] {
        char byte;
        [[maybe_unused]] const auto got = ::read(g_signal_fds[1], &byte, 1);
        window.close_for(UnloadReason::AppTaskManager);
    });
    struct sigaction action {};
    action.sa_handler = on_terminate_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, &old_term_);
    sigaction(SIGHUP, &action, &old_hup_);
    sigaction(SIGINT, &action, &old_int_);
}

SystemCloseRequests::~SystemCloseRequests() {
    if (notifier_ == nullptr) return;
    sigaction(SIGTERM, &old_term_, nullptr);
    sigaction(SIGHUP, &old_hup_, nullptr);
    sigaction(SIGINT, &old_int_, nullptr);
    delete notifier_;
    for (int& fd : g_signal_fds) {
        ::close(fd);
        fd = -1;
    }
}

}  // namespace orvena
