#include "shell/system_sound.h"

#include <iostream>

#include "sound/linux_scheduling.h"
#include "sound/output_choice.h"
#include "sound/rtkit_bus.h"
#include "sound/system_audio_host.h"

namespace orvena {

void use_system_sound(SoundConfig& config) {
    config.open = [](const AudioChoice& choice) {
        SystemAudioHost host;
        return open_output(host, choice, std::cerr);
    };
    config.reopen = [](const OutputRequest& request, std::string& why_not) {
        SystemAudioHost host;
        return Reconnect::reopen(host, request, why_not);
    };
    config.make_realtime = [](long thread_id) {
        LinuxScheduling system;
        RtkitBus rtkit;
        return describe_grant(request_realtime(thread_id, system, &rtkit));
    };
    // Lives as long as the program: the sound module locks what it decodes through it.
    static LinuxScheduling memory_system;
    static MemoryLocker memory(memory_system);
    config.memory = &memory;
}

}  // namespace orvena
