// The match as data: the tick as a pure function of the state and two words,
// snapshots, and replays that record a match and play it back to the same
// state, or say where and why they cannot.
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "match_fixture.h"
#include "replay.h"

namespace {

// Words that walk, fire and change at random, the same every run.
struct word_stream {
    uint64_t state;
    control_word next()
    {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        control_word w = control_word((state >> 33) & (CONTROL_ALL & ~CONTROL_LEAVE));
        // Change as a press now and then, not on every other tick.
        if ((state >> 50) % 16)
            w &= ~CONTROL_CHANGE;
        return w;
    }
};

// A board with walls to walk into and an animated tile.
void walled_board(int32_t (&b)[LEVEL_COLUMNS][LEVEL_ROWS])
{
    for (int c = 0; c < LEVEL_COLUMNS; c++)
        for (int r = 0; r < LEVEL_ROWS; r++)
            b[c][r] = (c % 7 == 3 && r % 5 == 2) ? 1 : (c == 10 ? ANIMATED_TILE : 0);
    b[0][0] = b[LEVEL_COLUMNS - 1][LEVEL_ROWS - 1] = 0;
}

class Replay : public MatchTest {
protected:
    // Records n ticks of random play through the loop's own tick, as a match
    // is recorded, and returns the file's bytes.
    static std::vector<uint8_t> record_match(int n, uint64_t seed)
    {
        walled_board(::board);
        start_match();
        word_stream words{seed};
        control_word w[2];
        for (int t = 0; t < n; t++) {
            w[0] = words.next();
            w[1] = words.next();
            match_sources[0] = {[](const match_state &, int, void *c) {
                                    return static_cast<control_word *>(c)[0];
                                }, w, false};
            match_sources[1] = {[](const match_state &, int, void *c) {
                                    return static_cast<control_word *>(c)[1];
                                }, w, false};
            run_one_tick();
        }
        std::vector<uint8_t> bytes;
        EXPECT_TRUE(recording_bytes(live_match, bytes));
        return bytes;
    }

    static const char *read(const std::vector<uint8_t> &bytes, replay_view &view)
    {
        return read_replay(bytes.data(), bytes.size(), view);
    }

    // Puts a new header checksum on a header a test changed, so the reader
    // gets past it to what the test is about.
    static void reseal(std::vector<uint8_t> &bytes);

    static inline replay_view view;
};

}  // namespace

#define XXH_INLINE_ALL
#include <xxhash.h>

void Replay::reseal(std::vector<uint8_t> &bytes)
{
    uint64_t sum = XXH64(bytes.data(), 7288, 0);
    for (int i = 0; i < 8; i++)
        bytes[7288 + i] = uint8_t(sum >> (8 * i));
}

// ---- the tick is a function of the state and the words -----------------------

TEST_F(Replay, FromOneSnapshotTheSameWordsGiveTheSameStateAndOthersDoNot)
{
    walled_board(board);
    word_stream words{7};
    for (int t = 0; t < 300; t++)
        ticks_with(1, words.next(), words.next());
    const match_state snapshot = live_match;

    auto run = [&](uint64_t seed) {
        live_match = snapshot;
        word_stream w{seed};
        for (int t = 0; t < 200; t++)
            ticks_with(1, w.next(), w.next());
        return match_hash(live_match);
    };
    const uint64_t first = run(99);
    EXPECT_EQ(run(99), first);
    EXPECT_NE(run(100), first);

    // A word that changes nothing on the board still leaves its mark: two
    // matches told different things never share a hash.
    live_match = snapshot;
    players[0].energy = players[1].energy = 0;
    match_state a = live_match, b = live_match;
    match_tick(a, CONTROL_FIRE, 0);
    match_tick(b, 0, 0);
    EXPECT_NE(match_hash(a), match_hash(b));
}

TEST_F(Replay, ASnapshotIsACopyAndRestoringItRewindsEverything)
{
    place(0, 20, 20);
    players[0].facing = FACING_RIGHT;
    players[0].weapon = WEAPON_BIG_BOMB;
    const match_state snapshot = live_match;
    ticks_with(130, CONTROL_FIRE | CONTROL_DOWN, CONTROL_LEFT);
    EXPECT_NE(match_hash(live_match), match_hash(snapshot));
    live_match = snapshot;
    EXPECT_EQ(match_hash(live_match), match_hash(snapshot));
    EXPECT_EQ(std::memcmp(&live_match, &snapshot, sizeof snapshot), 0);
}

TEST_F(Replay, TheMatchOwnsItsBoardAndTheLevelBoardIsLeftAlone)
{
    ::board[5][5] = 1;
    start_match();
    EXPECT_EQ(live_match.board[5][5], 1);
    ::board[5][5] = 0;
    EXPECT_EQ(live_match.board[5][5], 1) << "a match plays the board it started on";
}

// ---- recording and playing back ----------------------------------------------

TEST_F(Replay, ARecordedMatchReRunsToTheSameFinalState)
{
    copy_name(profiles[0].name, "Player 1");
    std::vector<uint8_t> bytes = record_match(1000, 3);
    ASSERT_EQ(read(bytes, view), nullptr);
    EXPECT_EQ(view.ticks, 1000);
    EXPECT_EQ(view.final_hash, match_hash(live_match));
    replay_check check = verify_replay(view);
    EXPECT_TRUE(check.ok);
    EXPECT_EQ(check.final_hash, match_hash(live_match));
    EXPECT_STREQ(view.names[0], "Player 1");
}

TEST_F(Replay, TheKeyboardsMatchIsRecordedAsItWasPlayed)
{
    // Held keys and a change key used up as it acts: what the tick was
    // given is what the replay gives.
    const uint8_t people[2] = {REPLAY_PERSON, REPLAY_PERSON};
    begin_recording(live_match, "Ann", "Bob", people, false);
    hold(KEY_RIGHT);
    hold(KEY_RCONTROL);
    for (int t = 0; t < 90; t++) {
        if (t % 30 == 0)
            hold(KEY_RSHIFT);
        ticks(1);
    }
    EXPECT_EQ(players[0].weapon, WEAPON_BOMB) << "three changes";
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(recording_bytes(live_match, bytes));
    ASSERT_EQ(read(bytes, view), nullptr);
    EXPECT_STREQ(view.names[1], "Bob");
    EXPECT_TRUE(verify_replay(view).ok);
}

TEST_F(Replay, AFlippedControlWordDivergesAtTheNextCheckpoint)
{
    std::vector<uint8_t> bytes = record_match(400, 5);
    bytes[REPLAY_HEADER_SIZE + 2 * 123 + 1] ^= CONTROL_UP;
    ASSERT_EQ(read(bytes, view), nullptr);
    replay_check check = verify_replay(view);
    EXPECT_FALSE(check.ok);
    EXPECT_EQ(check.diverged_at, 160);

    // After the last checkpoint, the final hash catches it.
    bytes = record_match(415, 5);
    bytes[REPLAY_HEADER_SIZE + 2 * 410] ^= CONTROL_FIRE;
    ASSERT_EQ(read(bytes, view), nullptr);
    check = verify_replay(view);
    EXPECT_FALSE(check.ok);
    EXPECT_EQ(check.diverged_at, 415);
}

TEST_F(Replay, ATenMinuteMatchFitsInUnder100KB)
{
    std::vector<uint8_t> bytes = record_match(10 * 60 * TICKS_PER_SECOND, 11);
    EXPECT_LT(bytes.size(), 100u * 1024);
    ASSERT_EQ(read(bytes, view), nullptr);
    EXPECT_TRUE(verify_replay(view).ok);
}

// ---- files that are not what they claim ------------------------------------------

TEST_F(Replay, DamagedForeignAndCutFilesAreRefusedWithAReason)
{
    const std::vector<uint8_t> good = record_match(90, 17);
    auto refused = [](std::vector<uint8_t> bytes) {
        const char *why = read(bytes, view);
        return why ? std::string(why) : std::string();
    };

    EXPECT_NE(refused({}), "");
    EXPECT_NE(refused(std::vector<uint8_t>(7208, 0)), "") << "a level file is no replay";
    for (size_t cut : {size_t(8), size_t(15), size_t(100), size_t(7295), size_t(7296),
                       good.size() - 1}) {
        std::vector<uint8_t> bytes(good.begin(), good.begin() + long(cut));
        EXPECT_NE(refused(bytes), "") << "cut at " << cut;
    }
    std::vector<uint8_t> longer = good;
    longer.push_back(0);
    EXPECT_NE(refused(longer), "");

    std::vector<uint8_t> bytes = good;
    bytes[8] = 2;   // a later version
    EXPECT_NE(refused(bytes).find("version 2"), std::string::npos) << refused(bytes);

    bytes = good;
    bytes[100] ^= 1;   // a tile of the level
    EXPECT_NE(refused(bytes).find("damaged"), std::string::npos);

    // Absurd values behind a good checksum: a count past any match, a clock
    // the game cannot have (a NaN would pick pictures from nowhere), a
    // result it does not know.
    struct field { size_t at; uint32_t value; };
    for (field f : {field{16, 0xffffffffu}, field{16, 91u}, field{20, 0u}, field{24, 0x7fc00000u},
                    field{24, 0x3f000001u}, field{24, 0x41000000u}, field{28, 9u},
                    field{12, 16u}}) {
        bytes = good;
        for (int i = 0; i < 4; i++)
            bytes[f.at + size_t(i)] = uint8_t(f.value >> (8 * i));
        reseal(bytes);
        EXPECT_NE(refused(bytes), "") << "field at " << f.at << " = " << f.value;
    }

    // A name without its NUL reads as eleven characters, nothing beyond.
    bytes = good;
    std::memset(bytes.data() + 48, 'A', 24);
    reseal(bytes);
    ASSERT_EQ(read(bytes, view), nullptr);
    EXPECT_EQ(std::strlen(view.names[0]), 11u);
}

// Recorded by the game built with GCC when this format was made; the clang
// build with the sanitizers reads it too. Any change to the rules of the
// match, intended or not, shows here first.
TEST_F(Replay, AReplayRecordedByAnotherBuildStillVerifies)
{
    std::ifstream in(BLAST_SOURCE_DIR "/tests/data/golden.replay", std::ios::binary);
    ASSERT_TRUE(in) << "tests/data/golden.replay is missing";
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(read(bytes, view), nullptr);
    replay_check check = verify_replay(view);
    EXPECT_TRUE(check.ok) << "diverges at tick " << check.diverged_at;
    EXPECT_GT(view.ticks, 1000);
}
