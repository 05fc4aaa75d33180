// The makam files the program ships with: each loads from the program folder without a
// message and sets every string to the degree and pitch that data/README.md lists for it.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "makam_fixture.h"
#include "tuning/tablo_oku.h"

namespace orvena {
namespace {

struct Listed {
    int position = 0;  // strings 1..7 only
    int degree = 0;    // strings 8..26: the degree in the octave C4..B4
    double cents = 0;
};

std::vector<std::string> cells_of(const std::string& line) {
    std::vector<std::string> cells;
    std::stringstream in(line.substr(1));
    for (std::string cell; std::getline(in, cell, '|');) {
        const auto b = cell.find_first_not_of(' '), e = cell.find_last_not_of(' ');
        cells.push_back(b == std::string::npos ? "" : cell.substr(b, e - b + 1));
    }
    return cells;
}

// Makam name -> note name ("C4".."B4" for the lower strings, "E6".."F5" for the top seven)
// -> what the table lists.
using Table = std::map<std::string, std::map<std::string, Listed>>;

Table read_table() {
    std::ifstream in(test::source_dir() / "data" / "README.md");
    Table table;
    std::string makam;
    const char* top[] = {"E6", "D6", "C6", "B5", "A5", "G5", "F5"};
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("| ", 0) != 0) continue;
        const auto c = cells_of(line);
        if (c.size() != 8 || c[0] == "Makam") continue;
        if (c[1].find(':') != std::string::npos) {
            for (int i = 0; i < 7; ++i)
                table[c[0]][top[i]] = {std::stoi(c[i + 1]), 0,
                                       std::stod(c[i + 1].substr(c[i + 1].find(':') + 1))};
        } else {
            if (!c[0].empty()) makam = c[0];
            table[makam][c[3]] = {0, std::stoi(c[4]), std::stod(c[5])};
        }
    }
    return table;
}

TEST(ShippedMakams, EachLoadsAndSoundsTheDegreesItsTableRowNames) {
    const Table table = read_table();
    ASSERT_GE(table.size(), 12u);
    const char* notes = "E6D6C6B5A5G5F5E5D5C5B4A4G4F4E4D4C4B3A3G3F3E3D3C3B2A2";
    for (const auto& [makam, row] : table) {
        SCOPED_TRACE(makam);
        test::MakamBench b;
        ASSERT_FALSE(import_tuning(b.st, test::source_dir() / "data" / "dizek.xls"));
        std::filesystem::copy_file(test::program_dir() / (makam + ".mkm"),
                                   b.folder / (makam + ".mkm"));
        b.load(makam + ".mkm");
        EXPECT_TRUE(b.dialogs.texts().empty());
        EXPECT_EQ(b.text1, makam);
        for (int s = 1; s <= kStringCount; ++s) {
            const std::string note(notes + 2 * (s - 1), 2);
            const int p = b.st.mandal_pos[s];
            ASSERT_GE(p, b.st.mandal_min[s]) << note;
            ASSERT_LE(p, b.st.mandal_max[s]) << note;
            if (s <= 7) {
                EXPECT_EQ(p, row.at(note).position) << note;
                EXPECT_NEAR(b.st.cents(s, p), row.at(note).cents, 0.06) << note;
            } else {
                const int octave = note[1] - '4';
                const Listed& listed = row.at(note.substr(0, 1) + "4");
                EXPECT_EQ(b.st.degree_at(s, p), listed.degree + 79 * octave) << note;
                EXPECT_NEAR(b.st.cents(s, p), listed.cents + 1200 * octave, 0.06) << note;
            }
        }
    }
}

}  // namespace
}  // namespace orvena
