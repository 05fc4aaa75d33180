#include "surface/surface.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPainter>

#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

#include <algorithm>
#include <cmath>
#include <utility>

#include "tuning/number_format.h"

namespace orvena {

namespace {

constexpr QRgb kOpaque = 0xFF000000u;

bool is_black(QRgb p) {
    return (p & 0xFFFFFFu) == 0;
}

// The pixel size of the text font for a size in points, at the 96 dots per inch the
// program's layout was drawn for: 8 pt -> 11 px (13 px lines), 12 pt -> 16 px (19 px lines).
int font_pixels(double points) {
    return std::max(1, static_cast<int>(std::lround(points * 4.0 / 3.0)));
}

}  // namespace

Surface::Surface(int width, int height, QRgb back_colour)
    : image_(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32) {
    BackColor = back_colour;
    image_.fill(BackColor | kOpaque);
}

void Surface::touched() {
    if (modified_) return;
    modified_ = true;
    for (const auto& l : listeners_)
        if (l.on_modified) l.on_modified();
}

void Surface::SetClip(const QRect& box, bool keep_black) {
    clip_ = Clip{box.normalized(), keep_black};
}

void Surface::plot(int x, int y, QRgb colour) {
    hspan(x, x, y, colour);
}

void Surface::hspan(int x1, int x2, int y, QRgb colour) {
    if (y < 0 || y >= image_.height()) return;
    x1 = std::max(x1, 0);
    x2 = std::min(x2, image_.width() - 1);
    if (clip_) {
        if (y < clip_->box.top() || y > clip_->box.bottom()) return;
        x1 = std::max(x1, clip_->box.left());
        x2 = std::min(x2, clip_->box.right());
    }
    if (x1 > x2) return;
    QRgb* row = reinterpret_cast<QRgb*>(image_.scanLine(y));
    if (clip_ && clip_->keep_black) {
        for (int x = x1; x <= x2; ++x)
            if (!is_black(row[x])) row[x] = colour | kOpaque;
        return;
    }
    std::fill(row + x1, row + x2 + 1, colour | kOpaque);
}

void Surface::fill_rect(int x1, int y1, int x2, int y2, QRgb colour) {
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    y1 = std::max(y1, 0);
    y2 = std::min(y2, image_.height() - 1);
    for (int y = y1; y <= y2; ++y) hspan(x1, x2, y, colour);
}

// A pen of width w covers the w × w square whose upper left is w/2 above and left of the
// point: width 2 adds the row above and the column to the left.
void Surface::stamp(int x, int y, int w, QRgb colour) {
    if (w <= 1) {
        plot(x, y, colour);
        return;
    }
    const int lo = -(w / 2);
    fill_rect(x + lo, y + lo, x + lo + w - 1, y + lo + w - 1, colour);
}

void Surface::draw_line(int x1, int y1, int x2, int y2, QRgb colour) {
    const int w = std::max(1, DrawWidth);
    const int lo = -(w / 2);
    const int hi = lo + w - 1;
    if (y1 == y2) {
        fill_rect(std::min(x1, x2) + lo, y1 + lo, std::max(x1, x2) + hi, y1 + hi, colour);
        return;
    }
    if (x1 == x2) {
        fill_rect(x1 + lo, std::min(y1, y2) + lo, x1 + hi, std::max(y1, y2) + hi, colour);
        return;
    }
    // Bresenham through both end points; the steps are 8-connected, which a 4-connected
    // flood fill cannot cross.
    const int dx = std::abs(x2 - x1);
    const int dy = -std::abs(y2 - y1);
    const int sx = x1 < x2 ? 1 : -1;
    const int sy = y1 < y2 ? 1 : -1;
    int err = dx + dy;
    int x = x1;
    int y = y1;
    for (;;) {
        stamp(x, y, w, colour);
        if (x == x2 && y == y2) break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

void Surface::Line(int x1, int y1, int x2, int y2) {
    Line(x1, y1, x2, y2, ForeColor);
}

void Surface::Line(int x1, int y1, int x2, int y2, QRgb colour) {
    draw_line(x1, y1, x2, y2, colour);
    CurrentX = x2;
    CurrentY = y2;
    touched();
}

void Surface::LineTo(int x2, int y2) {
    LineTo(x2, y2, ForeColor);
}

void Surface::LineTo(int x2, int y2, QRgb colour) {
    Line(static_cast<int>(std::lround(CurrentX)), static_cast<int>(std::lround(CurrentY)), x2, y2,
         colour);
}

void Surface::LineB(int x1, int y1, int x2, int y2) {
    LineB(x1, y1, x2, y2, ForeColor);
}

void Surface::box_edges(int x1, int y1, int x2, int y2, QRgb colour) {
    draw_line(x1, y1, x2, y1, colour);
    draw_line(x2, y1, x2, y2, colour);
    draw_line(x2, y2, x1, y2, colour);
    draw_line(x1, y2, x1, y1, colour);
}

void Surface::LineB(int x1, int y1, int x2, int y2, QRgb colour) {
    box_edges(x1, y1, x2, y2, colour);
    CurrentX = x2;
    CurrentY = y2;
    touched();
}

void Surface::LineBF(int x1, int y1, int x2, int y2) {
    LineBF(x1, y1, x2, y2, ForeColor);
}

void Surface::LineBF(int x1, int y1, int x2, int y2, QRgb colour) {
    fill_rect(x1, y1, x2, y2, colour);
    // A wide pen also draws the edge, reaching outside the corners.
    if (DrawWidth > 1) box_edges(x1, y1, x2, y2, colour);
    CurrentX = x2;
    CurrentY = y2;
    touched();
}

void Surface::Circle(int cx, int cy, int r) {
    r = std::abs(r);
    // Midpoint circle: the ring's points, and per row offset the widest ring extent.
    std::vector<std::pair<int, int>> ring;
    std::vector<int> extent(static_cast<std::size_t>(r) + 1, 0);
    int x = r;
    int y = 0;
    int err = 1 - r;
    while (x >= y) {
        for (auto [px, py] : {std::pair{x, y}, std::pair{y, x}}) {
            ring.emplace_back(px, py);
            extent[static_cast<std::size_t>(py)] =
                std::max(extent[static_cast<std::size_t>(py)], px);
        }
        ++y;
        if (err < 0) {
            err += 2 * y + 1;
        } else {
            --x;
            err += 2 * (y - x) + 1;
        }
    }
    if (FillStyle == 0) {
        for (int dy = 0; dy <= r; ++dy) {
            const int e = extent[static_cast<std::size_t>(dy)];
            hspan(cx - e, cx + e, cy - dy, FillColor);
            hspan(cx - e, cx + e, cy + dy, FillColor);
        }
    }
    const int w = std::max(1, DrawWidth);
    for (auto [px, py] : ring) {
        stamp(cx + px, cy + py, w, ForeColor);
        stamp(cx - px, cy + py, w, ForeColor);
        stamp(cx + px, cy - py, w, ForeColor);
        stamp(cx - px, cy - py, w, ForeColor);
    }
    CurrentX = cx;
    CurrentY = cy;
    touched();
}

void Surface::PaintPicture(const QImage& src, int dx, int dy, int w, int h, int sx, int sy) {
    const QImage s = (src.format() == QImage::Format_RGB32 || src.format() == QImage::Format_ARGB32)
                         ? src
                         : src.convertToFormat(QImage::Format_RGB32);
    for (int j = 0; j < h; ++j) {
        const int syj = sy + j;
        const int dyj = dy + j;
        if (syj < 0 || syj >= s.height() || dyj < 0 || dyj >= image_.height()) continue;
        const QRgb* in = reinterpret_cast<const QRgb*>(s.constScanLine(syj));
        QRgb* out = reinterpret_cast<QRgb*>(image_.scanLine(dyj));
        for (int i = 0; i < w; ++i) {
            const int sxi = sx + i;
            const int dxi = dx + i;
            if (sxi < 0 || sxi >= s.width() || dxi < 0 || dxi >= image_.width()) continue;
            out[dxi] = (out[dxi] & in[sxi]) | kOpaque;
        }
    }
    touched();
}

namespace {
// A text as the font draws it: the pixels of its ink relative to the top left of its text
// line, and how far it moves the text position.
struct TextStamp {
    std::vector<std::pair<int, int>> ink;
    double advance = 0;
};

// A font with its metrics and the texts already drawn in it, made once per size and weight:
// laying out a text again for every Print would cost far more than setting its pixels.
struct FontFace {
    QFont font;
    QFontMetricsF metrics;
    int ascent;
    int line_spacing;
    std::unordered_map<QString, TextStamp> stamps;
};

// The displays print the same labels over and over; values vary, so the cache is bounded.
constexpr std::size_t kStampCacheLimit = 2048;

FontFace& font_face(double size, bool bold) {
    static std::map<std::pair<int, bool>, std::unique_ptr<FontFace>> faces;
    const int pixels = font_pixels(size);
    auto& face = faces[{pixels, bold}];
    if (!face) {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(pixels);
        font.setBold(bold);
        // Text in the exact ForeColor, like the lines: no blended edge pixels.
        font.setStyleStrategy(QFont::NoAntialias);
        font.setHintingPreference(QFont::PreferFullHinting);
        const QFontMetrics whole(font);
        face = std::unique_ptr<FontFace>(
            new FontFace{font, QFontMetricsF(font), whole.ascent(), whole.lineSpacing(), {}});
    }
    return *face;
}

const TextStamp& stamp_of(FontFace& face, const QString& text) {
    if (const auto found = face.stamps.find(text); found != face.stamps.end()) return found->second;
    if (face.stamps.size() >= kStampCacheLimit) face.stamps.clear();

    TextStamp stamp;
    stamp.advance = face.metrics.horizontalAdvance(text);
    const QRect ink_box = QFontMetrics(face.font).boundingRect(text);
    constexpr int kMargin = 4;
    const int origin_x = kMargin - std::min(0, ink_box.left());
    const int baseline = kMargin - ink_box.top();
    QImage mask(std::max(ink_box.right(), 0) + origin_x + kMargin + 1,
                ink_box.bottom() + baseline + kMargin + 1, QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    {
        QPainter painter(&mask);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setFont(face.font);
        painter.setPen(QColor(Qt::black));
        painter.drawText(QPointF(origin_x, baseline), text);
    }
    for (int y = 0; y < mask.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        for (int x = 0; x < mask.width(); ++x) {
            if (qAlpha(row[x]) >= 128)
                stamp.ink.emplace_back(x - origin_x, y - baseline + face.ascent);
        }
    }
    return face.stamps.emplace(text, std::move(stamp)).first->second;
}

// The log keeps what tests need to read back, not a whole session's text.
constexpr std::size_t kPrintLogLimit = 4096;
}  // namespace

QFont Surface::current_font() const {
    return font_face(FontSize, FontBold).font;
}

double Surface::TextWidth(const QString& text) const {
    return font_face(FontSize, FontBold).metrics.horizontalAdvance(text);
}

int Surface::TextHeight() const {
    return font_face(FontSize, FontBold).line_spacing;
}

void Surface::Print(const QString& text, bool end_line) {
    FontFace& face = font_face(FontSize, FontBold);
    if (print_log_.size() >= kPrintLogLimit) {
        print_log_.erase(print_log_.begin(), print_log_.begin() + kPrintLogLimit / 2);
    }
    print_log_.push_back(
        PrintRecord{text, CurrentX, CurrentY, ForeColor & 0xFFFFFFu, FontBold, FontSize});
    const TextStamp& stamp = stamp_of(face, text);
    const int left = static_cast<int>(std::lround(CurrentX));
    const int top = static_cast<int>(std::lround(CurrentY));
    for (const auto& [dx, dy] : stamp.ink) plot(left + dx, top + dy, ForeColor);
    if (end_line) {
        CurrentX = 0;
        CurrentY += face.line_spacing;
    } else {
        CurrentX += stamp.advance;
    }
    touched();
}

void Surface::PrintNumber(long n, bool end_line) {
    Print(QString::fromStdString(print_form(n)), end_line);
}

void Surface::PrintNewLine() {
    CurrentX = 0;
    CurrentY += TextHeight();
}

void Surface::Cls() {
    image_.fill(BackColor | kOpaque);
    if (picture_) {
        QPainter painter(&image_);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, *picture_);
    }
    CurrentX = 0;
    CurrentY = 0;
    touched();
}

void Surface::ClearPicture() {
    picture_.reset();
    Cls();
}

void Surface::PictureFromImage() {
    picture_ = image_.copy();
}

void Surface::SetPicture(const QImage& picture) {
    picture_ = picture.convertToFormat(QImage::Format_RGB32);
    Cls();
}

void Surface::Refresh() {
    const auto listeners = listeners_;  // a listener may remove itself
    for (const auto& l : listeners)
        if (l.on_refresh) l.on_refresh();
    modified_ = false;
}

void Surface::ExtFloodFill(int x, int y) {
    const int w = image_.width();
    const int h = image_.height();
    if (x < 0 || y < 0 || x >= w || y >= h) return;
    if (is_black(image_.pixel(x, y))) return;

    // Pixels already of the fill colour still belong to the region, so the fill keeps its
    // own map of closed pixels: black ones, and those it has filled.
    const std::size_t uw = static_cast<std::size_t>(w);
    std::vector<std::uint8_t> closed(uw * static_cast<std::size_t>(h));
    for (int row = 0; row < h; ++row) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image_.constScanLine(row));
        std::uint8_t* mark = closed.data() + static_cast<std::size_t>(row) * uw;
        for (int i = 0; i < w; ++i) mark[i] = is_black(line[i]) ? 1 : 0;
    }
    const QRgb fill = FillColor | kOpaque;

    std::vector<std::pair<int, int>> seeds{{x, y}};
    while (!seeds.empty()) {
        const auto [sx, sy] = seeds.back();
        seeds.pop_back();
        std::uint8_t* mark = closed.data() + static_cast<std::size_t>(sy) * uw;
        if (mark[sx]) continue;
        int left = sx;
        while (left > 0 && !mark[left - 1]) --left;
        int right = sx;
        while (right < w - 1 && !mark[right + 1]) ++right;
        QRgb* line = reinterpret_cast<QRgb*>(image_.scanLine(sy));
        std::fill(line + left, line + right + 1, fill);
        std::fill(mark + left, mark + right + 1, std::uint8_t{1});
        for (int ny : {sy - 1, sy + 1}) {
            if (ny < 0 || ny >= h) continue;
            const std::uint8_t* next = closed.data() + static_cast<std::size_t>(ny) * uw;
            for (int i = left; i <= right; ++i) {
                if (!next[i] && (i == left || next[i - 1])) seeds.emplace_back(i, ny);
            }
        }
    }
    touched();
}

void Surface::Resize(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (width == image_.width() && height == image_.height()) return;
    QImage grown(width, height, QImage::Format_RGB32);
    grown.fill(BackColor | kOpaque);
    QPainter painter(&grown);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, image_);
    painter.end();
    image_ = std::move(grown);
    modified_ = false;  // a view must learn of every size change
    touched();
}

int Surface::add_listener(std::function<void()> on_refresh, std::function<void()> on_modified) {
    const int id = next_listener_id_++;
    listeners_.push_back(Listener{id, std::move(on_refresh), std::move(on_modified)});
    return id;
}

void Surface::remove_listener(int id) {
    std::erase_if(listeners_, [id](const Listener& l) { return l.id == id; });
}

}  // namespace orvena
