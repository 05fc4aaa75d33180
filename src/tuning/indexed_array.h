#pragma once
// Arrays indexed like the instrument's tables (strings 0..26, lever positions -12..13,
// degrees -110..200). An index outside the declared range throws instead of touching
// memory it does not own.

#include <array>
#include <cstddef>
#include <stdexcept>
#include <string>

namespace orvena {

class IndexOutOfRange : public std::out_of_range {
  public:
    IndexOutOfRange(long index, long lo, long hi)
        : std::out_of_range("sıra " + std::to_string(index) + ", " + std::to_string(lo) + ".." +
                            std::to_string(hi) + " aralığının dışında") {}
};

template <typename T, int Lo, int Hi>
class IndexedArray {
    static_assert(Lo <= Hi);

  public:
    static constexpr int lo = Lo;
    static constexpr int hi = Hi;
    static constexpr std::size_t size = static_cast<std::size_t>(Hi - Lo + 1);

    T& operator[](long i) { return items_[slot(i)]; }
    const T& operator[](long i) const { return items_[slot(i)]; }
    T& operator()(long i) { return items_[slot(i)]; }
    const T& operator()(long i) const { return items_[slot(i)]; }

    static constexpr bool contains(long i) { return i >= Lo && i <= Hi; }
    void fill(const T& value) { items_.fill(value); }
    bool operator==(const IndexedArray&) const = default;

  private:
    static std::size_t slot(long i) {
        if (!contains(i)) throw IndexOutOfRange(i, Lo, Hi);
        return static_cast<std::size_t>(i - Lo);
    }
    std::array<T, size> items_{};
};

// A table indexed by string and lever position, e.g. cents(s, p).
template <typename T, int RowLo, int RowHi, int ColLo, int ColHi>
class IndexedTable {
  public:
    T& operator()(long row, long col) { return rows_[row][col]; }
    const T& operator()(long row, long col) const { return rows_[row][col]; }

    static constexpr bool contains(long row, long col) {
        return row >= RowLo && row <= RowHi && col >= ColLo && col <= ColHi;
    }

  private:
    IndexedArray<IndexedArray<T, ColLo, ColHi>, RowLo, RowHi> rows_{};
};

}  // namespace orvena
