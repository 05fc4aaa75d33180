// Saving and loading makam files in a program folder: the bytes on disk, the levers restored,
// the displays redrawn, the messages shown.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

#include "makam_fixture.h"

namespace orvena {
namespace {

std::vector<std::string> files_in(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string repeat(int count, const std::string& number) {
    std::string text;
    for (int i = 0; i < count; ++i) text += number;
    return text;
}

TEST(MakamFiles, SaveWritesTheLayoutAndLoadRestoresItRedrawingTheSelectedString) {
    test::MakamBench b;
    b.st.mandal_pos[1] = -3;
    b.st.mandal_pos[2] = 8;
    b.save_as("Uşşak");
    EXPECT_EQ(test::read_file_bytes(b.folder / "Uşşak.mkm"),
              "-3 \r\n 8 \r\n" + repeat(24, " 0 \r\n"));
    EXPECT_EQ(b.file2_refreshes, 1);
    b.st.mandal_pos[1] = 4;  // saving again replaces the file
    b.save_as("Uşşak");
    EXPECT_EQ(files_in(b.folder), std::vector<std::string>{"Uşşak.mkm"});

    for (int s = 1; s <= kStringCount; ++s) b.st.mandal_pos[s] = 0;
    b.st.cur_string = 2;
    open_buton_Click(b.makam);
    EXPECT_TRUE(b.file2_visible);
    b.load("Uşşak.mkm");
    EXPECT_FALSE(b.file2_visible);
    EXPECT_EQ(b.text1, "Uşşak");
    EXPECT_EQ(b.st.mandal_pos[1], 4);
    EXPECT_EQ(b.st.mandal_pos[2], 8);
    EXPECT_TRUE(b.dialogs.texts().empty());
    test::Calls redrawn{"arıza_yaz 1", "arıza_yaz 2", "mandal_at", "porte", "etiket"};
    for (int s = 3; s <= kStringCount; ++s) redrawn.push_back("arıza_yaz " + std::to_string(s));
    EXPECT_EQ(b.views.calls, redrawn);
}

// Hand-edited files: what the loader keeps, and the message for a faulty one.
TEST(MakamFiles, HandEditedFilesLoadUpToTheirFirstFault) {
    struct Case {
        const char* name;
        std::string bytes;  // empty: no file at all
        int loaded;         // strings that take 2
    };
    const std::vector<Case> cases = {
        {"commas on one line, text after the 26th", repeat(26, "2,") + "x", 26},
        {"spaces on one line", repeat(26, " 2  "), 26},
        {"fewer numbers", repeat(3, " 2 \r\n"), 3},
        {"a number beyond 16 bits", " 2 \r\n 2 \r\n 40000 \r\n", 2},
        {"above the levers", repeat(7, " 2 \r\n") + " 13 \r\n", 7},
        {"below the levers", " 2 \r\n -6 \r\n", 1},
        {"not a number", " 2 \r\n zwei \r\n", 1},
        {"an empty file", "\r\n", 0},
        {"a missing file", "", 0},
        {"a byte order mark first", "\xEF\xBB\xBF" + repeat(26, " 2 \r\n"), 26},
        {"a folder of that name", "<folder>", 0},
        {"a FIFO of that name", "<fifo>", 0},  // read, it would hold the window
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::MakamBench b;
        for (int s = 1; s <= kStringCount; ++s) b.st.mandal_pos[s] = -1;
        const auto file = b.folder / "Hicaz.mkm";
        if (c.bytes == "<folder>") {
            std::filesystem::create_directory(file);
        } else if (c.bytes == "<fifo>") {
            ASSERT_EQ(::mkfifo(file.c_str(), 0644), 0);
        } else if (!c.bytes.empty()) {
            test::write_file_bytes(file, c.bytes);
        }
        b.load("Hicaz.mkm");
        for (int s = 1; s <= kStringCount; ++s)
            EXPECT_EQ(b.st.mandal_pos[s], s <= c.loaded ? 2 : -1) << "string " << s;
        EXPECT_EQ(b.dialogs.texts(), c.loaded < kStringCount
                                         ? std::vector<std::string>{kMakamFileFault}
                                         : std::vector<std::string>{});
    }
}

TEST(MakamFiles, LoadingReturnsToTheUsersSettingAtSupurdeFirst) {
    test::MakamBench b;
    test::make_regular_degrees(b.st);
    test::write_file_bytes(b.folder / "Rast.mkm", repeat(26, " 1 \r\n"));
    b.Option1_select(7);  // DAVUD NIS.: its computed setting is in force
    ASSERT_FALSE(b.st.manual_levers);
    b.load("Rast.mkm");
    EXPECT_EQ(std::tuple(b.option1, b.st.ahenk_shift, b.st.manual_levers, b.option5),
              std::tuple(kSupurde, 0, true, 1));
    for (int s = 1; s <= kStringCount; ++s) {
        EXPECT_EQ(b.st.mandal_pos[s], 1) << s;
        EXPECT_FALSE(test::red_in_row(b.Picture10, s)) << s;
    }
    // SÜPÜRDE with a fine shift: the loaded setting is the user's, and the list stays shown.
    b.HScroll1_setValue(1);
    b.load("Rast.mkm");
    EXPECT_EQ(b.hscroll1, 1);
    EXPECT_TRUE(b.st.manual_levers);
    for (int s = 1; s <= kStringCount; ++s) EXPECT_TRUE(test::red_in_row(b.Picture10, s)) << s;
    EXPECT_TRUE(b.dialogs.texts().empty());
}

TEST(MakamFiles, NamesThatAreNotPlainFileNamesWriteNothingAnywhere) {
    const std::string refused = "\" makam ismi olarak kullanılamaz:\r\n";
    const std::string separator = "isimde / veya \\ işareti olamaz.";
    const std::string long_name(252, 'a');  // with ".mkm" one byte too many
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", kMakamNameMissing},
        {"../x", "\"../x" + refused + separator},
        {"a/b", "\"a/b" + refused + separator},
        {"..", "\".." + refused + "isim nokta ile başlayamaz."},
        {".gizli", "\".gizli" + refused + "isim nokta ile başlayamaz."},
        {"a\x1b[2Jb", "\"a\\x1B[2Jb" + refused + "isimde denetim karakteri olamaz."},
        {long_name, "\"" + long_name + refused + "isim çok uzun: en çok 251 bayt olabilir."},
    };
    for (const auto& [name, message] : cases) {
        SCOPED_TRACE(name);
        test::MakamBench b;
        b.save_as(name);
        EXPECT_EQ(b.dialogs.texts(), std::vector<std::string>{message});
        EXPECT_TRUE(files_in(b.folder).empty());
        EXPECT_EQ(files_in(b.root.path()), std::vector<std::string>{"orvena"});
    }
    // A name the file system refuses (a folder stands there) is reported and left alone.
    test::MakamBench b;
    std::filesystem::create_directory(b.folder / "Saba.mkm");
    b.save_as("Saba");
    ASSERT_EQ(b.dialogs.texts().size(), 1u);
    EXPECT_TRUE(b.dialogs.texts()[0].starts_with("\"Saba.mkm\" makam dosyası yazılamadı:\r\n"));
    EXPECT_EQ(files_in(b.folder), std::vector<std::string>{"Saba.mkm"});
    EXPECT_EQ(b.file2_refreshes, 0);
}

}  // namespace
}  // namespace orvena
