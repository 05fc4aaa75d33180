// Scala scales as the instrument's tuning: where each string and lever lands, what the
// samples are played at, how degrees are named, and every way a scale file can be refused.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "support/temp_dir.h"
#include "support/text.h"
#include "tuning/scale_tables.h"
#include "tuning/tablo_oku.h"
#include "tuning/tuning_file.h"

namespace orvena {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

const fs::path kScales = fs::path(TEST_DATA_DIR) / "scala";

const TuningTables& shipped_workbook() {
    static const TuningTables tables = [] {
        InstrumentState st;
        set_lever_limits(st);
        if (import_tuning(st, test::source_dir() / "data" / "dizek.xls"))
            throw std::logic_error("");
        return tables_in_force(st);
    }();
    return tables;
}

TuningTables scale_from_text(const std::string& text, bool perdes = false) {
    ScaleSource source;
    source.name = source.scl_file = "test.scl";
    source.perde_names = perdes;
    return scale_tables(parse_scl(text, "test.scl"), source, shipped_workbook(), {});
}

// An equal division written as cents lines.
std::string equal_division(int n) {
    std::string text = "equal\n" + std::to_string(n) + "\n";
    for (int i = 1; i <= n; ++i) text += std::to_string(1200.0 * i / n) + "\n";
    return text;
}

TuningTables scale_file(const std::string& name) {
    return load_tuning(kScales / name, shipped_workbook(), {}, "");
}

TEST(ScaleTuning, EachStringSitsOnTheDegreeNearestItsNaturalAndEachLeverOneDegreeAbove) {
    const double a4 = 1200.0 * std::log2(440.0 / 262.0);  // A4 = 440 Hz from the mapping
    const struct {
        const char* file;
        int string, lever;
        double cents;
    } cases[] = {
        // Equal semitones: E4 (407.82) is nearest 400; the strings reach -8..12 degrees.
        {"equal12.scl", 17, 0, 0.0},
        {"equal12.scl", 17, 3, 300.0},
        {"equal12.scl", 15, 0, 400.0},
        {"equal12.scl", 15, 1, 500.0},
        {"equal12.scl", 26, 0, -1500.0},
        {"equal12.scl", 26, -8, -2300.0},
        {"equal12.scl", 1, 6, 3400.0},
        {"equal12.scl", 12, 12, 2100.0},
        {"equal12.scl", 7, -7, 1000.0},
        // Just ratios: E on 5/4, A on 5/3, B on 15/8; a lever past the period wraps.
        {"just7.scl", 15, 0, 386.3137},
        {"just7.scl", 15, 1, 498.0450},
        {"just7.scl", 12, 0, 884.3587},
        {"just7.scl", 11, 0, 1088.2687},
        {"just7.scl", 26, -1, -1698.0450},
        {"just7.scl", 17, 8, 1403.9100},
        // Thirteen steps of 3/1 (146.3042 cents): G5 lies on the tritave itself.
        {"bohlen_pierce.scl", 16, 0, 146.3042},
        {"bohlen_pierce.scl", 15, 0, 438.9127},
        {"bohlen_pierce.scl", 15, 1, 585.2169},
        {"bohlen_pierce.scl", 6, 0, 1901.9550},
        {"bohlen_pierce.scl", 26, 0, -1463.0423},
        {"bohlen_pierce.scl", 26, -8, -2633.4762},
        {"bohlen_pierce.scl", 1, 6, 3657.6058},
        // Quarter tones with comments between the lines and DOS line ends.
        {"quarter_tones.scl", 15, 0, 400.0},
        {"quarter_tones.scl", 15, 1, 450.0},
        {"quarter_tones.scl", 11, 0, 1100.0},
        {"quarter_tones.scl", 9, -3, 1250.0},
        {"quarter_tones.scl", 26, 0, -1500.0},
        // Equal semitones whose mapping puts A4 at 440 Hz.
        {"a440.scl", 12, 0, a4},
        {"a440.scl", 17, 0, a4 - 900.0},
        {"a440.scl", 15, 0, a4 - 500.0},
        {"a440.scl", 26, 2, a4 - 2200.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " string " + std::to_string(c.string) + " lever " +
                     std::to_string(c.lever));
        InstrumentState st;
        set_lever_limits(st);
        install_tables(st, scale_file(c.file));
        EXPECT_NEAR(st.cents(c.string, c.lever), c.cents, 1e-4);
        const double hz = 262.0 * std::exp2(c.cents / 1200.0);
        EXPECT_NEAR(st.freq(c.string, c.lever), hz, hz * 1e-7);
        // The shipped samples sound the workbook's lever-0 pitch at 44100 Hz.
        const double workbook_home = shipped_workbook().cents(c.string, 0);
        const double home_rate =
            44100.0 * std::exp2((st.cents(c.string, 0) - workbook_home) / 1200.0);
        EXPECT_EQ(st.sample_rate(c.string, 0), std::lround(home_rate));
        EXPECT_NEAR(st.sample_rate(c.string, c.lever),
                    std::lround(home_rate) * std::exp2((c.cents - st.cents(c.string, 0)) / 1200.0),
                    0.5);
        EXPECT_EQ(st.degree_at(c.string, c.lever) - st.degree_at(c.string, 0), c.lever);
        EXPECT_TRUE(st.scale_tuning);
    }
}

// The staff's signs count steps of 1200/79 cents (a sharp is six); a lever shows the nearest
// count, at least one, at most a double sign (12), always on the lever's side.
TEST(ScaleTuning, LeverStepsShowOnTheStaffAsTheNearestCountOfItsSteps) {
    const std::string uneven = "uneven\n3\n5.0\n600.0\n1200.0\n";
    const struct {
        std::string scale;
        int string, lever, step;
    } cases[] = {
        {equal_division(12), 15, 1, 7},
        {equal_division(12), 15, -1, -7},
        {equal_division(12), 15, 2, 12},
        {equal_division(12), 15, -8, -12},
        {equal_division(53), 12, 1, 1},
        {equal_division(53), 12, 4, 6},
        {equal_division(53), 12, -4, -6},
        {equal_division(79), 12, 5, 5},
        {equal_division(79), 12, 0, 0},
        {uneven, 17, 1, 1},  // 5 cents: still one step
        {uneven, 17, -1, -12},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.string) + " lever " + std::to_string(c.lever));
        EXPECT_EQ(scale_from_text(c.scale).mandal_step(c.string, c.lever), c.step);
    }
}

TEST(ScaleTuning, DegreesAreNamedAfterTheNearestNaturalOrTheirPerde) {
    const std::string edo53 = equal_division(53);
    const struct {
        std::string scale;
        bool perdes;
        int string, lever;
        std::string name;
        int chars;
    } cases[] = {
        {equal_division(12), false, 17, 1, "C4 +1", 5},
        {equal_division(12), false, 14, -1, "E4", 2},  // F4 lowered lands on E4's degree
        {equal_division(12), false, 16, 0, "D4", 2},
        {equal_division(12), true, 16, 0, "Yegâh", 5},  // 200 cents, 3.8 from 9 commas
        {equal_division(12), true, 15, 0, "E4", 2},     // 400 cents, 7.5 from 18 commas
        // 79 equal degrees: E5 on degree 106, D5 on 92; degree 105 is nearer E5.
        {equal_division(79), false, 8, -1, "E5 \u22121", 5},
        {equal_division(79), false, 9, 12, "E5 \u22122", 5},
        {edo53, true, 13, 0, "Rast", 4},
        {edo53, true, 12, 0, "Dügâh", 5},
        {edo53, true, 10, 0, "Çârgâh", 6},
        {edo53, true, 11, -1, "Segâh", 5},
        {edo53, true, 10, 5, "Hicaz", 5},
        {edo53, true, 20, 0, "Kaba Rast", 9},
        {edo53, true, 20, -1, "G3 \u22121", 5},  // Kaba Rast is the lowest perde named
        {edo53, true, 3, 0, "Tiz Çârgâh", 10},
        {edo53, true, 17, 1, "C4 +1", 5},  // no perde one comma above Kaba Çârgâh
        {edo53, true, 24, 0, "C3", 2},     // below Kaba Rast the notes keep their names
        {edo53, false, 13, 0, "G4", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TuningTables t = scale_from_text(c.scale, c.perdes);
        EXPECT_EQ(t.degrees[t.degree_at(c.string, c.lever)].degree_name,
                  test::padded(c.name, c.chars));
    }
}

TEST(ScaleTuning, ScalesInTheShippedFolderNameTheirPerdesOthersDoNot) {
    test::TempDir shipped, elsewhere;
    for (const fs::path& folder : {shipped.path(), elsewhere.path()}) {
        test::write_file_bytes(folder / "53.scl", equal_division(53));
        test::write_file_bytes(folder / "53.kbm", "0\n0\n127\n60\n60\n262.0\n0\n");
    }
    const TuningTables named =
        load_tuning(shipped / "53.scl", shipped_workbook(), {}, shipped.path());
    const TuningTables plain =
        load_tuning(elsewhere / "53.scl", shipped_workbook(), {}, shipped.path());
    EXPECT_EQ(named.degrees[named.degree_at(13, 0)].degree_name, test::padded("Rast", 4));
    EXPECT_EQ(plain.degrees[plain.degree_at(13, 0)].degree_name, test::padded("G4", 2));
    EXPECT_EQ(named.name, "53");
    // A workbook is a workbook whatever the case of its name.
    fs::copy_file(fs::path(TEST_DATA_DIR) / "workbooks" / "saved-from.xls", elsewhere / "D.XLS");
    EXPECT_EQ(load_tuning(elsewhere / "D.XLS", shipped_workbook(), {}, shipped.path()).name,
              "D.XLS");
}

struct BadText {
    const char* what;
    std::string scl;
    std::string kbm;  // read with the scale when not empty
    int line;
    const char* reason;
};

TEST(ScaleTuning, BadFilesAreRefusedNamingTheLine) {
    const std::string twelve = equal_division(12);
    const std::string kbm_head = "12\n0\n127\n60\n69\n";
    const BadText cases[] = {
        {"empty file", "", "", 1, "boş"},
        {"comments only", "! a\n! b\n", "", 3, "açıklama satırı yok"},
        {"missing count", "description\n", "", 2, "perde sayısı satırı yok"},
        {"count not a number", "d\nmany\n100.0\n", "", 2, "tamsayı değil"},
        {"count zero", "d\n0\n", "", 2, "en az 1"},
        {"count of a million", "d\n1000000\n100.0\n", "", 2, "çok büyük"},
        {"fewer pitches", "d\n3\n100.0\n! gap\n200.0\n", "", 2, "yalnız 2 perde"},
        {"zero ratio", "d\n2\n0/1\n2/1\n", "", 3, "\"0/1\" sıfır bir oran"},
        {"zero denominator", "d\n2\n3/0\n2/1\n", "", 3, "\"3/0\" bir oran değil; paydası sıfır"},
        {"zero denominator", "d\n2\n3/0\n2/1\n", "", 3, "sıfır"},
        {"negative ratio", "d\n2\n-3/2\n2/1\n", "", 3, "negatif"},
        {"negative cents", "d\n2\n-100.0\n1200.0\n", "", 3, "yüksek değil"},
        {"falling pitch", "d\n3\n! c\n300.0\n200.0\n1200.0\n", "", 5, "yüksek değil"},
        {"absurd pitch", "d\n2\n100.0\n99999999.0\n", "", 4, "akla yatkın değil"},
        {"word for a pitch", "d\n2\n100.0\nhigh\n", "", 4, "oran ya da sent"},
        {"two points", "d\n1\n1.2.3\n", "", 3, "sent değeri değil"},
        {"blank pitch line", "d\n2\n100.0\n   \n", "", 4, "satır boş"},
        {"binary data", std::string("d\n2\n\x01\x00\xff\n", 8), "", 3, "ikili veri"},
        {"unmapped reference", twelve, kbm_head + "440.0\n12\n0\n1\n2\n3\n4\n5\n6\n7\n8\nx\n", 5,
         "eşlenmemiş"},
        {"mapping too short", twelve, kbm_head + "440.0\n12\n0\n1\n", 5, "eşlenmemiş"},
        {"zero frequency", twelve, kbm_head + "0\n12\n", 6, "sıfırdan büyük"},
        {"word frequency", twelve, kbm_head + "la\n12\n", 6, "sıfırdan büyük"},
        {"key out of range", twelve, "12\n0\n127\n60\n300\n", 5, "aralığının dışında"},
        {"mapping cut short", twelve, "12\n0\n127\n", 4, "orta tuş satırı yok"},
        // The scale reads but cannot tune the instrument.
        {"too fine for the list", equal_division(200), "", 2, "çok sık"},
        {"step beyond any rate", "d\n1\n11000.0\n", "", 3, "örnekleme hızı"},
        {"octave degree out of range", twelve, kbm_head + "440.0\n5000\n", 7, "aralığının dışında"},
    };
    const InstrumentState before = [] {
        InstrumentState st;
        set_lever_limits(st);
        install_tables(st, shipped_workbook());
        return st;
    }();
    for (const BadText& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempDir dir;
        test::write_file_bytes(dir / "bad.scl", c.scl);
        if (!c.kbm.empty()) test::write_file_bytes(dir / "bad.kbm", c.kbm);
        try {
            load_tuning(dir / "bad.scl", shipped_workbook(), before.akord_offset, "");
            ADD_FAILURE() << "accepted";
        } catch (const ScalaFileError& e) {
            EXPECT_EQ(e.file(), c.kbm.empty() || c.line == 0 ? "bad.scl" : "bad.kbm");
            EXPECT_EQ(e.line(), c.line);
            EXPECT_THAT(e.reason(), HasSubstr(c.reason));
            EXPECT_THAT(tuning_failure_message(e),
                        HasSubstr("\"" + e.file() + "\", satır " + std::to_string(c.line) + ": "));
        }
    }
}

TEST(ScaleTuning, OnlyRegularFilesOfAModestSizeAreRead) {
    test::TempDir dir;
    fs::create_directory(dir / "folder.scl");
    ASSERT_EQ(::mkfifo((dir / "pipe.scl").c_str(), 0600), 0);
    test::write_file_bytes(dir / "huge.scl", "d\n1\n2/1\n" + std::string(300 * 1024, '!'));
    test::write_file_bytes(dir / "ok.scl", equal_division(12));
    fs::create_symlink(dir / "ok.scl", dir / "link.scl");
    fs::create_symlink("/dev/zero", dir / "zero.scl");
    const std::pair<const char*, const char*> cases[] = {
        {"missing.scl", "böyle bir dosya yok"},
        {"folder.scl", "bir klasör, dosya değil"},
        {"pipe.scl", "düzenli bir dosya değil (aygıt ya da FIFO)"},
        {"zero.scl", "düzenli bir dosya değil (aygıt ya da FIFO)"},
        {"huge.scl", "dosya çok büyük (en çok 256 kB)"},
    };
    for (const auto& [name, reason] : cases) {
        SCOPED_TRACE(name);
        try {
            read_scala_files(dir / name);
            ADD_FAILURE() << "read";
        } catch (const ScalaFileError& e) {
            EXPECT_EQ(e.line(), 0);
            EXPECT_THAT(e.reason(), HasSubstr(reason));
        }
    }
    EXPECT_EQ(read_scala_files(dir / "link.scl").scale.count(), 12);
}

}  // namespace
}  // namespace orvena
