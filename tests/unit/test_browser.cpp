// The level browser: what the listing stores, and how keys, the scroll
// arrows, row clicks and the buttons move the selection and the view.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "harness.h"
#include "scratch_dir.h"

namespace fs = std::filesystem;

namespace {

std::string numbered(int i)
{
    char name[16];
    std::snprintf(name, sizeof name, "lev%03d", i);
    return name;
}

// A level file whose every cell holds `tile`.
void make_level(const std::string &name, int32_t tile)
{
    clear_board(tile);
    write_level(("levels/" + name).c_str());
    clear_board(0);
}

void make_levels(int count)
{
    // Created last-first, so the listing cannot get the order for free.
    for (int i = count - 1; i >= 0; i--)
        write_bytes("levels/" + numbered(i), {});
}

class Browser : public GameTest {
protected:
    scratch_dir dir;
    browser_state s{};

    void SetUp() override
    {
        GameTest::SetUp();
        std::memset(level_list, 0, sizeof level_list);
        fs::create_directory("levels");
    }

    void open(int files)
    {
        make_levels(files);
        s = open_browser();
    }

    void pass_with_key(int k, int times = 1)
    {
        for (int i = 0; i < times; i++) {
            key[k] = 1;
            browser_pass(s, nullptr);
            key[k] = 0;
        }
    }

    void click(int x, int y, int times = 1)
    {
        for (int i = 0; i < times; i++) {
            set_mouse(x, y, 1);
            browser_pass(s, nullptr);
        }
        set_mouse(x, y, 0);
    }

    void click_row(int row) { click(300, LIST_BAR_Y + LIST_ROW_HEIGHT * row + 6); }

    // The selected entry and the list's top row, set and checked together.
    void set_view(int selected, int first_row)
    {
        s.selected = selected;
        s.first_row = first_row;
    }
    ::testing::AssertionResult view_is(int selected, int first_row) const
    {
        if (s.selected == selected && s.first_row == first_row)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "selected " << s.selected << ", top row " << s.first_row
                                             << "; want " << selected << ", " << first_row;
    }

    // Accepts entry i of a fresh listing; returns the tile the loaded level
    // has in an ordinary cell.
    int32_t load_entry(int i)
    {
        s = open_browser();
        s.selected = i;
        s.result = BROWSER_ACCEPT;
        close_browser(s);
        return board[30][20];
    }
};

}  // namespace

// ---- listing -------------------------------------------------------------

// Plain files only, sorted, each with its separator and cut to 8 characters.
TEST_F(Browser, ListingStoresSortedNamesWithTheirSeparator)
{
    for (auto name : {"zeta", "alpha", "Mid", "b.lev", "abcdefghijkl", ".half-saved"})
        write_bytes(std::string("levels/") + name, {});
    fs::create_directory("levels/subdir");
    EXPECT_EQ(list_levels(), 5);
    EXPECT_STREQ(level_list[0], "/Mid");
    EXPECT_STREQ(level_list[1], "/abcdefgh");
    EXPECT_EQ(level_list[1][9], 0);
    EXPECT_STREQ(level_list[2], "/alpha");
    EXPECT_STREQ(level_list[3], "/b.lev");
    EXPECT_STREQ(level_list[4], "/zeta");
}

// A name is bytes: UTF-8, Latin-1 or stray control bytes are listed as
// they are on disk and load from there.
TEST_F(Browser, NamesWithAnyBytesAreListedAndLoadedByTheirRealName)
{
    const std::string utf8 = "TYHJ\xc3\x84", latin1 = "\xe4\xe4kk\xf6", odd = "a\x01\x7f\xff";
    make_level(utf8, 3);
    make_level(latin1, 5);
    make_level(odd, 7);
    ASSERT_EQ(list_levels(), 3);
    EXPECT_EQ(std::string(level_list[0]), "/TYHJ\xc3\x84");
    EXPECT_EQ(std::string(level_list[1]), "/a\x01\x7f\xff");
    EXPECT_EQ(std::string(level_list[2]), "/\xe4\xe4kk\xf6");
    const int tiles[3] = {3, 7, 5};
    for (int i = 0; i < 3; i++)
        EXPECT_EQ(load_entry(i), tiles[i]) << "entry " << i;
}

// The built-in font has ASCII and Latin-1: UTF-8 is drawn as the letters it
// spells, other bytes as Latin-1, and what the font lacks as "?".
TEST_F(Browser, NamesAreDrawnWithTheLettersTheFontHas)
{
    auto shown = [](const char *name) {
        char out[32];
        printable_text(name, out, sizeof out);
        return std::string(out);
    };
    EXPECT_EQ(shown("/TYHJ\xc3\x84"), "/TYHJ\xc4");
    EXPECT_EQ(shown("/\xe4\xe4kk\xf6"), "/\xe4\xe4kk\xf6");
    EXPECT_EQ(shown("/a\x01\x1b\x7f\x85" "b"), "/a????b");
    EXPECT_EQ(shown("/\xe2\x82\xac\xf0\x9f\x92\xa3"), "/??");   // euro sign, a bomb
    EXPECT_EQ(shown("/\xc3"), "/\xc3");                              // cut mid-letter

    make_level("TYHJ\xc3\x84", 1);
    open(0);
    browser_pass(s, nullptr);
    BITMAP *want = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
    blit(screen, want, 0, 0, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);
    rectfill(want, LIST_TEXT_X, LIST_TEXT_Y, LIST_TEXT_X + 80, LIST_TEXT_Y + 7, makecol(200, 0, 0));
    text_mode(-1);
    textout(want, font, "/TYHJ\xc4", LIST_TEXT_X, LIST_TEXT_Y, TEXT_WHITE);
    text_mode(0);
    int differ = 0;
    for (int y = LIST_TEXT_Y; y < LIST_TEXT_Y + 8; y++)
        for (int x = LIST_TEXT_X; x < LIST_TEXT_X + 80; x++)
            differ += getpixel(want, x, y) != getpixel(screen, x, y);
    destroy_bitmap(want);
    EXPECT_EQ(differ, 0);
}

// The entry shows eight letters; the file loads by its whole name, not by
// the cut one, which may be another level or none.
TEST_F(Browser, ALongNameLoadsItsOwnFile)
{
    make_level("FORTRESS", 2);
    make_level("FORTRESS2", 4);
    make_level("averyveryverylongname", 6);
    ASSERT_EQ(list_levels(), 3);
    EXPECT_STREQ(level_list[0], "/FORTRESS");
    EXPECT_STREQ(level_list[1], "/FORTRESS");
    EXPECT_STREQ(level_list[2], "/averyver");
    const int tiles[3] = {2, 4, 6};
    for (int i = 0; i < 3; i++)
        EXPECT_EQ(load_entry(i), tiles[i]) << "entry " << i;
    EXPECT_STREQ(level_path, "levels/averyver");
}

TEST_F(Browser, ListingKeepsEntriesPastTheFilesItFound)
{
    make_levels(5);
    list_levels();
    for (int i = 2; i < 5; i++)
        fs::remove("levels/" + numbered(i));
    EXPECT_EQ(list_levels(), 2);
    EXPECT_STREQ(level_list[1], "/lev001");
    EXPECT_STREQ(level_list[2], "/lev002") << "the list is never cleared";
}

TEST_F(Browser, MoreThanFiveHundredFilesAreCountedButNotStored)
{
    open(501);
    EXPECT_EQ(level_count, 501);
    EXPECT_EQ(list_fill, 501);
    EXPECT_EQ(s.entries, 500);
    EXPECT_EQ(s.max_first_row, 473);
    // Which file misses out is up to the directory's order; the 500 stored
    // are distinct and sorted.
    for (int i = 0; i < 499; i++)
        ASSERT_LT(std::strcmp(level_list[i], level_list[i + 1]), 0) << i;

    set_view(498, 473);
    pass_with_key(KEY_DOWN, 3);
    EXPECT_TRUE(view_is(499, 473));
}

// Whatever order the directory gives, a full list holds the names that
// sort first of all, and says under the rows how many it leaves out.
TEST_F(Browser, AFullListHoldsTheFirstNamesOfAllAndSaysHowManyMore)
{
    // The white letters in the band from y on, cut to their own width, and
    // the column they start at.
    auto letters = [](BITMAP *b, int y, int &left) {
        left = b->w;
        int right = -1;
        for (int py = y; py < y + 8; py++)
            for (int x = 0; x < b->w; x++)
                if (getpixel(b, x, py) == TEXT_WHITE) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        std::string rows;
        for (int py = y; py < y + 8; py++, rows += '\n')
            for (int x = left; x <= right; x++)
                rows += getpixel(b, x, py) == TEXT_WHITE ? '#' : '.';
        return rows;
    };
    const char *const arenas[] = {"DESERT", "FACTORY", "FORTRESS", "GARDEN", "GLACIER", "PILLARS", "RINGS"};
    for (const char *name : arenas)
        write_bytes(std::string("levels/") + name, {});
    s = open_browser();
    browser_pass(s, nullptr);
    int left = 0;
    EXPECT_EQ(letters(back_buffer, LIST_NOTE_Y, left), std::string(8, '\n'))
        << "nothing left out, nothing said";

    for (int i = 0; i < 2000; i++)
        write_bytes("levels/Z" + std::to_string(10000 + i), {});
    s = open_browser();
    EXPECT_EQ(level_count, 2007);
    for (int i = 0; i < 7; i++)
        EXPECT_EQ(level_list[i], "/" + std::string(arenas[i]));
    EXPECT_STREQ(level_list[LEVEL_LIST_SIZE - 1], "/Z10492");
    for (int i = 0; i < LEVEL_LIST_SIZE - 1; i++)
        ASSERT_LT(std::strcmp(level_list[i], level_list[i + 1]), 0) << i;

    browser_pass(s, nullptr);
    const char *note = "1507 more not shown";
    BITMAP *want = create_bitmap(SCREEN_WIDTH, 8);
    clear_to_color(want, 0);
    textout(want, font, note, 0, 0, TEXT_WHITE);
    int want_left = 0;
    EXPECT_EQ(letters(back_buffer, LIST_NOTE_Y, left), letters(want, 0, want_left));
    EXPECT_EQ(left - want_left, LIST_NOTE_CENTRE_X - text_length(font, note) / 2) << "centred";
    destroy_bitmap(want);
}

// ---- keys ----------------------------------------------------------------

TEST_F(Browser, DownStopsAtTheLastOfThreeFiles)
{
    open(3);
    EXPECT_EQ(s.max_first_row, 0);
    pass_with_key(KEY_DOWN, 5);
    EXPECT_TRUE(view_is(2, 0));
    EXPECT_EQ(s.result, BROWSER_RUNNING);
}

TEST_F(Browser, DownScrollsFromTheBottomRowUntilTheLastFile)
{
    open(40);
    EXPECT_EQ(s.max_first_row, 13);
    pass_with_key(KEY_DOWN, 25);
    EXPECT_TRUE(view_is(25, 0));
    pass_with_key(KEY_DOWN);
    EXPECT_TRUE(view_is(26, 1));
    pass_with_key(KEY_DOWN, 30);
    EXPECT_TRUE(view_is(39, 13));
}

TEST_F(Browser, UpScrollsOnlyOnReachingTheTopRow)
{
    open(40);
    set_view(7, 5);
    pass_with_key(KEY_UP);
    EXPECT_TRUE(view_is(6, 5));
    pass_with_key(KEY_UP);
    EXPECT_TRUE(view_is(5, 4));
    pass_with_key(KEY_UP, 10);
    EXPECT_TRUE(view_is(0, 0));
}

// ---- mouse ---------------------------------------------------------------

TEST_F(Browser, RowClicksSelectOnlyListedFiles)
{
    open(3);
    click_row(2);
    EXPECT_EQ(s.selected, 2);
    click_row(5);
    EXPECT_TRUE(view_is(2, 0));
    // The line two rows share belongs to the lower one.
    click(300, LIST_BAR_Y + LIST_ROW_HEIGHT * 1);
    EXPECT_EQ(s.selected, 1);
    set_mouse(300, LIST_BAR_Y + 6, 2);          // right button: nothing
    browser_pass(s, nullptr);
    EXPECT_EQ(s.selected, 1);
}

TEST_F(Browser, HoldingTheBottomRowKeepsScrolling)
{
    open(40);
    click_row(26);
    EXPECT_TRUE(view_is(26, 1));
    for (int i = 0; i < 20; i++)
        click_row(26);
    EXPECT_TRUE(view_is(39, 13));
}

TEST_F(Browser, ScrollArrowsMoveTheViewButNotTheSelection)
{
    open(40);
    click(393, 387, 20);                         // scroll-down arrow
    EXPECT_TRUE(view_is(0, 13));
    click(393, 67, 4);                           // scroll-up arrow
    EXPECT_TRUE(view_is(0, 9));
}

TEST_F(Browser, ClosingWithKeysAndButtons)
{
    open(3);
    pass_with_key(KEY_ESC);
    EXPECT_EQ(s.result, BROWSER_CANCEL);
    s.result = BROWSER_RUNNING;
    key[KEY_ESC] = 1;
    pass_with_key(KEY_ENTER);
    EXPECT_EQ(s.result, BROWSER_ACCEPT) << "Enter beats Esc";

    release_input();
    s.result = BROWSER_RUNNING;
    click(380, 420);
    EXPECT_EQ(s.result, BROWSER_CANCEL);
    click(260, 410);
    EXPECT_EQ(s.result, BROWSER_ACCEPT);
}

// ---- drawing ---------------------------------------------------------------

TEST_F(Browser, DrawsTheBarAndTheNamesOnTheScreen)
{
    open(3);
    s.selected = 1;
    browser_pass(s, nullptr);
    rgb bar = pixel_rgb(screen, 378, LIST_BAR_Y + LIST_ROW_HEIGHT + 6);
    EXPECT_GT(bar.r, 180);
    EXPECT_LT(bar.g, 20);

    int white = 0;
    for (int x = LIST_TEXT_X; x < LIST_TEXT_X + 56; x++)
        for (int y = LIST_TEXT_Y; y < LIST_TEXT_Y + 8; y++)
            white += pixel_rgb(screen, x, y).g > 240;
    EXPECT_GT(white, 10) << "the first name is drawn";

    // Below the visible rows, where the scroll arrows can leave it.
    s.selected = 28;
    browser_pass(s, nullptr);
    EXPECT_GT(pixel_rgb(screen, 300, LIST_BAR_Y + LIST_ROW_HEIGHT * 28 + 6).r, 180);
}

// ---- loading ---------------------------------------------------------------

TEST_F(Browser, AcceptLoadsTheSelectedFile)
{
    make_level("first", 2);
    make_level("second", 4);
    s = open_browser();
    pass_with_key(KEY_DOWN);
    pass_with_key(KEY_ENTER);
    close_browser(s);
    EXPECT_STREQ(level_path, "levels/second");
    EXPECT_EQ(board[30][20], 4);

    s.result = BROWSER_CANCEL;
    clear_board(0);
    close_browser(s);
    EXPECT_EQ(board[30][20], 0);

    // Enter still held from the screen before accepts the first file at once.
    key[KEY_ENTER] = 1;
    choose_level(nullptr);
    EXPECT_EQ(board[30][20], 2);
}

TEST_F(Browser, AcceptingAnEmptyListLeavesTheBoard)
{
    EXPECT_EQ(list_levels(), 0);
    fs::remove("levels");
    board[4][4] = 9;
    key[KEY_ENTER] = 1;
    choose_level(draw_editor_screen);
    EXPECT_EQ(level_count, 0);
    EXPECT_EQ(board[4][4], 9);
    EXPECT_FALSE(fs::exists("levels")) << "listing must not create levels/";
}

TEST_F(Browser, AClickOnTheTopRowScrollsUpOneRow)
{
    open(40);
    set_view(9, 5);
    click(300, 69);                              // row 0: y 63..75
    EXPECT_TRUE(view_is(5, 4));
}

// Clicks one pixel outside each button and arrow do nothing; on their
// corners they act.
TEST_F(Browser, ButtonsAndArrowsActOnlyInsideTheirAreas)
{
    open(40);
    s.first_row = 5;
    for (auto p : {std::pair{251, 416}, {319, 416}, {390, 416}, {300, 406}, {300, 427},
                   {385, 67}, {401, 67}, {393, 59}, {393, 75},
                   {385, 387}, {401, 387}, {393, 379}, {393, 395}}) {
        click(p.first, p.second);
        EXPECT_EQ(s.result, BROWSER_RUNNING) << p.first << "," << p.second;
        EXPECT_TRUE(view_is(0, 5)) << p.first << "," << p.second;
    }
    click(382, 69);                              // right of the rows (x 247..381)
    click(246, 69);
    EXPECT_EQ(s.selected, 0);
    click(386, 60);
    EXPECT_EQ(s.first_row, 4);
    click(400, 394);
    EXPECT_EQ(s.first_row, 5);
    click(389, 426);
    EXPECT_EQ(s.result, BROWSER_CANCEL);
    s.result = BROWSER_RUNNING;
    click(252, 407);
    EXPECT_EQ(s.result, BROWSER_ACCEPT);
}
