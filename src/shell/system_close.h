#pragma once
// Requests from the system to end the program: SIGTERM, SIGHUP and SIGINT (kill, a task
// manager, a closed terminal, Ctrl+C in the terminal) and the session's log-off or shutdown.
// Each closes the main window without the quit question, and takes away the question when it
// is open. Event thread only; one instance at a time, gone before the window.

#include <QObject>

#include <csignal>

class QGuiApplication;
class QSocketNotifier;

namespace orvena {

class arayüz;

class SystemCloseRequests : public QObject {
  public:
    SystemCloseRequests(QGuiApplication& app, arayüz& window);
    // Puts back the signal handlers it replaced.
    ~SystemCloseRequests() override;
    SystemCloseRequests(const SystemCloseRequests&) = delete;
    SystemCloseRequests& operator=(const SystemCloseRequests&) = delete;

  private:
    QSocketNotifier* notifier_ = nullptr;
    struct sigaction old_term_ {};
    struct sigaction old_hup_ {};
    struct sigaction old_int_ {};
};

}  // namespace orvena
