#pragma once
// A widget that shows a Surface at its own pixel coordinates. Qt scales the image for
// high-DPI screens; widget (logical) coordinates stay the surface's pixels, so mouse
// positions arrive in the same units the drawing code uses.

#include <QWidget>

#include <functional>

namespace orvena {

class Surface;

class PictureBox : public QWidget {
    Q_OBJECT
  public:
    // Mouse buttons and shift keys as the handlers know them: button 1 left, 2 right,
    // 4 middle (combined for moves); shift 1 Shift, 2 Ctrl, 4 Alt. x and y in surface pixels.
    using MouseHandler = std::function<void(int button, int shift, double x, double y)>;

    // The surface must outlive the widget.
    explicit PictureBox(Surface& surface, QWidget* parent = nullptr);
    ~PictureBox() override;

    Surface& surface() { return surface_; }

    // Button pressed (one button), buttons held during a move (any combination, 0 for
    // none), button released.
    MouseHandler on_mouse_down;
    MouseHandler on_mouse_move;
    MouseHandler on_mouse_up;

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void follow_surface_size();

    Surface& surface_;
    int listener_id_ = 0;
};

}  // namespace orvena
