// Saves under attack and under the player's own protections: racing
// writers, planted links and leftovers, levels that are links or read-only,
// and what the player is told about each save.
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "harness.h"
#include "scratch_dir.h"

namespace fs = std::filesystem;

namespace {

// The file of a board with every cell holding one small tile id.
std::vector<unsigned char> level_bytes(unsigned char tile)
{
    std::vector<unsigned char> bytes(LEVEL_FILE_SIZE, 0);
    for (int k = 0; k < LEVEL_CELLS; k++)
        bytes[size_t(4 * k)] = tile;
    return bytes;
}

// Runs fn in a child process and returns its exit status.
template <class F>
int in_child(F fn)
{
    pid_t pid = fork();
    if (pid == 0)
        _exit(fn());
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

long long fake_now = 0;
long long fake_clock() { return fake_now; }

class SafeSaves : public GameTest {
protected:
    scratch_dir dir;
    void SetUp() override
    {
        GameTest::SetUp();
        fs::create_directory("levels");
        clear_board(8);
    }
    void TearDown() override
    {
        file_write_limit = -1;
        message_clock_ms = saved_clock;
        clear_message();
    }
    long long (*saved_clock)() = message_clock_ms;
};

}  // namespace

TEST_F(SafeSaves, RacingSavesNeverShowAReaderAnEmptyOrMixedLevel)
{
    constexpr int SAVES = 300;
    auto writer = [](int fill) {
        return in_child([fill] {
            clear_board(fill);
            for (int i = 0; i < SAVES; i++)
                if (write_level("levels/RACE") != 0)
                    return 1;
            return 0;
        });
    };
    pid_t a = fork();
    if (a == 0)
        _exit(writer(1));
    pid_t b = fork();
    if (b == 0)
        _exit(writer(2));

    int reads = 0, bad = 0, status_a = 0, status_b = 0;
    bool a_done = false, b_done = false;
    while (!a_done || !b_done) {
        if (!a_done && waitpid(a, &status_a, WNOHANG) == a)
            a_done = true;
        if (!b_done && waitpid(b, &status_b, WNOHANG) == b)
            b_done = true;
        if (!fs::exists("levels/RACE"))
            continue;
        auto bytes = read_bytes("levels/RACE");
        reads++;
        bool whole = bytes == level_bytes(1) || bytes == level_bytes(2);
        if (!whole)
            bad++;
    }
    EXPECT_EQ(WEXITSTATUS(status_a), 0);
    EXPECT_EQ(WEXITSTATUS(status_b), 0);
    EXPECT_GT(reads, 0);
    EXPECT_EQ(bad, 0) << "of " << reads << " reads";
    EXPECT_EQ(names_in("levels"), std::vector<std::string>{"RACE"}) << "a temporary was left";
}

TEST_F(SafeSaves, PlantedLinksAndLeftoversNeitherRedirectNorBlockASave)
{
    write_bytes("outside", {'k', 'e', 'e', 'p'});
    fs::create_symlink("../outside", "levels/.F.saving");
    fs::create_symlink("../outside", "levels/.F.tmp");
    fs::create_directory("levels/.E.saving");   // a stale temporary of another kind
    write_bytes("levels/.E.saving/x", {1});
    mkfifo("levels/.E.pipe", 0600);

    EXPECT_EQ(write_level("levels/F"), 0);
    EXPECT_EQ(write_level("levels/E"), 0);

    EXPECT_EQ(read_bytes("outside"), (std::vector<unsigned char>{'k', 'e', 'e', 'p'}));
    for (const char *level : {"levels/F", "levels/E"}) {
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(level))) << level;
        EXPECT_EQ(read_bytes(level), level_bytes(8)) << level;
    }
}

TEST_F(SafeSaves, ALevelThatIsALinkIsSavedThroughItAndStaysALink)
{
    fs::create_directory("mine");
    write_bytes("mine/ARENA", level_bytes(1));
    chmod("mine/ARENA", 0640);
    fs::create_symlink("../mine/ARENA", "levels/ARENA");       // relative
    fs::create_symlink(fs::absolute("mine/NEW"), "levels/NEW");  // absolute, not there yet
    fs::create_symlink("ARENA", "levels/CHAIN");                // a link to a link

    EXPECT_EQ(write_level("levels/ARENA"), 0);
    EXPECT_EQ(write_level("levels/NEW"), 0);
    clear_board(4);
    EXPECT_EQ(write_level("levels/CHAIN"), 0);

    for (const char *link : {"levels/ARENA", "levels/NEW", "levels/CHAIN"})
        EXPECT_TRUE(fs::is_symlink(link)) << link;
    EXPECT_EQ(read_bytes("mine/ARENA"), level_bytes(4));
    EXPECT_EQ(read_bytes("mine/NEW"), level_bytes(8));
    EXPECT_EQ(fs::status("mine/ARENA").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(names_in("mine"), (std::vector<std::string>{"ARENA", "NEW"}));
}

TEST_F(SafeSaves, AReadOnlyLevelIsRefusedAndKept)
{
    write_bytes("levels/RO", level_bytes(1));
    chmod("levels/RO", 0444);
    // Root writes through permission bits, as a plain open would; the
    // player's protection is tried as an ordinary user.
    chmod(".", 0777);
    chmod("levels", 0777);
    int error = in_child([] {
        if (geteuid() == 0 && setuid(65534) != 0)
            return 99;
        return write_level("levels/RO");
    });
    EXPECT_EQ(error, EACCES);
    EXPECT_EQ(read_bytes("levels/RO"), level_bytes(1));
    EXPECT_EQ(names_in("levels"), std::vector<std::string>{"RO"});
}

// What a save killed between its write and its rename leaves, and what
// only looks like it.
TEST_F(SafeSaves, StaleTemporariesAreRemovedAndNothingElse)
{
    auto make = [](const char *path, int age_s) {
        write_bytes(path, {1});
        struct timespec times[2] = {{time(nullptr) - age_s, 0}, {time(nullptr) - age_s, 0}};
        utimensat(AT_FDCWD, path, times, AT_SYMLINK_NOFOLLOW);
    };
    const int OLD = STALE_TEMPORARY_S + 5;
    make("levels/.GARDEN.a1B2c3", OLD);       // stale
    make(".config.ini.Zz9yY8", OLD);          // stale
    make("levels/.MINE.abcdef", 5);           // a save of this moment
    make("levels/GARDEN", OLD);               // a level
    make("levels/.X.abc", OLD);               // too short for the pattern
    make("levels/.X.ab-cde", OLD);            // not mkstemp's letters
    make(".other.ini.abcdef", OLD);           // beside config.ini, but not its
    make("levels/.D.abcdef", OLD);            // replaced by a directory
    fs::remove("levels/.D.abcdef");
    fs::create_directory("levels/.D.abcdef");
    fs::create_symlink("GARDEN", "levels/.L.abcdef");
    make("levels/.L.abcdef", OLD);            // ages the link's target

    EXPECT_EQ(remove_stale_temporaries("levels", nullptr), 1);
    EXPECT_EQ(remove_stale_temporaries(".", "config.ini"), 1);
    EXPECT_EQ(names_in("levels"), (std::vector<std::string>{".D.abcdef", ".L.abcdef", ".MINE.abcdef",
                                                            ".X.ab-cde", ".X.abc", "GARDEN"}));
    EXPECT_EQ(names_in("."), (std::vector<std::string>{".other.ini.abcdef", "levels"}));
}

TEST_F(SafeSaves, ThePlayerIsToldHowEverySaveWent)
{
    fake_now = 1000;
    message_clock_ms = fake_clock;

    testing::internal::CaptureStderr();
    fs::create_directory("levels/FOO");
    EXPECT_EQ(save_level("FOO"), SAVE_FAILED);
    ASSERT_NE(current_message(), nullptr);
    EXPECT_STREQ(current_message(), "Could not save FOO: Is a directory");
    EXPECT_TRUE(current_message_is_failure());

    file_write_limit = 100;
    EXPECT_EQ(save_level("FULL  "), SAVE_FAILED);   // Backspace's spaces are not the name
    EXPECT_STREQ(current_message(), "Could not save FULL: No space left on device");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Could not save FOO: Is a directory\n"
              "Could not save FULL: No space left on device\n");
    EXPECT_FALSE(fs::exists("levels/FULL"));

    file_write_limit = -1;
    testing::internal::CaptureStderr();
    EXPECT_EQ(save_level("GOOD"), SAVE_DONE);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_STREQ(current_message(), "Saved GOOD");
    EXPECT_FALSE(current_message_is_failure());

    fake_now += MESSAGE_MS - 1;
    EXPECT_NE(current_message(), nullptr);
    fake_now += 1;
    EXPECT_EQ(current_message(), nullptr) << "shown for about two seconds, then gone";
}

TEST_F(SafeSaves, TheEditorPanelShowsTheMessageInPlaceOfTheKeyHelp)
{
    fake_now = 0;
    message_clock_ms = fake_clock;
    auto help_differs = [] {
        editor_frame();
        BITMAP *panel = level_bitmap(OBJ_EDITOR_PANEL);
        int differ = 0;
        for (int y = PANEL_HELP_Y1; y <= PANEL_HELP_Y2; y++)
            for (int x = PANEL_HELP_X1; x <= PANEL_HELP_X2; x++)
                differ += getpixel(back_buffer, x, y) != getpixel(panel, x, y - PANEL_TOP);
        return differ;
    };
    EXPECT_EQ(help_differs(), 0);
    show_failure("Could not save FOO: No space left on device");
    EXPECT_GT(help_differs(), 200);
    fake_now += MESSAGE_MS;
    EXPECT_EQ(help_differs(), 0);
}
