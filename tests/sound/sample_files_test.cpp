// Sample files the program cannot use as it would like: read-only files, a header whose
// rate field holds 0, a sample far too large to decode. Each still plays what it can, tells
// the user once, and never takes the program down.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "sound/sound_module.h"
#include "sound_fixture.h"
#include "support/pitch.h"

namespace orvena::test {
namespace {

using ::testing::HasSubstr;

class SampleFilesTest : public ModuleTest {
  protected:
    double pitch_now(SoundModule& m) {
        return measure_fundamental(left_part(render(m.mixer(), 0.9), 0.05, 0.8), kDeviceRate);
    }
    std::string file_of(int s) { return read_file_bytes(dir / st.wav_files[s]); }
};

TEST_F(SampleFilesTest, ReadOnlySamplesStillSoundTheirPitchAndWarnOnce) {
    auto m = make_module();
    // Root writes whatever the permissions say, so the read-only folder is stood in for.
    m->set_rate_writer(
        [](const std::filesystem::path&, std::int32_t) { return RatePatch::write_failed; });
    const std::string before = file_of(12);
    for (auto [s, p] : {std::pair{12, 3}, {26, -2}, {1, 6}, {12, 3}}) {
        m->play_tuned_sample(s, p);
        EXPECT_NEAR(cents_between(pitch_now(*m), st.freq(s, p)), 0.0, 0.5) << s << " " << p;
    }
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_THAT(warnings[0], HasSubstr("yazılamıyor"));
    EXPECT_EQ(file_of(12), before);
    // The letter key of string 12 sounds its lever from memory too.
    m->stop_plucked();
    m->play_note_alias(12, -2, st.note_names[12]);
    EXPECT_NEAR(cents_between(pitch_now(*m), st.freq(12, -2)), 0.0, 0.5);
    EXPECT_EQ(warnings.size(), 1u);
}

TEST_F(SampleFilesTest, AHeaderHoldingRateZeroPlaysAndIsRepaired) {
    st.mandal_pos[17] = 2;
    for (bool letter_key : {false, true}) {
        SCOPED_TRACE(letter_key ? "letter key" : "tuned pluck");
        for (int s : {12, 17}) {
            std::string bytes = file_of(s);
            bytes.replace(24, 8, std::string(8, '\0'));
            write_file_bytes(dir / st.wav_files[s], bytes);
        }
        auto m = make_module();
        for (int s : {12, 17}) {
            const int p = st.mandal_pos[s];
            if (letter_key) {
                m->play_note_alias(s, p, st.note_names[s]);
            } else {
                m->play_tuned_sample(s, p);
            }
            EXPECT_NEAR(cents_between(pitch_now(*m), st.freq(s, p)), 0.0, 0.5) << s;
            m->stop_note_alias(st.note_names[s]);
            const std::string repaired = file_of(s);
            EXPECT_EQ(le32_at(repaired, 24), static_cast<std::uint32_t>(st.sample_rate(s, p)));
            EXPECT_EQ(le32_at(repaired, 28), static_cast<std::uint32_t>(2 * st.sample_rate(s, p)));
        }
        EXPECT_TRUE(warnings.empty());
    }
}

TEST_F(SampleFilesTest, AHugeSampleIsRefusedWithOneWarningAndTheRestPlay) {
    // A valid header in front of 33 MiB of silence.
    const auto huge = dir / st.wav_files[12];
    std::string bytes = make_wav({});
    const std::uintmax_t size = kMaxSampleFileBytes + (1u << 20);
    bytes.replace(4, 4, "\xF8\xFF\x0F\x02", 4);  // the RIFF size of the file below
    write_file_bytes(huge, bytes);
    std::filesystem::resize_file(huge, size);

    auto m = make_module();  // decodes every sample, the huge one among them
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_THAT(warnings[0], HasSubstr(st.wav_files[12] + " ses dosyası çok büyük (en çok 32 MB"));
    EXPECT_NO_THROW(m->play_tuned_sample(12, 0));
    EXPECT_EQ(pitch_now(*m), 0.0);
    m->play_note_alias(12, 0, st.note_names[12]);
    m->play_tuned_sample(13, 0);
    EXPECT_NEAR(cents_between(pitch_now(*m), st.freq(13, 0)), 0.0, 0.5);
    EXPECT_EQ(warnings.size(), 1u);
    EXPECT_EQ(std::filesystem::file_size(huge), size);
}

}  // namespace
}  // namespace orvena::test
