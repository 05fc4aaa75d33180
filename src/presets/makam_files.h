#pragma once
// Saving the lever setting in force under a makam name, and loading a makam file back as the
// user's own setting at SÜPÜRDE. Files live in the program's folder. Event thread only.

#include <filesystem>
#include <string>

#include "presets/preset_context.h"

namespace orvena {

inline constexpr const char* kMakamNameMissing = "bir makam ismi girin";
inline constexpr const char* kMakamFileFault = "makam dosyasından kaynaklanan bir hata oluştu";

// The controls of the "Makam" group: the name box Text1 and the file list File2.
class MakamControls {
  public:
    virtual ~MakamControls() = default;
    virtual std::string Text1_Text() const = 0;
    virtual void Text1_setText(const std::string& text) = 0;
    virtual void File2_setVisible(bool visible) = 0;
    virtual void File2_Refresh() = 0;
    virtual std::string File2_FileName() const = 0;  // the bare name last clicked
};

struct MakamContext {
    PresetContext& presets;
    MakamControls& controls;
    std::filesystem::path folder;  // the program's folder
};

// Writes the positions in force to <Text1>.mkm, replacing a file of that name whole or not at
// all. An empty name, or one that is not a plain file name, gets a message and writes nothing.
void save_buton_Click(MakamContext& ctx);

// Shows the list of makam files.
void open_buton_Click(MakamContext& ctx);

// Loads the file clicked in File2: back to the user's setting and to SÜPÜRDE first, then the
// positions string by string, each redrawn. A fault in the file is reported after the strings
// before it have taken their new positions.
void File2_Click(MakamContext& ctx);

}  // namespace orvena
