// File list boxes, message boxes and the running-instance test.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>

#include "support/qt_app.h"
#include "support/recording_dialogs.h"
#include "support/temp_dir.h"
#include "surface/dialogs.h"
#include "surface/file_list.h"
#include "surface/instance_lock.h"

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

TEST(Dialogs, CrLfBecomesALineBreak) {
    EXPECT_EQ(display_text("12\r\nses dosyası"), "12\nses dosyası");
    EXPECT_EQ(display_text("a\r\n\r\nb\rc"), "a\n\nb\nc");
    EXPECT_EQ(display_text("ok"), "ok");
}

// Inspects the open message box, then presses the named button.
struct BoxSeen {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
};

void press_when_open(BoxSeen& seen, QMessageBox::StandardButton press) {
    QTimer::singleShot(0, [&seen, press] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.buttons = static_cast<int>(box->buttons().size());
        box->button(press)->click();
    });
}

// A message shows the program's title, CR LF as line breaks, and no icon with one OK
// button or the question icon with Yes and No; the button pressed is the answer.
TEST(Dialogs, MessageBoxesShowTheirTextAndButtonsAndAnswerThePressedOne) {
    test::ensure_qt_app();
    struct Case {
        MessageButtons buttons;
        QMessageBox::StandardButton press;
        MessageAnswer answer;
        QMessageBox::Icon icon;
        int count;
    };
    const Case cases[] = {
        {MessageButtons::Ok, QMessageBox::Ok, MessageAnswer::Ok, QMessageBox::NoIcon, 1},
        {MessageButtons::YesNo, QMessageBox::No, MessageAnswer::No, QMessageBox::Question, 2},
        {MessageButtons::YesNo, QMessageBox::Yes, MessageAnswer::Yes, QMessageBox::Question, 2},
    };
    QtDialogs dialogs;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        BoxSeen seen;
        press_when_open(seen, c.press);
        EXPECT_EQ(dialogs.message("12\r\nses dosyasından kaynaklanan bir hata oluştu.", c.buttons),
                  c.answer);
        EXPECT_EQ(seen.title, QStringLiteral("O R V E N A"));
        EXPECT_EQ(seen.text, QString::fromUtf8("12\nses dosyasından kaynaklanan bir hata oluştu."));
        EXPECT_EQ(seen.icon, c.icon);
        EXPECT_EQ(seen.buttons, c.count);
    }
}

// ---- Instance test ------------------------------------------------------------------------

TEST(InstanceLock, SecondInstanceOfTheSameFolderIsRefusedUntilTheFirstLetsGo) {
    test::TempDir locks;
    test::TempDir program;
    std::filesystem::create_directory(program / "sub");
    InstanceLock first(locks.path());
    InstanceLock second(locks.path());
    InstanceLock other_folder(locks.path());
    ASSERT_TRUE(first.acquire(program.path()));
    EXPECT_FALSE(second.acquire(program.path()));
    EXPECT_FALSE(second.acquire(program / "sub" / "..")) << "the same folder spelled otherwise";
    EXPECT_TRUE(other_folder.acquire(program / "sub"));
    first.release();
    EXPECT_TRUE(second.acquire(program.path()));
}

TEST(InstanceLock, AnInstanceThatDiedLeavesNoLockBehind) {
    test::TempDir locks;
    test::TempDir program;
    InstanceLock probe(locks.path());
    const std::filesystem::path file = probe.lock_file_for(program.path());

    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Another process holding the lock as the program does; only system calls here.
        const int fd = ::open(file.c_str(), O_RDWR | O_CREAT, 0600);
        const char ok = (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0) ? 1 : 0;
        [[maybe_unused]] const auto w = ::write(ready[1], &ok, 1);
        for (;;) ::pause();
    }
    char ok = 0;
    ASSERT_EQ(::read(ready[0], &ok, 1), 1);
    ASSERT_EQ(ok, 1);
    EXPECT_FALSE(probe.acquire(program.path())) << "a live instance in another process";

    ::kill(child, SIGKILL);  // a crash: nothing is cleaned up
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_TRUE(probe.acquire(program.path()));
}

}  // namespace
}  // namespace orvena
