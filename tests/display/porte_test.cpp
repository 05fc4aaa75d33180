// The staff picture: the staff, note heads, signs and ledger lines at the places the player
// expects, copied from the sheet with the AND operation, and nothing anywhere else.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/porte.h"
#include "support/pictures.h"
#include "surface/surface.h"
#include "tuning/instrument_state.h"

namespace orvena {
namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);

// A notation sheet whose every pixel has a colour of its own, so a copy from a wrong place or
// of a wrong size shows.
QImage marked_sheet() {
    QImage sheet(490, 56, QImage::Format_RGB32);
    for (int y = 0; y < 56; ++y)
        for (int x = 0; x < 490; ++x) sheet.setPixel(x, y, qRgb(x & 255, (x >> 8) * 64 + y, 77));
    return sheet;
}

struct Copy {
    int dx, dy, w, h, sx, sy;
};
using Ledgers = std::vector<std::pair<int, int>>;  // left end x, y; 15 px long

// What the staff picture must hold: white, the copies ANDed on, and the ledger lines.
QImage picture_of(const QImage& sheet, const std::vector<Copy>& copies, const Ledgers& ledgers) {
    QImage out(140, 132, QImage::Format_RGB32);
    out.fill(kWhite);
    for (const Copy& c : copies)
        for (int y = 0; y < c.h; ++y)
            for (int x = 0; x < c.w; ++x)
                out.setPixel(c.dx + x, c.dy + y,
                             out.pixel(c.dx + x, c.dy + y) & sheet.pixel(c.sx + x, c.sy + y));
    for (const auto& [lx, ly] : ledgers)
        for (int x = lx; x <= lx + 14; ++x) out.setPixel(x, ly, kBlack);
    return out;
}

// Ledger lines at x of the note (54) and of the neighbour (104), at the ys given.
Ledgers ledgers_at(int x, const std::vector<int>& ys, int x2 = 0,
                   const std::vector<int>& ys2 = {}) {
    Ledgers out;
    for (int y : ys) out.emplace_back(x, y);
    for (int y : ys2) out.emplace_back(x2, y);
    return out;
}

const Copy kStaff{5, 35, 115, 47, 362, 1};
Copy head(int x, int y) {
    return {x, y, 10, 7, 479, 1};
}
Copy sign(int x, int y, int sx, int sy) {
    return {x, y, 19, 24, sx, sy};
}

class Staff : public ::testing::Test {
  protected:
    void SetUp() override {
        test::ensure_qt_app();
        // Whatever was there before must go.
        pic.LineBF(0, 0, 139, 131, qRgb(0, 128, 0));
        pic.PictureFromImage();
        pic.add_listener([this] { ++refreshes; });
    }
    void show(int s, int p, int k) {
        st.cur_string = static_cast<std::int16_t>(s);
        st.mandal_pos(s) = static_cast<std::int16_t>(p);
        st.mandal_step(s, p) = static_cast<std::int16_t>(k);
        porte(pic, sheet, st);
    }
    QImage sheet = marked_sheet();
    Surface pic{140, 132};
    InstrumentState st;
    int refreshes = 0;
};

// The note head on the staff; a lever off 0 adds its sign, the neighbouring note with the
// opposite sign and the ledger lines both need; a step against the lever's direction (or
// beyond the sheet) has no sign, so the note stands alone rather than with a wrong glyph.
TEST_F(Staff, NoteSignAndNeighbourStandWhereTheLeverPutsThem) {
    struct Case {
        int s, p, k;
        std::vector<Copy> copies;
        Ledgers ledgers;
    };
    // clang-format off
    const Case cases[] = {
        {12, 0, 0, {kStaff, head(56, 60)}, {}},
        {12, 2, 6, {kStaff, head(56, 60), sign(36, 51, 159, 31), head(106, 57), sign(86, 48, 159, 1)}, {}},
        {12, -2, -6, {kStaff, head(56, 60), sign(36, 51, 189, 1), head(106, 63), sign(86, 54, 189, 31)}, {}},
        {1, 1, 1, {kStaff, head(56, 27), sign(36, 18, 9, 31), head(106, 24), sign(86, 15, 9, 1)},
         ledgers_at(54, {30, 36, 42}, 104, {30, 36, 42})},
        {26, -1, -1, {kStaff, head(56, 102), sign(36, 93, 339, 1), head(106, 105), sign(86, 96, 339, 31)},
         ledgers_at(54, {78, 84, 90, 96, 102}, 104, {78, 84, 90, 96, 102, 108})},
        {3, 2, -1, {kStaff, head(56, 33)}, ledgers_at(54, {36, 42})},
        {5, -1, 2, {kStaff, head(56, 39)}, ledgers_at(54, {42})},
        {3, 1, 13, {kStaff, head(56, 33)}, ledgers_at(54, {36, 42})},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "string " << c.s << " lever " << c.p << " step " << c.k);
        refreshes = 0;
        show(c.s, c.p, c.k);
        EXPECT_EQ(test::differences(pic, picture_of(sheet, c.copies, c.ledgers)), "");
        EXPECT_EQ(refreshes, 1);
        EXPECT_FALSE(pic.HasPicture());
    }
}

// Each string one step below the last, with its ledger lines; no string selected, nothing.
TEST_F(Staff, EveryStringSitsOneStepBelowTheLastWithItsLedgerLines) {
    // Ledger lines per string: the lowest of 30, 36, 42 above the staff, the highest of
    // 78 ... 102 below it.
    const int ledgers[27] = {0, 3, 2, 2, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0,
                             0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5};
    for (int s = 1; s <= 26; ++s) {
        show(s, 0, 0);
        std::vector<int> ys;
        for (int i = 0; i < ledgers[s]; ++i) ys.push_back(s < 13 ? 42 - 6 * i : 78 + 6 * i);
        EXPECT_EQ(test::differences(
                      pic, picture_of(sheet, {kStaff, head(56, 3 * s + 24)}, ledgers_at(54, ys))),
                  "")
            << "string " << s;
    }
    const QImage before = pic.image().copy();
    st.cur_string = 0;
    porte(pic, sheet, st);
    EXPECT_EQ(pic.image(), before);
}

}  // namespace
}  // namespace orvena
