// Writing names and bindings back to config.ini: the rest of the file is
// kept, a failed write keeps the old file whole and tells the player, and
// nothing a player types or a file holds can break the file's lines apart.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

#include "harness.h"
#include "scratch_dir.h"

namespace fs = std::filesystem;

namespace {

std::string read_text_file(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void write_text_file(const std::string &path, const std::string &text)
{
    std::ofstream(path, std::ios::binary) << text;
}

class ConfigWrites : public GameTest {
protected:
    scratch_dir dir;
    void TearDown() override
    {
        file_write_limit = -1;
        set_config_data("", 0);
        clear_message();
    }
    int write_names(const char *one, const char *two)
    {
        const config_value v[2] = {{"plr1name", one}, {"plr2name", two}};
        return write_config_values(v, 2);
    }
};

}  // namespace

TEST_F(ConfigWrites, CommentsUnknownKeysAndOtherSectionsSurvive)
{
    write_text_file("config.ini",
                    "# my settings\r\n"
                    "bpp = 32\r\n"
                    "PLR1NAME = Old\r\n"          // Allegro matches names in any case
                    "volume = 7\n"
                    "plr1name = shadowed\n"
                    "\n"
                    "[extra]\n"
                    "plr2name = not the top level\n");
    use_config_file("config.ini");
    ASSERT_EQ(write_names("Ann", "Bob"), 0);
    EXPECT_EQ(read_text_file("config.ini"),
              "# my settings\r\n"
              "bpp = 32\r\n"
              "plr1name = Ann\r\n"
              "volume = 7\n"
              "plr1name = Ann\n"
              "\n"
              "plr2name = Bob\n"
              "[extra]\n"
              "plr2name = not the top level\n");
    read_config();
    EXPECT_STREQ(profiles[0].name, "Ann");
    EXPECT_STREQ(profiles[1].name, "Bob");
    EXPECT_EQ(get_config_int(nullptr, "volume", 0), 7);
    EXPECT_EQ(fs::directory_iterator(".")->path().filename(), "config.ini");
}

TEST_F(ConfigWrites, AMissingFileOrLastLineWithoutEndIsCompleted)
{
    use_config_file("config.ini");
    ASSERT_EQ(write_names("a", "b"), 0);
    EXPECT_EQ(read_text_file("config.ini"), "plr1name = a\nplr2name = b\n");

    write_text_file("config.ini", "bpp = 16");
    ASSERT_EQ(write_names("c", "d"), 0);
    EXPECT_EQ(read_text_file("config.ini"), "bpp = 16\nplr1name = c\nplr2name = d\n");
}

TEST_F(ConfigWrites, AFailedWriteKeepsTheOldFileWholeAndSaysSo)
{
    std::string old = "# keep me\nbpp = 16\n";
    for (int i = 0; i < 14; i++)
        old += "pl1key" + std::to_string(i) + " = " + std::to_string(i) + "\n";
    write_text_file("config.ini", old);
    use_config_file("config.ini");

    testing::internal::CaptureStderr();
    file_write_limit = 40;   // the disk fills up part-way
    EXPECT_EQ(write_names("Ann", "Bob"), ENOSPC);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Could not write config.ini: No space left on device\n");
    ASSERT_NE(current_message(), nullptr);
    EXPECT_STREQ(current_message(), "Could not write config.ini: No space left on device");
    EXPECT_EQ(read_text_file("config.ini"), old);

    file_write_limit = -1;
    fs::remove("config.ini");
    fs::create_directory("config.ini");
    testing::internal::CaptureStderr();
    EXPECT_EQ(write_names("Ann", "Bob"), EISDIR);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Could not write config.ini: Is a directory\n");
    EXPECT_TRUE(fs::is_empty("config.ini"));
    EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 1)
        << "a temporary was left behind";
}

TEST_F(ConfigWrites, ControlCharactersNeverReachOrComeFromTheFile)
{
    use_config_file("config.ini");
    ASSERT_EQ(write_names("a\nbpp=1", "b\rc\x7f"), 0);
    EXPECT_EQ(read_text_file("config.ini"), "plr1name = abpp=1\nplr2name = bc\n");

    // A file edited by hand, or written by an older version.
    write_text_file("config.ini", "plr1name = x\x01y\x1b[31mz\tw\nplr2name = \x7fok\n");
    use_config_file("config.ini");
    read_config();
    EXPECT_STREQ(profiles[0].name, "xy[31mzw");
    EXPECT_STREQ(profiles[1].name, "ok");
}

// The file is UTF-8 to Allegro's reader; a name of Latin-1 letters, as the
// entry types them, must come back as the same letters.
TEST_F(ConfigWrites, LettersPastAsciiReadBackAsTyped)
{
    use_config_file("config.ini");
    ASSERT_EQ(write_names("\xe4\xe4kk\xf6", "\xff\xa0x"), 0);
    EXPECT_EQ(read_text_file("config.ini"),
              "plr1name = \xc3\xa4\xc3\xa4kk\xc3\xb6\nplr2name = \xc3\xbf\xc2\xa0x\n");
    use_config_file("config.ini");
    read_config();
    EXPECT_STREQ(profiles[0].name, "\xe4\xe4kk\xf6");
    EXPECT_STREQ(profiles[1].name, "\xff\xa0x");
}

TEST_F(ConfigWrites, AConfigPastOneMegabyteIsIgnoredAndNeverRewritten)
{
    std::string big = "bpp = 32\nplr1name = Big\n" + std::string(CONFIG_SIZE_LIMIT, '#') + "\n";
    write_text_file("config.ini", big);
    testing::internal::CaptureStderr();
    use_config_file("config.ini");
    start_options opts = read_config();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "config.ini is larger than 1 MB and is ignored: starting on the defaults\n");
    EXPECT_EQ(opts.bpp, DEFAULT_BPP);
    EXPECT_STREQ(profiles[0].name, "Player 1");

    testing::internal::CaptureStderr();
    EXPECT_EQ(write_names("Ann", "Bob"), EFBIG);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(fs::file_size("config.ini"), big.size());
}

TEST_F(ConfigWrites, AFileWithWindowsLineEndsKeepsThemInTheLinesAdded)
{
    write_text_file("config.ini", "bpp = 16\r\nvolume = 7\r\n[pads]\r\nx = 1\r\n");
    use_config_file("config.ini");
    ASSERT_EQ(write_names("a", "b"), 0);
    EXPECT_EQ(read_text_file("config.ini"),
              "bpp = 16\r\nvolume = 7\r\nplr1name = a\r\nplr2name = b\r\n[pads]\r\nx = 1\r\n");

    write_text_file("config.ini", "bpp = 16\r\nplr1name = a");
    ASSERT_EQ(write_names("c", "d"), 0);
    EXPECT_EQ(read_text_file("config.ini"), "bpp = 16\r\nplr1name = c\r\nplr2name = d\r\n");
}

// Two games (two windows) changing settings at once: every change of both
// survives, as each write reads the file the other left.
TEST_F(ConfigWrites, TwoGamesWritingAtOnceKeepEveryChange)
{
    constexpr int WRITES = 40;
    use_config_file("config.ini");
    auto writer = [](char who) {
        pid_t pid = fork();
        if (pid == 0) {
            for (int i = 0; i < WRITES; i++) {
                std::string key = who + std::to_string(i);
                const config_value v = {key.c_str(), "1"};
                if (write_config_values(&v, 1) != 0)
                    _exit(1);
            }
            _exit(0);
        }
        return pid;
    };
    pid_t a = writer('a'), b = writer('b');
    int status_a = -1, status_b = -1;
    waitpid(a, &status_a, 0);
    waitpid(b, &status_b, 0);
    EXPECT_EQ(status_a, 0);
    EXPECT_EQ(status_b, 0);
    std::string text = "\n" + read_text_file("config.ini");
    int lost = 0;
    for (char who : {'a', 'b'})
        for (int i = 0; i < WRITES; i++)
            lost += text.find("\n" + (who + std::to_string(i)) + " = 1\n") == std::string::npos;
    EXPECT_EQ(lost, 0) << text;
}
