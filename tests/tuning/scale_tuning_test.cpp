#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>
#include "support/temp_dir.h"
#include "support/text.h"
#include "tuning/degree_names.h"
#include "tuning/install_tables.h"
#include "tuning/lever_rules.h"
#include "tuning/scale_tables.h"
#include "tuning/tablo_oku.h"
#include "tuning/tuning_file.h"

namespace orvena {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

const TuningTables& shipped_workbook() {
    static const TuningTables tables = [] {
        InstrumentState st;
        set_lever_limits(st.build);
        if (import_tuning(st, test::source_dir() / "data" / "dizek.xls")) std::abort();
        return st.tables;
    }();
    return tables;
}

TuningTables scale_from_text(const std::string& text, bool perdes = false) {
    ScaleSource source;
    source.name = source.scl_file = "test.scl";
    source.perde_names = perdes;
    return scale_tables(parse_scl(text, "test.scl"), source, shipped_workbook(), {});
}

std::string equal_division(int n) {
    std::string text = "equal\n" + std::to_string(n) + "\n";
    for (int i = 1; i <= n; ++i) text += std::to_string(1200.0 * i / n) + "\n";
    return text;
}

// A computed step lands on the lever whose step in the shipped workbook is nearest to it, of
// two equally near the smaller step: searched here over every lever of every top string.
TEST(LeverFit, EveryStepLandsOnTheLeverWithTheNearestStep) {
    const TuningTables& t = shipped_workbook();
    for (int s = 1; s <= 7; ++s) {
        for (int p = kLeverLo; p <= kLeverHi; ++p) {
            int best = 0;
            for (int q = lever_min_of(s); q <= lever_max_of(s); ++q) {
                const int step = t.mandal_step(s, q), best_step = t.mandal_step(s, best);
                const int d = std::abs(step - p), best_d = std::abs(best_step - p);
                if (d < best_d || (d == best_d && std::abs(step) < std::abs(best_step))) best = q;
            }
            EXPECT_EQ(lever_fit(s, p), best) << "string " << s << " step " << p;
        }
    }
}

// Cents above C4 (262 Hz) from the scale's own ratios and cents; the rates play the shipped
// sample (the workbook's lever-0 pitch at 44100 Hz) at them, worked out beside the table as
// 44100 * 2^(cents above the workbook's home / 1200), the home rate rounded first.
TEST(ScaleTuning, EachStringSitsOnTheDegreeNearestItsNaturalAndEachLeverOneDegreeAbove) {
    const double tritave = 1200.0 * std::log2(3.0), a4 = 1200.0 * std::log2(440.0 / 262.0);
    // File, string, lever, cents, rate: E4 (407.82) nearest 400, E on 5/4, G5 on the tritave, A4
    // on 440 Hz.
    const std::tuple<const char*, int, int, double, int> cases[] = {
        {"equal12.scl", 17, 3, 300.0, 52444},
        {"equal12.scl", 26, -8, -2300.0, 27842},
        {"equal12.scl", 1, 6, 3400.0, 62549},
        {"just7.scl", 15, 0, 1200.0 * std::log2(5.0 / 4), 43881},
        {"just7.scl", 17, 8, 1200.0 * std::log2(2 * 9.0 / 8), 99225},  // wraps the period
        {"bohlen_pierce.scl", 6, 0, tritave, 44182},
        {"bohlen_pierce.scl", 26, -8, -18 * tritave / 13, 22964},
        {"quarter_tones.scl", 9, -3, 1250.0, 40499},  // comments, DOS line ends
        {"gapped.scl", 17, 3, 300.0, 52444},  // a mapping that leaves a string's key unmapped
        {"a440.scl", 26, 2, a4 - 2200.0, 49539},
        {"a220.scl", 26, 2, a4 - 2200.0, 49539},  // reference below the middle, octave 0
        {"e330.scl", 15, 0, 1200.0 * std::log2(330.0 / 262), 44216}};  // 5/4 at 330 Hz
    for (const auto& [file, s, lever, cents, rate] : cases) {
        SCOPED_TRACE(testing::Message() << file << " " << s << " " << lever);
        InstrumentState st;
        set_lever_limits(st.build);
        install_tables(
            st, load_tuning(fs::path(TEST_DATA_DIR) / "scala" / file, shipped_workbook(), {}, ""));
        EXPECT_TRUE(st.tables.scale_tuning);
        EXPECT_NEAR(st.tables.cents(s, lever), cents, 1e-4);
        const double hz = 262.0 * std::exp2(cents / 1200.0);
        EXPECT_NEAR(st.derived.freq(s, lever), hz, hz * 1e-7);
        EXPECT_EQ(st.derived.sample_rate(s, lever), rate);
        EXPECT_EQ(st.tables.degree_at(s, lever) - st.tables.degree_at(s, 0), lever);
    }
}

// A lever's sign on the staff counts steps of 1200/79 cents (a sharp is six): the nearest
// count, at least one, at most a double sign (12). A degree is named after the nearest
// natural, or with perdes after its perde within 5 cents (a comma of 53 is 22.64 cents).
TEST(ScaleTuning, LeversShowTheirStepsAndDegreesTheirNames) {
    const std::string edo5 = equal_division(5), edo12 = equal_division(12),
                      edo53 = equal_division(53), edo79 = equal_division(79),
                      uneven = "uneven\n3\n5.0\n600.0\n1200.0\n";
    // The scale, with perdes or not, string, lever, step, the degree's name ("" not looked at) and
    // its width in characters.
    const std::tuple<std::string, bool, int, int, int, std::string, int> cases[] = {
        {edo12, false, 17, 1, 7, "C4 +1", 5},
        {edo12, false, 14, -1, -7, "E4", 2},         // F4 lowered lands on E4's degree
        {edo5, false, 1, 6, 12, "G7", 2},            // 4320 cents, G7 4302
        {edo12, true, 16, 0, 0, "Yegâh", 5},         // 200 cents, 3.8 from 9 commas
        {edo12, true, 15, 0, 0, "E4", 2},            // 400 cents, 7.5 from 18 commas
        {edo79, false, 8, -1, -1, "E5 \u22121", 5},  // E5 on degree 106, D5 on 92
        {edo79, false, 9, 12, 12, "E5 \u22122", 5},  // degree 105 is nearer E5
        {edo53, false, 12, 4, 6, "", 0},
        {edo53, true, 13, 0, 0, "Rast", 4},
        {edo53, true, 12, 0, 0, "Dügâh", 5},
        {edo53, true, 11, -1, -1, "Segâh", 5},
        {edo53, true, 10, 5, 7, "Hicaz", 5},
        {edo53, true, 20, 0, 0, "Kaba Rast", 9},
        {edo53, true, 20, -1, -1, "G3 \u22121", 5},  // Kaba Rast is the lowest perde named
        {edo53, true, 3, 0, 0, "Tiz Çârgâh", 10},
        {edo53, true, 17, 1, 1, "C4 +1", 5},  // no perde one comma above Kaba Çârgâh
        {edo53, true, 24, 0, 0, "C3", 2},     // below Kaba Rast the notes keep their names
        {edo53, false, 13, 0, 0, "G4", 2},
        {uneven, false, 17, 1, 1, "", 0},  // 5 cents
        {uneven, false, 17, -1, -12, "", 0}};
    for (const auto& [scale, perdes, s, lever, step, name, chars] : cases) {
        SCOPED_TRACE(testing::Message() << s << " lever " << lever << " " << name);
        const TuningTables t = scale_from_text(scale, perdes);
        EXPECT_EQ(t.mandal_step(s, lever), step);
        if (chars == 0) continue;
        EXPECT_EQ(t.degrees[t.degree_at(s, lever)].degree_name, test::padded(name, chars));
    }
    // A degree lists three of its places, the smallest levers first: A4 on 12, 11 and 13.
    const TuningTables t = scale_from_text(edo12);
    const degree_record& a = t.degrees[t.degree_at(12, 0)];
    EXPECT_EQ((std::vector<int>{a.string_1, a.pos_1, a.string_2, a.pos_2, a.string_3, a.pos_3}),
              (std::vector<int>{12, 0, 11, -2, 13, 2}));
}

// A scale is named after its file; a workbook is a workbook whatever the case of its name.
TEST(ScaleTuning, ScalesInTheShippedFolderNameTheirPerdesOthersDoNot) {
    test::TempDir shipped, elsewhere;
    const auto name_of_rast = [&](const fs::path& folder) {
        test::write_file_bytes(folder / "53.scl", equal_division(53));
        test::write_file_bytes(folder / "53.kbm", "0\n0\n127\n60\n60\n262.0\n0\n");
        const TuningTables t =
            load_tuning(folder / "53.scl", shipped_workbook(), {}, shipped.path());
        EXPECT_EQ(t.name, "53");
        return t.degrees[t.degree_at(13, 0)].degree_name;
    };
    EXPECT_EQ(name_of_rast(shipped.path()), test::padded("Rast", 4));
    EXPECT_EQ(name_of_rast(elsewhere.path()), test::padded("G4", 2));
    fs::copy_file(fs::path(TEST_DATA_DIR) / "workbooks" / "saved-from.xls", elsewhere / "D.XLS");
    EXPECT_EQ(load_tuning(elsewhere / "D.XLS", shipped_workbook(), {}, shipped.path()).name,
              "D.XLS");
}

// Each refusal names the file and the line.
TEST(ScaleTuning, BadFilesAreRefusedNamingTheLine) {
    const std::string twelve = equal_division(12), kbm_head = "12\n0\n127\n60\n69\n";
    // The scale, the mapping (read with the scale when not empty), the line, the reason.
    const std::tuple<std::string, std::string, int, const char*> cases[] = {
        {"", "", 1, "boş"},
        {"d\nmany\n100.0\n", "", 2, "tamsayı değil"},
        {"d\n0\n", "", 2, "en az 1"},
        {"d\n1000000\n100.0\n", "", 2, "çok büyük"},
        {"d\n3\n100.0\n! gap\n200.0\n", "", 2, "yalnız 2 perde"},
        {"d\n2\n3/0\n2/1\n", "", 3, "\"3/0\" bir oran değil; paydası sıfır"},
        {"d\n2\n-3/2\n2/1\n", "", 3, "negatif"},
        {"d\n3\n! c\n300.0\n200.0\n1200.0\n", "", 5, "yüksek değil"},  // falling
        {"d\n2\n100.0\n99999999.0\n", "", 4, "akla yatkın değil"},
        {"d\n2\n100.0\nhigh\n", "", 4, "oran ya da sent"},
        {"d\n2\n100.0\n   \n", "", 4, "satır boş"},
        {std::string("d\n2\n\x01\x00\xff\n", 8), "", 3, "ikili veri"},
        {twelve, kbm_head + "440.0\n12\n0\n1\n2\n3\n4\n5\n6\n7\n8\nx\n", 5, "eşlenmemiş"},
        {twelve, kbm_head + "0\n12\n", 6, "sıfırdan büyük"},
        {twelve, "12\n0\n127\n60\n300\n", 5, "aralığının dışında"},
        {twelve, "12\n0\n127\n", 4, "orta tuş satırı yok"},
        // The scale reads but cannot tune the instrument.
        {equal_division(200), "", 2, "çok sık"},
        {"d\n1\n11000.0\n", "", 3, "örnekleme hızı"},
        {twelve, kbm_head + "440.0\n5000\n", 7, "aralığının dışında"}};
    for (const auto& [scl, kbm, line, reason] : cases) {
        SCOPED_TRACE(reason);
        test::TempDir dir;
        test::write_file_bytes(dir / "bad.scl", scl);
        if (!kbm.empty()) test::write_file_bytes(dir / "bad.kbm", kbm);
        try {
            load_tuning(dir / "bad.scl", shipped_workbook(), {}, "");
            ADD_FAILURE() << "accepted";
        } catch (const ScalaFileError& e) {
            const std::string file = kbm.empty() ? "bad.scl" : "bad.kbm";
            EXPECT_THAT(e.reason(), HasSubstr(reason));
            const std::string at = line ? ", satır " + std::to_string(line) : "";
            EXPECT_THAT(tuning_failure_message(e), HasSubstr("\"" + file + "\"" + at + ": "));
        }
    }
}

// A scale file at each of its limits reads, and just beyond it is refused: every pitch above
// the one before (the first above the unison, the period above the last degree), at most ten
// octaves, at most 1000 pitches, at most 256 kB.
TEST(ScalaFile, ReadsAtEachLimitAndRefusesJustBeyondIt) {
    const auto padded = [](std::string text, std::size_t size) {
        text.resize(size, '!');  // a comment line at the end
        return text;
    };
    const std::string not_higher = "perde bir öncekinden yüksek değil (";
    // The scale, the line of the refusal (-1 when the scale reads), the reason.
    const std::tuple<std::string, int, std::string> cases[] = {
        {"d\n2\n0.0\n1200.0\n", 3, not_higher + "0.000 sent, önceki 0.000 sent)"},
        {"d\n2\n0.001\n1200.0\n", -1, ""},
        {"d\n2\n100.0\n100.0\n", 4, not_higher + "100.000 sent, önceki 100.000 sent)"},
        {"d\n2\n100.0\n99.999\n", 4, not_higher + "99.999 sent, önceki 100.000 sent)"},
        {"d\n2\n100.0\n100.001\n", -1, ""},
        {"d\n3\n3/2\n! c\n3/2\n2/1\n", 5, not_higher + "701.955 sent, önceki 701.955 sent)"},
        {"d\n3\n100.0\n200.0\n200.0\n", 5, not_higher + "200.000 sent, önceki 200.000 sent)"},
        {"d\n3\n100.0\n200.0\n200.001\n", -1, ""},
        {"d\n1\n12000.0\n", -1, ""},
        {"d\n1\n12000.001\n", 3, "12000.001 sent akla yatkın değil; en çok 12000.000 sent"},
        {equal_division(1000), -1, ""},
        {equal_division(1001), 2, "perde sayısı 1001 çok büyük; en çok 1000"},
        {padded("d\n1\n2/1\n", 256 * 1024), -1, ""},
        {padded("d\n1\n2/1\n", 256 * 1024 + 1), 0, "dosya çok büyük (en çok 256 kB)"}};
    for (const auto& [scl, line, reason] : cases) {
        SCOPED_TRACE(scl.substr(0, 40));
        test::TempDir dir;
        test::write_file_bytes(dir / "s.scl", scl);
        try {
            const ScalaScale scale = read_scala_files(dir / "s.scl").scale;
            EXPECT_EQ(line, -1) << "read";
            EXPECT_EQ(scale.count(), std::stoi(scl.substr(scl.find('\n') + 1)));
        } catch (const ScalaFileError& e) {
            EXPECT_EQ(std::pair(e.line(), e.reason()), std::pair(line, reason));
        }
    }
}

// Every perde by its commas above Kaba Çârgâh in both octaves, with "Kaba" below from Rast and
// "Tiz" above up to Gerdâniye; a pitch 4.9 cents off still names it, 5.1 cents off does not.
TEST(PerdeNames, EveryPerdeOfBothOctavesAndTheKabaAndTizEdges) {
    const int commas[] = {0,  4,  5,  8,  9,  13, 14, 17, 18, 22, 23, 26,
                          27, 30, 31, 35, 36, 39, 40, 44, 45, 48, 49, 52};
    const std::vector<std::string> low = test::split(
        "Kaba Çârgâh,Kaba Nim Hicaz,Kaba Hicaz,Kaba Dik Hicaz,Yegâh,Kaba Nim Hisar,Kaba Hisar,"
        "Kaba Dik Hisar,Hüseynî Aşîrân,Acem Aşîrân,Dik Acem Aşîrân,Irak,Geveşt,Dik Geveşt,Rast,"
        "Nim Zirgüle,Zirgüle,Dik Zirgüle,Dügâh,Kürdî,Dik Kürdî,Segâh,Bûselik,Dik Bûselik");
    const std::vector<std::string> high = test::split(
        "Çârgâh,Nim Hicaz,Hicaz,Dik Hicaz,Nevâ,Nim Hisar,Hisar,Dik Hisar,Hüseynî,Acem,Dik Acem,"
        "Eviç,Mahur,Dik Mahur,Gerdâniye,Nim Şehnaz,Şehnaz,Dik Şehnaz,Muhayyer,Sünbüle,"
        "Dik Sünbüle,Tiz Segâh,Tiz Bûselik,Tiz Dik Bûselik");
    const auto at = [](int c, double off = 0) { return perde_name(c * 1200.0 / 53 + off); };
    using Name = std::optional<std::string>;
    for (std::size_t i = 0; i < std::size(commas); ++i) {
        const int c = commas[i];
        SCOPED_TRACE(low[i]);
        EXPECT_EQ(std::tuple(at(c, 4.9), at(c + 53, -4.9), at(c, 5.1)),
                  std::tuple(Name(low[i]), Name(high[i]), Name()));
        EXPECT_EQ(at(c - 53), c >= 31 ? Name("Kaba " + low[i]) : Name());
        EXPECT_EQ(at(c + 106), c <= 31 ? Name("Tiz " + high[i]) : Name());
    }
}

}  // namespace
}  // namespace orvena
