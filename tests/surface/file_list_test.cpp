// File lists: the files of a folder that match a pattern, in the Turkish alphabet's order.

#include "surface/file_list.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace orvena {
namespace {

using Names = std::vector<std::string>;

// Patterns match without regard to case; folders and hidden files are left out; names
// differing only in case sort the same way every time; Ç comes after C, dotless I before İ,
// Ş after S.
TEST(FileList, ListsMatchingFilesInTheAlphabetsOrderWithoutFoldersOrHiddenFiles) {
    const Names makams = {"Acem.mkm",    "Çârgâh.mkm", "Hicaz.mkm", "Hüzzam.mkm", "Irak.mkm",
                          "İsfahan.mkm", "Saba.mkm",   "Segâh.mkm", "Şehnaz.mkm", "Uşşak.mkm"};
    test::TempDir dir;
    for (auto it = makams.rbegin(); it != makams.rend(); ++it)
        test::write_file_bytes(dir / *it, "x");
    for (const char* name : {"b.wav", "A.WAV", "c.wav", "a.wav.txt", "kayıt.txt", ".x.wav",
                             "10.wav", "9.wav", "a.ses", "A.ses", "B.ses"}) {
        test::write_file_bytes(dir / name, "x");
    }
    std::filesystem::create_directory(dir / "folder.wav");
    const std::pair<const char*, Names> cases[] = {
        {"*.wav", {"10.wav", "9.wav", "A.WAV", "b.wav", "c.wav"}},
        {"*.mkm", makams},
        {"kay?t.*", {"kayıt.txt"}},
        {"*.ses", {"A.ses", "a.ses", "B.ses"}},
    };
    for (const auto& [pattern, names] : cases)
        EXPECT_EQ(list_matching_files(dir.path(), pattern), names);
    EXPECT_TRUE(list_matching_files(dir / "missing", "*.wav").empty());
}

}  // namespace
}  // namespace orvena
