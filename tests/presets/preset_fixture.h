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

// Degree of (s, p) on a regular made-up instrument where every lever step is one degree and
// string s at position 10 plays what string s - 1 plays at 0; string 26 at 0 is degree -100.
inline int degree(int s, int p) {
    return 160 - 10 * s + p;
}

// Places of each degree on strings 8..26 of that instrument: positions 0..9 are its first
// place, 10..12 its second, -8..-1 its third.
inline void make_regular_degrees(InstrumentState& st) {
    for (int s = 8; s <= kStringCount; ++s) {
        for (int p = kLeverLo; p <= kLeverHi; ++p) {
            const int d = degree(s, p);
            if (d < -107) continue;
            degree_record& r = st.degrees[d];
            const auto str = static_cast<std::int16_t>(s);
            const auto pos = static_cast<std::int16_t>(p);
            if (p >= 0 && p <= 9) {
                r.string_1 = str, r.pos_1 = pos;
            } else if (p >= 10) {
                r.string_2 = str, r.pos_2 = pos;
            } else {
                r.string_3 = str, r.pos_3 = pos;
            }
        }
    }
}

// Whether the list beside string s shows a computed position (anything red in its row).
inline bool red_in_row(const Surface& list, int s) {
    const int y = (s - 1) * 15 + 2;
    for (int yy = y; yy < y + 15; ++yy)
        for (int x = 60; x < 90; ++x)
            if (list.pixel(x, yy) == rgb(255, 0, 0)) return true;
    return false;
}

}  // namespace orvena::test
