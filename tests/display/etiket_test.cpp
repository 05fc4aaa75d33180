// The note information panel as the player reads it: the seven lines, their colours, the
// pitch-name rules and the panel left alone when no string is selected.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "display/etiket.h"
#include "support/qt_app.h"
#include "surface/surface.h"
#include "tuning/instrument_state.h"

namespace orvena {
namespace {

constexpr QRgb kBlue = test::rgb(0, 0, 255);
constexpr QRgb kBlack = test::rgb(0, 0, 0);
constexpr QRgb kPanelBack = test::rgb(255, 224, 192);

// A name as the degree list stores it: padded with spaces to 30 characters.
std::string padded(const std::string& name, int chars) {
    return name + std::string(static_cast<std::size_t>(30 - chars), ' ');
}

struct Item {
    std::string text;
    QRgb colour;
    bool operator==(const Item&) const = default;
};

void PrintTo(const Item& item, std::ostream* os) {
    *os << '"' << item.text << "\" #" << std::hex << (item.colour & 0xFFFFFF);
}

std::vector<Item> items_of(const Surface& pic) {
    std::vector<Item> out;
    for (const PrintRecord& r : pic.print_log()) {
        out.push_back({r.text.toStdString(), r.colour & 0xFFFFFFu});
    }
    return out;
}

// The printed text of each panel line, joined, in the order printed.
std::vector<std::string> lines_of(const Surface& pic) {
    std::vector<std::string> out;
    double last_y = -1;
    for (const PrintRecord& r : pic.print_log()) {
        if (out.empty() || r.y != last_y) out.emplace_back();
        out.back() += r.text.toStdString();
        last_y = r.y;
    }
    return out;
}

std::string line3_value(const Surface& pic) {
    const std::vector<std::string> lines = lines_of(pic);
    const std::string label = " Ton :              ";
    if (lines.size() < 3 || lines[2].rfind(label, 0) != 0) return "<no line 3>";
    return lines[2].substr(label.size());
}

class Panel : public ::testing::Test {
  protected:
    void SetUp() override { test::ensure_qt_app(); }
    // The panel for st; the print log then holds this call's items only.
    void show(char separator = '.') {
        pic.clear_print_log();
        etiket(pic, st, separator);
    }
    Surface pic{239, 100, qRgb(255, 224, 192)};
    InstrumentState st;
};

TEST_F(Panel, middleCAtZeroCentsPrintsEveryLineWithBlueLabelsAndBlackValues) {
    st.cur_string = 17;
    st.manual_levers = true;
    st.mandal_pos(17) = 0;
    st.cents(17, 0) = 0.0;
    st.freq(17, 0) = 261.5;  // not what the cents give: the ratio must come from the cents
    st.degree_at(17, 0) = 42;
    st.degrees(42).degree_name = padded("Çargâh", 6);

    show();

    const std::vector<Item> expected = {
        {" eşik mandal : ", kBlue},
        {" 0 ", kBlack},
        {" tel no :           ", kBlue},
        {" 17 ", kBlack},
        {" Ton :              ", kBlue},
        {padded("Çargâh", 6), kBlack},
        {" C4 ten :         ", kBlue},
        {"0.0000", kBlack},
        {" Cent", kBlue},
        {" bağıl frekans :", kBlue},
        {"1.00000000", kBlack},
        {" frekans :        ", kBlue},
        {"261.5000", kBlack},
        {" Herz", kBlue},
        {" Akord fark :    ", kBlue},
        {"0", kBlack},
        {" Cent", kBlue},
    };
    EXPECT_EQ(items_of(pic), expected);

    // Seven lines, each starting at the left edge, one below the other.
    std::vector<double> line_tops;
    for (const PrintRecord& r : pic.print_log()) {
        if (line_tops.empty() || r.y != line_tops.back()) {
            EXPECT_EQ(r.x, 0) << r.text.toStdString();
            if (!line_tops.empty()) {
                EXPECT_GT(r.y, line_tops.back());
            }
            line_tops.push_back(r.y);
        }
    }
    EXPECT_EQ(line_tops.size(), 7u);
    EXPECT_EQ(line_tops.front(), 0);
}

TEST_F(Panel, loweredStringShowsMinusSignsRatioBelowOneAndLocaleSeparator) {
    st.cur_string = 20;
    st.manual_levers = true;
    st.mandal_pos(20) = -3;
    st.cents(20, -3) = -512.3456;
    st.freq(20, -3) = 194.88347;
    st.akord_offset(20) = -5;
    st.degree_at(20, -3) = -30;
    st.degrees(-30).degree_name = padded("Kaba Hisar", 10);

    show(',');

    const std::vector<std::string> expected = {
        " eşik mandal : -3 ",
        " tel no :            20 ",
        " Ton :              " + padded("Kaba Hisar", 10),
        " C4 ten :         -512,3456 Cent",
        " bağıl frekans :0,74383025",
        " frekans :        194,8835 Herz",
        " Akord fark :    -5 Cent",
    };
    EXPECT_EQ(lines_of(pic), expected);

    st.mandal_pos(20) = 3;
    st.cents(20, 3) = 1.0;
    show(',');
    EXPECT_EQ(lines_of(pic).at(0), " eşik mandal :  3 ");
}

TEST_F(Panel, clearsWhatWasThereAndInksLabelsInBlue) {
    pic.LineBF(0, 0, 238, 99, qRgb(255, 0, 0));
    st.cur_string = 9;
    st.manual_levers = true;
    show();

    int red = 0, blue = 0, black = 0;
    for (int y = 0; y < pic.height(); ++y) {
        for (int x = 0; x < pic.width(); ++x) {
            const QRgb c = pic.pixel(x, y);
            red += c == 0xFF0000u;
            blue += c == kBlue;
            black += c == kBlack;
        }
    }
    EXPECT_EQ(red, 0);
    EXPECT_GT(blue, 0);
    EXPECT_GT(black, 0);
    EXPECT_EQ(pic.pixel(238, 99), kPanelBack);
}

TEST_F(Panel, noSelectedStringLeavesThePanelAsItWas) {
    st.cur_string = 9;
    st.manual_levers = true;
    show();
    const QImage before = pic.image().copy();

    st.cur_string = 0;
    show();
    EXPECT_EQ(pic.image(), before);
    EXPECT_TRUE(pic.print_log().empty());
}

TEST_F(Panel, topStringNamesTheNearestDegreeAndTheLowerOneOnATie) {
    st.cur_string = 3;
    st.manual_levers = true;
    st.mandal_pos(3) = 2;
    st.cents(3, 2) = 2250.0;
    for (int d = 104; d <= 196; ++d) st.degrees(d).degree_cents = 100.0f;
    // Outside the searched degrees, an exact match does not count.
    st.degrees(103).degree_cents = 2250.0f;
    st.degrees(197).degree_cents = 2250.0f;
    // 10.5 rounds to 10 (half to even) and so ties with 9.6, which also rounds to 10.
    st.degrees(140).degree_cents = 2260.5f;
    st.degrees(140).degree_name = padded("Eviç", 4);
    st.degrees(141).degree_cents = 2240.4f;
    st.degrees(141).degree_name = padded("Acem", 4);
    show();
    EXPECT_EQ(line3_value(pic), padded("Eviç", 4));

    // A strictly nearer degree further up the list wins.
    st.degrees(180).degree_cents = 2249.0f;
    st.degrees(180).degree_name = padded("Gerdaniye", 9);
    show();
    EXPECT_EQ(line3_value(pic), padded("Gerdaniye", 9));

    // Strings from 8 down name the degree of their position directly.
    st.cur_string = 8;
    st.mandal_pos(8) = 0;
    st.cents(8, 0) = 2250.0;
    st.degree_at(8, 0) = 141;
    show();
    EXPECT_EQ(line3_value(pic), padded("Acem", 4));
}

TEST_F(Panel, transposedSettingNamesOnlyDegreesInsideTheList) {
    st.manual_levers = false;
    st.transpose_shift = 5;
    st.cur_string = 10;
    st.mandal_pos(10) = 1;
    st.degrees(196).degree_name = padded("Tiz Neva", 8);
    st.degrees(-104).degree_name = padded("Kaba Rast", 9);

    const std::vector<std::pair<int, std::string>> cases = {{201, padded("Tiz Neva", 8)},
                                                            {202, "----------"},
                                                            {-99, padded("Kaba Rast", 9)},
                                                            {-100, "----------"}};
    for (const auto& [degree, shown] : cases) {
        st.degree_at(10, 1) = static_cast<std::int16_t>(degree);
        show();
        EXPECT_EQ(line3_value(pic), shown) << "degree_at " << degree;
    }
}

TEST_F(Panel, transposedTopStringNamesItsTransposedPositionAndNothingOutsideTheList) {
    st.manual_levers = false;
    st.transpose_shift = 5;
    st.cur_string = 4;
    st.mandal_pos(4) = 1;
    st.degree_at(4, 1) = 150;  // passes the range test
    st.top_transposed_pos(3) = -2;
    st.degrees(120).degree_name = padded("Hüseyni", 7);
    st.degrees(-107).degree_name = padded("Kaba Dügah", 10);

    st.degree_at(4, -2) = 125;
    show();
    EXPECT_EQ(line3_value(pic), padded("Hüseyni", 7));

    st.degree_at(4, -2) = -102;  // -107: the lowest degree the list holds
    show();
    EXPECT_EQ(line3_value(pic), padded("Kaba Dügah", 10));

    // Degrees beyond the list's ends, and beyond the table itself, show no name.
    for (int degree : {-103, -110, 202, 206}) {
        st.degree_at(4, -2) = static_cast<std::int16_t>(degree);
        show();
        EXPECT_EQ(line3_value(pic), "----------") << "degree_at " << degree;
    }
    // The current position's own degree is still tested first.
    st.degree_at(4, -2) = 125;
    st.degree_at(4, 1) = 202;
    show();
    EXPECT_EQ(line3_value(pic), "----------");
}

TEST_F(Panel, unfilledDegreeRecordShowsABlankNameAndTheRestOfThePanel) {
    st.cur_string = 12;
    st.manual_levers = true;
    st.degree_at(12, 0) = 60;  // never filled: 30 NUL characters
    ASSERT_EQ(panel_pitch_name(st), std::string(30, '\0'));
    show();

    const std::vector<std::string> lines = lines_of(pic);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(line3_value(pic), std::string(30, ' '));
    EXPECT_EQ(lines[6], " Akord fark :    0 Cent");
    // No missing-glyph boxes: right of the label, line 3 is bare background.
    const PrintRecord& name = pic.print_log().at(5);
    const int top = static_cast<int>(name.y);
    for (int y = top; y < top + pic.TextHeight(); ++y) {
        for (int x = static_cast<int>(name.x); x < pic.width(); ++x) {
            ASSERT_EQ(pic.pixel(x, y), kPanelBack) << x << "," << y;
        }
    }
}

// Writes panels as PNG files into the build folder, 1:1 and enlarged, so they can be
// looked at: a named pitch, and a degree the workbook left unfilled.
TEST_F(Panel, picturesForLookingAtAreWritten) {
    const std::filesystem::path dir =
        std::filesystem::path(ORVENA_PROGRAM_DIR).parent_path() / "display_pictures";
    std::filesystem::create_directories(dir);
    st.cur_string = 11;
    st.manual_levers = true;
    st.mandal_pos(11) = -3;
    st.cents(11, -3) = 847.1698;
    st.freq(11, -3) = 428.3381;
    st.akord_offset(11) = -5;
    st.degree_at(11, -3) = 37;
    st.degrees(37).degree_name = padded("Kürdi", 5);
    for (const char* name : {"panel_named", "panel_unfilled"}) {
        show(',');
        const std::string base = (dir / name).string();
        EXPECT_TRUE(pic.image().save(QString::fromStdString(base + ".png")));
        EXPECT_TRUE(pic.image().scaled(717, 300).save(QString::fromStdString(base + "_x3.png")));
        st.degree_at(11, -3) = 38;
    }
}

}  // namespace
}  // namespace orvena
