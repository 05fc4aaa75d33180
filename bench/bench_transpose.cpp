// Cost of one transposition with the shipped workbook: the degree searches of the main pass,
// the octave copies, the fitting of the top strings and the red list on the key legend.

#include "qt_benchmark_main.h"

#include "display/views.h"
#include "playing/lever_controls.h"
#include "presets/transposition.h"
#include "tuning/tablo_oku.h"

namespace {

using namespace orvena;

struct SilentDialogs : Dialogs {
    using Dialogs::message;
    MessageAnswer message(const std::string&, MessageButtons) override { return MessageAnswer::Ok; }
};

struct NoViews : Views {
    void tel_çiz() override {}
    void mandal_at() override {}
    void porte() override {}
    void etiket() override {}
    void arıza_yaz(int) override {}
    void diyagonal_yaz() override {}
    void diyagonal_sil() override {}
    void mark_key(int, bool) override {}
};

// The window's controls reduced to their values; a new Option5 selection switches the setting.
struct Controls : AhenkControls {
    explicit Controls(InstrumentState& st) : st_(st) {}
    int Option1_selected() const override { return option1; }
    void Option1_select(int index) override { option1 = index; }
    int HScroll1_Value() const override { return 0; }
    void HScroll1_setValue(int) override {}
    void Text3_setText(const std::string&) override {}
    int Option5_selected() const override { return option5; }
    void Option5_select(int index) override {
        if (index == option5) return;
        option5 = index;
        Option5_Click(st_.settings, index);
    }
    int option1 = 5;
    int option5 = 1;

  private:
    InstrumentState& st_;
};

void BM_trans_calgi(benchmark::State& state) {
    InstrumentState st;
    set_lever_limits(st.build);
    if (import_tuning(st, std::filesystem::path(ORVENA_SOURCE_DIR) / "data" / "dizek.xls")) {
        state.SkipWithError("shipped workbook not readable");
        return;
    }
    st.settings.manual_levers = true;
    Surface Picture10(90, 396);
    SilentDialogs dialogs;
    NoViews views;
    Controls controls(st);
    PresetContext ctx{st, Picture10, dialogs, views, controls};
    const int level = static_cast<int>(state.range(0));
    for (auto _ : state) {
        trans_çalgı(ctx, level, 0);
        Picture10.clear_print_log();
        benchmark::ClobberMemory();
    }
}
// Every pitch level: they differ in how many strings they move and how far the searches run.
BENCHMARK(BM_trans_calgi)->DenseRange(1, 8)->Unit(benchmark::kMicrosecond);

}  // namespace

ORVENA_QT_BENCHMARK_MAIN();
