#include "presets/makam_format.h"

#include <fstream>
#include <sstream>

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

MakamReading read_makam_text(std::string text, const InstrumentState& st) {
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
        if (!value) return fail("the file ends before string " + std::to_string(s));
        std::int16_t position = 0;
        try {
            position = to_int16(*value);
        } catch (const NumberOverflow&) {
            return fail("the number does not fit 16 bits");
        }
        if (position < st.mandal_min[s] || position > st.mandal_max[s]) {
            return fail("position " + std::to_string(position) + " is outside the levers " +
                        std::to_string(st.mandal_min[s]) + ".." + std::to_string(st.mandal_max[s]));
        }
        reading.positions.push_back(position);
    }
    return reading;
}

MakamReading read_makam_file(const std::filesystem::path& file, const InstrumentState& st) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return {{}, MakamError{0, 0, "the file cannot be opened"}};
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) return {{}, MakamError{0, 0, "the file cannot be read"}};
    return read_makam_text(text.str(), st);
}

}  // namespace orvena
