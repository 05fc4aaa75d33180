// Saving and loading makam files in a program folder: the bytes on disk, the levers restored,
// the displays redrawn, the messages shown.

#include <gtest/gtest.h>

#include <algorithm>

#include "makam_fixture.h"

namespace orvena {
namespace {

using test::Calls;

std::vector<std::string> files_in(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(MakamFiles, SaveWritesTheLayoutAndLoadRestoresItRedrawingTheSelectedString) {
    test::MakamBench b;
    b.st.mandal_pos[1] = -3;
    b.st.mandal_pos[12] = 12;
    b.save_as("Uşşak");
    std::string expected;
    for (int s = 1; s <= kStringCount; ++s)
        expected += s == 1 ? "-3 \r\n" : s == 12 ? " 12 \r\n" : " 0 \r\n";
    EXPECT_EQ(test::read_file_bytes(b.folder / "Uşşak.mkm"), expected);
    EXPECT_EQ(b.makam_controls.file2_refreshes, 1);

    b.st.mandal_pos[1] = 4;  // saving again replaces the file
    b.save_as("Uşşak");
    EXPECT_EQ(test::read_file_bytes(b.folder / "Uşşak.mkm").substr(0, 4), " 4 \r");
    EXPECT_EQ(files_in(b.folder), std::vector<std::string>{"Uşşak.mkm"});

    for (int s = 1; s <= kStringCount; ++s) b.st.mandal_pos[s] = 0;
    b.st.cur_string = 12;
    open_buton_Click(b.makam);
    EXPECT_TRUE(b.makam_controls.file2_visible);
    b.load("Uşşak.mkm");
    EXPECT_FALSE(b.makam_controls.file2_visible);
    EXPECT_EQ(b.makam_controls.text1, "Uşşak");
    EXPECT_EQ(b.st.mandal_pos[1], 4);
    EXPECT_EQ(b.st.mandal_pos[12], 12);
    EXPECT_TRUE(b.dialogs.texts().empty());
    Calls expected_calls;
    for (int s = 1; s <= kStringCount; ++s) {
        expected_calls.push_back("arıza_yaz " + std::to_string(s));
        if (s == 12) expected_calls.insert(expected_calls.end(), {"mandal_at", "porte", "etiket"});
    }
    EXPECT_EQ(b.views.calls, expected_calls);
}

TEST(MakamFiles, AFaultyFileKeepsTheStringsReadBeforeItAndSaysSo) {
    struct Case {
        const char* name;
        std::string bytes;  // empty: no file at all
        int strings_loaded;
    };
    const std::vector<Case> cases = {
        {"fewer numbers", " 2 \r\n 2 \r\n 2 \r\n", 3},
        {"a number beyond 16 bits", " 2 , 2 , 40000 , 2", 2},
        {"outside the levers", " 2 , 2 , 2 , 2 , 2 , 2 , 2 , 13", 7},
        {"an empty file", "\r\n", 0},
        {"a missing file", "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::MakamBench b;
        for (int s = 1; s <= kStringCount; ++s) b.st.mandal_pos[s] = -1;
        if (!c.bytes.empty()) test::write_file_bytes(b.folder / "Hicaz.mkm", c.bytes);
        b.load("Hicaz.mkm");
        for (int s = 1; s <= kStringCount; ++s)
            EXPECT_EQ(b.st.mandal_pos[s], s <= c.strings_loaded ? 2 : -1) << "string " << s;
        EXPECT_EQ(b.dialogs.texts(), std::vector<std::string>{kMakamFileFault});
        EXPECT_EQ(test::read_file_bytes(b.folder / "Hicaz.mkm"), c.bytes) << "left as it was";
    }
}

TEST(MakamFiles, LoadingReturnsToTheUsersSettingAtSupurdeFirst) {
    test::MakamBench b;
    test::make_regular_degrees(b.st);
    std::string ones;
    for (int s = 1; s <= kStringCount; ++s) ones += " 1 \r\n";
    test::write_file_bytes(b.folder / "Rast.mkm", ones);

    b.controls.Option1_select(7);  // DAVUD NIS.: its computed setting is in force
    ASSERT_FALSE(b.st.manual_levers);
    b.load("Rast.mkm");
    EXPECT_EQ(b.controls.option1, kSupurde);
    EXPECT_EQ(b.st.ahenk_shift, 0);
    EXPECT_TRUE(b.st.manual_levers);
    EXPECT_EQ(b.controls.option5, 1);
    for (int s = 1; s <= kStringCount; ++s) {
        EXPECT_EQ(b.st.mandal_pos[s], 1) << s;
        EXPECT_FALSE(test::red_in_row(b.Picture10, s)) << s;
    }

    // SÜPÜRDE with a fine shift: the loaded setting is the user's, and the list stays shown.
    b.controls.HScroll1_setValue(1);
    ASSERT_FALSE(b.st.manual_levers);
    b.load("Rast.mkm");
    EXPECT_EQ(b.controls.hscroll1, 1);
    EXPECT_TRUE(b.st.manual_levers);
    for (int s = 1; s <= kStringCount; ++s) {
        EXPECT_EQ(b.st.mandal_pos[s], 1) << s;
        EXPECT_TRUE(test::red_in_row(b.Picture10, s)) << s;
    }
    EXPECT_TRUE(b.dialogs.texts().empty());
}

TEST(MakamFiles, UnsafeOrEmptyNamesWriteNothingAnywhere) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", kMakamNameMissing},
        {"../x", "\"../x\" makam ismi olarak kullanılamaz:\r\nisimde / veya \\ işareti olamaz."},
        {"a/b", "\"a/b\" makam ismi olarak kullanılamaz:\r\nisimde / veya \\ işareti olamaz."},
        {"..", "\"..\" makam ismi olarak kullanılamaz:\r\nisim yalnız noktalardan oluşamaz."},
        {std::string(300, 'a'), "\"" + std::string(300, 'a') +
                                    "\" makam ismi olarak kullanılamaz:\r\nisim çok uzun: en "
                                    "çok 251 bayt olabilir."},
    };
    for (const auto& [name, message] : cases) {
        SCOPED_TRACE(name);
        test::MakamBench b;
        b.save_as(name);
        EXPECT_EQ(b.dialogs.texts(), std::vector<std::string>{message});
        EXPECT_TRUE(files_in(b.folder).empty());
        EXPECT_EQ(files_in(b.root.path()), std::vector<std::string>{"orvena"});
        EXPECT_EQ(b.makam_controls.file2_refreshes, 0);
    }
}

TEST(MakamFiles, ANameTheFolderRefusesIsReportedAndChangesNothing) {
    test::MakamBench b;
    std::filesystem::create_directory(b.folder / "Saba.mkm");
    b.save_as("Saba");
    ASSERT_EQ(b.dialogs.texts().size(), 1u);
    EXPECT_EQ(b.dialogs.texts().front().rfind("\"Saba.mkm\" makam dosyası yazılamadı:\r\n", 0), 0u);
    EXPECT_TRUE(std::filesystem::is_directory(b.folder / "Saba.mkm"));
    EXPECT_EQ(files_in(b.folder), std::vector<std::string>{"Saba.mkm"});
    EXPECT_EQ(b.makam_controls.file2_refreshes, 0);
}

}  // namespace
}  // namespace orvena
