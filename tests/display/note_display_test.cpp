// The selected string on the information panel (lines, colours, pitch names) and on the staff
// (note, signs, ledger lines ANDed from the notation sheet, nothing anywhere else).

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>
#include <vector>

#include "display/etiket.h"
#include "display/porte.h"
#include "support/pictures.h"
#include "surface/surface.h"
#include "tuning/instrument_state.h"

namespace orvena {
namespace {

using test::padded;
constexpr QRgb kBlue = test::rgb(0, 0, 255), kBlack = test::rgb(0, 0, 0);
constexpr QRgb kPanelBack = test::rgb(255, 224, 192);
const std::string kTonLabel = " Ton :              ";

class Panel : public ::testing::Test {
  protected:
    void SetUp() override { test::ensure_qt_app(); }
    void show(char separator = '.') {  // the print log then holds this call's items only
        pic.clear_print_log();
        etiket(pic, st, separator);
    }
    // The printed text of each panel line, joined, in the order printed.
    std::vector<std::string> lines() const {
        std::vector<std::string> out;
        double last_y = -1;
        for (const PrintRecord& r : pic.print_log()) {
            if (out.empty() || r.y != last_y) out.emplace_back();
            out.back() += r.text.toStdString();
            last_y = r.y;
        }
        return out;
    }
    Surface pic{239, 100, qRgb(255, 224, 192)};
    InstrumentState st;
};

// The frequency is what sounds: the lever's, with the fine tuning (-5 cents on string 20).
TEST_F(Panel, EveryLineShowsTheStringsPitchWithBlueLabelsAndBlackValues) {
    // String, lever, its cents and Hz, fine tuning, the name of its degree, the separator.
    // clang-format off
    const std::tuple<int, int, double, double, int, std::string, char, std::vector<std::string>> cases[] = {
        {17, 0, 0.0, 261.5, 0, padded("Çargâh", 6), '.',  // the ratio is from the cents
         {" eşik mandal :  0 ", " tel no :            17 ", kTonLabel + padded("Çargâh", 6), " C4 ten :         0.0000 Cent",
          " bağıl frekans :1.00000000", " frekans :        261.5000 Herz", " Akord fark :    0 Cent"}},
        {20, -3, -512.3456, 194.88347, -5, padded("Kaba Hisar", 10), ',',
         {" eşik mandal : -3 ", " tel no :            20 ", kTonLabel + padded("Kaba Hisar", 10), " C4 ten :         -512,3456 Cent",
          " bağıl frekans :0,74383025", " frekans :        194,3214 Herz", " Akord fark :    -5 Cent"}},
    };
    // clang-format on
    for (const auto& [s, p, cents, hz, akord, name, separator, expected] : cases) {
        st.selection.cur_string = static_cast<std::int16_t>(s);
        st.settings.manual_levers = true;
        st.settings.mandal_pos(s) = static_cast<std::int16_t>(p);
        st.tables.cents(s, p) = cents;
        st.derived.freq(s, p) = hz;
        st.settings.akord_offset(s) = static_cast<std::int16_t>(akord);
        st.tables.degree_at(s, p) = 42;
        st.tables.degrees(42).degree_name = name;
        pic.LineBF(0, 0, 238, 99, qRgb(255, 0, 0));  // what was there goes
        show(separator);
        EXPECT_EQ(lines(), expected);
        EXPECT_EQ(test::count_colour(pic, 0xFF0000u), 0);
        EXPECT_EQ(pic.pixel(238, 99), kPanelBack);
        for (const PrintRecord& r : pic.print_log()) {
            const bool label = r.text.contains(':') || r.text == " Cent" || r.text == " Herz";
            EXPECT_EQ(r.colour & 0xFFFFFFu, label ? kBlue : kBlack) << r.text.toStdString();
        }
    }
}

// Line 3 names the pitch: the top strings the nearest degree of the search range 104..196 (the
// lower one on a tie), the others the degree of their place; an unfilled degree shows blank.
TEST_F(Panel, PitchNameFollowsTheStringAndTheSetting) {
    // String 3 at 2250 cents: degree 140 10.5 above (rounds half to even: a tie), 141 9.6 below,
    // 103 and 197 exact but not searched, then 180 or 104 1 below; string 8 on 141, 12 on
    // unfilled 60. Cases: the string, the degree 1 below (0: none), the name shown.
    const std::tuple<int, int, std::string> manual[] = {{3, 0, padded("Eviç", 4)},
                                                        {3, 180, padded("Gerdaniye", 9)},
                                                        {3, 104, padded("Yegah", 5)},
                                                        {8, 0, padded("Acem", 4)},
                                                        {12, 0, std::string(30, ' ')}};
    for (const auto& [string, nearer, shown] : manual) {
        st = InstrumentState{};
        st.selection.cur_string = static_cast<std::int16_t>(string);
        st.settings.manual_levers = true;
        st.settings.mandal_pos(3) = 2;
        st.tables.cents(3, 2) = st.tables.cents(8, 0) = 2250.0;
        for (int d = 104; d <= 196; ++d) st.tables.degrees(d).degree_cents = 100.0f;
        st.tables.degrees(103).degree_cents = st.tables.degrees(197).degree_cents = 2250.0f;
        st.tables.degrees(140).degree_cents = 2260.5f;
        st.tables.degrees(140).degree_name = padded("Eviç", 4);
        st.tables.degrees(141).degree_cents = 2240.4f;
        st.tables.degrees(141).degree_name = padded("Acem", 4);
        if (nearer) st.tables.degrees(nearer).degree_cents = 2249.0f;
        st.tables.degrees(nearer).degree_name = shown;
        st.tables.degree_at(8, 0) = 141;
        st.tables.degree_at(12, 0) = 60;
        show();
        EXPECT_EQ(lines().at(2), kTonLabel + shown) << string;
    }
}

// Transposed by 4 degrees, a place names its lever's degree less 4 while that is -104..196; a
// top string its transposed position's degree less 4, one the workbook fills (-107..196).
// Cases: the string, those degrees of its lever and transposed position, the name ("" none).
TEST_F(Panel, TransposedPitchNameOnlyWithinTheNamedDegrees) {
    const std::tuple<int, int, int, std::string> cases[] = {
        {12, -104, 0, "Kaba Acem"}, {12, -105, 0, ""},         {12, 196, 0, "Tiz Neva"},
        {12, 197, 0, ""},           {3, 0, -107, "Kaba Rast"}, {3, 0, -108, ""}};
    st.settings.transpose_shift = 4;
    st.settings.top_transposed_pos(2) = -2;  // string 3's
    for (const auto& [string, lever, transposed, name] : cases) {
        if (!name.empty())
            st.tables.degrees(lever ? lever : transposed).degree_name = padded(name, 9);
        st.selection.cur_string = static_cast<std::int16_t>(string);
        st.settings.mandal_pos(string) = 1;
        st.tables.degree_at(string, 1) = static_cast<std::int16_t>(lever + 4);
        st.tables.degree_at(string, -2) = static_cast<std::int16_t>(transposed + 4);
        show();
        EXPECT_EQ(lines().at(2), kTonLabel + (name.empty() ? kNoPitchName : padded(name, 9)))
            << string << " " << lever << " " << transposed;
    }
}

const QRgb kImageWhite = qRgb(255, 255, 255), kImageBlack = qRgb(0, 0, 0);  // with alpha

// A notation sheet whose every pixel has a colour of its own: a wrong copy shows.
QImage marked_sheet() {
    QImage sheet(490, 56, QImage::Format_RGB32);
    for (int y = 0; y < 56; ++y)
        for (int x = 0; x < 490; ++x) sheet.setPixel(x, y, qRgb(x & 255, (x >> 8) * 64 + y, 77));
    return sheet;
}

using Copy = std::array<int, 6>;                   // to x, y; width, height; from x, y
using Ledgers = std::vector<std::pair<int, int>>;  // left end x, y; 15 px long

// What the staff picture must hold: white, the copies ANDed on, and the ledger lines.
QImage picture_of(const QImage& sheet, const std::vector<Copy>& copies, const Ledgers& ledgers) {
    QImage out(140, 132, QImage::Format_RGB32);
    out.fill(kImageWhite);
    for (const auto& [dx, dy, w, h, sx, sy] : copies)
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                out.setPixel(dx + x, dy + y,
                             out.pixel(dx + x, dy + y) & sheet.pixel(sx + x, sy + y));
    for (const auto& [lx, ly] : ledgers)
        for (int x = lx; x <= lx + 14; ++x) out.setPixel(x, ly, kImageBlack);
    return out;
}

// Ledger lines 6 px apart from y0 to y1: at x 54 under the note, at 104 under its neighbour.
Ledgers ledgers_at(int y0, int y1, int neighbour_y0 = 0, int neighbour_y1 = -1) {
    Ledgers out;
    for (int y = y0; y <= y1; y += 6) out.emplace_back(54, y);
    for (int y = neighbour_y0; y <= neighbour_y1; y += 6) out.emplace_back(104, y);
    return out;
}

const Copy kStaff{5, 35, 115, 47, 362, 1};
const auto head = [](int x, int y) { return Copy{x, y, 10, 7, 479, 1}; };
const auto sign = [](int x, int y, int sx, int sy) { return Copy{x, y, 19, 24, sx, sy}; };

class Staff : public ::testing::Test {
  protected:
    void SetUp() override {
        test::ensure_qt_app();
        pic.LineBF(0, 0, 139, 131, qRgb(0, 128, 0));  // whatever was there must go
        pic.PictureFromImage();
    }
    void show(int s, int p, int k) {
        st.selection.cur_string = static_cast<std::int16_t>(s);
        st.settings.mandal_pos(s) = static_cast<std::int16_t>(p);
        st.tables.mandal_step(s, p) = static_cast<std::int16_t>(k);
        porte(pic, sheet, st);
    }
    QImage sheet = marked_sheet();
    Surface pic{140, 132};
    InstrumentState st;
};

// A lever off 0 adds its sign, the neighbouring note with the opposite sign and the ledger
// lines both need; a step against the lever (or beyond the sheet) has no sign: no wrong glyph.
TEST_F(Staff, NoteSignAndNeighbourStandWhereTheLeverPutsThem) {
    // String, lever, step; the copies from the marked sheet and the ledger lines shown.
    // clang-format off
    const std::tuple<int, int, int, std::vector<Copy>, Ledgers> cases[] = {
        {12, 0, 0, {kStaff, head(56, 60)}, {}},
        {12, 2, 6, {kStaff, head(56, 60), sign(36, 51, 159, 31), head(106, 57), sign(86, 48, 159, 1)}, {}},
        {12, -2, -6, {kStaff, head(56, 60), sign(36, 51, 189, 1), head(106, 63), sign(86, 54, 189, 31)}, {}},
        {1, 1, 1, {kStaff, head(56, 27), sign(36, 18, 9, 31), head(106, 24), sign(86, 15, 9, 1)},
         ledgers_at(30, 42, 30, 42)},
        {26, -1, -1, {kStaff, head(56, 102), sign(36, 93, 339, 1), head(106, 105), sign(86, 96, 339, 31)},
         ledgers_at(78, 102, 78, 108)},
        {3, 2, -1, {kStaff, head(56, 33)}, ledgers_at(36, 42)},
        {5, -1, 2, {kStaff, head(56, 39)}, ledgers_at(42, 42)},
        {3, 1, 13, {kStaff, head(56, 33)}, ledgers_at(36, 42)},
        {8, 0, 0, {kStaff, head(56, 48)}, {}}, {16, 0, 0, {kStaff, head(56, 72)}, {}},  // D4: no ledger line
        {24, 0, 0, {kStaff, head(56, 96)}, ledgers_at(78, 96)},
    };
    // clang-format on
    for (const auto& [s, p, k, copies, ledgers] : cases) {
        SCOPED_TRACE(testing::Message() << "string " << s << " lever " << p << " step " << k);
        show(s, p, k);
        EXPECT_EQ(test::differences(pic, picture_of(sheet, copies, ledgers)), "");
        EXPECT_FALSE(pic.HasPicture());
    }
    const QImage before = pic.image().copy();  // no string selected: nothing changes
    st.selection.cur_string = 0;
    porte(pic, sheet, st);
    EXPECT_EQ(pic.image(), before);
}

}  // namespace
}  // namespace orvena
