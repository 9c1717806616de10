// Object numbers of level.dat, data.dat and sound.dat, and the screen
// positions that several rooms of the game share. Nothing else should spell
// these numbers.
#pragma once

// ---- level.dat -----------------------------------------------------------
constexpr int OBJ_TILE_FIRST = 0;       // tiles 0..29: object number == tile id
constexpr int TILE_COUNT = 30;          // the editor places tile ids 0..29
constexpr int OBJ_SPARE = 30;           // no fixed use, kept so numbering holds
constexpr int OBJ_POINTER_FILL = 31;    // bucket pointer, focus (2, 11)
constexpr int OBJ_POINTER_PEN = 32;     // pen pointer, focus (0, 16)
constexpr int OBJ_EDITOR_PANEL = 33;    // 640 x 70
constexpr int OBJ_MENU_FONT = 34;
constexpr int OBJ_YESNO_BOX = 35;
constexpr int OBJ_LIST_BOX = 36;
constexpr int OBJ_SAVE_BOX = 37;
constexpr int OBJ_ANIM_TILE_FIRST = 38; // 38..45, frames of tile 19
constexpr int OBJ_PEN_UP = 46;
constexpr int OBJ_PEN_DOWN = 47;
constexpr int OBJ_FILL_UP = 48;
constexpr int OBJ_FILL_DOWN = 49;
constexpr int OBJ_HOVER_MARK = 50;
constexpr int LEVEL_DAT_OBJECTS = 51;

constexpr int ANIMATED_TILE = 19;
// Tiles that stop walking players and flying missiles; the art draws them
// raised and the editor's palette marks their slots.
constexpr int WALL_TILES[] = {1, 3, 5, 7, 9, 12, 17, 20};
constexpr bool is_wall_tile_id(int tile)
{
    for (int w : WALL_TILES)
        if (w == tile)
            return true;
    return false;
}

constexpr int POINTER_FILL_FOCUS_X = 2, POINTER_FILL_FOCUS_Y = 11;
constexpr int POINTER_PEN_FOCUS_X = 0, POINTER_PEN_FOCUS_Y = 16;

// ---- data.dat ------------------------------------------------------------
constexpr int OBJ_BOMB_FIRST = 0;       // 0..5
constexpr int OBJ_BIG_BOMB_FIRST = 6;   // 6..11
constexpr int OBJ_MISSILE_FIRST = 12;   // 12..19
constexpr int OBJ_STATUS_PANEL = 20;    // 640 x 70
constexpr int OBJ_P1_WALK_FIRST = 21;   // 21..28, drawn facing up
constexpr int OBJ_P2_WALK_FIRST = 29;   // 29..36
constexpr int OBJ_EXPLOSION_FIRST = 37; // 37..44
constexpr int OBJ_MENU_BACKGROUND = 45; // 640 x 480
constexpr int OBJ_WRECK = 46;
constexpr int GAME_DAT_OBJECTS = 47;

// How many pictures each animation has. The animated tile and the missile
// both follow the match's animation clock, so they share its length.
constexpr int ANIM_CLOCK_FRAMES = 8;
constexpr int ANIM_TILE_FRAMES = ANIM_CLOCK_FRAMES, MISSILE_FRAMES = ANIM_CLOCK_FRAMES;
constexpr int BOMB_FRAMES = 6, BIG_BOMB_FRAMES = 6;
constexpr int WALK_FRAMES = 8, EXPLOSION_FRAMES = 8;
static_assert(OBJ_ANIM_TILE_FIRST + ANIM_TILE_FRAMES == OBJ_PEN_UP, "level.dat's animation is whole");
static_assert(OBJ_BOMB_FIRST + BOMB_FRAMES == OBJ_BIG_BOMB_FIRST &&
                  OBJ_BIG_BOMB_FIRST + BIG_BOMB_FRAMES == OBJ_MISSILE_FIRST &&
                  OBJ_MISSILE_FIRST + MISSILE_FRAMES == OBJ_STATUS_PANEL &&
                  OBJ_P1_WALK_FIRST + WALK_FRAMES == OBJ_P2_WALK_FIRST &&
                  OBJ_P2_WALK_FIRST + WALK_FRAMES == OBJ_EXPLOSION_FIRST &&
                  OBJ_EXPLOSION_FIRST + EXPLOSION_FRAMES == OBJ_MENU_BACKGROUND,
              "data.dat's animations are whole and in order");

// ---- sound.dat -----------------------------------------------------------
// One sample per effect; the effect's number is its object number.
constexpr int SOUND_SMALL_BLAST = 0;
constexpr int SOUND_BIG_BLAST = 1;
constexpr int SOUND_MISSILE_LAUNCH = 2;
constexpr int SOUND_MISSILE_HIT = 3;
constexpr int SOUND_BOMB_DROPPED = 4;
constexpr int SOUND_WEAPON_CHANGED = 5;
constexpr int SOUND_PLAYER_HIT = 6;
constexpr int SOUND_PLAYER_WRECKED = 7;
constexpr int SOUND_MENU_MOVE = 8;
constexpr int SOUND_MENU_CHOOSE = 9;
constexpr int SOUND_LEVEL_SAVED = 10;
constexpr int SOUND_SAVE_FAILED = 11;
constexpr int SOUND_RESULT = 12;        // a match's result is decided
constexpr int SOUND_COUNT = 13;

// The weapon icons reuse the first frame of each weapon's animation.
constexpr int OBJ_ICON_BOMB = OBJ_BOMB_FIRST;
constexpr int OBJ_ICON_MISSILE = OBJ_MISSILE_FIRST;
constexpr int OBJ_ICON_BIG_BOMB = OBJ_BIG_BOMB_FIRST;

// The colour of menu and dialog texts.
#define TEXT_WHITE makecol(250, 250, 250)
// The key-binding prompt's text, a shade off TEXT_WHITE.
#define KEY_PROMPT_COLOR makecol(254, 254, 254)
// The ellipse behind the highlighted menu item.
#define MENU_HIGHLIGHT_COLOR makecol(250, 0, 0)
// The level browser's selection bar.
#define LIST_BAR_COLOR makecol(200, 0, 0)
// The players' names in the match panel.
#define P1_NAME_COLOR makecol(250, 0, 0)
#define P2_NAME_COLOR makecol(0, 250, 0)
// Messages to the player: what failed in a warm red, what worked but has a
// catch in amber, what worked in green, each over a one-pixel dark shadow;
// under the menu on a dark framed strip.
#define MESSAGE_FAILURE_COLOR makecol(255, 120, 90)
#define MESSAGE_WARNING_COLOR makecol(255, 206, 80)
#define MESSAGE_SUCCESS_COLOR makecol(150, 235, 150)
#define MESSAGE_SHADOW_COLOR makecol(10, 10, 16)
#define MENU_MESSAGE_FILL_COLOR makecol(18, 14, 30)
#define MENU_MESSAGE_FRAME_COLOR makecol(120, 110, 160)

// Allegro's built-in font, the one of the editor, its dialogs, the browser,
// the names in the match panel and the messages: every character 8 by 8.
constexpr int FONT_CHAR_WIDTH = 8;
constexpr int MESSAGE_LINE_HEIGHT = 11;

// ---- screen layout -------------------------------------------------------
constexpr int SCREEN_WIDTH = 640;
constexpr int SCREEN_HEIGHT = 480;
constexpr int CELL_SIZE = 12;
constexpr int BOARD_LEFT = 2;           // cell (c, r) is at (c*12+2, r*12+2)
constexpr int BOARD_TOP = 2;
constexpr int PANEL_TOP = 410;
constexpr int PANEL_HEIGHT = 70;

constexpr int cell_x(int col) { return col * CELL_SIZE + BOARD_LEFT; }
constexpr int cell_y(int row) { return row * CELL_SIZE + BOARD_TOP; }

// Match panel.
constexpr int P1_ICON_X = 23, P2_ICON_X = 515, ICON_Y = 433;
constexpr int P1_NAME_X = 93, P2_NAME_X = 585, NAME_Y = 445;
constexpr int P1_BAR_X = 9, P2_BAR_X = 501, BAR_TOP = 462, BAR_BOTTOM = 471;
constexpr int FPS_X = 320, FPS_Y = 440;
// A computer player's mark ("CPU HARD"), on the panel's ground between the
// header and the name plate, flush with the plate's right end.
constexpr int COMPUTER_MARK_Y = 430, COMPUTER_MARK_RIGHT = 48;   // right end: name x + 48
#define COMPUTER_MARK_COLOR makecol(255, 220, 120)
// The dark box in the middle of the status panel: a title row (the panel's
// own lettering, or what the match has come to) over a row of hints and the
// score.
constexpr int PANEL_CENTRE_X1 = 161, PANEL_CENTRE_X2 = 478, PANEL_CENTRE_X = 320;
constexpr int PANEL_TITLE_Y1 = 419, PANEL_TITLE_Y2 = 441, PANEL_TITLE_TEXT_Y = 422;
constexpr int PANEL_HINT_Y1 = 443, PANEL_HINT_Y2 = 457, PANEL_HINT_TEXT_Y = 447;
constexpr int PANEL_HINT_MARGIN = 6;
#define PANEL_HINT_COLOR makecol(190, 198, 210)
#define PANEL_DRAW_COLOR makecol(255, 220, 120)

// Editor panel.
constexpr int PALETTE_X = 13, PALETTE_Y = 423, PALETTE_STEP = 16;
constexpr int PALETTE_COLUMNS = 10, PALETTE_ROWS = 3;
constexpr int LEFT_TILE_X = 181, LEFT_TILE_Y = 433;
constexpr int RIGHT_TILE_X = 181, RIGHT_TILE_Y = 446;
constexpr int PEN_BUTTON_X = 200, FILL_BUTTON_X = 222, TOOL_BUTTON_Y = 450;
constexpr int TOOL_BUTTON_SIZE = 20;

// The key help in the middle of the editor panel, where messages show.
constexpr int PANEL_HELP_X1 = 255, PANEL_HELP_X2 = 487, PANEL_HELP_Y1 = 439, PANEL_HELP_Y2 = 471;
// A message keeps a character's margin inside the box.
constexpr int PANEL_HELP_CENTRE_X = 371;
constexpr int PANEL_MESSAGE_CHARS = (PANEL_HELP_X2 - PANEL_HELP_X1) / FONT_CHAR_WIDTH - 1;
// The mirror lamp in the top right corner of the help box, beside the title:
// its socket is part of the panel picture, the editor lights it while mirror
// painting is on.
constexpr int MIRROR_LAMP_X1 = 470, MIRROR_LAMP_Y1 = 418, MIRROR_LAMP_X2 = 485, MIRROR_LAMP_Y2 = 431;

struct hit_area { int x1, y1, x2, y2; };  // inclusive on every side
constexpr bool in_area(const hit_area &a, int x, int y)
{
    return x >= a.x1 && x <= a.x2 && y >= a.y1 && y <= a.y2;
}

constexpr hit_area PEN_BUTTON_AREA = {200, 450, 220, 470};
constexpr hit_area FILL_BUTTON_AREA = {222, 450, 242, 470};
constexpr hit_area CLEAR_BUTTON_AREA = {497, 420, 555, 434};
constexpr hit_area LOAD_BUTTON_AREA = {560, 420, 618, 434};
constexpr hit_area SAVE_BUTTON_AREA = {560, 437, 618, 451};
constexpr hit_area QUIT_BUTTON_AREA = {560, 454, 618, 468};

// Dialog boxes.
constexpr int YESNO_BOX_X = 170, YESNO_BOX_Y = 160;
constexpr int LIST_BOX_X = 220, LIST_BOX_Y = 40;
constexpr int SAVE_BOX_X = 270, SAVE_BOX_Y = 220;
constexpr hit_area YES_BUTTON_AREA = {257, 213, 304, 228};
constexpr hit_area NO_BUTTON_AREA = {318, 213, 365, 228};
constexpr int CONFIRM_TEXT_CENTRE_X = 320, CONFIRM_TEXT_Y = 180;
constexpr int SAVE_TEXT_X = 282, SAVE_TEXT_Y = 247;
constexpr hit_area OK_BUTTON_AREA = {252, 407, 318, 426};
constexpr hit_area CANCEL_BUTTON_AREA = {322, 407, 389, 426};
constexpr hit_area SCROLL_UP_AREA = {386, 60, 400, 74};
constexpr hit_area SCROLL_DOWN_AREA = {386, 380, 400, 394};
constexpr int LIST_ROWS = 27;
constexpr int LIST_TEXT_X = 250, LIST_TEXT_Y = 65;
constexpr int LIST_BAR_X1 = 247, LIST_BAR_X2 = 381, LIST_BAR_Y = 63;
constexpr int LIST_ROW_HEIGHT = 12;
// How many files the list has no rows for: on the box's ground between the
// list and the buttons, centred in the box.
constexpr int LIST_NOTE_CENTRE_X = 321, LIST_NOTE_Y = 397;

// Menus. The choices are the items' numbers, top to bottom.
constexpr int MENU_ITEMS = 5;
constexpr int MAIN_NEW_GAME = 1, MAIN_OPTIONS = 2, MAIN_EDITOR = 3, MAIN_CREDITS = 4, MAIN_QUIT = 5;
constexpr int OPTIONS_NAMES = 1, OPTIONS_KEYS = 2, OPTIONS_ENERGY = 3, OPTIONS_MONEY = 4,
              OPTIONS_BACK = 5;
constexpr int MENU_X = 320;
constexpr int MENU_TEXT_Y[MENU_ITEMS] = {180, 220, 260, 300, 340};
constexpr int MENU_ELLIPSE_Y[MENU_ITEMS] = {200, 240, 275, 319, 355};
constexpr int MENU_ELLIPSE_RX = 100, MENU_ELLIPSE_RY = 20;

// Messages under the menu, on a strip as wide as the menu's picture frame.
constexpr int MENU_MESSAGE_Y = 412;
constexpr int MENU_STRIP_X1 = 70, MENU_STRIP_Y1 = MENU_MESSAGE_Y - 5;
constexpr int MENU_STRIP_X2 = 569, MENU_STRIP_Y2 = MENU_MESSAGE_Y + 21;
constexpr int MENU_MESSAGE_CHARS = (MENU_STRIP_X2 + 1 - MENU_STRIP_X1) / FONT_CHAR_WIDTH - 2;

// Who plays, beside the level browser that New Game opens: two lines under
// each player's picture on the menu background.
constexpr int WHO_PLAYS_X[2] = {100, 540};   // centres
constexpr int WHO_PLAYS_Y = 298, WHO_PLAYS_LINE = 11;
constexpr int WHO_PLAYS_HALF_WIDTH = 90;
// Under the browser, over the menu picture's key help: a message to the
// player, one line on a strip like the menu's.
constexpr int BROWSER_MESSAGE_Y = 452, BROWSER_MESSAGE_CHARS = 60;

// Names dialog.
constexpr int NAMES_LABEL_X = 100, NAMES_ENTRY_X = 320, NAMES_Y = 240;

// ---- the arena -----------------------------------------------------------
// The cells the players start a match on: player 1 top left, player 2
// bottom right.
constexpr int P1_START_COL = 0, P1_START_ROW = 0;
constexpr int P2_START_COL = 52, P2_START_ROW = 33;

// A player's collision box inside its 12 by 12 picture: pixels NEAR..FAR
// from the picture's top left on both axes, one short of the picture on the
// left and top, probed at its four corners and its centre. The centre's
// cell is the player's cell.
constexpr int PLAYER_BOX_NEAR = 1, PLAYER_BOX_FAR = 11, PLAYER_CENTRE = 6;
