#include "tuning/tablo_oku.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <new>
#include <stdexcept>
#include <system_error>

#include "files/shown_text.h"
#include "files/user_file.h"
#include "tuning/degree_names.h"
#include "tuning/rounding.h"
#include "tuning/xls_workbook.h"

namespace orvena {

namespace {

constexpr int kFirstDegreeRow = 31;
// Far above any tuning workbook (ours is about 100 kB).
constexpr std::size_t kMaxWorkbookBytes = 64u << 20;
constexpr int kLastDegreeRow = 334;
constexpr int kFirstListedDegree = -107;
constexpr int kLastListedDegree = 196;
constexpr int kTopStrings = 7;  // strings whose cents come from the grid
constexpr int kPlaces = 3;

// Everything the import writes, filled on the side from a copy of the tables in force and
// put back whole only when the whole workbook has been read, so a bad cell leaves the
// instrument as it was. The import fills cents, mandal_step, degree_at, degrees and
// sample_cents; the name, home_shift and the scale fields come back as they were.
struct Tables : TuningTables {
    std::array<std::string, 2> option4_captions;

    // Where values came from, to name the cell when a table derived from them fails:
    // the degree-list row that last set cents(s, p) of strings 8..26 (0 = none), and the
    // row that set each place of a degree record (second, first, third).
    PitchTable<std::int16_t> cents_row;
    IndexedArray<std::array<int, kPlaces>, kDegreeLo, kDegreeHi> place_row;
};

Tables tables_of(const InstrumentState& st) {
    Tables t;
    static_cast<TuningTables&>(t) = st.tables;
    t.option4_captions = st.build.option4_captions;
    return t;
}

void commit(InstrumentState& st, Tables& t) {
    st.tables = std::move(static_cast<TuningTables&>(t));
    st.build.option4_captions = std::move(t.option4_captions);
}

// Thrown inside the import only; turned into an ImportFailure at its edge.
struct CellProblem {
    std::string cell;
    std::string reason;
};

// Column letter of lever position -8..12 in the grids: B..V.
char column_of(int position) {
    return static_cast<char>('B' + position - kLeverLo);
}

std::string address(char column, int row) {
    return std::string(1, column) + std::to_string(row);
}

// A number as the spreadsheet shows it in text: up to 15 significant digits, no trailing
// zeros, exponent form for very large or small values ("1.5", "100", "1E+20").
std::string number_text(double x) {
    if (x == 0.0) return "0";
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.15G", x);
    return buf;
}

// Cell values converted the way the spreadsheet's automation values convert: numbers to
// Double, Single or Integer, text that reads as a number to that number, empty cells to 0
// or "", anything else is an error of the cell.
class CellReader {
  public:
    CellReader(const XlsWorkbook& book, std::string& current) : book_(book), current_(current) {}

    double number(const std::string& a1) {
        const XlsCell c = fetch(a1);
        switch (c.kind) {
            case XlsCell::Kind::Empty:
                return 0.0;
            case XlsCell::Kind::Number:
            case XlsCell::Kind::Date:
                if (!std::isfinite(c.number)) {
                    throw CellProblem{a1, "hücredeki değer geçerli bir sayı değil"};
                }
                return c.number;
            case XlsCell::Kind::Text:
                return parse(a1, c.text);
            case XlsCell::Kind::Error:
                throw formula_error(a1, c);
        }
        return 0.0;
    }

    float single(const std::string& a1) {
        const double x = number(a1);
        const float f = static_cast<float>(x);
        if (std::isinf(f)) {
            throw CellProblem{
                a1, number_text(x) + " tek duyarlıklı sayı (Single) sınırlarının dışında"};
        }
        return f;
    }

    std::int16_t integer(const std::string& a1) {
        const double x = number(a1);
        try {
            return to_int16(x);
        } catch (const NumberOverflow&) {
            throw CellProblem{a1, number_text(x) + " tamsayı sınırlarının (-32768..32767) dışında"};
        }
    }

    std::string text(const std::string& a1) {
        const XlsCell c = fetch(a1);
        switch (c.kind) {
            case XlsCell::Kind::Empty:
                return {};
            case XlsCell::Kind::Number:
                return number_text(c.number);
            case XlsCell::Kind::Text:
            case XlsCell::Kind::Date:
                return c.text;
            case XlsCell::Kind::Error:
                throw formula_error(a1, c);
        }
        return {};
    }

  private:
    static CellProblem formula_error(const std::string& a1, const XlsCell& c) {
        return {a1, "formülün sonucu bir hata: " + shown(c.text)};
    }

    XlsCell fetch(const std::string& a1) {
        current_ = a1;
        try {
            return book_.cell(a1);
        } catch (const XlsError&) {
            throw CellProblem{a1, "hücre okunamadı; dosya bozuk"};
        }
    }

    // Text in a numeric cell: surrounding spaces, a sign, decimal digits with an optional
    // point and exponent.
    static double parse(const std::string& a1, const std::string& text) {
        const auto not_a_number = [&] {
            return CellProblem{a1, in_quotes(text) + " bir sayı değil; bu hücrede sayı olmalı"};
        };
        std::size_t b = text.find_first_not_of(" \t");
        std::size_t e = text.find_last_not_of(" \t");
        if (b == std::string::npos) throw not_a_number();
        const char* first = text.data() + b;
        const char* last = text.data() + e + 1;
        bool negative = false;
        if (*first == '+' || *first == '-') {
            negative = *first == '-';
            ++first;
        }
        if (first == last || !(std::isdigit(static_cast<unsigned char>(*first)) || *first == '.')) {
            throw not_a_number();
        }
        double value = 0.0;
        const auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
        if (ec == std::errc::result_out_of_range) {
            throw CellProblem{a1, in_quotes(text) + " sayı olarak çok büyük"};
        }
        if (ec != std::errc() || end != last) throw not_a_number();
        return negative ? -value : value;
    }

    const XlsWorkbook& book_;
    std::string& current_;
};

struct PlaceColumns {
    char string;
    char position;
};
// Second, first and third place, in the order the row is read.
constexpr std::array<PlaceColumns, kPlaces> kPlaceColumns{{{'A', 'B'}, {'C', 'D'}, {'I', 'J'}}};

std::int16_t& place_string(degree_record& rec, int k) {
    return k == 0 ? rec.string_2 : k == 1 ? rec.string_1 : rec.string_3;
}
std::int16_t& place_pos(degree_record& rec, int k) {
    return k == 0 ? rec.pos_2 : k == 1 ? rec.pos_1 : rec.pos_3;
}

CellProblem string_outside(const std::string& cell, int s) {
    return {cell, "tel numarası " + std::to_string(s) + ", tellerin aralığının (1..26) dışında"};
}
CellProblem position_outside(const std::string& cell, int p) {
    return {cell, "mandal konumu " + std::to_string(p) + ", konum tablosunun (-12..13) dışında"};
}

void read_degree_row(CellReader& in, Tables& t, int r) {
    const std::string e = address('E', r);
    const int d = in.integer(e);
    if (!t.degrees.contains(d)) {
        throw CellProblem{
            e, "derece numarası " + std::to_string(d) + ", derece tablosunun (-110..200) dışında"};
    }
    degree_record& rec = t.degrees[d];
    rec.degree_cents = in.single(address('G', r));
    rec.degree_name = fit_degree_name(in.text(address('H', r)));
    for (int k = 0; k < kPlaces; ++k) {
        const std::string sc = address(kPlaceColumns[k].string, r);
        if (!(in.number(sc) > 0.0)) continue;
        const std::string pc = address(kPlaceColumns[k].position, r);
        const std::int16_t s = in.integer(sc);
        const std::int16_t p = in.integer(pc);
        place_string(rec, k) = s;
        place_pos(rec, k) = p;
        t.place_row[d][k] = r;
        if (s > kTopStrings) {
            if (s > kStringCount) throw string_outside(sc, s);
            if (!t.cents.contains(s, p)) throw position_outside(pc, p);
            // Later rows win: the last row naming a place gives it its pitch.
            t.cents(s, p) = static_cast<double>(rec.degree_cents);
            t.cents_row(s, p) = static_cast<std::int16_t>(r);
        }
    }
}

void read_tables(const std::filesystem::path& workbook, Tables& t, std::string& current) {
    const XlsWorkbook book(workbook);
    CellReader in(book, current);

    // Top strings: for each position the cents cell and then the step cell.
    for (int s = 1; s <= kTopStrings; ++s) {
        for (int p = kLeverLo; p <= kLeverHi; ++p) {
            t.cents(s, p) = in.number(address(column_of(p), 10 + s));
            t.mandal_step(s, p) = in.integer(address(column_of(p), 20 + s));
        }
    }
    for (int s = kTopStrings + 1; s <= kStringCount; ++s) {
        for (int p = kLeverLo; p <= kLeverHi; ++p)
            t.mandal_step(s, p) = static_cast<std::int16_t>(p);
    }

    for (int r = kFirstDegreeRow; r <= kLastDegreeRow; ++r) read_degree_row(in, t, r);

    // Places, degree by degree upwards, so where several degrees name one place the highest
    // one stays.
    current.clear();
    for (int d = kFirstListedDegree; d <= kLastListedDegree; ++d) {
        degree_record& rec = t.degrees[d];
        for (int k = 0; k < kPlaces; ++k) {
            const int s = place_string(rec, k);
            if (s <= 0) continue;
            const int p = place_pos(rec, k);
            const int row = t.place_row[d][k];
            if (s > kStringCount) throw string_outside(address(kPlaceColumns[k].string, row), s);
            if (!t.degree_at.contains(s, p)) {
                throw position_outside(address(kPlaceColumns[k].position, row), p);
            }
            t.degree_at(s, p) = static_cast<std::int16_t>(d);
        }
    }

    for (int s = 1; s <= kStringCount; ++s) t.sample_cents[s] = in.integer(address('X', s));
    t.option4_captions[0] = in.text("H30");
    t.option4_captions[1] = in.text("T30");
    current.clear();
}

std::string file_reason(const std::filesystem::path& workbook, const XlsError& error) {
    const std::string name = workbook.filename().string();
    switch (error.problem()) {
        case XlsError::Problem::Missing:
            return name + " bulunamadı veya okunamıyor";
        case XlsError::Problem::NotWorkbook:
            return name + " bir Excel 97-2003 çalışma kitabı (.xls) değil";
        case XlsError::Problem::Damaged:
            return name + " bozuk veya eksik; " +
                   (error.detail().empty() ? "okunamadı" : error.detail());
        case XlsError::Problem::NoWorksheet:
            return name + " içinde çalışma sayfası yok";
        case XlsError::Problem::ActiveNotWorksheet:
            return name + " açıldığında gösterilen sayfa bir çalışma sayfası değil";
        case XlsError::Problem::Protected:
            return name + " parola ile korunuyor; okunamadı";
        case XlsError::Problem::Charset:
            return name + " içindeki yazılar okunamıyor";
        case XlsError::Problem::Memory:
            return name + " okunurken bellek yetmedi";
    }
    return name + " okunamadı";
}

// Reads the workbook into t; the failure, if any, names the cell being read.
std::optional<ImportFailure> read_guarded(const std::filesystem::path& workbook, Tables& t) {
    // The readers below open the file by its name: a FIFO would hold them, a device feed them
    // without end.
    std::error_code ec;
    if (auto problem = user_file_problem(workbook, kMaxWorkbookBytes);
        problem && std::filesystem::exists(workbook, ec)) {
        return ImportFailure{"", shown(workbook.filename()) + ": " + *problem};
    }
    std::string current;
    try {
        read_tables(workbook, t, current);
        return std::nullopt;
    } catch (const CellProblem& p) {
        return ImportFailure{p.cell, p.reason};
    } catch (const XlsError& e) {
        return ImportFailure{"", file_reason(workbook, e)};
    } catch (const std::bad_alloc&) {
        return ImportFailure{current, "bellek yetmedi"};
    } catch (const std::exception& e) {
        return ImportFailure{current, std::string("okunamadı: ") + e.what()};
    } catch (...) {
        return ImportFailure{current, "okunamadı"};
    }
}

// The cell that holds cents(s, p).
std::string cents_cell(const Tables& t, int s, int p) {
    if (s <= kTopStrings) return address(column_of(p), 10 + s);
    const int row = t.cents_row(s, p);
    return row > 0 ? address('G', row) : std::string();
}

// The sample rates derive_sample_rates will compute must fit in 32 bits, and those of the
// positions a string's lever can reach must be rates a sample can be played at, with a
// frequency the panel can show; check them on the imported tables first so a bad cell is
// reported before anything changes. Same arithmetic as recompute_string_rates.
std::optional<ImportFailure> check_rates(const Tables& t, const InstrumentSettings& settings) {
    const auto playable = [](std::int32_t rate) {
        return rate >= kMinSampleRateHz && rate <= kMaxSampleRateHz;
    };
    const std::string limits = "; çalınabilir aralık " + std::to_string(kMinSampleRateHz) + ".." +
                               std::to_string(kMaxSampleRateHz) + " Hz";
    for (int s = 1; s <= kStringCount; ++s) {
        const std::string string_name = "tel " + std::to_string(s);
        std::int32_t home = 0;
        try {
            home = to_int32(kBaseSampleRate * std::pow(2.0, t.sample_cents[s] / 1200.0));
            home = to_int32(std::pow(2.0, settings.akord_offset[s] / 1200.0) * home);
        } catch (const NumberOverflow&) {
            return ImportFailure{address('X', s),
                                 string_name + " için örnekleme hızı 32 bit sınırını aşıyor"};
        }
        if (!playable(home)) {
            return ImportFailure{address('X', s), string_name + " için örnekleme hızı " +
                                                      std::to_string(home) + " Hz" + limits};
        }
        const double home_cents = t.cents(s, 0);
        for (int p = kLeverLo; p <= kLeverHi; ++p) {
            const std::string place = string_name + ", mandal konumu " + std::to_string(p);
            // Name whichever of the two pitches is the outlandish one.
            const bool own = std::fabs(t.cents(s, p)) >= std::fabs(home_cents);
            const std::string cell = cents_cell(t, s, own ? p : 0);
            std::int32_t rate = 0;
            try {
                rate = to_int32(std::pow(2.0, (t.cents(s, p) - home_cents) / 1200.0) * home);
            } catch (const NumberOverflow&) {
                return ImportFailure{cell, place + " için örnekleme hızı 32 bit sınırını aşıyor"};
            }
            if (p < lever_min_of(s) || p > lever_max_of(s)) continue;  // never played
            if (!playable(rate)) {
                return ImportFailure{
                    cell, place + " için örnekleme hızı " + std::to_string(rate) + " Hz" + limits};
            }
            if (!std::isfinite(kC4Hz * std::pow(2.0, t.cents(s, p) / 1200.0))) {
                return ImportFailure{cents_cell(t, s, p),
                                     place + " için frekans hesaplanamıyor; sent değeri çok büyük"};
            }
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<ImportFailure> tablo_oku(InstrumentState& st, const std::filesystem::path& workbook) {
    try {
        Tables t = tables_of(st);
        if (auto failure = read_guarded(workbook, t)) return failure;
        commit(st, t);
        return std::nullopt;
    } catch (...) {  // copying the tables ran out of memory
        return ImportFailure{"", "bellek yetmedi"};
    }
}

std::optional<ImportFailure> import_tuning(InstrumentState& st,
                                           const std::filesystem::path& workbook) {
    try {
        Tables t = tables_of(st);
        if (auto failure = read_guarded(workbook, t)) return failure;
        if (auto failure = check_rates(t, st.settings)) return failure;
        commit(st, t);
        derive_freq(st);
        derive_sample_rates(st);
        return std::nullopt;
    } catch (const std::exception& e) {
        return ImportFailure{"", std::string("ayarlar hesaplanamadı: ") + e.what()};
    } catch (...) {
        return ImportFailure{"", "ayarlar hesaplanamadı"};
    }
}

std::string import_failure_message(const ImportFailure& f) {
    std::string second = f.cell.empty() ? f.reason : "Hücre " + f.cell + ": " + f.reason;
    return "Excel yüklü değil veya dizek dosyası yok\r\nexcel.exe or dizek not found\r\n" + second;
}

std::string import_failure_line(const std::filesystem::path& workbook, const ImportFailure& f) {
    return in_quotes(workbook) + ": " + (f.cell.empty() ? "" : "hücre " + f.cell + ": ") + f.reason;
}

}  // namespace orvena
