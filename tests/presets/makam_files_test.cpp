// Saving and loading makam files in a program folder of their own (a subfolder of a scratch
// folder, so a test sees that nothing was written beside it either).

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

#include "preset_fixture.h"
#include "presets/makam_files.h"

namespace orvena {
namespace {

struct MakamBench : test::PresetBench, MakamControls {
    MakamBench() { std::filesystem::create_directory(folder); }
    std::string text1, file2_file_name;
    bool file2_visible = false;
    int file2_refreshes = 0;
    test::TempDir root;
    std::filesystem::path folder = root.path() / "orvena";
    MakamContext makam{ctx, *this, folder};

    std::string Text1_Text() const override { return text1; }
    void Text1_setText(const std::string& text) override { text1 = text; }
    void File2_setVisible(bool visible) override { file2_visible = visible; }
    void File2_Refresh() override { ++file2_refreshes; }
    std::string File2_FileName() const override { return file2_file_name; }
    void save_as(const std::string& name) { text1 = name, save_buton_Click(makam); }
    void load(const std::string& name) { file2_file_name = name, File2_Click(makam); }
};

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

// Loading also goes back to SÜPÜRDE with the user's setting, from a level whose computed
// setting was in force.
TEST(MakamFiles, SaveWritesTheLayoutAndLoadRestoresItRedrawingTheSelectedString) {
    MakamBench b;
    b.st.mandal_pos[1] = -3;
    b.st.mandal_pos[2] = 8;
    b.save_as("Uşşak");
    EXPECT_EQ(test::read_file_bytes(b.folder / "Uşşak.mkm"),
              "-3 \r\n 8 \r\n" + repeat(24, " 0 \r\n"));
    EXPECT_EQ(b.file2_refreshes, 1);
    b.st.mandal_pos[1] = 4;  // saving again replaces the file
    b.save_as("Uşşak");
    EXPECT_EQ(files_in(b.folder), std::vector<std::string>{"Uşşak.mkm"});

    test::make_regular_degrees(b.st);
    b.Option1_select(7);
    ASSERT_FALSE(b.st.manual_levers);
    b.views.calls.clear();
    b.st.cur_string = 2;
    open_buton_Click(b.makam);
    EXPECT_TRUE(b.file2_visible);
    b.load("Uşşak.mkm");
    EXPECT_FALSE(b.file2_visible);
    EXPECT_EQ(std::tuple(b.text1, b.option1, b.st.manual_levers, b.option5),
              std::tuple("Uşşak", kSupurde, true, 1));
    EXPECT_EQ(std::tuple(b.st.mandal_pos[1], b.st.mandal_pos[2], b.st.mandal_pos[26]),
              std::tuple(4, 8, 0));
    EXPECT_FALSE(test::red_in_row(b.Picture10, 3));
    EXPECT_TRUE(b.dialogs.texts().empty());
    test::Calls redrawn{"arıza_yaz 1", "arıza_yaz 2", "mandal_at", "porte", "etiket"};
    for (int s = 3; s <= kStringCount; ++s) redrawn.push_back("arıza_yaz " + std::to_string(s));
    EXPECT_EQ(b.views.calls, redrawn);
}

// Hand-edited files: what the loader keeps, and the message for a faulty one.
TEST(MakamFiles, HandEditedFilesLoadUpToTheirFirstFault) {
    const std::tuple<const char*, std::string, int> cases[] = {
        // what, the bytes ("" no file), how many strings take 2
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
    for (const auto& [what, bytes, loaded] : cases) {
        SCOPED_TRACE(what);
        MakamBench b;
        for (int s = 1; s <= kStringCount; ++s) b.st.mandal_pos[s] = -1;
        const auto file = b.folder / "Hicaz.mkm";
        if (bytes == "<folder>")
            std::filesystem::create_directory(file);
        else if (bytes == "<fifo>")
            ASSERT_EQ(::mkfifo(file.c_str(), 0644), 0);
        else if (!bytes.empty())
            test::write_file_bytes(file, bytes);
        b.load("Hicaz.mkm");
        for (int s = 1; s <= kStringCount; ++s)
            EXPECT_EQ(b.st.mandal_pos[s], s <= loaded ? 2 : -1) << "string " << s;
        EXPECT_EQ(b.dialogs.texts(), loaded < kStringCount
                                         ? std::vector<std::string>{kMakamFileFault}
                                         : std::vector<std::string>{});
    }
}

TEST(MakamFiles, NamesThatAreNotPlainFileNamesWriteNothingAnywhere) {
    const std::string refused = "\" makam ismi olarak kullanılamaz:\r\n";
    const std::string separator = "isimde / veya \\ işareti olamaz.";
    const std::string long_name(252, 'a');  // with ".mkm" one byte too many
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", kMakamNameMissing},
        {"../x", "\"../x" + refused + separator},
        {"..", "\".." + refused + "isim nokta ile başlayamaz."},
        {".gizli", "\".gizli" + refused + "isim nokta ile başlayamaz."},
        {"a\x1b[2Jb", "\"a\\x1B[2Jb" + refused + "isimde denetim karakteri olamaz."},
        {long_name, "\"" + long_name + refused + "isim çok uzun: en çok 251 bayt olabilir."},
        // The file system refuses it: a folder stands there.
        {"Saba", "\"Saba.mkm\" makam dosyası yazılamadı:\r\n"},
    };
    for (const auto& [name, message] : cases) {
        SCOPED_TRACE(name);
        MakamBench b;
        if (name == "Saba") std::filesystem::create_directory(b.folder / "Saba.mkm");
        b.save_as(name);
        ASSERT_EQ(b.dialogs.texts().size(), 1u);
        EXPECT_TRUE(b.dialogs.texts()[0].starts_with(message));
        EXPECT_EQ(files_in(b.folder), name == "Saba" ? std::vector<std::string>{"Saba.mkm"}
                                                     : std::vector<std::string>{});
        EXPECT_EQ(files_in(b.root.path()), std::vector<std::string>{"orvena"});
        EXPECT_EQ(b.file2_refreshes, 0);
    }
}

}  // namespace
}  // namespace orvena
