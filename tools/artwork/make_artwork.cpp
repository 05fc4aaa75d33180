// Draws the program's pictures into resources/: the notation sheet (staff with clef, note
// head and the 24 accidental signs), the tuning peg and the splash logo.
//
//   make_artwork <output folder>
//
// The notation sheet is copied onto the staff with an AND operation, so its glyphs are
// drawn large, reduced with area averaging and cut to pure black and white: no grey edge
// pixel darkens the staff where a glyph's white margin lands.

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdio>
#include <functional>

namespace {

constexpr int kOversample = 8;

// Draws with draw() in w × h pixel coordinates at kOversample times the size, reduces the
// result and thresholds it: every pixel more than half covered by ink becomes black.
QImage render_binary(int w, int h, const std::function<void(QPainter&)>& draw) {
    QImage big(w * kOversample, h * kOversample, QImage::Format_RGB32);
    big.fill(Qt::white);
    {
        QPainter p(&big);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.scale(kOversample, kOversample);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        draw(p);
    }
    QImage small = big.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                       .convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(small.scanLine(y));
        for (int x = 0; x < w; ++x)
            row[x] = qGray(row[x]) < 128 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
    }
    return small;
}

// Copies the black pixels of glyph onto sheet at (x, y).
void stamp_black(QImage& sheet, const QImage& glyph, int x, int y) {
    for (int j = 0; j < glyph.height(); ++j)
        for (int i = 0; i < glyph.width(); ++i)
            if ((glyph.pixel(i, j) & 0xFFFFFF) == 0) sheet.setPixel(x + i, y + j, qRgb(0, 0, 0));
}

// ---- Accidental signs, in the coordinates of one 19 × 24 cell. The note the sign stands
// before is centred on y = 12.5; the sign hugs the cell's right edge, next to the note.

constexpr double kMid = 12.5;

void stroke(QPainter& p, QPointF a, QPointF b, double width) {
    QPen pen(Qt::black, width, Qt::SolidLine, Qt::FlatCap);
    p.setPen(pen);
    p.drawLine(a, b);
    p.setPen(Qt::NoPen);
}

// A flat with its stem at x and a bulb w wide (narrower in a double flat).
void flat(QPainter& p, double x, double w) {
    stroke(p, {x, 0.6}, {x, 17.9}, 1.5);
    QPainterPath bulb;
    bulb.moveTo(x, 11.2);
    bulb.cubicTo(x + 0.5 * w, 8.0, x + 1.05 * w, 9.4, x + 0.85 * w, 12.4);
    bulb.cubicTo(x + 0.7 * w, 14.6, x + 0.35 * w, 16.2, x, 17.6);
    p.setPen(QPen(Qt::black, 1.75, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(bulb);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
}

void sharp(QPainter& p) {
    stroke(p, {10.5, 4.2}, {10.5, 22.3}, 1.3);
    stroke(p, {15.0, 2.7}, {15.0, 20.8}, 1.3);
    for (double y : {kMid - 3.2, kMid + 3.2}) {
        QPainterPath bar;
        bar.moveTo(8.2, y + 1.1);
        bar.lineTo(17.6, y - 1.1);
        bar.lineTo(17.6, y - 3.4);
        bar.lineTo(8.2, y - 1.2);
        bar.closeSubpath();
        bar.translate(0, 1.15);
        p.drawPath(bar);
    }
}

void double_sharp(QPainter& p) {
    const QPointF c(13.0, kMid);
    const double r = 3.6;
    stroke(p, c + QPointF(-r, -r), c + QPointF(r, r), 1.5);
    stroke(p, c + QPointF(-r, r), c + QPointF(r, -r), 1.5);
    for (QPointF corner : {QPointF(-1, -1), QPointF(1, -1), QPointF(-1, 1), QPointF(1, 1)}) {
        const QPointF tip = c + corner * (r + 0.9);
        p.drawRect(QRectF(tip.x() - 1.5, tip.y() - 1.5, 3.0, 3.0));
    }
}

// The lever-step modifiers: a stem at x with its head at the top (up) or bottom (down).
// 1: a one-sided arrow barb, 2: a small closed flag, 3: a full arrow head.
void modifier(QPainter& p, double x, int size, bool up) {
    const double top = 2.0;
    const double bottom = 23.0;
    p.save();
    if (!up) {  // the same shape upside down
        p.translate(0, top + bottom);
        p.scale(1, -1);
    }
    stroke(p, {x, top + (size == 3 ? 2.5 : 0.2)}, {x, bottom - 0.2}, 1.3);
    QPainterPath head;
    if (size == 1) {
        head.moveTo(x + 0.65, top);
        head.lineTo(x - 3.3, top + 5.2);
        head.lineTo(x + 0.65, top + 3.6);
    } else if (size == 2) {
        head.moveTo(x - 0.4, top);
        head.lineTo(x + 4.0, top + 2.4);
        head.lineTo(x - 0.4, top + 4.8);
    } else {
        head.moveTo(x, top - 0.3);
        head.lineTo(x - 3.4, top + 5.6);
        head.lineTo(x + 3.4, top + 5.6);
    }
    head.closeSubpath();
    p.drawPath(head);
    p.restore();
}

enum class Base { none, flat, double_flat, sharp, double_sharp };

struct Sign {
    Base base;
    int modifier;  // -3..3, 0 for none
};

// Which glyphs make the sign of each lever step: a flat is worth -6, a double flat -12, a
// sharp +6, a double sharp +12, and the modifier corrects the base by its own value.
Sign sign_of_step(int step) {
    switch (step) {
        case -12:
            return {Base::double_flat, 0};
        case -11:
            return {Base::double_flat, 1};
        case -10:
            return {Base::double_flat, 2};
        case -9:
            return {Base::flat, -3};
        case -8:
            return {Base::flat, -2};
        case -7:
            return {Base::flat, -1};
        case -6:
            return {Base::flat, 0};
        case -5:
            return {Base::flat, 1};
        case -4:
            return {Base::flat, 2};
        case -3:
            return {Base::none, -3};
        case -2:
            return {Base::none, -2};
        case -1:
            return {Base::none, -1};
        case 1:
            return {Base::none, 1};
        case 2:
            return {Base::none, 2};
        case 3:
            return {Base::none, 3};
        case 4:
            return {Base::sharp, -2};
        case 5:
            return {Base::sharp, -1};
        case 6:
            return {Base::sharp, 0};
        case 7:
            return {Base::sharp, 1};
        case 8:
            return {Base::sharp, 2};
        case 9:
            return {Base::sharp, 3};
        case 10:
            return {Base::double_sharp, -2};
        case 11:
            return {Base::double_sharp, -1};
        case 12:
            return {Base::double_sharp, 0};
        default:
            return {Base::none, 0};
    }
}

QImage sign_cell(int step) {
    const Sign s = sign_of_step(step);
    return render_binary(19, 24, [&](QPainter& p) {
        switch (s.base) {
            case Base::flat:
                flat(p, 11.0, 6.0);
                break;
            case Base::double_flat:
                flat(p, 7.6, 4.4);
                flat(p, 13.0, 4.4);
                break;
            case Base::sharp:
                sharp(p);
                break;
            case Base::double_sharp:
                double_sharp(p);
                break;
            case Base::none:
                break;
        }
        if (s.modifier != 0) {
            const double x =
                s.base == Base::none ? 14.0 : (s.base == Base::double_flat ? 3.0 : 4.0);
            modifier(p, x, std::abs(s.modifier), s.modifier > 0);
        }
    });
}

// ---- Staff with treble clef (115 × 47) and the open note head (10 × 7).

QImage treble_clef() {
    // Drawn in the staff's own coordinates: lines on rows 13, 19, 25, 31, 37 of the 47-row
    // region (the G line is 31); the clef stands at the left, about 17 px wide.
    return render_binary(24, 47, [](QPainter& p) {
        const double g = 31.5;  // centre of the G line
        // The long S: from the top of the loop down across the staff, round the body and
        // spiralling in to end on the G line.
        QPainterPath s_stroke;
        s_stroke.moveTo(11.5, 2.5);
        s_stroke.cubicTo(7.0, 5.0, 6.0, 11.0, 9.5, 16.5);
        s_stroke.cubicTo(12.0, 20.5, 3.0, 22.5, 2.6, 30.0);
        s_stroke.cubicTo(2.2, 37.0, 7.0, 40.5, 10.5, 40.2);
        s_stroke.cubicTo(14.5, 39.8, 16.0, 36.0, 15.3, 32.5);
        s_stroke.cubicTo(14.5, 28.5, 11.0, 27.0, 8.5, 28.0);
        s_stroke.cubicTo(5.8, 29.2, 6.0, 33.2, 9.5, 33.8);
        p.setPen(QPen(Qt::black, 1.7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(s_stroke);
        // The stem: down the right of the loop, straight through the body, a hook and a ball.
        QPainterPath stem;
        stem.moveTo(11.5, 2.5);
        stem.cubicTo(13.5, 4.5, 13.0, 9.0, 11.5, 13.0);
        stem.lineTo(10.8, 43.5);
        stem.cubicTo(10.6, 46.5, 7.0, 46.8, 6.3, 44.6);
        p.setPen(QPen(Qt::black, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(stem);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawEllipse(QPointF(6.8, 44.3), 2.0, 2.0);
        (void)g;
    });
}

QImage note_head() {
    return render_binary(10, 7, [](QPainter& p) {
        QPainterPath outer;
        outer.addEllipse(QRectF(0.0, 0.0, 10.0, 7.0));
        QPainterPath inner;
        inner.addEllipse(QRectF(-2.9, -1.15, 5.8, 2.3));
        QTransform t;
        t.translate(5.0, 3.5);
        t.rotate(-32);
        p.drawPath(outer.subtracted(t.map(inner)));
    });
}

QImage notation_sheet() {
    QImage sheet(490, 56, QImage::Format_RGB32);
    sheet.fill(Qt::white);

    // The red grid between the sign cells, never inside a cell.
    const QRgb red = qRgb(255, 0, 0);
    for (int c = 0; c < 12; ++c)
        for (int y = 0; y < 56; ++y) sheet.setPixel(30 * c + 29, y, red);
    for (int y : {0, 25, 30, 55})
        for (int x = 0; x <= 359; ++x) sheet.setPixel(x, y, red);

    for (int c = 0; c < 12; ++c) {
        stamp_black(sheet, sign_cell(c - 12), 30 * c + 9, 1);  // steps -12..-1
        stamp_black(sheet, sign_cell(c + 1), 30 * c + 9, 31);  // steps +1..+12
    }

    for (int row : {14, 20, 26, 32, 38})
        for (int x = 362; x <= 476; ++x) sheet.setPixel(x, row, qRgb(0, 0, 0));
    stamp_black(sheet, treble_clef(), 362, 1);
    stamp_black(sheet, note_head(), 479, 1);
    return sheet;
}

// ---- Tuning peg (55 × 90): a peg with a string wound round it; the left half raises (a
// plus sign), the right half lowers (a minus sign); double arrows above for big steps,
// single arrows below for small ones.

void arrow(QPainter& p, double x, double tip_y, bool up, int heads, const QColor& colour) {
    const double dir = up ? 1.0 : -1.0;  // heads point towards tip_y
    QPen pen(colour, 2.2, Qt::SolidLine, Qt::FlatCap);
    p.setPen(pen);
    p.drawLine(QPointF(x, tip_y + dir * 4), QPointF(x, tip_y + dir * 22));
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    for (int i = 0; i < heads; ++i) {
        const double t = tip_y + dir * 6.5 * i;
        QPainterPath head;
        head.moveTo(x, t);
        head.lineTo(x - 5.5, t + dir * 7.0);
        head.lineTo(x + 5.5, t + dir * 7.0);
        head.closeSubpath();
        p.drawPath(head);
    }
}

QImage tuning_peg() {
    QImage img(55, 90, QImage::Format_RGB32);
    img.fill(qRgb(236, 232, 220));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);

    // Quadrant lines, faint.
    p.setPen(QPen(QColor(200, 192, 172), 1));
    p.drawLine(QPointF(0, 44.5), QPointF(55, 44.5));

    // The peg: a rounded head with a hole, a tapering shaft.
    const QColor wood(150, 92, 46);
    const QColor wood_dark(92, 52, 22);
    p.setPen(QPen(wood_dark, 1.2));
    p.setBrush(wood);
    p.drawRoundedRect(QRectF(20.5, 3.5, 14, 17), 5, 5);
    QPainterPath shaft;
    shaft.moveTo(23.5, 20);
    shaft.lineTo(31.5, 20);
    shaft.lineTo(30.0, 84);
    shaft.quadTo(27.5, 88, 25.0, 84);
    shaft.closeSubpath();
    p.drawPath(shaft);
    p.setBrush(QColor(236, 232, 220));
    p.drawEllipse(QPointF(27.5, 10.5), 2.2, 2.2);

    // The string coming in from below and wound round the shaft.
    p.setPen(QPen(QColor(70, 70, 80), 1.3));
    p.drawLine(QPointF(27.5, 89), QPointF(27.5, 62));
    for (int i = 0; i < 6; ++i) {
        const double y = 40.0 + 3.2 * i;
        p.drawLine(QPointF(23.0, y + 2.6), QPointF(32.0, y));
    }

    const QColor up(20, 120, 40);
    const QColor down(170, 30, 30);
    arrow(p, 11, 8, true, 2, up);      // +5 cents
    arrow(p, 44, 30, false, 2, down);  // -5 cents
    arrow(p, 11, 60, true, 1, up);     // +1 cent
    arrow(p, 44, 82, false, 1, down);  // -1 cent

    // Plus on the left, minus on the right, across the middle.
    p.setPen(Qt::NoPen);
    p.setBrush(up);
    p.drawRect(QRectF(4, 43.5, 12, 3));
    p.drawRect(QRectF(8.5, 39, 3, 12));
    p.setBrush(down);
    p.drawRect(QRectF(38, 43.5, 12, 3));
    return img;
}

// ---- Splash logo (120 × 120): the zither seen from above, and the name.

// The zither seen from above, in a 120 × 90 box.
void draw_zither(QPainter& p) {
    QPainterPath body;
    body.moveTo(52, 10);
    body.lineTo(112, 10);
    body.lineTo(112, 88);
    body.lineTo(8, 88);
    body.closeSubpath();
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(QColor(252, 179, 100));
    p.drawPath(body);

    QPainterPath band;
    band.moveTo(52, 10);
    band.lineTo(66, 10);
    band.lineTo(24, 88);
    band.lineTo(8, 88);
    band.closeSubpath();
    p.setBrush(QColor(130, 30, 30));
    p.drawPath(band);

    p.setPen(QPen(QColor(0, 0, 255), 2));
    p.drawLine(QPointF(100, 12), QPointF(100, 86));

    for (int i = 0; i < 9; ++i) {
        const double y = 16 + 8.4 * i;
        const double x0 = 52 - (y - 10) * 44.0 / 78.0 + 8;
        p.setPen(QPen(i % 7 == 4 ? QColor(255, 0, 0) : QColor(255, 255, 255), 1.2));
        p.drawLine(QPointF(x0, y), QPointF(108, y));
    }
}

QImage splash_logo() {
    QImage img(120, 120, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);

    draw_zither(p);

    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(19);
    font.setBold(true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
    p.setFont(font);
    p.setPen(QColor(92, 52, 22));
    p.drawText(QRectF(0, 92, 120, 26), Qt::AlignCenter, QStringLiteral("ORVENA"));
    return img;
}

// ---- Program icon (256 × 256, transparent): the zither of the splash logo without the name.

QImage program_icon() {
    QImage img(256, 256, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.translate(8, 28);
    p.scale(2.0, 2.3);

    draw_zither(p);
    return img;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_artwork <output folder>\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(dir);
    const struct {
        const char* name;
        QImage image;
    } outputs[] = {{"notation_sheet.png", notation_sheet()},
                   {"tuning_peg.png", tuning_peg()},
                   {"splash_logo.png", splash_logo()},
                   {"orvena.png", program_icon()}};
    for (const auto& o : outputs) {
        const QString path = dir + "/" + o.name;
        if (!o.image.save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
