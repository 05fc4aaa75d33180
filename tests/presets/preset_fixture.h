#pragma once
// The makam and transposition handlers on a state of their own: controls that behave like the
// window's (a change from code runs the control's handler at once, only when the value
// changes), a key legend picture, and recorded messages and display calls.

#include <string>

#include "playing/lever_rules.h"
#include "playing/recording_views.h"
#include "presets/pitch_levels.h"
#include "presets/preset_context.h"
#include "presets/transposition.h"
#include "support/qt_app.h"
#include "support/recording_dialogs.h"

namespace orvena::test {

struct PresetBench;

class FakeAhenkControls : public AhenkControls {
  public:
    explicit FakeAhenkControls(PresetBench& bench) : bench_(bench) {}
    int option1 = kSupurde;
    int hscroll1 = 0;
    std::string text3 = "0";
    int option5 = 1;

    int Option1_selected() const override { return option1; }
    void Option1_select(int index) override;
    int HScroll1_Value() const override { return hscroll1; }
    void HScroll1_setValue(int value) override;
    void Text3_setText(const std::string& text) override { text3 = text; }
    int Option5_selected() const override { return option5; }
    void Option5_select(int index) override;

  private:
    PresetBench& bench_;
};

struct PresetBench {
    PresetBench() {
        ensure_qt_app();
        set_lever_limits(st);
        st.ahenk_index = kSupurde;
        st.manual_levers = true;
    }
    InstrumentState st;
    Surface Picture10{90, 396};
    RecordingDialogs dialogs;
    RecordingViews views;
    FakeAhenkControls controls{*this};
    PresetContext ctx{st, Picture10, dialogs, views, controls};
};

inline void FakeAhenkControls::Option1_select(int index) {
    if (index == option1) return;
    option1 = index;
    Option1_Click(bench_.ctx, index);
}

inline void FakeAhenkControls::HScroll1_setValue(int value) {
    if (value == hscroll1) return;
    hscroll1 = value;
    HScroll1_Change(bench_.ctx);
}

inline void FakeAhenkControls::Option5_select(int index) {
    if (index == option5) return;
    option5 = index;
    Option5_Click(bench_.st, index);
}

}  // namespace orvena::test
