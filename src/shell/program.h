#pragma once
// The program from launch to the main window on screen: the running-instance test, the
// splash window, the load of the main window, and the main window shown in the splash's
// place. main() runs it on the real screen; tests run it on a temporary program folder
// without showing anything.

#include <QSize>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "shell/arayuz.h"
#include "shell/splash.h"
#include "surface/dialogs.h"
#include "surface/instance_lock.h"

namespace orvena {

struct ProgramOptions {
    std::filesystem::path program_folder;
    QSize screen_pixels{1024, 768};
    bool show_windows = true;
    std::filesystem::path lock_folder = InstanceLock::default_lock_folder();
    // Told which window message boxes should stand over: the splash while it shows, then
    // the main window.
    std::function<void(QWidget*)> message_owner;
    // How the sound output is chosen and opened (main() uses the machine's systems);
    // without an open function, silence.
    SoundConfig sound;
    // The MIDI input (main() uses the machine's ports); without one, no MIDI.
    MidiConfig midi;
    char decimal_separator = '.';
    // --tuning: the tuning system for this run.
    std::optional<std::filesystem::path> tuning_file;
};

inline constexpr const char* kAlreadyRunning = "ORVENA  zaten çalışıyor";

class Program {
  public:
    explicit Program(Dialogs& dialogs) : dialogs_(dialogs) {}
    ~Program();

    StartupOutcome start(const ProgramOptions& options);

    arayüz* window() const { return window_.get(); }
    frmSplash* splash() const { return splash_.get(); }

  private:
    void close_splash();

    Dialogs& dialogs_;
    std::unique_ptr<InstanceLock> lock_;
    std::unique_ptr<frmSplash> splash_;
    std::unique_ptr<arayüz> window_;
};

// The folder of the running executable.
std::filesystem::path executable_folder();

}  // namespace orvena
