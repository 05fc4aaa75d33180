// Start-up cost of the tuning import: the shipped workbook read into the instrument state
// with the frequency and sample-rate tables derived (target: 2 ms), against FreeXL alone
// opening the file and reading every cell of its used area.

#include <benchmark/benchmark.h>
#include <freexl.h>

#include <filesystem>

#include "tuning/tablo_oku.h"

namespace {

const std::filesystem::path kWorkbook =
    std::filesystem::path(ORVENA_SOURCE_DIR) / "data" / "dizek.xls";

void BM_ImportShippedWorkbook(benchmark::State& state) {
    orvena::InstrumentState st;
    for (auto _ : state) {
        auto failure = orvena::import_tuning(st, kWorkbook);
        if (failure) {
            state.SkipWithError(failure->reason.c_str());
            break;
        }
        benchmark::DoNotOptimize(st.derived.sample_rate(12, 0));
    }
}
BENCHMARK(BM_ImportShippedWorkbook)->Unit(benchmark::kMicrosecond);

void BM_FreeXlReadEveryCell(benchmark::State& state) {
    const std::string path = kWorkbook.string();
    for (auto _ : state) {
        const void* handle = nullptr;
        if (freexl_open(path.c_str(), &handle) != FREEXL_OK ||
            freexl_select_active_worksheet(handle, 0) != FREEXL_OK) {
            state.SkipWithError("cannot open the workbook");
            break;
        }
        unsigned int rows = 0;
        unsigned short columns = 0;
        freexl_worksheet_dimensions(handle, &rows, &columns);
        double sum = 0.0;
        for (unsigned int r = 0; r < rows; ++r) {
            for (unsigned short c = 0; c < columns; ++c) {
                FreeXL_CellValue v{};
                freexl_get_cell_value(handle, r, c, &v);
                if (v.type == FREEXL_CELL_DOUBLE) sum += v.value.double_value;
                if (v.type == FREEXL_CELL_INT) sum += v.value.int_value;
            }
        }
        benchmark::DoNotOptimize(sum);
        freexl_close(handle);
    }
}
BENCHMARK(BM_FreeXlReadEveryCell)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
