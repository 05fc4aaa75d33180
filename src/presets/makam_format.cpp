#include "presets/makam_format.h"

#include "files/user_file.h"

#include "tuning/number_format.h"
#include "tuning/rounding.h"

namespace orvena {

std::string makam_text(const PerString<std::int16_t>& mandal_pos) {
    std::string text;
    for (int s = 1; s <= kStringCount; ++s) {
        text += print_form(mandal_pos[s]);
        text += kLineEnd;
    }
    return text;
}

MakamReading read_makam_text(std::string text, const InstrumentBuild& build) {
    MakamReading reading;
    NumberTextReader reader(std::move(text));
    for (int s = 1; s <= kStringCount; ++s) {
        auto fail = [&](std::string reason) {
            reading.error = MakamError{s, reader.line(), std::move(reason)};
            return reading;
        };
        std::optional<double> value;
        try {
            value = reader.next();
        } catch (const NumberFileError& e) {
            reading.error = MakamError{s, e.line(), e.what()};
            return reading;
        }
        if (!value) return fail("dosya bitti; tel " + std::to_string(s) + " için sayı yok");
        std::int16_t position = 0;
        try {
            position = to_int16(*value);
        } catch (const NumberOverflow&) {
            return fail("sayı 16 bite sığmıyor");
        }
        if (position < build.mandal_min[s] || position > build.mandal_max[s]) {
            return fail("konum " + std::to_string(position) + ", tel " + std::to_string(s) +
                        " mandallarının (" + std::to_string(build.mandal_min[s]) + ".." +
                        std::to_string(build.mandal_max[s]) + ") dışında");
        }
        reading.positions.push_back(position);
    }
    return reading;
}

MakamReading read_makam_file(const std::filesystem::path& file, const InstrumentState& st) {
    UserFileRead read = read_user_file(file, kMaxTextFileBytes);
    if (read.problem) return {{}, MakamError{0, 0, *read.problem}};
    return read_makam_text(std::move(read.bytes), st.build);
}

}  // namespace orvena
