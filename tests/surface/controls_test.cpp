// Window controls: option arrays and scroll bars act only on a change, the window previews
// keys.

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <tuple>
#include <vector>

#include "support/qt_app.h"
#include "surface/controls.h"

namespace orvena {
namespace {

class ControlsTest : public ::testing::Test {
  protected:
    void SetUp() override { test::ensure_qt_app(); }
};

TEST_F(ControlsTest, OptionArrayActsOnlyOnAChange) {
    QWidget window;
    OptionArray options("Option1");
    for (int i = 1; i <= 8; ++i)
        options.add(i, &window, QString::number(i), "")->setGeometry(0, 20 * i, 80, 20);
    window.show();
    std::vector<int> clicks;
    options.select(5);  // before the action is attached: a design-time selection
    options.on_click([&](int index) { clicks.push_back(index); });
    options.select(5);
    EXPECT_TRUE(clicks.empty()) << "selecting the selected button again ran its action";
    options.select(2);
    ASSERT_EQ(clicks, std::vector<int>{2}) << "the action runs inside select, once";
    EXPECT_TRUE(options.Value(2) && !options.Value(5) && options.selected() == 2);
    // A user's click on the selected button changes nothing; on another button it acts.
    QTest::mouseClick(options.button(2), Qt::LeftButton, {}, QPoint(6, 10));
    QTest::mouseClick(options.button(7), Qt::LeftButton, {}, QPoint(6, 10));
    EXPECT_EQ(clicks, (std::vector<int>{2, 7}));
    EXPECT_THROW(options.button(9), std::out_of_range);
}

// The speed bar acts only on a change of value; the fine-shift pattern, a change that resets
// the bar to 0, runs the action again for the reset, nested, and not a third time.
TEST_F(ControlsTest, ScrollBarActsOnlyOnAChangeAndOnceMoreForItsOwnReset) {
    ScrollBar bar(Qt::Vertical);
    std::vector<int> seen;
    bar.on_change([&] {
        seen.push_back(bar.Value());
        if (bar.Value() == 33) bar.setValue(30);
    });
    bar.configure(30, 60, 2, 5, 40);                 // the design, not a change
    for (int v : {40, 44, 99, 99}) bar.setValue(v);  // beyond the range: stops at the end
    bar.triggerAction(QAbstractSlider::SliderSingleStepSub);
    bar.triggerAction(QAbstractSlider::SliderPageStepSub);
    bar.setValue(33);
    EXPECT_EQ(seen, (std::vector<int>{44, 60, 58, 53, 33, 30}));
    EXPECT_EQ(bar.Value(), 30);
}

// ---- Key preview --------------------------------------------------------------------------

struct KeyLog {
    std::vector<std::pair<char, KeyInfo>> events;  // 'd' down, 'u' up
};

class KeyPreviewTest : public ControlsTest {
  protected:
    void SetUp() override {
        ControlsTest::SetUp();
        window = std::make_unique<QWidget>();
        frame = new QGroupBox("Velmora", window.get());
        bar = new ScrollBar(Qt::Vertical, frame);
        bar->configure(30, 60, 2, 5, 40);
        text = new QLineEdit(window.get());
        options.add(1, frame, "a", "a");
        options.add(2, frame, "b", "b");
        options.select(1);
        preview = new KeyPreview(window.get());
        preview->setParent(window.get());
        preview->on_key_down([this](const KeyInfo& k) {
            log.events.push_back({'d', k});
            return false;
        });
        preview->on_key_up([this](const KeyInfo& k) {
            log.events.push_back({'u', k});
            return false;
        });
    }
    std::unique_ptr<QWidget> window;
    QGroupBox* frame = nullptr;
    ScrollBar* bar = nullptr;
    QLineEdit* text = nullptr;
    OptionArray options{"Option2"};
    KeyPreview* preview = nullptr;
    KeyLog log;
};

// Each arrow key on the focused scroll bar or option button is seen by the window once,
// down and up, and moves neither control. One key at a time: a pair could cancel out.
TEST_F(KeyPreviewTest, WindowSeesArrowKeysMeantForScrollBarAndOptionsAndTheyStayPut) {
    const std::pair<int, int> arrows[] = {{Qt::Key_Left, vbKeyLeft},
                                          {Qt::Key_Up, vbKeyUp},
                                          {Qt::Key_Right, vbKeyRight},
                                          {Qt::Key_Down, vbKeyDown}};
    // Counts the key presses that reach a control past the window's preview.
    struct KeyCounter : QObject {
        int presses = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            presses += e->type() == QEvent::KeyPress;
            return false;
        }
    };
    for (QWidget* control :
         {static_cast<QWidget*>(bar), static_cast<QWidget*>(options.button(1))}) {
        for (auto [key, code] : arrows) {
            SCOPED_TRACE(testing::Message() << control->metaObject()->className() << " " << code);
            log.events.clear();
            KeyCounter reached;
            control->installEventFilter(&reached);
            QTest::keyClick(control, static_cast<Qt::Key>(key));
            control->removeEventFilter(&reached);
            EXPECT_EQ(reached.presses, 0);
            ASSERT_EQ(log.events.size(), 2u);
            EXPECT_EQ(std::tuple(log.events[0].first, log.events[0].second.key_code,
                                 log.events[1].first, bar->Value(), options.selected()),
                      std::tuple('d', code, 'u', 40, 1));
        }
    }
}

// Letters typed into a text box are the box's alone, a release included, unless the key went
// down elsewhere; on other controls the window sees them with their shift state and the
// toolkit's auto-repeat; another window's keys are its own.
TEST_F(KeyPreviewTest, TextBoxesTakeTheirKeysAndOtherControlsShareThemWithTheWindow) {
    const auto send = [](QWidget* to, QEvent::Type type, Qt::Key key, Qt::KeyboardModifiers mods,
                         const char* typed, bool repeat = false) {
        QKeyEvent e(type, key, mods, QString::fromUtf8(typed), repeat);
        QCoreApplication::sendEvent(to, &e);
    };
    QTest::keyClick(text, Qt::Key_Q);
    send(text, QEvent::KeyPress, Qt::Key_S, Qt::ShiftModifier, "S");
    send(bar, QEvent::KeyRelease, Qt::Key_S, Qt::ShiftModifier, "S");  // pressed in the box
    EXPECT_EQ(text->text(), QStringLiteral("qS"));
    EXPECT_TRUE(log.events.empty());

    send(bar, QEvent::KeyPress, Qt::Key_S, Qt::ShiftModifier, "S");
    send(bar, QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a", true);
    send(text, QEvent::KeyRelease, Qt::Key_S, Qt::ShiftModifier, "S");  // held into the box
    EXPECT_EQ(text->text(), QStringLiteral("qS"));
    ASSERT_EQ(log.events.size(), 3u);
    EXPECT_EQ(std::tuple(log.events[0].second.key_code, log.events[0].second.shift,
                         log.events[1].second.auto_repeat, log.events[2].first,
                         log.events[2].second.key_code),
              std::tuple(83, 1, true, 'u', 83));
    QLineEdit elsewhere;  // another window: its keys are its own
    QTest::keyClick(&elsewhere, Qt::Key_Q);
    EXPECT_EQ(log.events.size(), 3u);
    EXPECT_EQ(elsewhere.text(), QStringLiteral("q"));
}

// The dotless ı of a Turkish keyboard is string 8's key, where I sits on others; a letter the
// instrument has no string for plays nothing.
TEST(KeyCodes, TheDotlessIIsStringEightsKey) {
    test::ensure_qt_app();
    auto code = [](int key, const char* text) {
        return vb_key_code(
            QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, QString::fromUtf8(text)));
    };
    EXPECT_EQ(code(Qt::Key_unknown, "ı"), 'I');
    EXPECT_EQ(code(Qt::Key_Odiaeresis, "ö"), 0);
}

}  // namespace
}  // namespace orvena
