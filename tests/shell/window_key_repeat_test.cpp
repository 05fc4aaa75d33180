// A letter key held down while the desktop repeats it: the note sounds once, the key stays
// marked held, and only the real release stops it.

#include <gtest/gtest.h>

#include <QtTest/qtestspontaneevent.h>
#include <QApplication>
#include <QKeyEvent>
#include <QTest>

#include "started_window.h"
#include "support/pictures.h"

namespace orvena {
namespace {

// A key event as the X server sends it (the toolkit's repeat flag left unset).
void from_window_system(QWidget* window, QEvent::Type type, quint64 timestamp) {
    QKeyEvent event(type, Qt::Key_S, Qt::NoModifier, QStringLiteral("s"));
    event.setTimestamp(timestamp);
    QSpontaneKeyEvent::setSpontaneous(&event);
    QApplication::instance()->notify(window, &event);
}

// Whether the key letter of string 12 in the legend is black, as it is while held.
bool letter_of_string_12_is_black(const Surface& legend) {
    return test::has_colour(legend, QRect(36, 2 + 15 * 11, 15, 13), 0x000000);
}

using WindowKeyRepeat = test::StartedWindow;

TEST_F(WindowKeyRepeat, HeldLetterSoundsOnceUntilItsRealRelease) {
    arayüz* w = w_;
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
}

}  // namespace
}  // namespace orvena
