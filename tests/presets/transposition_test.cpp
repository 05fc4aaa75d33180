// Transposition to the pitch levels on a regular made-up instrument, where every lever step is
// one degree and string s at position 10 plays what string s - 1 plays at 0.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <tuple>
#include <vector>

#include "preset_fixture.h"

namespace orvena {
namespace {

using Positions = std::map<int, int>;  // string -> position; strings not named are at 0

using test::degree;
using test::red_in_row;
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

// The seven top strings after copying position p (-6, 1 or 3) from strings 8..14 and fitting
// it to their fewer levers, as the instrument's fitting table gives it.
Positions top_fitted(int p) {
    const std::map<int, std::vector<int>> fitted = {
        {-6, {-4, -4, -4, -4, -5, -5, -5}}, {1, {1, 1, 1, 1, 1, 1, 1}}, {3, {2, 2, 2, 2, 3, 3, 3}}};
    Positions top;
    for (int s = 1; s <= 7; ++s) top[s] = fitted.at(p)[s - 1];
    return top;
}

std::string cancelled(int s, int position, int target, int first, int second) {
    return "göçürme yapılamıyor\r\n\r\n" + std::to_string(s) + " nolu telin " +
           std::to_string(position) + " nolu mandal sesi, istenen göçürüm miktarına göre " +
           std::to_string(target) + " nolu telden alıması gerekirken " + std::to_string(first) +
           " nolu tele veya " + std::to_string(second) +
           " nolu tele taşmaktadır. Göçürüm iptal edilecek.";
}

void place_second(InstrumentState& st, int d, int s, int p) {
    st.degrees[d].string_2 = static_cast<std::int16_t>(s);
    st.degrees[d].pos_2 = static_cast<std::int16_t>(p);
}

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
    const Positions up1 = merged({every(8, 26, 1), top_fitted(1)});
    const std::string overflow =
        "göçürme de sorun var\r\norijin tel=22\r\norijin derece=-60\r\nahenk farkı=-46\r\n"
        "derece farkı=-8\r\ntoplam derece farkı=-54\r\n\r\nhedef tel=26\r\nhedef derece=-114";
    // clang-format off
    const std::vector<Case> cases = {
        {"SÜPÜRDE without fine shift changes nothing", 5, 0, {{12, 3}, {20, -2}}, {}, {}, false, {}, 0},
        {"SÜPÜRDE one degree up", 5, 1, {}, {}, up1, true, {}, 1},
        {"ŞAH", 1, 0, {}, {}, sah, true, {}, 0},
        {"ŞAH NISFİYE", 8, 0, {}, {}, merged({every(8, 26, 3), top_fitted(3)}), true, {}, 0},
        {"a place that names no degree", 5, 1, {{26, -8}}, {},
         merged({up1, {{26, 0}}}), true,
         {"26  nolu perdenin derecesi belirlenemedi. \r\n mandal= -8\r\n  devam edecek. "}, 1},
        {"cancelled with fine 3, done again without", 5, 3, {{20, 10}}, {}, {}, false,
         {cancelled(20, 10, 20, 19, 0)}, 0},
        {"cancelled without fine shift keeps the positions so far", 1, 0, {},
         [](InstrumentState& st) { st.degrees[degree(22, -6)].string_3 = 0; },
         every(23, 26, -6), false, {cancelled(18, 0, 22, 23, 0)}, 0},
        {"a degree beyond the list is reported, then cancelled and redone", 1, -8, {}, {}, sah,
         true, {overflow, cancelled(21, 0, 25, 0, 0)}, 0},
        {"a first place wins over a lower degree's second place", 5, 1, {{20, 5}},
         [](InstrumentState& st) { place_second(st, degree(20, 5) - 30, 20, 5); },
         merged({up1, {{20, 6}}}), true, {}, 1},
        {"a target's second place wins over its first", 5, 1, {},
         [](InstrumentState& st) { place_second(st, degree(20, 1), 20, 7); },
         merged({up1, {{20, 7}}}), true, {}, 1},
    };
    // clang-format on

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
        b.option1 = c.level;
        b.st.ahenk_index = static_cast<std::int16_t>(c.level);
        b.hscroll1 = c.fine;
        HScroll1_Change(b.ctx);

        for (int s = 1; s <= kStringCount; ++s) {
            const int expected = c.transposed.contains(s) ? c.transposed.at(s) : 0;  // 0: none
            EXPECT_EQ(
                std::tuple(b.st.transposed_pos[s], b.st.mandal_pos[s], red_in_row(b.Picture10, s)),
                std::tuple(expected, c.computed_in_force ? expected : user[s], expected != 0))
                << "string " << s;
        }
        EXPECT_EQ(std::tuple(b.st.manual_levers, b.option5, b.hscroll1, b.text3),
                  std::tuple(!c.computed_in_force, c.computed_in_force ? 2 : 1, c.fine_after,
                             std::to_string(c.fine_after)));
        EXPECT_EQ(b.dialogs.texts(), c.messages);
        EXPECT_TRUE(b.views.calls.empty()) << "nothing is redrawn";
    }
}

// Red and bold, two digits one place further left; string 3 lists its fitted position.
TEST(Transposition, ListedPositionsStandInTheirRowsTwoDigitsFurtherLeft) {
    test::PresetBench b;
    b.st.transposed_pos[3] = -4;
    b.st.transposed_pos[9] = 10;
    göçürümYaz(b.ctx, 9);
    göçürümYaz(b.ctx, 3);
    EXPECT_EQ(b.st.top_transposed_pos[2], -4) << "the unfitted value is kept";
    const auto& log = b.Picture10.print_log();
    ASSERT_EQ(log.size(), 2u);
    for (const auto& [i, text, x, y] : {std::tuple{0, " 10 ", 65, 122}, {1, "-3 ", 72, 32}})
        EXPECT_EQ(std::tuple(log[i].text.toStdString(), log[i].x, log[i].y, log[i].bold,
                             log[i].colour & 0xFFFFFFu),
                  std::tuple(text, x, y, true, test::rgb(255, 0, 0)));
}

}  // namespace
}  // namespace orvena
