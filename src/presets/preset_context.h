#pragma once
// What the makam and transposition handlers work on: the instrument state, the key legend
// picture that lists the computed lever positions, the message boxes, the displays, and the
// controls of the "Ahenkler" group and the lever-setting buttons. All of it belongs to the
// main window; handlers run on its event thread.

#include <string>

#include "display/views.h"
#include "surface/dialogs.h"
#include "surface/surface.h"
#include "tuning/instrument_state.h"

namespace orvena {

// The controls a transposition reads and sets. Setting a value from code runs that control's
// own handler at once, inside the call, and only when the value really changes: a new
// HScroll1 value runs HScroll1_Change, a new Option5 selection runs Option5_Click, a new
// Option1 selection runs Option1_Click.
class AhenkControls {
  public:
    virtual ~AhenkControls() = default;
    virtual int Option1_selected() const = 0;
    virtual void Option1_select(int index) = 0;
    virtual int HScroll1_Value() const = 0;
    virtual void HScroll1_setValue(int value) = 0;
    virtual void Text3_setText(const std::string& text) = 0;
    virtual int Option5_selected() const = 0;
    virtual void Option5_select(int index) = 0;
};

struct PresetContext {
    InstrumentState& st;
    Surface& Picture10;
    Dialogs& dialogs;
    Views& views;
    AhenkControls& ahenk;
};

}  // namespace orvena
