#pragma once
// The sound output's state in the player's words, as the settings dialog shows it: why there
// is no sound, that it is opening, or the device with its latency, block size, rate and
// underruns. The output's figures are published by its own thread: reading them here never
// waits for it. Event thread only.

#include <string>

namespace orvena {

class OutputKeeper;

// "pulse 'cap'\ngecikme 15.8 ms · blok 256 kare × 3 (otomatik) · 48000 Hz · kesinti 0"
std::string output_status_text(const OutputKeeper& keeper);
// What the audio thread was granted and the memory kept in RAM; "—" until known.
std::string realtime_status_text(const OutputKeeper& keeper);

}  // namespace orvena
