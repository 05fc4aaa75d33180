#pragma once
// A picture surface: a persistent RGB image that the drawing code paints on with the
// operations of a classic picture box (Line with B/BF, Line to, Circle, Print, Cls,
// PaintPicture with the AND raster operation, Picture = Image / nothing, Refresh and a flood
// fill that stops at pure black). What is drawn stays until it is drawn over or cleared.
//
// Units are pixels of the image, origin at the top left, y downwards; nothing is scaled here
// (a PictureBox scales for high-DPI screens without changing these coordinates). Lines,
// boxes and circles are never antialiased, so a boundary drawn in black is exactly black and
// a flood fill stays inside it. Only the event thread uses a surface.

#include <QtGui/qrgb.h>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace orvena {

// One Print call as it landed on the surface, for tests and diagnostics.
struct PrintRecord {
    QString text;
    double x = 0;  // CurrentX before printing (left edge of the text)
    double y = 0;  // CurrentY before printing (top of the text line)
    QRgb colour = 0;
    bool bold = false;
    double font_size = 0;  // points
};

class Surface {
  public:
    // A width × height surface cleared to back_colour.
    Surface(int width, int height, QRgb back_colour = qRgb(255, 255, 255));
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    // Drawing state, named as the drawing code knows it. Colours are opaque RGB values.
    QRgb ForeColor = qRgb(0, 0, 0);
    QRgb FillColor = qRgb(0, 0, 0);
    int FillStyle = 1;    // 0 solid, 1 transparent (interiors of circles)
    int DrawWidth = 1;    // pen width in pixels: 1, 2 or 4
    double FontSize = 8;  // points; 8 is the dialog size, 12 the size the displays use
    bool FontBold = false;
    double CurrentX = 0;  // text and line position, pixels
    double CurrentY = 0;
    QRgb BackColor = qRgb(255, 255, 255);  // what Cls clears to when there is no background picture

    int width() const { return image_.width(); }
    int height() const { return image_.height(); }
    const QImage& image() const { return image_; }
    // The colour at (x,y) as 0xRRGGBB (no alpha byte), for tests and hit checks.
    QRgb pixel(int x, int y) const { return image_.pixel(x, y) & 0xFFFFFFu; }

    // Straight line from (x1,y1) to (x2,y2), both end points included, DrawWidth wide, in
    // ForeColor or the given colour. The text position moves to (x2,y2).
    void Line(int x1, int y1, int x2, int y2);
    void Line(int x1, int y1, int x2, int y2, QRgb colour);
    // Line from the text position to (x2,y2).
    void LineTo(int x2, int y2);
    void LineTo(int x2, int y2, QRgb colour);
    // Rectangle outline with (x1,y1) and (x2,y2) as opposite corners, DrawWidth wide.
    void LineB(int x1, int y1, int x2, int y2);
    void LineB(int x1, int y1, int x2, int y2, QRgb colour);
    // Solid rectangle covering both corners (inclusive) in ForeColor or the given colour.
    void LineBF(int x1, int y1, int x2, int y2);
    void LineBF(int x1, int y1, int x2, int y2, QRgb colour);

    // Circle of radius r round (x,y): the ring in ForeColor, DrawWidth wide; the interior
    // filled with FillColor when FillStyle is 0, left alone when it is 1.
    void Circle(int x, int y, int r);

    // Copies the w × h rectangle at (sx,sy) of src to (dx,dy) combining source AND
    // destination in every channel: white in the source leaves the surface, black prints
    // black. Parts outside either image are skipped.
    void PaintPicture(const QImage& src, int dx, int dy, int w, int h, int sx, int sy);

    // Text uses DejaVu Sans without antialiasing at FontSize × 4/3 pixels (96 dpi) and needs a
    // QGuiApplication. Prints text with its top at CurrentY, starting at CurrentX, in ForeColor
    // with the current font. end_line false joins the next item directly after this one (CurrentX
    // moves to the end of the text); end_line true moves CurrentX to 0 and CurrentY one text
    // line down.
    void Print(const QString& text, bool end_line = true);
    // A whole number in print form: " 3 ", "-3 ".
    void PrintNumber(long n, bool end_line = true);
    // Ends the current Print line without printing (CurrentX 0, CurrentY one line down).
    void PrintNewLine();
    // Width in pixels of text in the current font, and the height of one text line.
    double TextWidth(const QString& text) const;
    int TextHeight() const;

    // Clears to the background picture (or to BackColor when there is none) and sets the
    // text position to (0,0).
    void Cls();
    // Picture = nothing: drops the background picture and clears.
    void ClearPicture();
    // Picture = Image: the current image becomes the background picture.
    void PictureFromImage();
    // Picture = an image: sets the background picture and shows it.
    void SetPicture(const QImage& picture);
    bool HasPicture() const { return picture_.has_value(); }

    // Shows the image on screen at once: calls every refresh listener.
    void Refresh();

    // Fills the 4-connected region containing (x,y) with FillColor (whatever FillStyle is),
    // spreading until pure black pixels (RGB 0,0,0); pixels already of the fill colour are
    // part of the region. A seed on black or outside the surface does nothing.
    void ExtFloodFill(int x, int y);

    // Confines lines, boxes, circles and text to a box (corners included): what lies outside
    // it stays as it is. With keep_black, the pure black pixels inside it stay too (the
    // outlines the flood fills stop at). Until ClearClip.
    void SetClip(const QRect& box, bool keep_black = false);
    void ClearClip() { clip_.reset(); }

    // Changes the size; what was drawn stays at the top left, new area gets BackColor.
    void Resize(int width, int height);

    // Every Print since the last clear.
    const std::vector<PrintRecord>& print_log() const { return print_log_; }
    void clear_print_log() { print_log_.clear(); }

    // Listeners of a view showing this surface. on_refresh runs on Refresh (repaint now);
    // on_modified runs once after the image first changes since the last refresh or
    // acknowledge_shown() (schedule a repaint). Returns an id for remove_listener.
    int add_listener(std::function<void()> on_refresh, std::function<void()> on_modified = {});
    void remove_listener(int id);
    // The view has painted the current image.
    void acknowledge_shown() { modified_ = false; }

  private:
    void touched();
    void plot(int x, int y, QRgb colour);
    void stamp(int x, int y, int w, QRgb colour);
    void fill_rect(int x1, int y1, int x2, int y2, QRgb colour);
    void hspan(int x1, int x2, int y, QRgb colour);
    void draw_line(int x1, int y1, int x2, int y2, QRgb colour);
    void box_edges(int x1, int y1, int x2, int y2, QRgb colour);
    QFont current_font() const;

    struct Clip {
        QRect box;
        bool keep_black = false;
    };

    QImage image_;
    std::optional<QImage> picture_;
    std::optional<Clip> clip_;
    std::vector<PrintRecord> print_log_;
    struct Listener {
        int id;
        std::function<void()> on_refresh;
        std::function<void()> on_modified;
    };
    std::vector<Listener> listeners_;
    int next_listener_id_ = 1;
    bool modified_ = false;
};

}  // namespace orvena
