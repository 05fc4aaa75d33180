// The values a new start leaves in the instrument, whatever the state held before.

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "tuning/start_values.h"

namespace orvena {
namespace {

std::vector<std::string> names(int count) {
    std::vector<std::string> list;
    for (int i = 1; i <= count; ++i) list.push_back("s" + std::to_string(i) + ".wav");
    return list;
}

// The name table holds 57 names; more are left out, never written past its end.
TEST(StartValues, SampleNamesFillTheTableUpToItsRoom) {
    const struct {
        int listed;
        int kept;
    } cases[] = {{0, 0}, {26, 26}, {27, 27}, {57, 57}, {58, 57}, {60, 57}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.listed);
        InstrumentState st;
        st.wav_file_count = 99;
        take_sample_names(st, names(c.listed));
        EXPECT_EQ(st.wav_file_count, c.kept);
        if (c.kept == 0) continue;
        EXPECT_EQ(std::pair(st.wav_files[0], st.wav_files[c.kept - 1]),
                  std::pair(std::string("s1.wav"), "s" + std::to_string(c.kept) + ".wav"));
    }
}

TEST(StartValues, ANewStartSelectsString12AtSupurdeWithNothingRunning) {
    InstrumentState st;
    st.recording = st.seq_playing = st.show_details = true;
    st.manual_levers = false;
    st.ahenk_index = 2;
    st.ahenk_shift = -3;
    st.cur_string = 27;
    st.last_string = 9;
    set_start_values(st, 40);
    EXPECT_EQ(std::tuple(st.cur_string, st.last_string, st.speed, st.ahenk_index, st.ahenk_shift,
                         st.manual_levers, st.recording, st.seq_playing, st.show_details),
              std::tuple(12, 1, 40, 5, 0, true, false, false, false));
}

TEST(StartValues, EveryLeverAndFineTuningGoesBackToZero) {
    InstrumentState st;
    for (int s = 1; s <= kStringCount; ++s) {
        st.mandal_pos[s] = 3;
        st.transposed_pos[s] = -2;
        st.akord_offset[s] = 7;
    }
    clear_levers(st);
    for (int s : {1, 12, 26}) {
        SCOPED_TRACE(s);
        EXPECT_EQ(std::tuple(st.mandal_pos[s], st.transposed_pos[s], st.akord_offset[s]),
                  std::tuple(0, 0, 0));
    }
}

}  // namespace
}  // namespace orvena
