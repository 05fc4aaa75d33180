#include "sound/audio_output.h"

#include <atomic>
#include <iostream>
#include <sstream>

#include "sound/output_choice.h"
#include "sound/system_audio_host.h"

namespace orvena {

namespace {
std::atomic<bool> told_no_device{false};
}  // namespace

std::unique_ptr<AudioOutput> open_default_output(std::ostream& log) {
    SystemAudioHost host;
    std::ostringstream steps;
    OpenedOutput opened = open_output(host, AudioChoice{}, steps);
    if (!opened.output->is_device() && !told_no_device.exchange(true)) {
        log << "ORVENA: playing silently (" << opened.output->description() << ")\n";
    }
    return std::move(opened.output);
}

std::unique_ptr<AudioOutput> open_default_output() {
    return open_default_output(std::cerr);
}

}  // namespace orvena
