// Window controls: option arrays and scroll bars act only on a change; the window previews the
// keys, and a held key's auto-repeat reaches it as repeats.

#include "surface/controls.h"

#include <gtest/gtest.h>

#include <QtTest/qtestspontaneevent.h>
#include <QApplication>
#include <QGroupBox>
#include <QTest>

#include "support/qt_app.h"

namespace orvena {
namespace {

// A window with a scroll bar and two option buttons in a frame, and a text box; its key
// preview writes down what it sees: "+A" down, "-A" up, "^" with Shift, "*" a repeat.
struct Controls : ::testing::Test {
    void SetUp() override {
        test::ensure_qt_app();
        bar->configure(30, 60, 2, 5, 40);
        options.add(1, frame, "a", "a");
        options.add(2, frame, "b", "b");
        options.select(1);
        preview.on_key_down([this](const KeyInfo& k) { return note('+', k); });
        preview.on_key_up([this](const KeyInfo& k) { return note('-', k); });
    }
    bool note(char kind, const KeyInfo& k) {
        const bool letter = k.key_code >= 'A' && k.key_code <= 'Z';
        log += std::string(log.empty() ? "" : " ") + kind +
               (letter ? std::string(1, char(k.key_code)) : std::to_string(k.key_code)) +
               std::string(k.shift, '^') + (k.auto_repeat ? "*" : "");
        return false;
    }
    QWidget window;
    QGroupBox* frame = new QGroupBox("Velmora", &window);
    ScrollBar* bar = new ScrollBar(Qt::Vertical, frame);
    QLineEdit* text = new QLineEdit(&window);
    OptionArray options{"Option2"};
    KeyPreview preview{&window};
    std::string log;
};

// An option array's action runs once, inside select, only when the selection moves (a design-
// time selection before the action is attached runs nothing). The speed bar acts only on a
// change of value (beyond its range it stops at the end); the fine shift's pattern, a change
// that resets the bar, runs the action again for the reset, nested, and not a third time.
TEST_F(Controls, OptionArraysAndScrollBarsActOnlyOnAChange) {
    std::vector<int> clicks;
    options.on_click([&](int index) { clicks.push_back(index); });
    options.select(1);
    options.select(2);
    ASSERT_EQ(clicks, std::vector<int>{2});
    EXPECT_TRUE(options.Value(2) && !options.Value(1) && options.selected() == 2);
    QTest::mouseClick(options.button(2), Qt::LeftButton, {}, QPoint(6, 10));
    QTest::mouseClick(options.button(1), Qt::LeftButton, {}, QPoint(6, 10));
    EXPECT_EQ(clicks, (std::vector<int>{2, 1}));
    EXPECT_THROW(options.button(9), std::out_of_range);

    std::vector<int> seen;
    bar->on_change([&] {
        seen.push_back(bar->Value());
        if (bar->Value() == 33) bar->setValue(30);
    });
    for (int v : {40, 44, 99, 99}) bar->setValue(v);
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    bar->setValue(33);
    EXPECT_EQ(seen, (std::vector<int>{44, 60, 58, 53, 33, 30}));
    EXPECT_EQ(bar->Value(), 30);
}

// Each arrow key on the focused scroll bar or option button is seen by the window once, down
// and up, and moves neither control. One key at a time: a pair could cancel out.
TEST_F(Controls, WindowSeesArrowKeysMeantForScrollBarAndOptionsAndTheyStayPut) {
    struct KeyCounter : QObject {  // key presses that reach a control past the preview
        int presses = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            presses += e->type() == QEvent::KeyPress;
            return false;
        }
    };
    for (QWidget* control :
         {static_cast<QWidget*>(bar), static_cast<QWidget*>(options.button(1))}) {
        for (auto [key, code] : {std::pair{Qt::Key_Left, 37},
                                 {Qt::Key_Up, 38},
                                 {Qt::Key_Right, 39},
                                 {Qt::Key_Down, 40}}) {
            SCOPED_TRACE(testing::Message() << control->metaObject()->className() << " " << code);
            log.clear();
            KeyCounter reached;
            control->installEventFilter(&reached);
            QTest::keyClick(control, key);
            control->removeEventFilter(&reached);
            const std::string n = std::to_string(code);
            EXPECT_EQ(std::tuple(reached.presses, log, bar->Value(), options.selected()),
                      std::tuple(0, "+" + n + " -" + n, 40, 1));
        }
    }
}

// Letters typed into a text box are the box's alone, a release included, unless the key went
// down elsewhere; on other controls the window sees them with their shift state and the
// toolkit's auto-repeat; another window's keys are its own.
TEST_F(Controls, TextBoxesTakeTheirKeysAndOtherControlsShareThemWithTheWindow) {
    const auto send = [](QWidget* to, QEvent::Type type, Qt::Key key, const char* typed,
                         bool repeat = false) {
        const auto mods = *typed == 'S' ? Qt::ShiftModifier : Qt::NoModifier;
        QKeyEvent e(type, key, mods, QString::fromUtf8(typed), repeat);
        QCoreApplication::sendEvent(to, &e);
    };
    QTest::keyClick(text, Qt::Key_Q);
    send(text, QEvent::KeyPress, Qt::Key_S, "S");
    send(bar, QEvent::KeyRelease, Qt::Key_S, "S");  // pressed in the box
    EXPECT_EQ(std::pair(text->text(), log), std::pair(QStringLiteral("qS"), std::string()));
    send(bar, QEvent::KeyPress, Qt::Key_S, "S");
    send(bar, QEvent::KeyPress, Qt::Key_A, "a", true);
    send(text, QEvent::KeyRelease, Qt::Key_S, "S");  // held into the box
    EXPECT_EQ(std::pair(text->text(), log),
              std::pair(QStringLiteral("qS"), std::string("+S^ +A* -S^")));
    QLineEdit elsewhere;
    QTest::keyClick(&elsewhere, Qt::Key_Q);
    EXPECT_EQ(std::pair(elsewhere.text(), log),
              std::pair(QStringLiteral("q"), std::string("+S^ +A* -S^")));
}

// The dotless ı of a Turkish keyboard is string 8's key, where I sits on others; a letter the
// instrument has no string for plays nothing.
TEST(KeyCodes, TheDotlessIIsStringEightsKey) {
    test::ensure_qt_app();
    const auto code = [](int key, const char* text) {
        return vb_key_code(
            QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, QString::fromUtf8(text)));
    };
    EXPECT_EQ(std::pair(code(Qt::Key_unknown, "ı"), code(Qt::Key_Odiaeresis, "ö")),
              std::pair(int{'I'}, 0));
}

// Under X11 auto-repeat a held key sends release/press pairs: they reach the window as repeats,
// whatever the toolkit flagged, and a real release still arrives in its place among the other
// keys. Events: '+' press, '-' release, '~' the settling time after which a held release is due.
TEST_F(Controls, AutoRepeatPairsReachTheWindowAsRepeats) {
    struct Sent {
        char kind, key = 0;
        quint64 timestamp = 0;
        bool qt_repeat = false;  // the toolkit's own repeat flag
    };
    const std::pair<std::vector<Sent>, const char*> cases[] = {
        {{{'+', 'A', 100},
          {'-', 'A', 760},
          {'+', 'A', 760},
          {'-', 'A', 800},
          {'+', 'A', 800},
          {'~'},
          {'-', 'A', 950}},
         "+A +A* +A* -A"},  // unflagged pairs with one timestamp
        {{{'+', 'S'}, {'-', 'S'}, {'+', 'S'}, {'~'}, {'-', 'S'}}, "+S +S* -S"},  // no timestamps
        {{{'+', 'A', 100}, {'-', 'A', 760, true}, {'+', 'A', 760, true}}, "+A -A* +A*"},
        {{{'+', 'A', 100}, {'-', 'A', 200}, {'+', 'A', 230}}, "+A -A +A"},  // a second stroke
        {{{'+', 'A', 100}, {'+', 'S', 150}, {'-', 'A', 200}, {'+', 'D', 200}}, "+A +S -A +D"},
        {{{'+', 'Q', 100}, {'-', 'Q', 300}}, "+Q -Q"},  // a real release after the wait
    };
    preview.hold_releases(true);
    for (const auto& [events, reported] : cases) {
        log.clear();
        for (const Sent& e : events) {
            if (e.kind == '~') {
                QTest::qWait(4 * KeyPreview::kReleaseSettleMs);
                continue;
            }
            QKeyEvent event(e.kind == '+' ? QEvent::KeyPress : QEvent::KeyRelease, e.key,
                            Qt::NoModifier, QString(QChar(e.key)).toLower(), e.qt_repeat);
            event.setTimestamp(e.timestamp);
            QSpontaneKeyEvent::setSpontaneous(&event);
            QApplication::instance()->notify(options.button(1), &event);
        }
        QTest::qWait(4 * KeyPreview::kReleaseSettleMs);
        EXPECT_EQ(log, reported);
    }
}

}  // namespace
}  // namespace orvena
