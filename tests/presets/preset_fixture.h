#pragma once
// The preset handlers on a state of their own, with controls that behave like the window's,
// a key legend picture, recorded messages and display calls, and a regular made-up tuning.

#include <stdexcept>
#include <tuple>

#include "playing/lever_controls.h"
#include "playing/recording_views.h"
#include "presets/pitch_levels.h"
#include "presets/transposition.h"
#include "support/qt_app.h"
#include "support/temp_dir.h"
#include "tuning/tablo_oku.h"

namespace orvena::test {

struct PresetBench : AhenkControls {
    PresetBench() {
        ensure_qt_app();
        set_lever_limits(st.build);
        st.settings.ahenk_index = kSupurde;
        st.settings.manual_levers = true;
    }
    int option1 = kSupurde, hscroll1 = 0, option5 = 1;
    std::string text3 = "0";
    InstrumentState st;
    Surface Picture10{90, 396};
    RecordingDialogs dialogs;
    RecordingViews views;
    PresetContext ctx{st, Picture10, dialogs, views, *this};

    int Option1_selected() const override { return option1; }
    void Option1_select(int i) override {
        if (i != option1) Option1_Click(ctx, option1 = i);
    }
    int HScroll1_Value() const override { return hscroll1; }
    void HScroll1_setValue(int v) override {
        if (v != hscroll1) hscroll1 = v, HScroll1_Change(ctx);
    }
    void Text3_setText(const std::string& text) override { text3 = text; }
    int Option5_selected() const override { return option5; }
    void Option5_select(int i) override {
        if (i != option5) Option5_Click(st.settings, option5 = i);
    }
};

// Degree of (s, p) on the made-up instrument: string 26 at 0 is degree -100.
inline int degree(int s, int p) {
    return 160 - 10 * s + p;
}

// Places on strings 8..26: positions 0..9 first, 10..12 second, -8..-1 third.
inline void make_regular_degrees(InstrumentState& st) {
    for (int s = 8; s <= kStringCount; ++s) {
        for (int p = kLeverLo; p <= kLeverHi; ++p) {
            if (degree(s, p) < -107) continue;
            degree_record& r = st.tables.degrees[degree(s, p)];
            auto [str, pos] = p >= 10  ? std::tie(r.string_2, r.pos_2)
                              : p >= 0 ? std::tie(r.string_1, r.pos_1)
                                       : std::tie(r.string_3, r.pos_3);
            str = static_cast<std::int16_t>(s);
            pos = static_cast<std::int16_t>(p);
        }
    }
}

// The instrument tuned by the shipped workbook, at SÜPÜRDE with the user's setting in force.
inline const InstrumentState& shipped() {
    static const InstrumentState st = [] {
        InstrumentState s;
        set_lever_limits(s.build);
        if (import_tuning(s, source_dir() / "data" / "dizek.xls"))
            throw std::runtime_error("dizek.xls");
        s.settings.ahenk_index = kSupurde;
        s.settings.manual_levers = true;
        return s;
    }();
    return st;
}

// Whether the list beside string s shows a computed position (anything red in its row).
inline bool red_in_row(const Surface& list, int s) {
    for (int y = (s - 1) * 15 + 2; y < s * 15 + 2; ++y)
        for (int x = 60; x < 90; ++x)
            if (list.pixel(x, y) == rgb(255, 0, 0)) return true;
    return false;
}

}  // namespace orvena::test
