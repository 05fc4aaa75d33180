// Where an export's file dialog opens.

#include <gtest/gtest.h>

#include "files/export_folder.h"
#include "support/temp_dir.h"

namespace orvena {
namespace {

namespace fs = std::filesystem;

TEST(ExportFolder, IsTheMusicFolderWhenThereIsOneElseHome) {
    test::TempDir dir;
    fs::create_directory(dir / "Müzik");
    test::write_file_bytes(dir / "dosya", "");
    const fs::path home = dir / "ev";
    const std::pair<fs::path, fs::path> cases[] = {
        {dir / "Müzik", dir / "Müzik"}, {"", home}, {dir / "yok", home}, {dir / "dosya", home}};
    for (const auto& [music, expected] : cases) {
        SCOPED_TRACE(music);
        EXPECT_EQ(music_or_home_folder(music, home), expected);
    }
}

}  // namespace
}  // namespace orvena
