// The window previews its controls' keys, auto-repeat included; message boxes speak Turkish.

#include "surface/controls.h"

#include <gtest/gtest.h>

#include <QtTest/qtestspontaneevent.h>
#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <tuple>
#include <vector>

#include "support/qt_app.h"
#include "support/temp_dir.h"
#include "surface/dialogs.h"
#include "surface/file_list.h"
#include "surface/picture_box.h"
#include "surface/qt_translation.h"
#include "surface/surface.h"

namespace orvena {
namespace {

// A window with a scroll bar and two option buttons in a frame, and a text box; its key
// preview writes down what it sees: "+A" down, "-A" up, "^" with Shift, "*" a repeat.
struct Controls : ::testing::Test {
    void SetUp() override {
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
    const bool app = (test::ensure_qt_app(), true);  // before the first widget
    QWidget window;
    QGroupBox* frame = new QGroupBox("Velmora", &window);
    ScrollBar* bar = new ScrollBar(Qt::Vertical, frame);
    QLineEdit* text = new QLineEdit(&window);
    OptionArray options{"Option2"};
    KeyPreview preview{&window};
    std::string log;
};

// Each arrow key on the focused scroll bar or option button is seen by the window once, down
// and up, and moves neither control. One key at a time: a pair could cancel out.
TEST_F(Controls, WindowSeesArrowKeysMeantForScrollBarAndOptionsAndTheyStayPut) {
    struct KeyCounter : QObject {  // key presses delivered to the control itself
        int n = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            n += e->type() == QEvent::KeyPress;
            return false;
        }
    };
    for (QWidget* control :
         {static_cast<QWidget*>(bar), static_cast<QWidget*>(options.button(1))}) {
        for (int code : {37, 38, 39, 40}) {  // Left, Up, Right, Down
            SCOPED_TRACE(testing::Message() << control->metaObject()->className() << " " << code);
            log.clear();
            KeyCounter reached;
            control->installEventFilter(&reached);
            QTest::keyClick(control, Qt::Key(Qt::Key_Left + code - 37));
            control->removeEventFilter(&reached);
            const std::string n = std::to_string(code);
            EXPECT_EQ(std::tuple(reached.n, log, bar->Value(), options.selected()),
                      std::tuple(0, "+" + n + " -" + n, 40, 1));
        }
    }
}

// A click beyond either end of a file list chooses nothing; a refresh shows the folder's names
// as they are now. An option array runs its action once for the button chosen, by a click or
// select(), not for the one let go nor for one chosen again; one with none chosen answers 0.
TEST_F(Controls, FileListsAndOptionArraysChooseWhatIsClickedAndNothingElse) {
    test::TempDir dir;
    test::write_file_bytes(dir / "a.ses", "x");
    FileListBox list(&window);
    list.setPattern("*.ses"), list.setPath(dir.path());
    for (int index : {1, -1}) list.click_entry(index);
    std::filesystem::rename(dir / "a.ses", dir / "c.ses");
    test::write_file_bytes(dir / "b.ses", "x");
    list.Refresh();
    QStringList shown;
    for (int row = 0; row < list.count(); ++row) shown << list.item(row)->text();
    std::string ran;
    options.on_click([&ran](int index) { ran += std::to_string(index); });
    for (int index : {2, 2}) options.button(index)->click();
    for (int index : {1, 1}) options.select(index);
    OptionArray none{"Option3"};
    none.add(1, frame, "c", "c");
    EXPECT_EQ(std::tuple(list.FileName(), shown.join(' '), ran, none.selected()),
              std::tuple(std::string(), QString("b.ses c.ses"), std::string("21"), 0));
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
    // Letters A..Z are their own codes, not the signs either side of them; the dotless ı of a
    // Turkish keyboard is string 8's key, where I sits on others; ö has none.
    const std::vector<std::tuple<int, const char*, int>> keys = {
        {Qt::Key_At, "@", 0},          {Qt::Key_A, "a", 'A'},       {Qt::Key_Z, "z", 'Z'},
        {Qt::Key_BracketLeft, "[", 0}, {Qt::Key_unknown, "ı", 'I'}, {Qt::Key_Odiaeresis, "ö", 0}};
    for (const auto& [key, typed, code] : keys)
        EXPECT_EQ(vb_key_code(QKeyEvent(QEvent::KeyPress, key, {}, QString::fromUtf8(typed))), code)
            << typed;
    QLineEdit elsewhere;
    QTest::keyClick(&elsewhere, Qt::Key_Q);
    EXPECT_EQ(std::pair(elsewhere.text(), log),
              std::pair(QStringLiteral("q"), std::string("+S^ +A* -S^")));
}

// Under X11 auto-repeat a held key sends release/press pairs: they reach the window as repeats,
// whatever the toolkit flagged, and a real release still arrives in its place among the other
// keys. Sent: "+A100" A pressed at 100 ms, "-A760r" released, flagged a repeat by the toolkit;
// "~" the settling time after which a held release is due.
TEST_F(Controls, AutoRepeatPairsReachTheWindowAsRepeats) {
    const std::pair<const char*, const char*> cases[] = {
        {"+A100 -A760 +A760 -A800 +A800 ~ -A950", "+A +A* +A* -A"},  // one timestamp a pair
        {"+S0 -S0 +S0 ~ -S0", "+S +S* -S"},                          // no timestamps
        {"+A100 -A760r +A760r", "+A -A* +A*"},
        {"+A100 -A200 +A230", "+A -A +A"},  // a second stroke
        {"+A100 +S150 -A200 +D200", "+A +S -A +D"},
        {"+Q100 -Q300", "+Q -Q"},  // a real release after the wait
    };
    preview.hold_releases(true);
    for (auto [sent, reported] : cases) {
        log.clear();
        std::istringstream events(sent);
        for (std::string e; events >> e;) {
            if (e != "~") {
                QKeyEvent event(e[0] == '+' ? QEvent::KeyPress : QEvent::KeyRelease, e[1],
                                Qt::NoModifier, QString(QChar(e[1])).toLower(), e.back() == 'r');
                event.setTimestamp(std::stoull(e.substr(2)));
                QSpontaneKeyEvent::setSpontaneous(&event);
                QApplication::instance()->notify(options.button(1), &event);
            }
            if (e == "~" || events.eof()) QTest::qWait(4 * KeyPreview::kReleaseSettleMs);
        }
        EXPECT_TRUE(QTest::qWaitFor([&] { return log == reported; }, 2000)) << sent << ": " << log;
    }
}

// The title, CR LF as line breaks, no icon (0) with one button or the question icon (4) with
// two, Turkish buttons, the answer of the button pressed; a box taken away or Esc answers No,
// Enter Yes.
TEST(MessageBox, ShowsTextTitleAndTurkishButtonsAndAnswersThePressedOne) {
    test::ensure_qt_app();
    QtDialogs dialogs;
    const std::tuple<MessageButtons, const char*, MessageAnswer, const char*> cases[] = {
        {MessageButtons::Ok, "Tamam", MessageAnswer::Ok, "0 Tamam"},
        {MessageButtons::YesNo, "Evet", MessageAnswer::Yes, "4 Evet Hayır"},
        {MessageButtons::YesNo, "Hayır", MessageAnswer::No, "4 Evet Hayır"},
        {MessageButtons::YesNo, "", MessageAnswer::No, "4 Evet Hayır"},
        {MessageButtons::YesNo, "Esc", MessageAnswer::No, "4 Evet Hayır"},
        {MessageButtons::YesNo, "Enter", MessageAnswer::Yes, "4 Evet Hayır"}};
    for (const auto& [buttons, press, answer, icon_and_buttons] : cases) {
        QString seen;
        QTimer::singleShot(0, [&, press = press] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) return;
            QStringList texts{box->windowTitle(), box->text(), QString::number(box->icon())};
            for (QAbstractButton* b : box->buttons()) texts << b->text();
            std::sort(texts.begin() + 3, texts.end());
            seen = texts.join('|');
            if (*press == '\0') dialogs.close_open_message();
            if (*press == 'E' && press[1] != 'v')
                QTest::keyClick(box, press[1] == 's' ? Qt::Key_Escape : Qt::Key_Return);
            for (QAbstractButton* b : box->buttons())
                if (b->text() == QString::fromUtf8(press)) b->click();
        });
        QTimer::singleShot(5000, [] {  // never hang the suite
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                box->done(0);
        });
        EXPECT_EQ(dialogs.message("12\r\nses dosyasında hata.", buttons), answer) << press;
        EXPECT_EQ(seen, QString::fromUtf8("O R V E N A|12\nses dosyasında hata.|") +
                            QString::fromUtf8(icon_and_buttons).replace(' ', '|'));
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
}

TEST(TurkishToolkit, TheProgressBoxCancelsInTurkish) {
    test::ensure_qt_app();
    const std::filesystem::path qm =
        QLibraryInfo::path(QLibraryInfo::TranslationsPath).toStdString() + "/qtbase_tr.qm";
    if (!std::filesystem::exists(qm)) GTEST_SKIP() << "qt6-translations-l10n is not installed";
    const auto translator = install_turkish_toolkit_texts();
    ASSERT_NE(translator, nullptr);
    EXPECT_EQ(QProgressDialog().findChild<QPushButton*>()->text(), QString::fromUtf8("İptal"));
    QCoreApplication::removeTranslator(translator.get());
    EXPECT_EQ(install_turkish_toolkit_texts("/nonexistent"), nullptr);
}

// A label shrinks its font until its longest line fits, and no further; one that fits keeps its
// size, and one that never fits stops at 5 pt.
TEST(FitLinesToWidth, TheLongestLineFitsAtTheLargestHalfPointThatAllows) {
    test::ensure_qt_app();
    QLabel label(QString::fromUtf8("Sol, sağ: tel\nYukarı, aşağı: mandal ve ince akort"));
    const auto widest = [&label](double size) {
        QFont f = label.font();
        f.setPointSizeF(size);
        const QFontMetrics m(f);
        int w = 0;
        for (const QString& line : label.text().split(QLatin1Char('\n')))
            w = std::max(w, m.horizontalAdvance(line));
        return w;
    };
    const auto fitted = [&](int width) {
        QFont f = label.font();
        f.setPointSizeF(12);
        label.setFont(f);
        label.resize(width, 40);
        fit_lines_to_width(&label);
        return label.font().pointSizeF();
    };
    EXPECT_EQ(fitted(widest(12)), 12.0);
    const double size = fitted(widest(12) * 2 / 3);
    EXPECT_LT(size, 12.0);
    EXPECT_LE(widest(size), label.width());
    EXPECT_GT(widest(size + 0.5), label.width());
    EXPECT_EQ(fitted(1), 5.0);
}

// The picture box hands each mouse event on as the handlers expect it: button 1 left, 2 right,
// 4 middle (a move gives the buttons held, added up); shift 1 Shift, 2 Ctrl, 4 Alt.
TEST(PictureBoxMouse, ButtonsAndShiftKeysAsNumbers) {
    test::ensure_qt_app();
    Surface surface(100, 50);
    PictureBox box(surface);
    std::string seen;
    const auto note = [&seen](const char* what) {
        return [&seen, what](int button, int shift, double x, double y) {
            seen = QString::asprintf("%s %d %d %g,%g", what, button, shift, x, y).toStdString();
        };
    };
    box.on_mouse_down = note("down"), box.on_mouse_up = note("up");
    box.on_mouse_move = note("move");
    using M = Qt::KeyboardModifier;
    using E = QEvent;
    const Qt::MouseButton none = Qt::NoButton, left = Qt::LeftButton, right = Qt::RightButton;
    // clang-format off
    const std::tuple<E::Type, Qt::MouseButton, Qt::MouseButtons, Qt::KeyboardModifiers, const char*> cases[] = {
        {E::MouseButtonPress, left, left, M::ShiftModifier, "down 1 1 10,20"},
        {E::MouseButtonPress, right, right, M::ControlModifier, "down 2 2 10,20"},
        {E::MouseButtonPress, Qt::MiddleButton, Qt::MiddleButton, M::AltModifier, "down 4 4 10,20"},
        {E::MouseMove, none, left | right, M::ShiftModifier | M::ControlModifier, "move 3 3 10,20"},
        {E::MouseButtonRelease, left, none, M::ControlModifier | M::AltModifier, "up 1 6 10,20"}};
    // clang-format on
    for (const auto& [type, button, held, keys, expected] : cases) {
        QMouseEvent event(type, QPointF(10, 20), box.mapToGlobal(QPointF(10, 20)), button, held,
                          keys);
        QApplication::sendEvent(&box, &event);
        EXPECT_EQ(seen, expected);
    }
}

}  // namespace
}  // namespace orvena
