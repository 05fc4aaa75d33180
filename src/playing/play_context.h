#pragma once
// What a playing handler works on: the instrument state, the sound module, the displays
// and the message boxes. All of it belongs to the main window; handlers run on its event
// thread.

#include "playing/views.h"
#include "sound/sound.h"
#include "surface/dialogs.h"
#include "tuning/instrument_state.h"

namespace orvena {

struct PlayContext {
    InstrumentState& st;
    Sound& sound;
    Views& views;
    Dialogs& dialogs;
};

}  // namespace orvena
