// Saves that cannot succeed: levels/ is a file, is read-only, or sits on a
// full disk. The save must return normally and every level already on disk
// must come through byte for byte, with no half-written file left beside it.
#include <filesystem>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include "harness.h"
#include "scratch_dir.h"

namespace fs = std::filesystem;

namespace {

// A small memory file system mounted on levels/ for one test (root only),
// unmounted again before the scratch directory goes.
class small_disk {
public:
    bool mount_on(const char *dir, const char *options)
    {
        fs::create_directory(dir);
        if (mount("tmpfs", dir, "tmpfs", 0, options) != 0)
            return false;
        dir_ = dir;
        return true;
    }
    bool make_read_only()
    {
        return mount("tmpfs", dir_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }
    ~small_disk()
    {
        if (!dir_.empty())
            umount2(dir_.c_str(), MNT_DETACH);
    }

private:
    std::string dir_;
};

std::vector<unsigned char> level_bytes(unsigned char fill)
{
    return std::vector<unsigned char>(LEVEL_FILE_SIZE, fill);
}

class SaveFaults : public GameTest {
protected:
    scratch_dir dir;
    small_disk disk;   // declared after dir: unmounted before dir is removed

    void SetUp() override
    {
        GameTest::SetUp();
        clear_board(9);   // what the failed saves try to write
    }
};

}  // namespace

TEST_F(SaveFaults, LevelsBeingAFileIsLeftAlone)
{
    write_bytes("levels", {1, 2, 3});
    write_level("levels/new");
    ASSERT_TRUE(fs::is_regular_file("levels"));
    EXPECT_EQ(read_bytes("levels"), (std::vector<unsigned char>{1, 2, 3}));
    EXPECT_EQ(names_in("."), std::vector<std::string>{"levels"});
}

TEST_F(SaveFaults, ReadOnlyLevelsKeepsEveryLevel)
{
    fs::create_directory("levels");
    bool root = geteuid() == 0;
    if (root && !disk.mount_on("levels", "size=64k"))
        GTEST_SKIP() << "cannot mount a file system here";
    write_bytes("levels/first", level_bytes(1));
    write_bytes("levels/second", level_bytes(2));
    // Root writes through permission bits, so for root the whole file
    // system is made read-only instead.
    if (root)
        ASSERT_TRUE(disk.make_read_only());
    else
        chmod("levels", 0555);

    write_level("levels/first");
    write_level("levels/third");

    EXPECT_EQ(read_bytes("levels/first"), level_bytes(1));
    EXPECT_EQ(read_bytes("levels/second"), level_bytes(2));
    EXPECT_EQ(names_in("levels"), (std::vector<std::string>{"first", "second"}));
    if (!root)
        chmod("levels", 0755);
}

TEST_F(SaveFaults, FullDiskKeepsEveryLevelAndLeavesNoTemporary)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "a full disk needs root to mount one";
    // 16 KiB holds two level files (two pages each) and not a byte more.
    if (!disk.mount_on("levels", "size=16k"))
        GTEST_SKIP() << "cannot mount a file system here";
    write_bytes("levels/first", level_bytes(1));
    write_bytes("levels/second", level_bytes(2));
    ASSERT_EQ(fs::file_size("levels/second"), unsigned(LEVEL_FILE_SIZE)) << "disk too small";

    write_level("levels/first");    // replacing a level
    write_level("levels/third");    // a new one

    EXPECT_EQ(read_bytes("levels/first"), level_bytes(1));
    EXPECT_EQ(read_bytes("levels/second"), level_bytes(2));
    EXPECT_EQ(names_in("levels"), (std::vector<std::string>{"first", "second"}));

    // Once there is room again the same save goes through.
    fs::remove("levels/second");
    write_level("levels/first");
    clear_board(0);
    read_level("levels/first");
    EXPECT_EQ(board[5][5], 9);
}
