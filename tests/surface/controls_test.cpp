// Window controls: option arrays and scroll bars act only on a change, frames disable their
// contents, check and text boxes report, the window previews keys, the event pump runs
// posted work once.

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <vector>

#include "support/qt_app.h"
#include "surface/controls.h"
#include "surface/event_pump.h"

namespace orvena {
namespace {

class ControlsTest : public ::testing::Test {
  protected:
    void SetUp() override { test::ensure_qt_app(); }
};

TEST_F(ControlsTest, OptionArrayActsOnlyOnAChangeAndItsActionMaySelectElsewhere) {
    {
        QWidget window;
        OptionArray options("Option1");
        for (int i = 1; i <= 8; ++i) {
            options.add(i, &window, QString::number(i), QString::number(i))
                ->setGeometry(0, 20 * i, 80, 20);
        }
        window.resize(100, 200);
        window.show();
        std::vector<int> clicks;
        options.select(5);  // before the action is attached: a design-time selection
        options.on_click([&](int index) { clicks.push_back(index); });

        options.select(5);
        EXPECT_TRUE(clicks.empty()) << "selecting the selected button again ran its action";

        options.select(2);
        ASSERT_EQ(clicks, std::vector<int>{2}) << "the action runs inside select, once";
        EXPECT_TRUE(options.Value(2));
        EXPECT_FALSE(options.Value(5));
        EXPECT_EQ(options.selected(), 2);

        // A user's click on the selected button changes nothing; on another button it acts.
        QTest::mouseClick(options.button(2), Qt::LeftButton, {}, QPoint(6, 10));
        EXPECT_EQ(clicks.size(), 1u);
        QTest::mouseClick(options.button(7), Qt::LeftButton, {}, QPoint(6, 10));
        EXPECT_EQ(clicks, (std::vector<int>{2, 7}));
        EXPECT_EQ(options.button(7)->objectName(), QStringLiteral("Option1_7"));
        EXPECT_THROW(options.button(9), std::out_of_range);
    }
    {
        QWidget window;
        OptionArray levels("Option1");
        OptionArray setting("Option5");
        levels.add(1, &window, "a", "a");
        levels.add(2, &window, "b", "b");
        setting.add(1, &window, "u", "u");
        setting.add(2, &window, "t", "t");
        levels.select(1);
        setting.select(1);
        std::vector<std::string> order;
        setting.on_click([&](int i) { order.push_back("setting " + std::to_string(i)); });
        levels.on_click([&](int i) {
            EXPECT_EQ(levels.selected(), i);
            order.push_back("level " + std::to_string(i));
            setting.select(2);
            order.push_back("level done");
        });
        levels.select(2);
        EXPECT_EQ(order, (std::vector<std::string>{"level 2", "setting 2", "level done"}));
    }
}

TEST_F(ControlsTest, ScrollBarActsOnlyOnAChangeAndOnceMoreForItsOwnReset) {
    {
        ScrollBar bar(Qt::Vertical);
        int changes = 0;
        bar.on_change([&] { ++changes; });
        bar.configure(30, 60, 2, 5, 40);
        EXPECT_EQ(changes, 0) << "configuring is the design, not a change";
        EXPECT_EQ(bar.Value(), 40);

        bar.setValue(40);
        EXPECT_EQ(changes, 0);
        bar.setValue(44);
        EXPECT_EQ(changes, 1);
        bar.setValue(99);  // beyond the range: the value stops at the end
        EXPECT_EQ(bar.Value(), 60);
        EXPECT_EQ(changes, 2);
        bar.setValue(99);
        EXPECT_EQ(changes, 2);

        bar.triggerAction(QAbstractSlider::SliderSingleStepSub);
        EXPECT_EQ(bar.Value(), 58);
        bar.triggerAction(QAbstractSlider::SliderPageStepSub);
        EXPECT_EQ(bar.Value(), 53);
        EXPECT_EQ(changes, 4);
    }
    {
        // The fine-shift pattern: a change that resets the bar to 0 runs the action again for
        // the reset, nested, and not a third time.
        ScrollBar bar(Qt::Horizontal);
        bar.configure(-8, 12, 1, 1, 0);
        std::vector<int> seen;
        bar.on_change([&] {
            seen.push_back(bar.Value());
            if (bar.Value() == 3) bar.setValue(0);
        });
        bar.setValue(3);
        EXPECT_EQ(seen, (std::vector<int>{3, 0}));
        EXPECT_EQ(bar.Value(), 0);
    }
}

TEST_F(ControlsTest, CheckBoxReportsEveryChangeOfItsValue) {
    CheckBox box("detay  göster");
    int clicks = 0;
    box.on_click([&] { ++clicks; });
    box.setValue(1);
    EXPECT_EQ(box.Value(), 1);
    box.setValue(5);  // any non-zero value is checked: no change
    EXPECT_EQ(clicks, 1);
    box.setValue(0);
    EXPECT_EQ(clicks, 2);
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
            return keep_from_control;
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
    bool keep_from_control = false;
};

// Each arrow key on the focused scroll bar or option button is seen by the window once,
// down and up, and moves neither control. One key at a time: a pair could cancel out.
TEST_F(KeyPreviewTest, WindowSeesArrowKeysMeantForScrollBarAndOptionsAndTheyStayPut) {
    const std::pair<int, int> arrows[] = {{Qt::Key_Left, vbKeyLeft},
                                          {Qt::Key_Up, vbKeyUp},
                                          {Qt::Key_Right, vbKeyRight},
                                          {Qt::Key_Down, vbKeyDown}};
    for (QWidget* control :
         {static_cast<QWidget*>(bar), static_cast<QWidget*>(options.button(1))}) {
        for (auto [key, code] : arrows) {
            SCOPED_TRACE(testing::Message() << control->metaObject()->className() << " " << code);
            log.events.clear();
            QTest::keyClick(control, static_cast<Qt::Key>(key));
            ASSERT_EQ(log.events.size(), 2u);
            EXPECT_EQ(log.events[0].first, 'd');
            EXPECT_EQ(log.events[0].second.key_code, code);
            EXPECT_EQ(log.events[1].first, 'u');
            EXPECT_EQ(bar->Value(), 40);
            EXPECT_EQ(options.selected(), 1);
        }
    }
}

TEST_F(KeyPreviewTest, LettersReachTheTextBoxUnlessKeptAutoRepeatIsReportedOtherWindowsAreNot) {
    {
        QTest::keyClick(text, Qt::Key_Q);
        QKeyEvent shifted(QEvent::KeyPress, Qt::Key_S, Qt::ShiftModifier, QStringLiteral("S"));
        QCoreApplication::sendEvent(text, &shifted);
        EXPECT_EQ(text->text(), QStringLiteral("qS"));
        ASSERT_EQ(log.events.size(), 3u);
        EXPECT_EQ(log.events[0].second.key_code, 81);
        EXPECT_EQ(log.events[2].second.key_code, 83);
        EXPECT_EQ(log.events[2].second.shift, 1);

        keep_from_control = true;
        QTest::keyClick(text, Qt::Key_W);
        EXPECT_EQ(text->text(), QStringLiteral("qS"));
        EXPECT_EQ(log.events.size(), 5u);
    }
    {
        log.events.clear();
        keep_from_control = false;
        QTest::sendKeyEvent(QTest::KeyAction::Press, bar, Qt::Key_A, 'a', Qt::NoModifier);
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"), true);
        QCoreApplication::sendEvent(bar, &repeat);
        ASSERT_EQ(log.events.size(), 2u);
        EXPECT_FALSE(log.events[0].second.auto_repeat);
        EXPECT_TRUE(log.events[1].second.auto_repeat);
        EXPECT_EQ(log.events[1].second.key_code, 65);

        QLineEdit elsewhere;  // another window: its keys are its own
        QTest::keyClick(&elsewhere, Qt::Key_Q);
        EXPECT_EQ(log.events.size(), 2u);
        EXPECT_EQ(elsewhere.text(), QStringLiteral("q"));
    }
}

TEST(KeyCodes, ArrowsLettersDigitsAndKeypad) {
    test::ensure_qt_app();
    auto code = [](int key, Qt::KeyboardModifiers mods = Qt::NoModifier, QString text = {}) {
        return vb_key_code(QKeyEvent(QEvent::KeyPress, key, mods, text));
    };
    EXPECT_EQ(code(Qt::Key_Left), 37);
    EXPECT_EQ(code(Qt::Key_Up), 38);
    EXPECT_EQ(code(Qt::Key_Right), 39);
    EXPECT_EQ(code(Qt::Key_Down), 40);
    EXPECT_EQ(code(Qt::Key_M), 77);
    EXPECT_EQ(code(Qt::Key_5), 53);
    EXPECT_EQ(code(Qt::Key_5, Qt::KeypadModifier), 101);
    EXPECT_EQ(code(Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8("ı")), 73);
    EXPECT_EQ(code(Qt::Key_Odiaeresis, Qt::NoModifier, QString::fromUtf8("ö")), 0);
    EXPECT_EQ(vb_shift_state(Qt::ShiftModifier | Qt::AltModifier), 5);
}

TEST_F(ControlsTest, EventPumpRunsWhatIsPendingOnceAndReturns) {
    QtEventPump pump;
    int ran = 0;
    QTimer::singleShot(0, [&] {
        ++ran;
        QTimer::singleShot(0, [&] { ++ran; });  // posted during the pass: a later pass
    });
    pump.process_pending();
    EXPECT_GE(ran, 1);
    pump.process_pending();
    EXPECT_EQ(ran, 2);
}

}  // namespace
}  // namespace orvena
