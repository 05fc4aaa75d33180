// The "Makam" group of the loaded window: a name typed and saved is listed at once, a click in
// the list loads it, and files added or removed beside the program show in the list.

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>

#include "shell/program.h"
#include "shell_test_support.h"
#include "support/recording_dialogs.h"

namespace orvena {
namespace {

// Lets the window's events run until the makam list holds `count` names (or 5 s pass).
bool list_reaches(const FileListBox& list, int count) {
    QElapsedTimer waited;
    waited.start();
    while (list.ListCount() != count && waited.elapsed() < 5000) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return list.ListCount() == count;
}

TEST(WindowMakam, SavedNamesAreListedAtOnceAndLoadWithOneClick) {
    test::ensure_app();
    const auto saved_cwd = std::filesystem::current_path();
    test::ProgramFolder folder(27);
    test::RecordingDialogs dialogs;
    Program program(dialogs);
    ASSERT_TRUE(program.start(folder.headless_options()).goes_on);
    arayüz* w = program.window();

    w->st.mandal_pos[12] = 5;
    w->Text1->setText(QStringLiteral("Hüzzam"));
    w->save_buton->click();
    ASSERT_EQ(w->File2->ListCount(), 1);
    EXPECT_EQ(w->File2->List(0), "Hüzzam.mkm");

    w->st.mandal_pos[12] = 0;
    w->Text1->clear();
    w->open_buton->click();
    EXPECT_TRUE(w->File2->Visible());
    w->File2->click_entry(0);
    EXPECT_FALSE(w->File2->Visible());
    EXPECT_EQ(w->Text1->text(), QStringLiteral("Hüzzam"));
    EXPECT_EQ(w->st.mandal_pos[12], 5);
    EXPECT_TRUE(dialogs.texts().empty());

    // Files that come and go beside the program, whoever adds them.
    test::write_file_bytes(folder.path() / "Acem.mkm", " 0 \r\n");
    EXPECT_TRUE(list_reaches(*w->File2, 2));
    EXPECT_EQ(w->File2->List(0), "Acem.mkm");
    std::filesystem::remove(folder.path() / "Hüzzam.mkm");
    EXPECT_TRUE(list_reaches(*w->File2, 1));
    std::filesystem::current_path(saved_cwd);
}

}  // namespace
}  // namespace orvena
