#pragma once
// The window's pitch level, fine shift and lever-setting controls as the transposition sees
// them. Setting one from code runs its handler through the control's own change action.

#include "presets/preset_context.h"
#include "surface/controls.h"

namespace orvena {

class WindowAhenkControls : public AhenkControls {
  public:
    WindowAhenkControls(OptionArray& option1, ScrollBar& hscroll1, TextBox& text3,
                        OptionArray& option5)
        : option1_(option1), hscroll1_(hscroll1), text3_(text3), option5_(option5) {}

    int Option1_selected() const override { return option1_.selected(); }
    void Option1_select(int index) override { option1_.select(index); }
    int HScroll1_Value() const override { return hscroll1_.Value(); }
    void HScroll1_setValue(int value) override { hscroll1_.setValue(value); }
    void Text3_setText(const std::string& text) override { text3_.setText_(text); }
    int Option5_selected() const override { return option5_.selected(); }
    void Option5_select(int index) override { option5_.select(index); }

  private:
    OptionArray& option1_;
    ScrollBar& hscroll1_;
    TextBox& text3_;
    OptionArray& option5_;
};

}  // namespace orvena
