#include <gtest/gtest.h>

#include "playing/keyboard.h"
#include "playing/recording_views.h"

namespace orvena {
namespace {

using test::SoundCall;

// An instrument after start-up, with handlers whose sound, views and messages are recorded.
struct Keys : test::RecordedPlay {
    Keys() {
        set_lever_limits(st);
        set_names(st);
        for (int s = 0; s <= kStringCount; ++s) st.wav_files[s] = "wav" + std::to_string(s);
        st.manual_levers = true;
        st.cur_string = 12;
        st.last_string = 1;
    }
    void down(int key, bool repeat = false) { Form_KeyDown(ctx, key, repeat); }
    void up(int key, bool repeat = false) { Form_KeyUp(ctx, key, repeat); }
};

using test::Calls;

TEST(LetterKeys, MapTheKeyboardRowsOntoTheStrings) {
    EXPECT_EQ(string_of_key('Q'), 1);
    EXPECT_EQ(string_of_key('P'), 10);
    EXPECT_EQ(string_of_key('A'), 11);
    EXPECT_EQ(string_of_key('L'), 19);
    EXPECT_EQ(string_of_key('Z'), 20);
    EXPECT_EQ(string_of_key('M'), 26);
    EXPECT_EQ(string_of_key('1'), 0);
    EXPECT_EQ(string_of_key(16), 0);  // Shift
    EXPECT_EQ(string_of_key(96), 0);  // number pad 0
}

TEST(LetterKeys, TwoHeldKeysSoundTogetherAndReleaseSeparately) {
    Keys k;
    k.down('Q');
    k.down('S');
    EXPECT_EQ(k.st.cur_string, 12);
    EXPECT_EQ(k.st.last_string, 12);
    k.up('Q');
    EXPECT_EQ(k.st.cur_string, 1);  // a release selects its string
    EXPECT_EQ(k.sound.calls, (std::vector<SoundCall>{SoundCall::alias_on("wav1", "E6"),
                                                     SoundCall::alias_on("wav12", "A4"),
                                                     SoundCall::alias_off("E6")}));
    EXPECT_EQ(k.views.calls, (Calls{"key down 1", "key down 12", "key up 1"}));
}

TEST(LetterKeys, AutoRepeatNeitherRestartsNorStopsTheNote) {
    Keys k;
    k.down('J');
    k.down('J', true);
    k.up('J', true);  // some systems send releases while the key repeats
    k.down('J', true);
    // Repeated key-downs ask for the alias again (the sound module refuses to reopen it);
    // nothing stops it until the real release.
    for (const auto& call : k.sound.calls) EXPECT_EQ(call.kind, SoundCall::Kind::play_note_alias);
    k.up('J');
    EXPECT_EQ(k.sound.calls.back(), SoundCall::alias_off("C4"));
    EXPECT_EQ(k.views.calls.back(), "key up 17");
}

TEST(LetterKeys, TypingInTheMakamNameBoxPlaysNothingButReleasesStillShow) {
    Keys k;
    k.st.text1_has_focus = true;
    k.down('D');
    EXPECT_TRUE(k.sound.calls.empty());
    EXPECT_TRUE(k.views.calls.empty());
    k.up('D');
    EXPECT_EQ(k.st.cur_string, 13);
    EXPECT_EQ(k.sound.calls, (std::vector<SoundCall>{SoundCall::alias_off("G4")}));
    EXPECT_EQ(k.views.calls, (Calls{"key up 13"}));
}

TEST(Keys, EveryKeyIsIgnoredWhileRecordingOrPlayingASequence) {
    for (int gate = 0; gate < 2; ++gate) {
        Keys k;
        (gate == 0 ? k.st.recording : k.st.seq_playing) = true;
        for (int key :
             {int('Q'), int('M'), int(kKeyUp), int(kKeyDown), int(kKeyLeft), int(kKeyRight)}) {
            k.down(key);
            k.up(key);
        }
        EXPECT_TRUE(k.sound.calls.empty());
        EXPECT_TRUE(k.views.calls.empty());
        EXPECT_EQ(k.st.cur_string, 12);
        EXPECT_EQ(k.st.mandal_pos[12], 0);
    }
}

TEST(Keys, OtherKeysDoNothing) {
    Keys k;
    for (int key : {16, 17, 18, 48, 57, 96, 105, 112, 13, 32, 27}) {
        k.down(key);
        k.up(key);
    }
    EXPECT_TRUE(k.sound.calls.empty());
    EXPECT_TRUE(k.views.calls.empty());
    EXPECT_TRUE(k.dialogs.shown().empty());
}

TEST(ArrowKeys, UpAndDownWalkTheStringsAndPluck) {
    Keys k;
    k.st.cur_string = 0;
    k.st.mandal_pos[11] = -2;
    k.down(kKeyUp);
    EXPECT_EQ(k.st.cur_string, 11);
    EXPECT_EQ(k.st.last_string, 11);
    EXPECT_EQ(k.sound.calls, (std::vector<SoundCall>{SoundCall::tuned(11, -2)}));
    EXPECT_EQ(k.views.calls, (Calls{"tel_çiz", "mandal_at", "porte", "etiket"}));

    k.st.cur_string = 0;
    k.forget();
    k.down(kKeyDown);
    EXPECT_EQ(k.st.cur_string, 13);
}

TEST(ArrowKeys, TheOuterStringsStayButSoundAgain) {
    Keys k;
    k.st.cur_string = 1;
    k.down(kKeyUp);
    EXPECT_EQ(k.st.cur_string, 1);
    k.st.cur_string = 26;
    k.down(kKeyDown);
    EXPECT_EQ(k.st.cur_string, 26);
    EXPECT_EQ(k.sound.calls,
              (std::vector<SoundCall>{SoundCall::tuned(1, 0), SoundCall::tuned(26, 0)}));
}

TEST(ArrowKeys, RightAndLeftStepTheSelectedLeverWithSound) {
    Keys k;
    k.down(kKeyRight);
    k.down(kKeyRight);
    k.down(kKeyLeft);
    EXPECT_EQ(k.st.mandal_pos[12], 1);
    EXPECT_EQ(k.sound.calls,
              (std::vector<SoundCall>{SoundCall::tuned(12, 1), SoundCall::tuned(12, 2),
                                      SoundCall::tuned(12, 1)}));
    EXPECT_EQ(k.views.calls.size(), 12u);
    EXPECT_EQ(k.views.calls[0], "mandal_at");
    EXPECT_EQ(k.views.calls[3], "arıza_yaz 12");
}

TEST(ArrowKeys, LeversStopSilentlyAtTheirLimits) {
    Keys k;
    k.st.cur_string = 1;
    k.st.mandal_pos[1] = -5;
    k.down(kKeyLeft);
    k.st.mandal_pos[1] = 6;
    k.down(kKeyRight);
    EXPECT_EQ(k.st.mandal_pos[1], 6);
    EXPECT_TRUE(k.sound.calls.empty());
    EXPECT_TRUE(k.views.calls.empty());
    EXPECT_TRUE(k.dialogs.shown().empty());
}

TEST(ArrowKeys, String26PassesItsMissingLeversSilently) {
    Keys k;
    k.st.cur_string = 26;
    k.st.mandal_pos[26] = 8;
    for (int expected = 9; expected <= 11; ++expected) {
        k.down(kKeyRight);
        EXPECT_EQ(k.st.mandal_pos[26], expected);
    }
    EXPECT_TRUE(k.sound.calls.empty());
    EXPECT_TRUE(k.views.calls.empty());
    k.down(kKeyRight);
    EXPECT_EQ(k.sound.calls, (std::vector<SoundCall>{SoundCall::tuned(26, 12)}));
    EXPECT_EQ(k.views.calls, (Calls{"mandal_at", "porte", "etiket", "arıza_yaz 26"}));
}

TEST(ArrowKeys, LeverStepsNeedASelectedStringAndTheUsersSetting) {
    Keys k;
    k.st.cur_string = 0;
    k.down(kKeyRight);
    EXPECT_EQ(k.dialogs.texts(), (std::vector<std::string>{"bir perde seçin"}));
    EXPECT_TRUE(k.sound.calls.empty());

    Keys transposed;
    transposed.st.manual_levers = false;
    transposed.st.cur_string = 0;
    transposed.down(kKeyRight);
    transposed.st.cur_string = 5;
    transposed.down(kKeyLeft);
    EXPECT_TRUE(transposed.dialogs.shown().empty());
    EXPECT_TRUE(transposed.sound.calls.empty());
    EXPECT_EQ(transposed.st.mandal_pos[5], 0);
    // Letters and Up/Down still play.
    transposed.down('T');
    transposed.down(kKeyDown);
    EXPECT_EQ(transposed.sound.calls.size(), 2u);
}

}  // namespace
}  // namespace orvena
