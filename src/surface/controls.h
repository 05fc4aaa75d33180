#pragma once
// The window controls the program's handlers rely on, with the behaviour of the classic
// controls they stand for: an option array runs its click action only when its selection
// changes (from the user or from code), a scroll bar runs its change action only when its
// value changes, a text box reports focus gained and lost, a check box reports every change of
// its value. Frames are plain group boxes: a disabled frame disables every control inside it.
// Actions run synchronously inside the setter that caused them, so a handler that sets a
// control from code sees that control's action finish before it goes on. Event thread only.

#include <QCheckBox>
#include <QLineEdit>
#include <QObject>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

class QButtonGroup;
class QLabel;
class QKeyEvent;

namespace orvena {

// A text of the program (UTF-8) as the toolkit's string.
inline QString tr8(const char* text) {
    return QString::fromUtf8(text);
}

// Gives a control its name (objectName, for tests and automation) and its Turkish
// accessible name (for screen readers).
void name_control(QWidget* w, const char* object_name, const QString& accessible_name);

// Shrinks the label's font by half points, down to 5 pt, until its longest line fits its
// width: a help text must show whole in the space the layout leaves it, whatever face the
// system supplies.
void fit_lines_to_width(QLabel* label);

// Option buttons sharing one selection, addressed by Index (Option1(5) is index 5 of
// Option1; its widget is named "Option1_5").
class OptionArray {
  public:
    explicit OptionArray(std::string name);
    ~OptionArray();
    OptionArray(const OptionArray&) = delete;
    OptionArray& operator=(const OptionArray&) = delete;

    QRadioButton* add(int index, QWidget* parent, const QString& caption,
                      const QString& accessible_name);
    QRadioButton* button(int index) const;  // throws std::out_of_range for an unknown index
    const std::string& name() const { return name_; }
    int count() const { return static_cast<int>(buttons_.size()); }

    bool Value(int index) const;
    // Selects button index. Its click action runs only when it was not selected before.
    void select(int index);
    int selected() const;  // the selected index, 0 when none is

    // action(index) runs after the selection moved to index.
    void on_click(std::function<void(int)> action) { action_ = std::move(action); }

  private:
    std::string name_;
    std::unique_ptr<QButtonGroup> group_;
    std::map<int, QRadioButton*> buttons_;
    std::function<void(int)> action_;
};

// A scroll bar whose change action runs only when its value really changes. Dragging the
// thumb changes the value when it is let go, as the classic control does. An arrow or the
// trough held down repeats its step only while the button is really held on it: a message
// box opened by the change action takes the button's release for itself, and the bar then
// ends the press instead of stepping on behind the message.
class ScrollBar : public QScrollBar {
  public:
    ScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);
    // Range, small and large change and value, set quietly (no change action).
    void configure(int min, int max, int small_change, int large_change, int value);
    int Value() const { return value(); }
    // setValue (inherited) clamps to the range and runs the change action when the value
    // changes.
    void on_change(std::function<void()> action) { action_ = std::move(action); }

  protected:
    void timerEvent(QTimerEvent* e) override;

  private:
    // True when the press being repeated can no longer be released here: the button is up,
    // or a modal window other than the bar's own holds the mouse.
    bool press_lost() const;
    // Ends the press as its release would.
    void end_press();

    int last_value_ = 0;
    bool quiet_ = false;
    std::function<void()> action_;
};

// Value 0 unchecked, any other value checked; the click action runs on every change of the
// value, by the user or from code.
class CheckBox : public QCheckBox {
  public:
    explicit CheckBox(const QString& caption, QWidget* parent = nullptr);
    int Value() const { return isChecked() ? 1 : 0; }
    void setValue(int v) { setChecked(v != 0); }
    void on_click(std::function<void()> action) { action_ = std::move(action); }

  private:
    std::function<void()> action_;
};

class TextBox : public QLineEdit {
  public:
    explicit TextBox(QWidget* parent = nullptr) : QLineEdit(parent) {}
    std::string Text() const { return text().toStdString(); }
    void setText_(const std::string& t) { setText(QString::fromStdString(t)); }
    void on_got_focus(std::function<void()> action) { got_focus_ = std::move(action); }
    void on_lost_focus(std::function<void()> action) { lost_focus_ = std::move(action); }

  protected:
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

  private:
    std::function<void()> got_focus_;
    std::function<void()> lost_focus_;
};

// Key codes of the window's key events: letters 65..90, digits 48..57, arrows Left 37,
// Up 38, Right 39, Down 40, and the other common keys by their usual numbers; 0 for a key
// the program has no number for.
enum VbKey : int {
    vbKeyBack = 8,
    vbKeyTab = 9,
    vbKeyReturn = 13,
    vbKeyShift = 16,
    vbKeyControl = 17,
    vbKeyMenu = 18,
    vbKeyEscape = 27,
    vbKeySpace = 32,
    vbKeyPageUp = 33,
    vbKeyPageDown = 34,
    vbKeyEnd = 35,
    vbKeyHome = 36,
    vbKeyLeft = 37,
    vbKeyUp = 38,
    vbKeyRight = 39,
    vbKeyDown = 40,
    vbKeyInsert = 45,
    vbKeyDelete = 46,
};
int vb_key_code(const QKeyEvent& e);
// Shift 1, Ctrl 2, Alt 4, added together.
int vb_shift_state(Qt::KeyboardModifiers modifiers);

struct KeyInfo {
    int key_code = 0;
    int shift = 0;
    bool auto_repeat = false;  // a repeat generated while the key is held down
};

// Key preview: the window sees every key-down and key-up meant for any of its controls
// before that control does. A handler returning true keeps the key from the control. The
// arrow keys belong to the instrument: after the window has seen them they never reach a
// scroll bar, button or option button (they would move it); text boxes still get them.
// A text box with the focus takes what is typed into it and the window sees none of it: a
// key-up is reported only for a key whose key-down was, so a key held before the focus
// moved into a box still reports its release, and one pressed in a box reports nothing.
//
// Held keys: X11 reports each auto-repeat of a held key as a release followed by a press with
// the same timestamp, and the toolkit flags the pair as a repeat only when it happens to find
// both at once. With hold_releases on, a release from the window system is held back until
// the events queued behind it have been handled: a press of the same key in that time (with
// the same timestamp, where the events carry one) continues the held key, so the release is
// dropped and the press reported as a repeat. Any other event order reports the release as it
// came, before the press that follows it. The control itself gets every release at once.
class KeyPreview : public QObject {
  public:
    explicit KeyPreview(QWidget* window);
    ~KeyPreview() override;

    void on_key_down(std::function<bool(const KeyInfo&)> handler) { down_ = std::move(handler); }
    void on_key_up(std::function<bool(const KeyInfo&)> handler) { up_ = std::move(handler); }
    void hold_releases(bool on) { hold_releases_ = on; }
    // How long a held release waits, at least, before the queued events are looked at: a
    // press that trails its release is seldom later than this. Short enough not to be heard
    // in the end of a note.
    static constexpr int kReleaseSettleMs = 10;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct HeldRelease {
        KeyInfo key;
        quint64 timestamp = 0;  // window system time, ms; 0 when unknown
    };
    // A press: true when it continues a held key. Releases held before it are reported first.
    bool continues_held_key(const KeyInfo& press, quint64 timestamp);
    void report_held_releases();
    // Reports a key-up of a key whose key-down was reported; returns the handler's answer.
    bool report_up(const KeyInfo& key);

    QWidget* window_;
    bool resending_ = false;
    bool hold_releases_ = false;
    std::vector<HeldRelease> held_;
    std::set<int> down_keys_;  // keys reported down and not yet up
    QTimer* settle_timer_ = nullptr;
    std::function<bool(const KeyInfo&)> down_;
    std::function<bool(const KeyInfo&)> up_;
};

}  // namespace orvena
