// config.ini: defaults, parsing, the key numbering of the file, names.
#include <cstring>
#include <string>

#include "harness.h"

namespace {

start_options read_text(const std::string &text)
{
    set_config_data(text.c_str(), static_cast<int>(text.size()));
    return read_config();
}

}  // namespace

TEST(Config, MissingFileGivesTheDefaults)
{
    start_options opts = read_text("");
    EXPECT_EQ(opts.bpp, 16);
    EXPECT_EQ(opts.driver, 0);
    EXPECT_STREQ(profiles[0].name, "Player 1");
    EXPECT_STREQ(profiles[1].name, "Player 2");

    EXPECT_TRUE(bindings_are(0, {KEY_UP, KEY_DOWN, KEY_LEFT, KEY_RIGHT, KEY_RCONTROL, KEY_RSHIFT, KEY_ENTER}));
    EXPECT_TRUE(bindings_are(1, {KEY_W, KEY_S, KEY_A, KEY_D, KEY_LCONTROL, KEY_LSHIFT, KEY_TAB}));
}

TEST(Config, ValuesAreReadAndModifiersTranslated)
{
    start_options opts = read_text(
        "bpp = 32\ndriver = 3\n"
        "pl1keyup = 23\npl1keyfire = 99\npl1keychange = 110\n"
        "pl2keyleft = 111\npl2keyspecial = 126\n"
        "plr1name = Ann\nplr2name = Bob\n");
    EXPECT_EQ(opts.bpp, 32);
    EXPECT_EQ(opts.driver, 3);
    EXPECT_EQ(profiles[0].keys[KEY_SLOT_UP], KEY_W);
    EXPECT_EQ(profiles[0].keys[KEY_SLOT_FIRE], KEY_LSHIFT);     // stored 99
    EXPECT_EQ(profiles[0].keys[KEY_SLOT_CHANGE], 126);              // Caps Lock
    EXPECT_EQ(profiles[1].keys[KEY_SLOT_LEFT], 99);                 // Allegro 4.4's KEY_AT
    EXPECT_EQ(profiles[1].keys[KEY_SLOT_SPECIAL], 114);
    EXPECT_EQ(profiles[1].keys[KEY_SLOT_DOWN], KEY_S);           // missing key: default
    EXPECT_STREQ(profiles[0].name, "Ann");
    EXPECT_STREQ(profiles[1].name, "Bob");
}

TEST(Config, WhoPlaysIsReadAndALevelTheGameDoesNotKnowIsAPerson)
{
    read_text("pl1cpu = 2\npl2cpu = 3\n");
    EXPECT_EQ(profiles[0].computer, 2);
    EXPECT_EQ(profiles[1].computer, 3);
    read_text("pl1cpu = 4\npl2cpu = -1\n");
    EXPECT_EQ(profiles[0].computer, 0);
    EXPECT_EQ(profiles[1].computer, 0);
    read_text("");
    EXPECT_EQ(profiles[0].computer, 0);
    EXPECT_EQ(profiles[1].computer, 0);
}

TEST(Config, LongNamesAreCutToElevenCharacters)
{
    read_text("plr1name = ABCDEFGHIJKLMNOPQ\nplr2name = exactly11ch\n");
    EXPECT_STREQ(profiles[0].name, "ABCDEFGHIJK");
    EXPECT_STREQ(profiles[1].name, "exactly11ch");
}

TEST(Config, KeyNumberingRoundTripsEveryValue)
{
    for (int stored = -5; stored < 300; stored++)
        EXPECT_EQ(key_to_config(key_from_config(stored)), stored) << stored;
    for (int index = 1; index < KEY_MAX; index++) {
        int stored = key_to_config(index);
        EXPECT_GE(stored, 1);
        EXPECT_LE(stored, 126);
        EXPECT_EQ(key_from_config(stored), index);
    }
    // The old file's letters, arrows and Esc keep their numbers.
    EXPECT_EQ(key_from_config(59), KEY_ESC);
    EXPECT_EQ(key_from_config(84), KEY_UP);
    EXPECT_EQ(key_from_config(98), 98);
    EXPECT_EQ(key_to_config(KEY_RCONTROL), 102);
    EXPECT_EQ(key_to_config(KEY_LSHIFT), 99);
}

TEST(Config, OutOfRangeBindingsAreKeptButNeverTouchKeyArray)
{
    read_text("pl1keyup = 500\npl1keydown = -3\n");
    EXPECT_EQ(profiles[0].keys[KEY_SLOT_UP], 500);
    EXPECT_EQ(profiles[0].keys[KEY_SLOT_DOWN], -3);
    EXPECT_FALSE(key_down(500));
    EXPECT_FALSE(key_down(-3));
    release_key(500);   // must not write past key[]
    release_key(-3);
}

TEST(Config, TheDriverSettingChoosesWindowOrFullScreen)
{
    // No setting lets Allegro choose; 2 asks for the full screen, 3 a window.
    EXPECT_EQ(driver_id(read_text("").driver), GFX_AUTODETECT);
    EXPECT_EQ(driver_id(read_text("driver = 2\n").driver), GFX_AUTODETECT_FULLSCREEN);
    EXPECT_EQ(driver_id(read_text("driver = 3\n").driver), GFX_AUTODETECT_WINDOWED);
}

TEST(Config, VolumeDefaultsToSeventyAndIsKeptWithinZeroToHundred)
{
    read_text("");
    EXPECT_EQ(sound_volume, 70);
    read_text("volume = 0\n");
    EXPECT_EQ(sound_volume, 0);
    read_text("volume = 35\n");
    EXPECT_EQ(sound_volume, 35);
    read_text("volume = 250\n");
    EXPECT_EQ(sound_volume, 100);
    read_text("volume = -3\n");
    EXPECT_EQ(sound_volume, 0);
    read_text("");
}
