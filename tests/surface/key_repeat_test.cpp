// Held keys under X11 auto-repeat: the release/press pairs a held key sends while it repeats
// must reach the window as repeats, whatever the toolkit flagged; a real release still
// arrives, in its place among the other keys.

#include <gtest/gtest.h>

#include <QtTest/qtestspontaneevent.h>
#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

#include "support/qt_app.h"
#include "surface/controls.h"

namespace orvena {
namespace {

// One key event as the window system delivers it: '+' press, '-' release, '~' the settling
// time after which a held release is due.
struct Sent {
    char kind;
    char key = 0;
    quint64 timestamp = 0;
    bool qt_repeat = false;  // the toolkit's own repeat flag
};

struct Case {
    const char* name;
    std::vector<Sent> events;
    const char* reported;  // "+A" down, "-A" up, "*" the event flagged as a repeat
    friend void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }
};

class KeyRepeatPairs : public ::testing::TestWithParam<Case> {};

TEST_P(KeyRepeatPairs, ReachTheWindowAsRepeats) {
    test::ensure_qt_app();
    QWidget window;
    auto* button = new QPushButton(&window);
    KeyPreview preview(&window);
    preview.hold_releases(true);
    std::string reported;
    auto log = [&reported](char kind, const KeyInfo& k) {
        if (!reported.empty()) reported += ' ';
        reported += std::string{kind, static_cast<char>(k.key_code)} + (k.auto_repeat ? "*" : "");
        return false;
    };
    preview.on_key_down([&](const KeyInfo& k) { return log('+', k); });
    preview.on_key_up([&](const KeyInfo& k) { return log('-', k); });

    for (const Sent& e : GetParam().events) {
        if (e.kind == '~') {
            QTest::qWait(4 * KeyPreview::kReleaseSettleMs);
            continue;
        }
        QKeyEvent event(e.kind == '+' ? QEvent::KeyPress : QEvent::KeyRelease, e.key,
                        Qt::NoModifier, QString(QChar(e.key)).toLower(), e.qt_repeat);
        event.setTimestamp(e.timestamp);
        QSpontaneKeyEvent::setSpontaneous(&event);
        QApplication::instance()->notify(button, &event);
    }
    QTest::qWait(4 * KeyPreview::kReleaseSettleMs);
    EXPECT_EQ(reported, GetParam().reported);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    HeldKeys, KeyRepeatPairs,
    ::testing::Values(
        Case{"UnflaggedPairWithOneTimestamp", {{'+', 'A', 100}, {'-', 'A', 760}, {'+', 'A', 760},
             {'-', 'A', 800}, {'+', 'A', 800}, {'~'}, {'-', 'A', 950}}, "+A +A* +A* -A"},
        Case{"PairWithoutTimestampsBeforeTheQueueIsDrained",
             {{'+', 'S'}, {'-', 'S'}, {'+', 'S'}, {'~'}, {'-', 'S'}}, "+S +S* -S"},
        Case{"PairTheToolkitFlagged",
             {{'+', 'A', 100}, {'-', 'A', 760, true}, {'+', 'A', 760, true}}, "+A -A* +A*"},
        Case{"SecondStrokeOfTheSameKey", {{'+', 'A', 100}, {'-', 'A', 200}, {'+', 'A', 230}},
             "+A -A +A"},
        Case{"ReleaseBeforeAnotherKeysPressKeepsItsPlace",
             {{'+', 'A', 100}, {'+', 'S', 150}, {'-', 'A', 200}, {'+', 'D', 200}}, "+A +S -A +D"},
        Case{"RealReleaseAfterTheWait", {{'+', 'Q', 100}, {'-', 'Q', 300}}, "+Q -Q"}),
    [](const ::testing::TestParamInfo<Case>& row) { return std::string(row.param.name); });
// clang-format on

}  // namespace
}  // namespace orvena
