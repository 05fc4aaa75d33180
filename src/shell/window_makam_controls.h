#pragma once
// The window's makam name box and makam file list as the makam handlers see them.

#include "presets/makam_files.h"
#include "surface/controls.h"
#include "surface/file_list.h"

namespace orvena {

class WindowMakamControls : public MakamControls {
  public:
    WindowMakamControls(TextBox& text1, FileListBox& file2) : text1_(text1), file2_(file2) {}

    std::string Text1_Text() const override { return text1_.Text(); }
    void Text1_setText(const std::string& text) override { text1_.setText_(text); }
    void File2_setVisible(bool visible) override { file2_.setVisible(visible); }
    void File2_Refresh() override { file2_.Refresh(); }
    std::string File2_FileName() const override { return file2_.FileName(); }

  private:
    TextBox& text1_;
    FileListBox& file2_;
};

}  // namespace orvena
