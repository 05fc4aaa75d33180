#include "surface/picture_box.h"

#include <QMouseEvent>
#include <QPainter>

#include "surface/surface.h"

namespace orvena {

namespace {

int vb_button(Qt::MouseButton b) {
    switch (b) {
        case Qt::LeftButton:
            return 1;
        case Qt::RightButton:
            return 2;
        case Qt::MiddleButton:
            return 4;
        default:
            return 0;
    }
}

int vb_buttons(Qt::MouseButtons held) {
    return (held.testFlag(Qt::LeftButton) ? 1 : 0) | (held.testFlag(Qt::RightButton) ? 2 : 0) |
           (held.testFlag(Qt::MiddleButton) ? 4 : 0);
}

int vb_shift(Qt::KeyboardModifiers m) {
    return (m.testFlag(Qt::ShiftModifier) ? 1 : 0) | (m.testFlag(Qt::ControlModifier) ? 2 : 0) |
           (m.testFlag(Qt::AltModifier) ? 4 : 0);
}

}  // namespace

PictureBox::PictureBox(Surface& surface, QWidget* parent) : QWidget(parent), surface_(surface) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    listener_id_ = surface_.add_listener(
        [this] {
            follow_surface_size();
            repaint();
        },
        [this] {
            follow_surface_size();
            update();
        });
    resize(surface_.width(), surface_.height());
}

PictureBox::~PictureBox() {
    surface_.remove_listener(listener_id_);
}

QSize PictureBox::sizeHint() const {
    return {surface_.width(), surface_.height()};
}

void PictureBox::follow_surface_size() {
    const QSize wanted(surface_.width(), surface_.height());
    if (size() != wanted) {
        resize(wanted);
        updateGeometry();
    }
}

void PictureBox::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    // One surface pixel per logical pixel; on a scaled screen Qt enlarges it without
    // smoothing so lines stay crisp.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.fillRect(rect(), QColor::fromRgb(surface_.BackColor));
    const QImage& img = surface_.image();
    painter.drawImage(QRect(0, 0, img.width(), img.height()), img);
    surface_.acknowledge_shown();
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    if (on_mouse_down)
        on_mouse_down(vb_button(event->button()), vb_shift(event->modifiers()),
                      event->position().x(), event->position().y());
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
    if (on_mouse_move)
        on_mouse_move(vb_buttons(event->buttons()), vb_shift(event->modifiers()),
                      event->position().x(), event->position().y());
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    if (on_mouse_up)
        on_mouse_up(vb_button(event->button()), vb_shift(event->modifiers()), event->position().x(),
                    event->position().y());
}

}  // namespace orvena
