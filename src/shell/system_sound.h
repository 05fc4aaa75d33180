#pragma once
// The machine's own sound for the window: outputs opened through JACK, the sound server or
// ALSA, a lost one opened again, real-time scheduling asked of the kernel or RealtimeKit for
// the thread that feeds the device, and the audio memory kept in RAM where the limits allow.
// Event thread, once, before the window starts.

#include "shell/sound_control.h"

namespace orvena {

void use_system_sound(SoundConfig& config);

}  // namespace orvena
