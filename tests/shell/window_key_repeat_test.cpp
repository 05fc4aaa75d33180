// A letter key held down while the desktop repeats it: the note sounds once, the key stays
// marked held, and only the real release stops it.

#include <gtest/gtest.h>

#include <QtTest/qtestspontaneevent.h>
#include <QApplication>
#include <QKeyEvent>
#include <QTest>

#include "shell/program.h"
#include "shell_test_support.h"
#include "support/recording_dialogs.h"

namespace orvena {
namespace {

// A key event as the X server sends it (the toolkit's repeat flag left unset).
void from_window_system(QWidget* window, QEvent::Type type, quint64 timestamp) {
    QKeyEvent event(type, Qt::Key_S, Qt::NoModifier, QStringLiteral("s"));
    event.setTimestamp(timestamp);
    QSpontaneKeyEvent::setSpontaneous(&event);
    QApplication::instance()->notify(window, &event);
}

bool letter_of_string_12_is_black(const Surface& legend) {
    for (int y = 2 + 15 * 11; y <= 2 + 15 * 11 + 12; ++y)
        for (int x = 36; x <= 50; ++x)
            if (legend.pixel(x, y) == 0) return true;
    return false;
}

TEST(WindowKeyRepeat, HeldLetterSoundsOnceUntilItsRealRelease) {
    test::ensure_app();
    const auto saved_cwd = std::filesystem::current_path();
    test::ProgramFolder folder;
    test::RecordingDialogs dialogs;
    Program program{dialogs};
    ASSERT_TRUE(program.start(folder.headless_options()).goes_on);
    arayüz* w = program.window();
    Mixer& mixer = w->sound->mixer();
    float frame[2];

    from_window_system(w, QEvent::KeyPress, 1000);
    mixer.render(frame, 1);
    ASSERT_EQ(mixer.active_voices(), 1u);
    for (quint64 t = 1660; t <= 1740; t += 40) {  // the desktop repeats the held key
        from_window_system(w, QEvent::KeyRelease, t);
        from_window_system(w, QEvent::KeyPress, t);
    }
    QTest::qWait(4 * KeyPreview::kReleaseSettleMs);
    mixer.render(frame, 1);
    EXPECT_EQ(mixer.active_voices(), 1u) << "a repeat plucked the string again";
    EXPECT_TRUE(w->sound->alias_open("A4"));
    EXPECT_TRUE(letter_of_string_12_is_black(w->surface(10)));

    from_window_system(w, QEvent::KeyRelease, 2000);
    QTest::qWait(4 * KeyPreview::kReleaseSettleMs);
    EXPECT_FALSE(w->sound->alias_open("A4")) << "the real release stops the note";
    EXPECT_FALSE(letter_of_string_12_is_black(w->surface(10)));
    std::filesystem::current_path(saved_cwd);
}

}  // namespace
}  // namespace orvena
