// The enlarged picture: which whole factor a display gets, the block copy
// present() makes, and the mouse read back in game pixels at every scale.
#include <cstdio>
#include <string>
#include <unistd.h>

#include "harness.h"

namespace {

// A picture of distinct pixels, so that a block out of place shows.
void fill_pattern(BITMAP *b)
{
    for (int y = 0; y < b->h; y++)
        for (int x = 0; x < b->w; x++)
            putpixel(b, x, y, makecol_depth(bitmap_color_depth(b), x * 7, y * 5, (x ^ y) * 3));
}

// The game's picture shown at factor 2, with a screen of the window's size
// standing in for the real one; everything as it was afterwards.
class Scaled : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        one_x_screen = screen;
        screen = create_bitmap(SCREEN_WIDTH * 2, SCREEN_HEIGHT * 2);
        picture_scale = 2;
        map_pointer(2, 0, 0);
        create_scaled_buffer();
    }
    void TearDown() override
    {
        destroy_scaled_buffer();
        picture_scale = 1;
        map_pointer(1, 0, 0);
        destroy_bitmap(screen);
        screen = one_x_screen;
    }
    BITMAP *one_x_screen = nullptr;
};

}  // namespace

TEST(ScaleChoice, LargestWholeFactorThatFitsTheRoom)
{
    struct { int w, h, factor; } rooms[] = {
        {640, 480, 1},     {639, 480, 1},   {1279, 960, 1},  {1280, 960, 2},  {1600, 1136, 2},
        {1920, 1016, 2},   {1920, 1440, 3}, {3840, 2096, 4}, {7680, 4256, 8}, {320, 200, 1},
    };
    for (auto r : rooms)
        EXPECT_EQ(fitting_scale(r.w, r.h), r.factor) << r.w << "x" << r.h;
}

TEST(ScaleChoice, AWindowLeavesRoomForItsFrame)
{
    // A 1280x1024 display holds the doubled window under its title bar; a
    // 1600x1200 one does too, and no more.
    EXPECT_EQ(chosen_scale(SCALE_LARGEST, 1280 - WINDOW_FRAME_W, 1024 - WINDOW_FRAME_H), 2);
    EXPECT_EQ(chosen_scale(SCALE_LARGEST, 1600 - WINDOW_FRAME_W, 1200 - WINDOW_FRAME_H), 2);
    EXPECT_EQ(chosen_scale(SCALE_LARGEST, 1920 - WINDOW_FRAME_W, 1440 - WINDOW_FRAME_H), 2);
    EXPECT_EQ(chosen_scale(SCALE_LARGEST, 1920, 1440), 3);   // full screen: no frame
}

TEST(ScaleChoice, AnAskedFactorIsKeptUnlessItDoesNotFit)
{
    EXPECT_EQ(chosen_scale(2, 3840, 2160), 2);
    EXPECT_EQ(chosen_scale(3, 3840, 2160), 3);
    EXPECT_EQ(chosen_scale(4, 1920, 1080), 2);
    EXPECT_EQ(chosen_scale(3, 800, 600), 1);
}

TEST(PointerMapping, ScreenPixelsFallIntoTheGamePixelTheyShow)
{
    struct { int screen, origin, factor, game; } cases[] = {
        {0, 0, 1, 0},      {639, 0, 1, 639},   {0, 0, 2, 0},     {1, 0, 2, 0},
        {2, 0, 2, 1},      {1279, 0, 2, 639},  {959, 0, 2, 479}, {160, 160, 3, 0},
        {162, 160, 3, 0},  {163, 160, 3, 1},   {2079, 160, 3, 639},
        // Just outside a centred picture is outside the game, not its edge.
        {159, 160, 3, -1}, {157, 160, 3, -1},  {156, 160, 3, -2},
    };
    for (auto c : cases)
        EXPECT_EQ(game_coordinate(c.screen, c.origin, c.factor), c.game)
            << c.screen << " from " << c.origin << " at " << c.factor;
}

TEST(ScaleCopy, EveryPixelBecomesASharpBlockAtEveryDepth)
{
    for (int depth : {8, 16, 32})
        for (int factor : {2, 3, 4}) {
            BITMAP *src = create_bitmap_ex(depth, 37, 23);
            BITMAP *own = create_bitmap_ex(depth, 37 * factor, 23 * factor);
            BITMAP *allegros = create_bitmap_ex(depth, 37 * factor, 23 * factor);
            fill_pattern(src);
            scale_copy(src, own, factor);
            stretch_blit(src, allegros, 0, 0, 37, 23, 0, 0, 37 * factor, 23 * factor);
            int differ = 0, off_block = 0;
            for (int y = 0; y < own->h; y++)
                for (int x = 0; x < own->w; x++) {
                    differ += getpixel(own, x, y) != getpixel(allegros, x, y);
                    off_block += getpixel(own, x, y) != getpixel(src, x / factor, y / factor);
                }
            EXPECT_EQ(off_block, 0) << depth << " bpp at " << factor;
            EXPECT_EQ(differ, 0) << "not what stretch_blit makes, " << depth << " bpp at " << factor;
            destroy_bitmap(src);
            destroy_bitmap(own);
            destroy_bitmap(allegros);
        }
}

TEST_F(Scaled, PresentShowsTheBackBufferDoubled)
{
    fill_pattern(back_buffer);
    present(WITHOUT_POINTER);
    int off_block = 0;
    for (int y = 0; y < screen->h; y += 3)
        for (int x = 0; x < screen->w; x += 1)
            off_block += getpixel(screen, x, y) != getpixel(back_buffer, x / 2, y / 2);
    EXPECT_EQ(off_block, 0);
}

TEST_F(Scaled, TheEditorPaintsTheCellUnderTheDoubledPointer)
{
    fill_mode = PEN_MODE;
    left_tile = 5;
    // The middle of cell (40, 30) on the doubled screen, then the right
    // half of its last pixel column: both are the cell, its neighbour not.
    int x = (cell_x(40) + CELL_SIZE / 2) * 2, y = (cell_y(30) + CELL_SIZE / 2) * 2;
    set_mouse(x, y, 1);
    editor_frame();
    EXPECT_EQ(board[40][30], 5);
    set_mouse((cell_x(41) - 1) * 2 + 1, y, 1);
    editor_frame();
    EXPECT_EQ(board[41][30], 0);
    int painted = 0;
    for (auto &column : board)
        for (int32_t cell : column)
            painted += cell == 5;
    EXPECT_EQ(painted, 1);
}

TEST_F(Scaled, TheOptionDialogPromptsAreEnlargedToo)
{
    std::string config = ::testing::TempDir() + "blast_scale_config." + std::to_string(getpid());
    use_config_file(config.c_str());
    void (*saved_poll)() = key_wait_poll;
    // Each key prompt is composed at 640x480 and reaches the screen doubled.
    static int prompts_doubled, prompts;
    prompts_doubled = prompts = 0;
    key_wait_poll = [] {
        int white = 0, off_block = 0;
        for (int y = 0; y < screen->h; y += 2)
            for (int x = 0; x < screen->w; x++) {
                white += pixel_rgb(screen, x, y).r > 240;
                off_block += getpixel(screen, x, y) != getpixel(back_buffer, x / 2, y / 2);
            }
        prompts++;
        prompts_doubled += white > 0 && off_block == 0;
        key[KEY_A] = 1;
    };
    keys_dialog();
    key_wait_poll = saved_poll;
    set_config_data("", 0);
    std::remove(config.c_str());
    EXPECT_EQ(prompts, 14);
    EXPECT_EQ(prompts_doubled, 14);
}
