// The editor's yes/no question and save-name box, a pass at a time.
#include <cstring>
#include <string>

#include "harness.h"

namespace {

class Dialogs : public GameTest {
protected:
    confirm_state answer_of_one_pass()
    {
        confirm_state s{false, 0};
        confirm_pass(s);
        return s;
    }

    save_name_state name;

    void SetUp() override
    {
        GameTest::SetUp();
        save_name_open(name);
    }

    // Press a key for one pass of the save-name box, then let go of it.
    void type(int k)
    {
        key[k] = 1;
        save_name_pass(name, draw_editor_screen);
        key[k] = 0;
    }
    void type(std::initializer_list<int> keys)
    {
        for (int k : keys)
            type(k);
    }

    std::string text() const { return std::string(name.name); }
};

// Where the text differs between two renderings of the dialog: the leftmost
// x of every pixel that differs in rows y..y+7, or -1.
int first_changed_x(BITMAP *a, BITMAP *b, int y)
{
    for (int x = 0; x < SCREEN_WIDTH; x++)
        for (int r = y; r < y + 8; r++)
            if (getpixel(a, x, r) != getpixel(b, x, r))
                return x;
    return -1;
}

// The dialog's rendering with a message, and without, for comparison.
BITMAP *render_confirm(const char *message)
{
    key[KEY_Y] = 1;
    EXPECT_EQ(confirm_dialog(message, draw_editor_screen), 1);
    key[KEY_Y] = 0;
    BITMAP *copy = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
    blit(back_buffer, copy, 0, 0, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);
    return copy;
}

// The 8x8 picture of one character of the built-in font, in text white.
BITMAP *glyph(const char *ch)
{
    BITMAP *b = create_bitmap(8, 8);
    clear_to_color(b, 0);
    textout_ex(b, font, ch, 0, 0, TEXT_WHITE, -1);
    return b;
}

bool glyph_at(BITMAP *bmp, int x, int y, BITMAP *g)
{
    for (int gy = 0; gy < 8; gy++)
        for (int gx = 0; gx < 8; gx++)
            if ((getpixel(g, gx, gy) == TEXT_WHITE) != (getpixel(bmp, x + gx, y + gy) == TEXT_WHITE))
                return false;
    return true;
}

}  // namespace

// ---- yes/no question -----------------------------------------------------

TEST_F(Dialogs, ConfirmAnswersByKeyAndNBeatsY)
{
    key[KEY_Y] = 1;
    auto s = answer_of_one_pass();
    EXPECT_TRUE(s.done);
    EXPECT_EQ(s.answer, 1);
    key[KEY_N] = 1;
    s = answer_of_one_pass();
    EXPECT_TRUE(s.done);
    EXPECT_EQ(s.answer, 0);
    release_input();
    EXPECT_FALSE(answer_of_one_pass().done);
}

TEST_F(Dialogs, ConfirmButtonsHitOnlyInsideTheirAreas)
{
    struct { int x, y; bool done; int answer; } clicks[] = {
        {304, 228, true, 1}, {257, 213, true, 1}, {305, 228, false, 0}, {317, 220, false, 0},
        {318, 213, true, 0}, {365, 228, true, 0}, {300, 229, false, 0}, {256, 220, false, 0}};
    for (auto c : clicks) {
        set_mouse(c.x, c.y, 1);
        auto s = answer_of_one_pass();
        EXPECT_EQ(s.done, c.done) << c.x << "," << c.y;
        EXPECT_EQ(s.answer, c.answer) << c.x << "," << c.y;
    }
    set_mouse(280, 220, 2);   // the right button answers nothing
    EXPECT_FALSE(answer_of_one_pass().done);
    set_mouse(280, 220, 1);   // Yes button, but N held: no
    key[KEY_N] = 1;
    EXPECT_EQ(answer_of_one_pass().answer, 0);
}

TEST_F(Dialogs, ConfirmCentresTheMessageByItsByteCount)
{
    BITMAP *blank = render_confirm("");
    BITMAP *sure = render_confirm("Are you sure Y/N");
    BITMAP *quit = render_confirm("Do you want to quit? Y/N");
    // Where the first glyph's ink starts within its 8-pixel cell.
    BITMAP *a = glyph("A"), *d = glyph("D");
    int a_ink = -1, d_ink = -1;
    for (int x = 7; x >= 0; x--)
        for (int y = 0; y < 8; y++) {
            if (getpixel(a, x, y) == TEXT_WHITE) a_ink = x;
            if (getpixel(d, x, y) == TEXT_WHITE) d_ink = x;
        }
    EXPECT_EQ(first_changed_x(blank, sure, CONFIRM_TEXT_Y), 256 + a_ink);
    EXPECT_EQ(first_changed_x(blank, quit, CONFIRM_TEXT_Y), 224 + d_ink);
    EXPECT_TRUE(glyph_at(sure, 256, CONFIRM_TEXT_Y, a));
    for (BITMAP *b : {blank, sure, quit, a, d})
        destroy_bitmap(b);
}

TEST_F(Dialogs, FinnishClearQuestionShowsItsUmlauts)
{
    // Asked by the editor's C key; N answers it and leaves the picture.
    key[KEY_C] = 1;
    key[KEY_N] = 1;
    clear_board(4);
    editor_frame();
    EXPECT_EQ(board[5][5], 4);
    // 29 bytes, so the text starts at 320 - 4 * 29 = 204; the two a-umlauts
    // are bytes 16 and 17.
    BITMAP *umlaut = glyph("\xE4");
    BITMAP *plain = glyph("a");
    BITMAP *missing = glyph("^");
    EXPECT_TRUE(glyph_at(back_buffer, 204 + 8 * 16, CONFIRM_TEXT_Y, umlaut));
    EXPECT_TRUE(glyph_at(back_buffer, 204 + 8 * 17, CONFIRM_TEXT_Y, umlaut));
    BITMAP *first = glyph("H");
    EXPECT_TRUE(glyph_at(back_buffer, 204, CONFIRM_TEXT_Y, first));
    // And the font really has the letter, not its stand-in for a missing
    // glyph: an a-shape with two marks above it.
    int marks = 0, plain_marks = 0, body_alike = 0;
    for (int y = 0; y < 8; y++)
        for (int x = 0; x < 8; x++) {
            bool u = getpixel(umlaut, x, y) == TEXT_WHITE;
            bool p = getpixel(plain, x, y) == TEXT_WHITE;
            if (y < 2) {
                marks += u;
                plain_marks += p;
            } else {
                body_alike += u == p;
            }
        }
    EXPECT_GE(marks, 2);
    EXPECT_EQ(plain_marks, 0);
    EXPECT_GE(body_alike, 46);   // of 48
    EXPECT_FALSE(glyph_at(umlaut, 0, 0, missing));
    for (BITMAP *b : {umlaut, plain, missing, first})
        destroy_bitmap(b);
}

// ---- save-name box -------------------------------------------------------

TEST_F(Dialogs, OpeningReleasesTheKeyThatOpenedIt)
{
    key[KEY_S] = 1;
    save_name_open(name);
    save_name_pass(name, draw_editor_screen);
    EXPECT_EQ(name.n, 0);
    EXPECT_EQ(text(), "");
}

TEST_F(Dialogs, OnePressTypesOneCapital)
{
    key[KEY_K] = 1;
    key[KEY_LSHIFT] = 1;
    save_name_pass(name, draw_editor_screen);
    save_name_pass(name, draw_editor_screen);   // still "held" as far as the test goes, but consumed
    EXPECT_EQ(text(), "K");
    EXPECT_EQ(key[KEY_K], 0);
}

TEST_F(Dialogs, TypingTableMapsLettersDigitsPlusAndMinus)
{
    type(KEY_A);
    type(KEY_Z);
    type(KEY_MINUS);   // the key right of 0
    type(KEY_SLASH);   // the key left of right Shift
    type(KEY_1);
    type(KEY_9);
    type(KEY_0);
    EXPECT_EQ(text(), "AZ+-190");
    // Nothing else reaches the name.
    const int others[] = {KEY_SPACE, KEY_0_PAD, KEY_PLUS_PAD, KEY_COMMA, KEY_STOP,
                          KEY_EQUALS, KEY_QUOTE, KEY_TAB, KEY_LSHIFT};
    for (int k : others)
        type(k);
    EXPECT_EQ(text(), "AZ+-190");
    EXPECT_EQ(name.n, 7);
}

TEST_F(Dialogs, BackspaceBlanksWithoutShifting)
{
    type({KEY_K, KEY_L, KEY_M, KEY_BACKSPACE, KEY_N});
    EXPECT_EQ(text(), "KLN ");
    EXPECT_EQ(name.n, 3);
    type(KEY_ENTER);
    EXPECT_EQ(name.state, SAVE_NAME_ACCEPTED);
    build_save_path(name.name);
    EXPECT_STREQ(level_path, "levels/KLN");
}

TEST_F(Dialogs, CursorFollowsTheTypedCount)
{
    type({KEY_K, KEY_L, KEY_M, KEY_BACKSPACE, KEY_N});
    BITMAP *cursor = glyph("_");
    EXPECT_TRUE(glyph_at(back_buffer, 306, SAVE_TEXT_Y, cursor));
    BITMAP *k = glyph("K");
    EXPECT_TRUE(glyph_at(back_buffer, SAVE_TEXT_X, SAVE_TEXT_Y, k));
    destroy_bitmap(cursor);
    destroy_bitmap(k);
}

TEST_F(Dialogs, AnEmptyNameIsNotAccepted)
{
    type(KEY_A);
    type(KEY_BACKSPACE);
    EXPECT_EQ(name.n, 0);
    EXPECT_EQ(text(), "  ");
    type(KEY_ENTER);
    EXPECT_EQ(name.state, SAVE_NAME_OPEN);
    type(KEY_BACKSPACE);   // nothing to remove
    type(KEY_B);
    EXPECT_EQ(text(), "B ");
    EXPECT_EQ(name.n, 1);
}

TEST_F(Dialogs, NameStopsAtEightCharacters)
{
    for (int i = 0; i < 10; i++)
        type(KEY_A + i);
    EXPECT_EQ(text(), "ABCDEFGH");
    type(KEY_BACKSPACE);
    EXPECT_EQ(text(), "ABCDEFG  ");
    EXPECT_EQ(name.n, 7);
    EXPECT_EQ(name.name[9], 0);
    build_save_path(name.name);
    EXPECT_STREQ(level_path, "levels/ABCDEFG");
    type(KEY_Z);
    build_save_path(name.name);
    EXPECT_STREQ(level_path, "levels/ABCDEFGZ");
}

TEST_F(Dialogs, EscCancelsAndBeatsEnter)
{
    type(KEY_A);
    key[KEY_ENTER] = 1;
    key[KEY_ESC] = 1;
    save_name_pass(name, draw_editor_screen);
    EXPECT_EQ(name.state, SAVE_NAME_CANCELLED);

    // A character and Enter in one pass: the character is taken first.
    save_name_open(name);
    key[KEY_Q] = 1;
    key[KEY_ENTER] = 1;
    save_name_pass(name, draw_editor_screen);
    EXPECT_EQ(name.state, SAVE_NAME_ACCEPTED);
    EXPECT_EQ(text(), "Q");
}
