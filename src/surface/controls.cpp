#include "surface/controls.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QApplication>
#include <QButtonGroup>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace orvena {

void name_control(QWidget* w, const char* object_name, const QString& accessible_name) {
    w->setObjectName(QString::fromUtf8(object_name));
    w->setAccessibleName(accessible_name);
}

void fit_lines_to_width(QLabel* label) {
    QFont f = label->font();
    const QStringList lines = label->text().split(QLatin1Char('\n'));
    for (double size = f.pointSizeF(); size >= 5.0; size -= 0.5) {
        f.setPointSizeF(size);
        const QFontMetrics metrics(f);
        int widest = 0;
        for (const QString& line : lines)
            widest = std::max(widest, metrics.horizontalAdvance(line));
        if (widest <= label->width()) break;
    }
    label->setFont(f);
}

// ---- OptionArray ------------------------------------------------------------------------

OptionArray::OptionArray(std::string name)
    : name_(std::move(name)), group_(std::make_unique<QButtonGroup>()) {
    group_->setExclusive(true);
}

OptionArray::~OptionArray() = default;

QRadioButton* OptionArray::add(int index, QWidget* parent, const QString& caption,
                               const QString& accessible_name) {
    auto* b = new QRadioButton(caption, parent);
    const std::string object_name = name_ + "_" + std::to_string(index);
    name_control(b, object_name.c_str(), accessible_name);
    group_->addButton(b, index);
    buttons_[index] = b;
    // toggled(true) comes once per change of selection, whether a click or select() made it;
    // clicking the selected button again changes nothing and runs nothing.
    QObject::connect(b, &QAbstractButton::toggled, b, [this, index](bool on) {
        if (on && action_) action_(index);
    });
    return b;
}

QRadioButton* OptionArray::button(int index) const {
    const auto it = buttons_.find(index);
    if (it == buttons_.end()) {
        throw std::out_of_range(name_ + " has no button " + std::to_string(index));
    }
    return it->second;
}

bool OptionArray::Value(int index) const {
    return button(index)->isChecked();
}

void OptionArray::select(int index) {
    button(index)->setChecked(true);
}

int OptionArray::selected() const {
    const int id = group_->checkedId();
    return id == -1 ? 0 : id;
}

// ---- ScrollBar --------------------------------------------------------------------------

ScrollBar::ScrollBar(Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent) {
    setTracking(false);
    last_value_ = value();
    connect(this, &QAbstractSlider::valueChanged, this, [this](int v) {
        if (v == last_value_) return;
        last_value_ = v;
        if (quiet_ || !action_) return;
        action_();
        // A message the action showed and the user closed at once took the release with it.
        if (repeatAction() != SliderNoAction && press_lost()) end_press();
    });
}

void ScrollBar::timerEvent(QTimerEvent* e) {
    if (repeatAction() != SliderNoAction && press_lost()) {
        end_press();
        return;
    }
    QScrollBar::timerEvent(e);
}

bool ScrollBar::press_lost() const {
    const QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal != window()) return true;
    return !QGuiApplication::mouseButtons().testFlag(Qt::LeftButton);
}

void ScrollBar::end_press() {
    setRepeatAction(SliderNoAction);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(), mapToGlobal(QPointF()),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    mouseReleaseEvent(&release);
}

void ScrollBar::configure(int min, int max, int small_change, int large_change, int value) {
    quiet_ = true;
    setRange(min, max);
    setSingleStep(small_change);
    setPageStep(large_change);
    setValue(value);
    last_value_ = this->value();
    quiet_ = false;
}

// ---- CheckBox ---------------------------------------------------------------------------

CheckBox::CheckBox(const QString& caption, QWidget* parent) : QCheckBox(caption, parent) {
    connect(this, &QAbstractButton::toggled, this, [this](bool) {
        if (action_) action_();
    });
}

// ---- TextBox ----------------------------------------------------------------------------

void TextBox::focusInEvent(QFocusEvent* e) {
    QLineEdit::focusInEvent(e);
    if (got_focus_) got_focus_();
}

void TextBox::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    if (lost_focus_) lost_focus_();
}

// ---- Keys -------------------------------------------------------------------------------

int vb_key_code(const QKeyEvent& e) {
    const int k = e.key();
    const bool keypad = e.modifiers().testFlag(Qt::KeypadModifier);
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return k;  // same numbers: 65..90
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return keypad ? 96 + (k - Qt::Key_0) : k;
    if (k >= Qt::Key_F1 && k <= Qt::Key_F16) return 112 + (k - Qt::Key_F1);
    switch (k) {
        case Qt::Key_Left:
            return vbKeyLeft;
        case Qt::Key_Up:
            return vbKeyUp;
        case Qt::Key_Right:
            return vbKeyRight;
        case Qt::Key_Down:
            return vbKeyDown;
        case Qt::Key_Backspace:
            return vbKeyBack;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return vbKeyTab;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return vbKeyReturn;
        case Qt::Key_Shift:
            return vbKeyShift;
        case Qt::Key_Control:
            return vbKeyControl;
        case Qt::Key_Alt:
            return vbKeyMenu;
        case Qt::Key_Escape:
            return vbKeyEscape;
        case Qt::Key_Space:
            return vbKeySpace;
        case Qt::Key_PageUp:
            return vbKeyPageUp;
        case Qt::Key_PageDown:
            return vbKeyPageDown;
        case Qt::Key_End:
            return vbKeyEnd;
        case Qt::Key_Home:
            return vbKeyHome;
        case Qt::Key_Insert:
            return vbKeyInsert;
        case Qt::Key_Delete:
            return vbKeyDelete;
        default:
            break;
    }
    // The dotless i of a Turkish keyboard sits where I sits on others: it is string 8's key.
    const QString text = e.text();
    if (text == QStringLiteral("\u0131") || text == QStringLiteral("I")) return 'I';
    return 0;
}

int vb_shift_state(Qt::KeyboardModifiers modifiers) {
    int shift = 0;
    if (modifiers.testFlag(Qt::ShiftModifier)) shift |= 1;
    if (modifiers.testFlag(Qt::ControlModifier)) shift |= 2;
    if (modifiers.testFlag(Qt::AltModifier)) shift |= 4;
    return shift;
}

KeyPreview::KeyPreview(QWidget* window) : window_(window) {
    qApp->installEventFilter(this);
    settle_timer_ = new QTimer(this);
    settle_timer_->setSingleShot(true);
    settle_timer_->setInterval(kReleaseSettleMs);
    settle_timer_->setTimerType(Qt::PreciseTimer);
    // The timer may fire before window events that came in meanwhile are handled; one more
    // turn of the event loop lets them be.
    connect(settle_timer_, &QTimer::timeout, this, [this] {
        QMetaObject::invokeMethod(
            this, [this] { report_held_releases(); }, Qt::QueuedConnection);
    });
}

KeyPreview::~KeyPreview() {
    if (qApp) qApp->removeEventFilter(this);
}

namespace {

bool is_arrow(int key) {
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

// Controls that would move on an arrow key although the key is meant for the instrument.
bool arrow_moves(QObject* receiver) {
    return qobject_cast<QAbstractSlider*>(receiver) != nullptr ||
           qobject_cast<QAbstractButton*>(receiver) != nullptr;
}

}  // namespace

bool KeyPreview::continues_held_key(const KeyInfo& press, quint64 timestamp) {
    bool repeat = false;
    std::vector<HeldRelease> earlier;
    for (const HeldRelease& held : held_) {
        const bool same_time = held.timestamp == 0 || timestamp == 0 || held.timestamp == timestamp;
        if (!repeat && held.key.key_code == press.key_code && same_time) {
            repeat = true;
        } else {
            earlier.push_back(held);
        }
    }
    held_.clear();
    settle_timer_->stop();
    for (const HeldRelease& held : earlier) report_up(held.key);
    return repeat;
}

void KeyPreview::report_held_releases() {
    if (settle_timer_->isActive()) return;  // a newer release restarted the wait
    const std::vector<HeldRelease> released = std::exchange(held_, {});
    for (const HeldRelease& held : released) report_up(held.key);
}

bool KeyPreview::report_up(const KeyInfo& key) {
    if (down_keys_.count(key.key_code) == 0) return false;
    if (!key.auto_repeat) down_keys_.erase(key.key_code);
    return up_ ? up_(key) : false;
}

bool KeyPreview::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (resending_ || (type != QEvent::KeyPress && type != QEvent::KeyRelease)) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != window_) return false;

    auto* key_event = static_cast<QKeyEvent*>(event);
    KeyInfo info{vb_key_code(*key_event), vb_shift_state(key_event->modifiers()),
                 key_event->isAutoRepeat()};
    bool keep_from_control = false;
    if (type == QEvent::KeyPress) {
        if (continues_held_key(info, key_event->timestamp())) info.auto_repeat = true;
        if (qobject_cast<QLineEdit*>(watched) == nullptr) {
            down_keys_.insert(info.key_code);
            if (down_) keep_from_control = down_(info);
        }
    } else if (hold_releases_ && event->spontaneous() && !info.auto_repeat) {
        held_.push_back({info, key_event->timestamp()});
        settle_timer_->start();
    } else {
        keep_from_control = report_up(info);
    }
    if (is_arrow(key_event->key()) && arrow_moves(watched)) keep_from_control = true;
    if (!keep_from_control) {
        // The control gets a copy, propagation to its parents included; the original event
        // is finished here, so the window never sees one key twice while it propagates.
        std::unique_ptr<QEvent> copy(event->clone());
        resending_ = true;
        QCoreApplication::sendEvent(watched, copy.get());
        resending_ = false;
    }
    event->accept();
    return true;
}

}  // namespace orvena
