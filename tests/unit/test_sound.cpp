// Sound: which moments of the game start which effect, how loud and where,
// the mixing headroom, and the synthesizer behind sound.dat.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "match_fixture.h"
#include "scratch_dir.h"
#include "synth.h"

namespace {

struct start {
    int effect, vol, pan;
};
std::vector<start> started;

void record(int effect, int vol, int pan)
{
    started.push_back({effect, vol, pan});
}

std::vector<start> starts_of(int effect)
{
    std::vector<start> out;
    for (const start &s : started)
        if (s.effect == effect)
            out.push_back(s);
    return out;
}

// Sets up the seam: every start is recorded instead of played.
class Sound : public MatchTest {
protected:
    void SetUp() override
    {
        MatchTest::SetUp();
        saved_output = sound_output;
        sound_output = record;
        sound_volume = DEFAULT_VOLUME;
        clear_sounds();
        started.clear();
    }
    void TearDown() override
    {
        sound_output = saved_output;
        sound_volume = DEFAULT_VOLUME;
    }

    // Ticks, then what the match loop plays after them.
    static void ticks_heard(int n)
    {
        ticks(n);
        play_sounds();
    }
    // Each tick heard on its own, as an unpaced loop mostly runs them.
    static void ticks_one_by_one(int n)
    {
        for (int i = 0; i < n; i++)
            ticks_heard(1);
    }

    // A shot fired as a tick fires it, its sound handed on as the loop does.
    static void drop(int p, int col, int row, int type)
    {
        players[p].facing = FACING_RIGHT;
        spawn_bomb(col, row, type, p);
        note_sounds(live_match.sounds.effects);
        live_match.sounds = tick_sounds{};
    }

    void (*saved_output)(int, int, int) = nullptr;
};

int centre_x(int col) { return cell_x(col) + CELL_SIZE / 2; }

}  // namespace

TEST_F(Sound, TheTickOnlyRecordsNothingStartsUntilPlayed)
{
    hold(profiles[0].keys[KEY_SLOT_FIRE]);
    ticks(60);
    EXPECT_TRUE(started.empty());
    play_sounds();
    EXPECT_EQ(starts_of(SOUND_BOMB_DROPPED).size(), 1u);
    EXPECT_EQ(starts_of(SOUND_SMALL_BLAST).size(), 1u);
    started.clear();
    play_sounds();   // played once, then forgotten
    EXPECT_TRUE(started.empty());
}

TEST_F(Sound, EachWeaponSoundsWhenFiredAndWhenItGoesOff)
{
    drop(0, 10, 10, WEAPON_BOMB);
    drop(1, 40, 10, WEAPON_BIG_BOMB);
    drop(0, 20, 20, WEAPON_MISSILE);
    play_sounds();
    ASSERT_EQ(started.size(), 2u);   // the two drops are one louder start
    EXPECT_EQ(starts_of(SOUND_BOMB_DROPPED).size(), 1u);
    EXPECT_EQ(starts_of(SOUND_MISSILE_LAUNCH).size(), 1u);

    started.clear();
    ticks_one_by_one(100);
    // The missile runs out of flight after 20 ticks, the small bomb after 50,
    // the big one after 100; each sounds once.
    ASSERT_EQ(started.size(), 3u);
    EXPECT_EQ(started[0].effect, SOUND_MISSILE_HIT);
    EXPECT_EQ(started[1].effect, SOUND_SMALL_BLAST);
    EXPECT_EQ(started[2].effect, SOUND_BIG_BLAST);
}

TEST_F(Sound, PanFollowsWhereTheEventHappened)
{
    drop(0, 0, 5, WEAPON_BOMB);
    play_sounds();
    drop(0, 26, 5, WEAPON_BOMB);
    play_sounds();
    drop(0, 52, 5, WEAPON_BOMB);
    play_sounds();
    ASSERT_EQ(started.size(), 3u);
    EXPECT_EQ(started[0].pan, mix_sound(1, centre_x(0), DEFAULT_VOLUME).pan);
    EXPECT_LT(started[0].pan, 60);
    EXPECT_NEAR(started[1].pan, 128, 2);
    EXPECT_GT(started[2].pan, 196);
    // A missile's hit sounds where its blast is, one cell short of the wall.
    started.clear();
    board[30][5] = 1;
    drop(1, 20, 5, WEAPON_MISSILE);
    ticks_one_by_one(12);
    ASSERT_EQ(starts_of(SOUND_MISSILE_HIT).size(), 1u);
    EXPECT_EQ(starts_of(SOUND_MISSILE_HIT)[0].pan, mix_sound(1, centre_x(29), DEFAULT_VOLUME).pan);
}

TEST_F(Sound, AChainOfBlastsIsOneLouderStartPannedToItsMiddle)
{
    for (int i = 0; i < 10; i++)
        bombs[i] = bomb{1, WEAPON_BOMB, 10 + i, 10, 0, 0, 1, 0, 0.0};
    explosions[0] = explosion{1, 10, 10, 16, 0.0};   // sets off the first
    ticks_heard(1);
    auto blasts = starts_of(SOUND_SMALL_BLAST);
    ASSERT_EQ(blasts.size(), 1u);
    sound_mix one = mix_sound(1, 0, DEFAULT_VOLUME);
    EXPECT_GT(blasts[0].vol, one.vol);
    EXPECT_EQ(blasts[0].pan, mix_sound(10, (centre_x(10) + centre_x(19)) / 2, DEFAULT_VOLUME).pan);
}

TEST_F(Sound, ChangingWeaponSoundsOncePerPress)
{
    hold(profiles[1].keys[KEY_SLOT_CHANGE]);
    ticks_one_by_one(5);   // the tick takes the press
    ASSERT_EQ(starts_of(SOUND_WEAPON_CHANGED).size(), 1u);
    EXPECT_GT(starts_of(SOUND_WEAPON_CHANGED)[0].pan, 196);   // player 2, bottom right
}

TEST_F(Sound, AHitSoundsAtMostEveryEightTicksPerPlayer)
{
    // Player 1 stands in a long-lived blast and is hit on every tick.
    explosions[0] = explosion{1, 0, 0, 1000, 0.0};
    std::vector<int> heard_at;
    for (int t = 0; t < 40; t++) {
        ticks_heard(1);
        if (!starts_of(SOUND_PLAYER_HIT).empty())
            heard_at.push_back(t);
        started.clear();
    }
    EXPECT_EQ(players[0].energy, START_ENERGY - 40);
    EXPECT_EQ(heard_at, (std::vector<int>{0, 8, 16, 24, 32}));
}

TEST_F(Sound, OnePlayersHitsDoNotHoldBackTheOthers)
{
    explosions[0] = explosion{1, 0, 0, 1000, 0.0};
    ticks_heard(3);
    started.clear();
    explosions[1] = explosion{1, LEVEL_COLUMNS - 1, LEVEL_ROWS - 1, 1000, 0.0};
    ticks_heard(1);
    auto hits = starts_of(SOUND_PLAYER_HIT);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_GT(hits[0].pan, 196);   // player 2's, at once
}

TEST_F(Sound, AWreckSoundsOnceAndIsThenQuiet)
{
    players[0].energy = 3;
    explosions[0] = explosion{1, 0, 0, 1000, 0.0};
    explosions[1] = explosion{1, 0, 0, 1000, 0.0};   // two: 2 energy a tick
    ticks_heard(1);
    EXPECT_EQ(starts_of(SOUND_PLAYER_HIT).size(), 1u);
    started.clear();
    ticks_heard(1);   // 1 -> -1: wrecked
    EXPECT_EQ(starts_of(SOUND_PLAYER_WRECKED).size(), 1u);
    EXPECT_TRUE(starts_of(SOUND_PLAYER_HIT).empty());
    started.clear();
    ticks_one_by_one(30);
    EXPECT_TRUE(started.empty()) << "a wreck still hit makes no sound";
}

TEST_F(Sound, ANewMatchForgetsWhatWasPending)
{
    explosions[0] = explosion{1, 0, 0, 1000, 0.0};
    ticks(1);   // a hit recorded, not yet played, and the throttle running
    start_match();
    play_sounds();
    EXPECT_TRUE(started.empty());
    explosions[0] = explosion{1, 0, 0, 1000, 0.0};
    ticks_heard(1);
    EXPECT_EQ(starts_of(SOUND_PLAYER_HIT).size(), 1u);
}

TEST_F(Sound, EffectsPiledUpByTicksNobodyPlayedStillStartOnceWhereTheyWere)
{
    for (int i = 0; i < 4000000; i++)   // far past what an int sum of x can hold
        note_sound(SOUND_SMALL_BLAST, SCREEN_WIDTH - 1);
    play_sounds();
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].pan, SOUND_PAN_MAX);
}

TEST_F(Sound, VolumeZeroStartsNothing)
{
    sound_volume = 0;
    hold(profiles[0].keys[KEY_SLOT_FIRE]);
    ticks_one_by_one(60);
    EXPECT_TRUE(started.empty());
}

TEST_F(Sound, MenusSoundAMoveOnlyWhenTheHighlightMovesAndAChoice)
{
    key[KEY_UP] = 1;   // already at the top
    menu_turn();
    EXPECT_TRUE(started.empty());
    key[KEY_DOWN] = 1;
    menu_turn();
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].effect, SOUND_MENU_MOVE);
    EXPECT_EQ(started[0].pan, mix_sound(1, SOUND_CENTRE_X, DEFAULT_VOLUME).pan);
    started.clear();
    key[KEY_ENTER] = 1;   // Options
    menu_turn();
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].effect, SOUND_MENU_CHOOSE);
    menu_choice = 0;
}

TEST_F(Sound, ASaveSoundsWhetherItWasDoneOrFailed)
{
    scratch_dir dir;
    testing::internal::CaptureStderr();
    std::filesystem::create_directories("levels/TAKEN");   // a directory where the file would go
    EXPECT_EQ(save_level("TAKEN"), SAVE_FAILED);
    EXPECT_EQ(save_level("FRESH"), SAVE_DONE);
    testing::internal::GetCapturedStderr();
    ASSERT_EQ(started.size(), 2u);
    EXPECT_EQ(started[0].effect, SOUND_SAVE_FAILED);
    EXPECT_EQ(started[1].effect, SOUND_LEVEL_SAVED);
}

TEST(SoundMix, LouderForACrowdButNeverPastFullScaleOrTheVolume)
{
    EXPECT_EQ(mix_sound(1, 320, 100).vol, 255);
    EXPECT_EQ(mix_sound(1, 320, 70).vol, 70 * 255 / 100);
    EXPECT_EQ(mix_sound(1, 320, 0).vol, 0);
    EXPECT_EQ(mix_sound(9, 320, 0).vol, 0);
    int last = 0;
    for (int n = 1; n <= 5; n++) {
        int vol = mix_sound(n, 320, 40).vol;
        EXPECT_GT(vol, last) << n << " together";
        last = vol;
    }
    EXPECT_EQ(mix_sound(100, 320, 40).vol, last);        // at most twice as loud
    EXPECT_EQ(mix_sound(100, 320, 40).vol, 2 * mix_sound(1, 320, 40).vol);
    EXPECT_EQ(mix_sound(100, 320, 100).vol, 255);
}

TEST(SoundMix, PanStaysWithinItsRangeForAnyX)
{
    EXPECT_EQ(mix_sound(1, -500, 70).pan, SOUND_PAN_MIN);    // a missile off the board
    EXPECT_EQ(mix_sound(1, 0, 70).pan, SOUND_PAN_MIN);
    EXPECT_EQ(mix_sound(1, 639, 70).pan, SOUND_PAN_MAX);
    EXPECT_EQ(mix_sound(1, 5000, 70).pan, SOUND_PAN_MAX);
    EXPECT_NEAR(mix_sound(1, SOUND_CENTRE_X, 70).pan, 128, 1);
}

namespace {
double seconds(const std::vector<int16_t> &w) { return double(w.size()) / synth::RATE; }
int peak(const std::vector<int16_t> &w)
{
    int p = 0;
    for (int16_t s : w)
        p = std::max(p, std::abs(int(s)));
    return p;
}
// Sign changes per second: a rough pitch, lower for a deeper sound.
double crossings(const std::vector<int16_t> &w)
{
    int n = 0;
    for (size_t i = 1; i < w.size(); i++)
        n += (w[i - 1] < 0) != (w[i] < 0);
    return n / seconds(w);
}
double dbfs(double level) { return 20.0 * std::log10(level / 32768.0); }
// The frequency a sine of the same slope-to-level ratio would have: where
// the sound's energy lies, lower for a deeper sound.
double typical_frequency(const std::vector<int16_t> &w)
{
    double level = 0, slope = 0;
    for (size_t i = 1; i < w.size(); i++) {
        level += double(w[i]) * w[i];
        slope += double(w[i] - w[i - 1]) * (w[i] - w[i - 1]);
    }
    return std::sqrt(slope / level) * synth::RATE / 6.283185307179586;
}
int loudest_peak()
{
    int p = 0;
    for (int n = 0; n < SOUND_COUNT; n++)
        p = std::max(p, peak(synth::effect(n)));
    return p;
}
}  // namespace

// Allegro gives a voice at full volume 2^-scale of full scale when centred
// and twice the pan's share of that on the louder side.
TEST(SoundMix, EveryVoiceAtItsPeakOnOneSideStillDoesNotClip)
{
    double per_voice = 2.0 * SOUND_PAN_MAX / 255.0 * std::ldexp(1.0, -SOUND_VOICE_SCALE);
    EXPECT_LE(SOUND_VOICES * per_voice * loudest_peak() / 32767.0, 1.0);
    EXPECT_GE(255 - SOUND_PAN_MAX, SOUND_PAN_MIN);   // left no louder than right
}

TEST(Synth, SameEffectSameSamples)
{
    for (int n = 0; n < SOUND_COUNT; n++)
        EXPECT_EQ(synth::effect(n), synth::effect(n)) << "effect " << n;
}

TEST(Synth, SoundDatHoldsTheSynthesizedEffectsInOrder)
{
    DATAFILE *sounds = load_datafile(BLAST_BUILD_DIR "/sound.dat");
    ASSERT_NE(sounds, nullptr) << "sound.dat not built";
    for (int n = 0; n < SOUND_COUNT; n++) {
        ASSERT_EQ(sounds[n].type, DAT_SAMPLE) << "object " << n;
        const SAMPLE *s = static_cast<const SAMPLE *>(sounds[n].dat);
        std::vector<int16_t> want = synth::effect(n);
        ASSERT_EQ(s->bits, 16);
        ASSERT_EQ(s->stereo, 0);
        ASSERT_EQ(s->freq, synth::RATE);
        ASSERT_EQ(s->len, want.size()) << "effect " << n;
        // Allegro keeps 16-bit samples unsigned.
        const uint16_t *data = static_cast<const uint16_t *>(s->data);
        int differ = 0;
        for (size_t i = 0; i < want.size(); i++)
            differ += (data[i] ^ 0x8000) != static_cast<uint16_t>(want[i]);
        EXPECT_EQ(differ, 0) << "effect " << n;
    }
    EXPECT_EQ(sounds[SOUND_COUNT].type, DAT_END);
    unload_datafile(sounds);
}


TEST(Synth, EveryEffectPeaksBetweenMinus12AndMinus6DbfsAndIsShort)
{
    for (int n = 0; n < SOUND_COUNT; n++) {
        std::vector<int16_t> w = synth::effect(n);
        EXPECT_GE(dbfs(peak(w)), -12.0) << "effect " << n;
        EXPECT_LE(dbfs(peak(w)), -6.0) << "effect " << n;
        EXPECT_GT(seconds(w), 0.03) << "effect " << n;
        EXPECT_LT(seconds(w), 1.5) << "effect " << n;
        EXPECT_LT(std::abs(int(w.back())), 400) << "effect " << n << " ends on a click";
    }
}

TEST(Synth, TheBigBlastIsTheLoudestAndDeepestAndLongerThanTheSmall)
{
    std::vector<int16_t> small = synth::effect(SOUND_SMALL_BLAST);
    std::vector<int16_t> big = synth::effect(SOUND_BIG_BLAST);
    EXPECT_GT(seconds(big), 1.5 * seconds(small));
    EXPECT_LT(crossings(big), crossings(small));
    for (int n = 0; n < SOUND_COUNT; n++) {
        if (n == SOUND_BIG_BLAST)
            continue;
        std::vector<int16_t> w = synth::effect(n);
        EXPECT_GT(peak(big), peak(w)) << "effect " << n;
        EXPECT_LT(typical_frequency(big), typical_frequency(w)) << "effect " << n;
    }
}
