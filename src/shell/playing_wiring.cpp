// The main window's playing handlers: keys, lever controls and the displays they redraw.

#include "playing/keyboard.h"
#include "playing/lever_controls.h"
#include "shell/arayuz.h"
#include "surface/artwork.h"

namespace orvena {

void arayüz::connect_playing(char decimal_separator) {
    views_ = std::make_unique<SurfaceViews>(
        st,
        PictureSurfaces{Picture1->surface(), Picture2->surface(), Picture3->surface(),
                        Picture6->surface(), Picture10->surface()},
        notation_sheet(), decimal_separator);
    views_->check1_checked = [this] { return Check1->Value() != 0; };
    views_->place_lever_strip = [this](const LeverStripPlacement& placed) {
        Picture1->move(placed.left, Picture1->y());
    };
    play_ = std::make_unique<PlayContext>(PlayContext{st, *sound_, *views_, dialogs_});

    key_preview_->on_key_down([this](const KeyInfo& key) {
        Form_KeyDown(key.key_code, key.auto_repeat);
        return false;  // the focused control still gets its key (a makam name is typed)
    });
    key_preview_->on_key_up([this](const KeyInfo& key) {
        Form_KeyUp(key.key_code, key.auto_repeat);
        return false;
    });
    connect(Command8, &QPushButton::clicked, this, [this] { Command8_Click(*play_); });
    connect(Command9, &QPushButton::clicked, this, [this] { Command9_Click(*play_); });
    Check1->on_click([this] { Check1_Click(*play_, Check1->Value() != 0); });
    Check2->on_click([this] { Check2_Click(st.selection, Check2->Value()); });
    VScroll1->on_change([this] { VScroll1_Change(st.transport, VScroll1->Value()); });
    Option5.on_click([this](int index) { Option5_Click(st.settings, index); });
}

void arayüz::Form_KeyDown(int key_code, bool auto_repeat) {
    if (play_) orvena::Form_KeyDown(*play_, key_code, auto_repeat);
}

void arayüz::Form_KeyUp(int key_code, bool auto_repeat) {
    if (play_) orvena::Form_KeyUp(*play_, key_code, auto_repeat);
}

}  // namespace orvena
