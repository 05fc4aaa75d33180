#pragma once
// The makam handlers on a program folder of their own: a subfolder of a temporary folder, so a
// test can see that nothing was written beside it either.

#include <filesystem>
#include <string>

#include "preset_fixture.h"
#include "presets/makam_files.h"
#include "support/temp_dir.h"

namespace orvena::test {

struct MakamBench : PresetBench, MakamControls {
    MakamBench() { std::filesystem::create_directory(folder); }
    std::string text1, file2_file_name;
    bool file2_visible = false;
    int file2_refreshes = 0;
    TempDir root;
    std::filesystem::path folder = root.path() / "orvena";
    MakamContext makam{ctx, *this, folder};

    std::string Text1_Text() const override { return text1; }
    void Text1_setText(const std::string& text) override { text1 = text; }
    void File2_setVisible(bool visible) override { file2_visible = visible; }
    void File2_Refresh() override { ++file2_refreshes; }
    std::string File2_FileName() const override { return file2_file_name; }

    void save_as(const std::string& name) {
        text1 = name;
        save_buton_Click(makam);
    }
    void load(const std::string& file_name) {
        file2_file_name = file_name;
        File2_Click(makam);
    }
};

}  // namespace orvena::test
