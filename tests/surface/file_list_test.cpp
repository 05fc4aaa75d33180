// File list boxes: the files of a folder that match a pattern, sorted, and the clicked name.

#include <gtest/gtest.h>

#include "support/qt_app.h"
#include "support/temp_dir.h"
#include "surface/file_list.h"

namespace orvena {
namespace {

void touch(const std::filesystem::path& p) {
    test::write_file_bytes(p, "x");
}

TEST(FileList, ListsMatchingFilesSortedByNameWithoutFoldersOrHiddenFiles) {
    test::TempDir dir;
    for (const char* name : {"b.wav", "A.WAV", "c.wav", "a.wav.txt", "kayıt.txt", ".x.wav",
                             "rast.mkm", "10.wav", "9.wav", "a.ses", "A.ses", "B.ses"}) {
        touch(dir / name);
    }
    std::filesystem::create_directory(dir / "folder.wav");
    EXPECT_EQ(list_matching_files(dir.path(), "*.wav"),
              (std::vector<std::string>{"10.wav", "9.wav", "A.WAV", "b.wav", "c.wav"}));
    EXPECT_EQ(list_matching_files(dir.path(), "*.mkm"), std::vector<std::string>{"rast.mkm"});
    EXPECT_EQ(list_matching_files(dir.path(), "kay?t.*"), std::vector<std::string>{"kayıt.txt"});
    EXPECT_TRUE(list_matching_files(dir / "missing", "*.wav").empty());
    // Names differing only in case sort the same way every time.
    EXPECT_EQ(list_matching_files(dir.path(), "*.ses"),
              (std::vector<std::string>{"A.ses", "a.ses", "B.ses"}));
}

// Makam names in the Turkish alphabet's order: Ç after C, dotless I before İ, Ş after S.
TEST(FileList, TurkishNamesSortAsTheAlphabetOrdersThem) {
    test::TempDir dir;
    const std::vector<std::string> alphabetical = {
        "Acem.mkm", "Çârgâh.mkm", "Hicaz.mkm",  "Hüzzam.mkm", "Irak.mkm", "İsfahan.mkm",
        "Saba.mkm", "Segâh.mkm",  "Şehnaz.mkm", "Uşşak.mkm",  "Zavil.mkm"};
    for (auto it = alphabetical.rbegin(); it != alphabetical.rend(); ++it) touch(dir / *it);
    EXPECT_EQ(list_matching_files(dir.path(), "*.mkm"), alphabetical);
}

TEST(FileList, BoxRefreshesOnRequestAndReportsTheClickedName) {
    test::ensure_qt_app();
    test::TempDir dir;
    touch(dir / "rast.mkm");
    touch(dir / "hicaz.mkm");
    FileListBox box;
    box.setPattern("*.mkm");
    box.setPath(dir.path());
    ASSERT_EQ(box.ListCount(), 2);
    EXPECT_EQ(box.List(0), "hicaz.mkm");
    EXPECT_EQ(box.count(), 2) << "the widget shows what the list holds";

    touch(dir / "nihavent.mkm");
    EXPECT_EQ(box.ListCount(), 2) << "the list is a snapshot until Refresh";
    box.Refresh();
    ASSERT_EQ(box.ListCount(), 3);
    EXPECT_EQ(box.List(1), "nihavent.mkm");

    std::string clicked;
    box.on_click([&] { clicked = box.FileName(); });
    box.click_entry(2);
    EXPECT_EQ(clicked, "rast.mkm");
    box.hide();
    EXPECT_FALSE(box.Visible());
}

}  // namespace
}  // namespace orvena
