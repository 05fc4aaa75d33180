#pragma once
// What the handlers of playing, replay and sequence playback work on: the instrument state,
// the sound module, the displays and the message boxes, and the recorder a click on a string
// reports to. All of it belongs to the main window; handlers run on its event thread.

#include "display/views.h"
#include "sound/sound.h"
#include "surface/dialogs.h"
#include "tuning/instrument_state.h"

namespace orvena {

// What a running recording does around each string click: before_pluck writes the note
// that the click ends, after_pluck starts timing the note the click has just started. Both
// are called only while `recording` is set.
class PluckRecorder {
  public:
    virtual ~PluckRecorder() = default;
    virtual void before_pluck() = 0;
    virtual void after_pluck() = 0;
};

struct PlayContext {
    InstrumentState& st;
    Sound& sound;
    Views& views;
    Dialogs& dialogs;
};

}  // namespace orvena
