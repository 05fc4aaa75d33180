// Transposition to the pitch levels on a regular made-up instrument, where every lever step is
// one degree and string s at position 10 plays what string s - 1 plays at 0.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <vector>

#include "preset_fixture.h"

namespace orvena {
namespace {

using Positions = std::map<int, int>;  // string -> position; strings not named are at 0

using test::degree;

Positions every(int first, int last, int position) {
    Positions p;
    for (int s = first; s <= last; ++s) p[s] = position;
    return p;
}

Positions merged(std::initializer_list<Positions> parts) {
    Positions all;
    for (const Positions& p : parts)  // later parts win
        for (const auto& [s, pos] : p) all.insert_or_assign(s, pos);
    return all;
}

// The seven top strings after copying position p from strings 8..14 and fitting it.
Positions top_fitted(int p) {
    Positions top;
    for (int s = 1; s <= 7; ++s) top[s] = lever_fit(s, p);
    return top;
}

using test::red_in_row;

const std::string kCancelFine3 =
    "göçürme yapılamıyor\r\n\r\n20 nolu telin 10 nolu mandal sesi, istenen göçürüm miktarına "
    "göre 20 nolu telden alıması gerekirken 19 nolu tele veya 0 nolu tele taşmaktadır. Göçürüm "
    "iptal edilecek.";
const std::string kCancelSah =
    "göçürme yapılamıyor\r\n\r\n18 nolu telin 0 nolu mandal sesi, istenen göçürüm miktarına "
    "göre 22 nolu telden alıması gerekirken 23 nolu tele veya 0 nolu tele taşmaktadır. Göçürüm "
    "iptal edilecek.";
const std::string kUnknown26 =
    "26  nolu perdenin derecesi belirlenemedi. \r\n mandal= -8\r\n  devam edecek. ";
const std::string kOverflow22 =
    "göçürme de sorun var\r\norijin tel=22\r\norijin derece=-60\r\nahenk farkı=-46\r\nderece "
    "farkı=-8\r\ntoplam derece farkı=-54\r\n\r\nhedef tel=26\r\nhedef derece=-114";

struct Case {
    const char* name;
    int level;
    int fine;  // where the fine shift was moved
    Positions user;
    std::function<void(InstrumentState&)> tweak;
    Positions transposed;  // non-zero computed positions afterwards
    bool computed_in_force;
    std::vector<std::string> messages;
    int fine_after;
};

TEST(Transposition, LevelsAndFineShiftsGiveTheirSettingsListsAndMessages) {
    const Positions sah = merged({every(8, 26, -6), top_fitted(-6)});
    const std::vector<Case> cases = {
        {"SÜPÜRDE without fine shift changes nothing",
         5,
         0,
         {{12, 3}, {20, -2}},
         {},
         {},
         false,
         {},
         0},
        {"SÜPÜRDE one degree up",
         5,
         1,
         {},
         {},
         merged({every(8, 26, 1), top_fitted(1)}),
         true,
         {},
         1},
        {"ŞAH", 1, 0, {}, {}, sah, true, {}, 0},
        {"ŞAH NISFİYE", 8, 0, {}, {}, merged({every(8, 26, 3), top_fitted(3)}), true, {}, 0},
        {"a place that names no degree",
         5,
         1,
         {{26, -8}},
         {},
         merged({every(8, 25, 1), top_fitted(1)}),
         true,
         {kUnknown26},
         1},
        {"cancelled with fine 3, done again without",
         5,
         3,
         {{20, 10}},
         {},
         {},
         false,
         {kCancelFine3},
         0},
        {"cancelled without fine shift keeps the positions so far",
         1,
         0,
         {},
         [](InstrumentState& st) { st.degrees[degree(22, -6)].string_3 = 0; },
         every(23, 26, -6),
         false,
         {kCancelSah},
         0},
        {"degree beyond the list is reported, then cancelled and redone",
         1,
         -8,
         {},
         {},
         sah,
         true,
         {kOverflow22,
          "göçürme yapılamıyor\r\n\r\n21 nolu telin 0 nolu mandal sesi, istenen göçürüm "
          "miktarına göre 25 nolu telden alıması gerekirken 0 nolu tele veya 0 nolu tele "
          "taşmaktadır. Göçürüm iptal edilecek."},
         0},
        {"a first place wins over a lower degree's second place",
         5,
         1,
         {{20, 5}},
         [](InstrumentState& st) {
             st.degrees[degree(20, 5) - 30].string_2 = 20;
             st.degrees[degree(20, 5) - 30].pos_2 = 5;
         },
         merged({every(8, 26, 1), {{20, 6}}, top_fitted(1)}),
         true,
         {},
         1},
        {"a target's second place wins over its first",
         5,
         1,
         {},
         [](InstrumentState& st) {
             st.degrees[degree(20, 1)].string_2 = 20;
             st.degrees[degree(20, 1)].pos_2 = 7;
         },
         merged({every(8, 26, 1), {{20, 7}}, top_fitted(1)}),
         true,
         {},
         1},
    };

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::PresetBench b;
        test::make_regular_degrees(b.st);
        if (c.tweak) c.tweak(b.st);
        for (const auto& [s, p] : c.user) b.st.mandal_pos[s] = static_cast<std::int16_t>(p);
        const auto user = b.st.mandal_pos;
        for (int s = 1; s <= kStringCount; ++s)  // a stale list that must go
            b.Picture10.LineBF(69, (s - 1) * 15 + 2, 87, (s - 1) * 15 + 14, qRgb(255, 0, 0));

        // The level is selected and the fine shift has just been moved to c.fine.
        b.controls.option1 = c.level;
        b.st.ahenk_index = static_cast<std::int16_t>(c.level);
        b.controls.hscroll1 = c.fine;
        HScroll1_Change(b.ctx);

        for (int s = 1; s <= kStringCount; ++s) {
            const int expected = c.transposed.contains(s) ? c.transposed.at(s) : 0;
            EXPECT_EQ(b.st.transposed_pos[s], expected) << "string " << s;
            EXPECT_EQ(b.st.mandal_pos[s], c.computed_in_force ? expected : user[s])
                << "string " << s;
            EXPECT_EQ(red_in_row(b.Picture10, s), expected != 0) << "string " << s;
        }
        EXPECT_EQ(b.st.manual_levers, !c.computed_in_force);
        EXPECT_EQ(b.controls.option5, c.computed_in_force ? 2 : 1);
        EXPECT_EQ(b.dialogs.texts(), c.messages);
        EXPECT_EQ(b.controls.hscroll1, c.fine_after);
        EXPECT_EQ(b.controls.text3, std::to_string(c.fine_after));
        EXPECT_TRUE(b.views.calls.empty()) << "nothing is redrawn";
    }
}

TEST(Transposition, RedPositionsStandInTheirRowsAndTwoDigitsStartFurtherLeft) {
    test::PresetBench b;
    b.st.transposed_pos[3] = -4;
    b.st.transposed_pos[9] = 12;
    göçürümYaz(b.ctx, 9);
    göçürümYaz(b.ctx, 3);
    const auto& printed = b.Picture10.print_log();
    ASSERT_EQ(printed.size(), 2u);
    EXPECT_EQ(printed[0].text, QStringLiteral(" 12 "));
    EXPECT_EQ(printed[0].x, 65);
    EXPECT_EQ(printed[0].y, 122);
    EXPECT_EQ(printed[1].text, QStringLiteral("-3 ")) << "string 3 fitted to its levers";
    EXPECT_EQ(printed[1].x, 72);
    EXPECT_EQ(printed[1].y, 32);
    for (const auto& p : printed) {
        EXPECT_TRUE(p.bold);
        EXPECT_EQ(p.colour, test::rgb(255, 0, 0));
    }
    EXPECT_EQ(b.st.top_transposed_pos[2], -4) << "the unfitted position is kept";

    göçürümTemizle(b.ctx);
    for (int s = 1; s <= kStringCount; ++s) EXPECT_FALSE(red_in_row(b.Picture10, s)) << s;
    EXPECT_EQ(b.Picture10.pixel(69, 122), test::rgb(255, 255, 255));
    EXPECT_EQ(b.Picture10.pixel(87, 138), test::rgb(255, 255, 255));
}

}  // namespace
}  // namespace orvena
