// Level files: the byte layout, short, long and broken files, and saves that
// must never cost the player the level already on disk.
#include <cstring>
#include <filesystem>

#include "harness.h"
#include "scratch_dir.h"

namespace fs = std::filesystem;

namespace {

// Little-endian 32-bit values, as a level file stores them.
std::vector<unsigned char> values_as_bytes(const std::vector<int32_t> &values)
{
    std::vector<unsigned char> out;
    for (int32_t v : values) {
        uint32_t u = static_cast<uint32_t>(v);
        for (int shift = 0; shift < 32; shift += 8)
            out.push_back((u >> shift) & 0xff);
    }
    return out;
}

std::vector<int32_t> level_of(int32_t tile) { return std::vector<int32_t>(LEVEL_CELLS, tile); }

// A board where every cell holds a value of its own.
void fill_board_distinctly()
{
    for (int c = 0; c < LEVEL_COLUMNS; c++)
        for (int r = 0; r < LEVEL_ROWS; r++)
            board[c][r] = c * 100 + r;
}

class LevelFiles : public GameTest {
protected:
    scratch_dir dir;
    void SetUp() override
    {
        GameTest::SetUp();
        std::memset(level_buffer, 0, sizeof level_buffer);
        fs::create_directory("levels");
    }
    void TearDown() override { file_write_limit = -1; }
};

}  // namespace

TEST_F(LevelFiles, WrittenBoardReadsBackCellForCell)
{
    fill_board_distinctly();
    board[0][0] = 29;
    board[52][33] = -7;          // not tile ids, but a file keeps them as they are
    board[10][10] = 1000000;
    write_bytes("levels/round", values_as_bytes(level_of(4)));   // replaced
    write_level("levels/round");
    EXPECT_EQ(fs::file_size("levels/round"), 7208u);

    clear_board(0);
    read_level("levels/round");
    EXPECT_EQ(board[0][0], 29);
    EXPECT_EQ(board[52][33], -7);
    EXPECT_EQ(board[10][10], 1000000);
    EXPECT_EQ(board[17][5], 1705);
    EXPECT_EQ(board[52][32], 5232);
}

TEST_F(LevelFiles, FileIsColumnMajorLittleEndian)
{
    board[0][0] = 0x04030201;
    board[0][1] = 9;
    board[1][0] = 5;
    board[52][33] = -2;
    write_level("levels/layout");
    auto bytes = read_bytes("levels/layout");
    ASSERT_EQ(bytes.size(), 7208u);
    EXPECT_EQ(std::vector<unsigned char>(bytes.begin(), bytes.begin() + 8),
              (std::vector<unsigned char>{1, 2, 3, 4, 9, 0, 0, 0}));
    EXPECT_EQ(std::vector<unsigned char>(bytes.begin() + 136, bytes.begin() + 140),
              (std::vector<unsigned char>{5, 0, 0, 0}));
    EXPECT_EQ(std::vector<unsigned char>(bytes.end() - 4, bytes.end()),
              (std::vector<unsigned char>{0xfe, 0xff, 0xff, 0xff}));
}

TEST_F(LevelFiles, ValueThirtyFourIsTheSecondColumnsFirstCell)
{
    auto values = level_of(0);
    values[34] = 5;
    write_bytes("levels/one", values_as_bytes(values));
    board[20][20] = 3;
    read_level("levels/one");
    EXPECT_EQ(board[1][0], 5);
    EXPECT_EQ(board[20][20], 0);
}

// Cells a short file does not reach keep the last level read or written;
// only whole values count, and a long file is read up to one level.
TEST_F(LevelFiles, FilesOfTheWrongLength)
{
    write_bytes("levels/nines", values_as_bytes(level_of(9)));
    read_level("levels/nines");

    write_bytes("levels/four", values_as_bytes({7}));
    read_level("levels/four");
    EXPECT_EQ(board[0][0], 7);
    EXPECT_EQ(board[52][33], 9);

    auto bytes = values_as_bytes({3, 8});
    bytes.resize(7);
    write_bytes("levels/odd", bytes);
    read_level("levels/odd");
    EXPECT_EQ(board[0][0], 3);
    EXPECT_EQ(board[0][1], 9);

    auto values = level_of(2);
    values.push_back(77);
    write_bytes("levels/long", values_as_bytes(values));
    read_level("levels/long");
    EXPECT_EQ(board[52][33], 2);

    std::memset(level_buffer, 0, sizeof level_buffer);   // early in a run
    read_level("levels/four");
    EXPECT_EQ(board[0][0], 7);
    EXPECT_EQ(board[30][30], 0);
}

TEST_F(LevelFiles, UnreadableFileLeavesBoardAndBufferAlone)
{
    fill_board_distinctly();
    level_buffer[0] = 42;
    read_level("levels/missing");
    read_level("nowhere/missing");
    read_level("levels");             // a directory, as an empty browser entry gives
    EXPECT_EQ(board[17][5], 1705);
    EXPECT_EQ(level_buffer[0], 42);
    EXPECT_FALSE(fs::exists("nowhere"));
}

TEST_F(LevelFiles, FirstSaveCreatesTheLevelsDirectory)
{
    fs::remove("levels");
    board[3][4] = 12;
    write_level("levels/fresh");
    ASSERT_EQ(fs::file_size("levels/fresh"), 7208u);
    clear_board(0);
    read_level("levels/fresh");
    EXPECT_EQ(board[3][4], 12);
}

TEST_F(LevelFiles, FailedSaveKeepsTheOldFileIntactAndLeavesNoTemporary)
{
    write_bytes("levels/keep", values_as_bytes(level_of(4)));
    auto before = read_bytes("levels/keep");
    clear_board(17);
    for (long limit : {0L, 100L, 7207L}) {
        file_write_limit = limit;
        write_level("levels/keep");
        EXPECT_EQ(read_bytes("levels/keep"), before) << "limit " << limit;
    }
    file_write_limit = -1;
    fs::create_directory("levels/taken");   // a directory where the file should go
    write_level("levels/taken");
    EXPECT_TRUE(fs::is_directory("levels/taken"));

    std::vector<std::string> names;
    for (auto &e : fs::directory_iterator("levels"))
        names.push_back(e.path().filename());
    EXPECT_EQ(names.size(), 2u) << "a temporary was left behind";

    // Nothing was created where the old file was missing either.
    file_write_limit = 50;
    write_level("levels/never");
    EXPECT_FALSE(fs::exists("levels/never"));
}
