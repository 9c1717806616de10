// Datafiles reach Allegro's loader only as the build made them, and are
// kept only when they hold the objects the game draws and plays.
#include <filesystem>
#include <string>

#include "datafile_sums.h"
#include "harness.h"
#include "scratch_dir.h"

namespace fs = std::filesystem;

namespace {

class Datafiles : public GameTest {
protected:
    scratch_dir dir;
    void SetUp() override
    {
        GameTest::SetUp();
        for (const char *f : {"level.dat", "data.dat", "sound.dat", "datafiles.sum"})
            fs::copy_file(std::string(BLAST_BUILD_DIR) + "/" + f, f);
    }
    // A record that vouches for the files as they are now.
    static void record(std::initializer_list<const char *> files)
    {
        FILE *out = std::fopen("datafiles.sum", "w");
        for (const char *f : files) {
            datafile_sum sum;
            ASSERT_TRUE(sum_datafile(f, sum)) << f;
            std::fprintf(out, DATAFILE_SUM_FORMAT, f, sum.size, sum.checksum);
        }
        std::fclose(out);
    }
};

}  // namespace

TEST_F(Datafiles, OnlyTheBytesTheBuildRecordedReachTheLoader)
{
    for (const char *f : {"level.dat", "data.dat", "sound.dat"})
        EXPECT_TRUE(datafile_as_built(f)) << f;

    auto bytes = read_bytes("level.dat");
    bytes[bytes.size() / 2] ^= 1;   // same size, one bit off
    write_bytes("level.dat", bytes);
    EXPECT_FALSE(datafile_as_built("level.dat"));
    EXPECT_EQ(load_checked_datafile("level.dat", LEVEL_DAT_LAYOUT), nullptr);

    fs::remove("data.dat");
    mkfifo("data.dat", 0600);       // must neither hang nor pass
    EXPECT_FALSE(datafile_as_built("data.dat"));

    record({"level.dat"});          // no line for sound.dat
    EXPECT_TRUE(datafile_as_built("level.dat"));
    EXPECT_FALSE(datafile_as_built("sound.dat"));
    fs::remove("datafiles.sum");
    EXPECT_FALSE(datafile_as_built("level.dat"));
}

// Whole datafiles the record vouches for, in the wrong places.
TEST_F(Datafiles, AWholeDatafileOfTheWrongKindIsUnloadedAgain)
{
    fs::rename("level.dat", "swap");
    fs::rename("data.dat", "level.dat");
    fs::rename("swap", "data.dat");
    record({"level.dat", "data.dat", "sound.dat"});
    EXPECT_EQ(load_checked_datafile("level.dat", LEVEL_DAT_LAYOUT), nullptr);
    EXPECT_EQ(load_checked_datafile("data.dat", GAME_DAT_LAYOUT), nullptr);
    EXPECT_EQ(load_checked_datafile("sound.dat", GAME_DAT_LAYOUT), nullptr);
}
