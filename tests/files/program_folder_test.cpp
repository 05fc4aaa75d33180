// The folder the program works in: its own when writable, else a copy in the user's folder
// made on the first start and kept from then on; and where an export's file dialog opens.

#include <gtest/gtest.h>

#include <tuple>

#include "files/export_folder.h"
#include "files/program_folder.h"
#include "support/temp_dir.h"

namespace orvena {
namespace {

namespace fs = std::filesystem;

// A build runs where its workbook lies; an installed program finds share/orvena beside bin/.
TEST(ProgramFolder, ShippedFolderIsTheExecutablesWhenTheWorkbookIsThereElseShareOrvena) {
    // The workbook beside the executable, share/orvena there, the folder found.
    const std::tuple<bool, bool, const char*> cases[] = {
        {true, true, "bin"}, {false, true, "share/orvena"}, {false, false, "bin"}};
    for (const auto& [workbook_beside, share, expected] : cases) {
        test::TempDir root;
        fs::create_directory(root / "bin");
        if (workbook_beside) test::write_file_bytes(root / "bin" / "dizek.xls", "");
        if (share) fs::create_directories(root / "share" / "orvena");
        EXPECT_EQ(shipped_folder(root / "bin"), root / expected);
    }
}

TEST(ProgramFolder, ReadOnlyShippedFolderIsCopiedOnceToTheUserFolder) {
    test::TempDir root;
    const fs::path shipped = root / "share", user = root / "user" / "ORVENA";
    fs::create_directories(shipped / "akort");
    for (const char* name : {"dizek.xls", "01-E6.wav", "Rast.mkm", "orvena", "akort/12-TET.scl"})
        test::write_file_bytes(shipped / name, name);
    fs::permissions(shipped / "Rast.mkm", fs::perms::owner_read);
    EXPECT_EQ(working_folder(shipped, user), shipped);  // writable: works where it is
    EXPECT_FALSE(fs::exists(user));
    fs::permissions(shipped, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(folder_writable(shipped));
    EXPECT_EQ(working_folder(shipped, user), user);
    EXPECT_EQ(test::read_file_bytes(user / "Rast.mkm"), "Rast.mkm");
    EXPECT_NE(fs::status(user / "Rast.mkm").permissions() & fs::perms::owner_write,
              fs::perms::none);
    EXPECT_EQ(test::read_file_bytes(user / "akort" / "12-TET.scl"), "akort/12-TET.scl");
    EXPECT_TRUE(!fs::exists(user / "orvena") && folder_writable(user));
    // The user's own changes survive the next start; a file removed comes back.
    test::write_file_bytes(user / "Rast.mkm", " 1 \r\n");
    fs::remove(user / "01-E6.wav");
    EXPECT_EQ(working_folder(shipped, user), user);
    EXPECT_EQ(test::read_file_bytes(user / "Rast.mkm"), " 1 \r\n");
    EXPECT_EQ(test::read_file_bytes(user / "01-E6.wav"), "01-E6.wav");
    // No user folder can be made: the shipped folder is used as it is.
    test::write_file_bytes(root / "file", "");
    EXPECT_EQ(working_folder(shipped, root / "file" / "ORVENA"), shipped);
    fs::permissions(shipped, fs::perms::owner_all);
}

// The workbook counts only under its exact name and as a file, whatever the file system would
// open: start-up refuses "DIZEK.XLS" with the message for a missing workbook.
TEST(ProgramFolder, HoldsANameOnlyAsARegularFileSpeltExactly) {
    // A file, a folder made in the folder ("" none): only the first holds the workbook.
    const std::pair<std::string, std::string> cases[] = {
        {"dizek.xls", ""}, {"DIZEK.XLS", ""}, {"dizek.xls.bak", ""}, {"", "dizek.xls"}, {"", ""}};
    for (const auto& [file, folder] : cases) {
        test::TempDir dir;
        if (!file.empty()) test::write_file_bytes(dir / file, "");
        if (!folder.empty()) fs::create_directory(dir / folder);
        EXPECT_EQ(folder_has_exact_name(dir.path(), "dizek.xls"), file == "dizek.xls")
            << file + folder;
    }
    EXPECT_FALSE(folder_has_exact_name("/nonexistent-orvena-folder", "dizek.xls"));
}

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
