// The arenas shipped in levels/ are playable: each is a whole board of tile
// ids the editor knows, with both start cells free and joined by floor. The
// files are read here byte by byte, independent of the game's level reader.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <queue>
#include <string>
#include <vector>

#include "catalogue.h"

namespace {

namespace fs = std::filesystem;

constexpr int COLS = 53, ROWS = 34;
constexpr std::array<int, 8> WALL_TILES = {1, 3, 5, 7, 9, 12, 17, 20};

fs::path bundled_dir() { return fs::path(__FILE__).parent_path().parent_path().parent_path() / "levels"; }

std::vector<fs::path> bundled_levels()
{
    std::vector<fs::path> files;
    if (fs::is_directory(bundled_dir()))
        for (auto &entry : fs::directory_iterator(bundled_dir()))
            if (entry.is_regular_file())
                files.push_back(entry.path());
    return files;
}

std::vector<unsigned char> file_bytes(const fs::path &p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Column-major little-endian int32s: value k is column k / 34, row k % 34.
int tile_at(const std::vector<unsigned char> &bytes, int col, int row)
{
    size_t k = static_cast<size_t>(col * ROWS + row) * 4;
    uint32_t v = bytes[k] | bytes[k + 1] << 8 | bytes[k + 2] << 16 | static_cast<uint32_t>(bytes[k + 3]) << 24;
    return static_cast<int32_t>(v);
}

bool is_wall(int tile)
{
    for (int w : WALL_TILES)
        if (w == tile)
            return true;
    return false;
}

// Players walk between edge-sharing cells, never diagonally.
bool starts_joined(const std::vector<unsigned char> &bytes)
{
    std::vector<bool> seen(COLS * ROWS, false);
    std::queue<std::pair<int, int>> todo;
    todo.push({0, 0});
    seen[0] = true;
    while (!todo.empty()) {
        auto [c, r] = todo.front();
        todo.pop();
        if (c == COLS - 1 && r == ROWS - 1)
            return true;
        const int step[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
        for (auto &s : step) {
            int nc = c + s[0], nr = r + s[1];
            if (nc < 0 || nr < 0 || nc >= COLS || nr >= ROWS || seen[nc * ROWS + nr] || is_wall(tile_at(bytes, nc, nr)))
                continue;
            seen[nc * ROWS + nr] = true;
            todo.push({nc, nr});
        }
    }
    return false;
}

}  // namespace

TEST(BundledLevels, AtLeastSixArenasWithNamesTheSaveDialogCouldType)
{
    auto files = bundled_levels();
    EXPECT_GE(files.size(), 6u) << "in " << bundled_dir();
    for (auto &f : files) {
        std::string name = f.filename().string();
        EXPECT_LE(name.size(), 8u) << name;
        EXPECT_EQ(name.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"), std::string::npos) << name;
    }
}

TEST(BundledLevels, EachIsAWholeBoardOfPlaceableTiles)
{
    for (auto &f : bundled_levels()) {
        auto bytes = file_bytes(f);
        ASSERT_EQ(bytes.size(), 7208u) << f.filename();
        for (int c = 0; c < COLS; c++)
            for (int r = 0; r < ROWS; r++) {
                int t = tile_at(bytes, c, r);
                EXPECT_TRUE(t >= 0 && t < TILE_COUNT) << f.filename() << " cell " << c << "," << r << " holds " << t;
            }
    }
}

TEST(BundledLevels, StartCellsAreEmptyAndJoinedByFloor)
{
    for (auto &f : bundled_levels()) {
        auto bytes = file_bytes(f);
        ASSERT_EQ(bytes.size(), 7208u) << f.filename();
        EXPECT_EQ(tile_at(bytes, 0, 0), 0) << f.filename();
        EXPECT_EQ(tile_at(bytes, COLS - 1, ROWS - 1), 0) << f.filename();
        EXPECT_TRUE(starts_joined(bytes)) << f.filename() << ": no floor path between the start cells";
    }
}

TEST(BundledLevels, WallsActuallyShapeEveryArena)
{
    // A file of all floor would pass every other test; a designed arena has
    // walls, and more than one kind of floor or wall.
    for (auto &f : bundled_levels()) {
        auto bytes = file_bytes(f);
        ASSERT_EQ(bytes.size(), 7208u);
        int walls = 0;
        std::array<bool, 30> used{};
        for (int c = 0; c < COLS; c++)
            for (int r = 0; r < ROWS; r++) {
                int t = tile_at(bytes, c, r);
                walls += is_wall(t);
                if (t >= 0 && t < 30)
                    used[t] = true;
            }
        int kinds = 0;
        for (bool u : used)
            kinds += u;
        EXPECT_GT(walls, 20) << f.filename();
        EXPECT_GE(kinds, 3) << f.filename();
    }
}
