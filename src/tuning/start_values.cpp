#include "tuning/start_values.h"

#include <algorithm>

namespace orvena {

std::optional<std::string> sample_count_warning(int listed) {
    if (listed == kExpectedSampleFiles) return std::nullopt;
    return "ses dosyaları sayısı uygun değil, program düzgün çalışmayabilir\r\n"
           "kapatıp  dosya sayınızı kontrol edin    " +
           std::to_string(listed);
}

void clear_levers(InstrumentSettings& settings) {
    for (int s = 1; s <= kStringCount; ++s) {
        settings.mandal_pos[s] = 0;
        settings.transposed_pos[s] = 0;
        settings.akord_offset[s] = 0;
    }
}

void take_sample_names(InstrumentBuild& build, const std::vector<std::string>& names) {
    build.wav_file_count = std::min(static_cast<int>(names.size()), kWavFileSlots);
    for (int i = 0; i < build.wav_file_count; ++i)
        build.wav_files[i] = names[static_cast<std::size_t>(i)];
}

void set_start_values(InstrumentState& st, std::int16_t speed) {
    st.transport.recording = false;
    st.transport.seq_playing = false;
    st.settings.ahenk_index = 5;
    st.selection.show_details = false;
    st.settings.ahenk_shift = 0;
    st.transport.speed = speed;
    st.settings.manual_levers = true;
    st.selection.cur_string = 12;
    st.selection.last_string = 1;
}

}  // namespace orvena
