// The pitch levels and the fine shift of the loaded window, as a user uses them.

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QRadioButton>

#include <cstring>

#include "shell/program.h"
#include "shell_test_support.h"
#include "support/recording_dialogs.h"

namespace orvena {
namespace {

std::int32_t header_rate(const std::filesystem::path& wav) {
    const std::string bytes = test::read_file_bytes(wav);
    std::int32_t rate = 0;
    std::memcpy(&rate, bytes.data() + 24, 4);
    return rate;
}

TEST(WindowTransposition, ALevelButtonRetunesTheStringsTheArrowKeysPluck) {
    test::ensure_app();
    const auto saved_cwd = std::filesystem::current_path();
    test::ProgramFolder folder;
    test::RecordingDialogs dialogs;
    Program program(dialogs);
    ASSERT_TRUE(program.start(folder.headless_options()).goes_on);
    arayüz* w = program.window();

    w->Option1.button(1)->click();  // ŞAH
    QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    QApplication::sendEvent(w, &up);
    ASSERT_EQ(w->st.cur_string, 11);
    EXPECT_EQ(w->st.mandal_pos[11], -6);
    EXPECT_EQ(header_rate(folder.path() / w->st.wav_files[11]), w->st.sample_rate(11, -6));
    bool red = false;  // the computed position listed beside string 11
    for (int y = 2 + 15 * 10; y < 2 + 15 * 11; ++y)
        for (int x = 60; x < 90; ++x) red = red || w->surface(10).pixel(x, y) == 0xFF0000u;
    EXPECT_TRUE(red);

    w->HScroll1->setValue(1);
    EXPECT_EQ(w->Text3->text(), QStringLiteral("1"));
    EXPECT_EQ(w->st.transpose_shift, -45);
    w->Option1.button(5)->click();  // SÜPÜRDE: the fine shift goes back to 0 first
    EXPECT_EQ(w->HScroll1->Value(), 0);
    EXPECT_EQ(w->Text3->text(), QStringLiteral("0"));
    EXPECT_TRUE(w->st.manual_levers);
    EXPECT_EQ(w->st.mandal_pos[11], 0);
    std::filesystem::current_path(saved_cwd);
}

}  // namespace
}  // namespace orvena
