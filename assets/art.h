// Shared helpers of the art generator: colours, deterministic noise, bevels,
// blending and the text maps read from this directory. Everything here draws
// on 24-bit memory bitmaps; dat converts to the game's depth when loading.
#pragma once

#include <allegro.h>

#include <string>
#include <vector>

namespace art {

struct rgb {
    int r, g, b;
};

inline int clamp255(int v) { return v < 0 ? 0 : v > 255 ? 255 : v; }
inline int col(rgb c) { return makecol(clamp255(c.r), clamp255(c.g), clamp255(c.b)); }
inline int col(int r, int g, int b) { return col(rgb{r, g, b}); }
inline int magenta() { return makecol(255, 0, 255); }

rgb mix(rgb a, rgb b, float t);          // t 0 gives a, 1 gives b
rgb shade(rgb c, int delta);             // lighter (+) or darker (-)
rgb pixel_rgb(BITMAP *b, int x, int y);

// Integer hash noise: the same (x, y, seed) always gives the same value.
float noise(int x, int y, int seed);      // 0..1
// Noise that repeats every `period` pixels, so tiles join without seams.
float tile_noise(int x, int y, int seed, int period = 12);

// Alpha-blends colour c over pixel (x, y); alpha 0..1.
void blend(BITMAP *b, int x, int y, rgb c, float alpha);
// Raised (or sunken) edge of `width` pixels around rectangle x1,y1-x2,y2.
void bevel(BITMAP *b, int x1, int y1, int x2, int y2, rgb light, rgb dark, int width = 1);
// Rectangle whose edges show it pressed into the surface around it.
void inset(BITMAP *b, int x1, int y1, int x2, int y2, rgb fill);
// Raised push button with its label centred in Allegro's 8x8 font.
void push_button(BITMAP *b, int x1, int y1, int x2, int y2, rgb face, const char *label);
// A brushed-metal plate filling rectangle x1,y1-x2,y2.
void metal(BITMAP *b, int x1, int y1, int x2, int y2, rgb base, int seed);
// Small screw head centred on (x, y).
void rivet(BITMAP *b, int x, int y);

// Text in Allegro's built-in 8x8 font with a one-pixel dark shadow.
void label(BITMAP *b, const char *text, int x, int y, rgb c, bool centre = false);

// ---- text maps --------------------------------------------------------------
// The menu font as converted into menu_font.txt: glyphs 32..126, one height.
struct glyph_map {
    int height = 0;
    std::vector<std::vector<std::string>> glyphs;  // [code - 32][row]
};
const glyph_map &menu_glyphs();
int glyph_text_width(const char *text);
// Draws text in the menu font's shapes, coloured per row by `paint` (so text
// can carry a gradient); returns the width drawn.
int glyph_text(BITMAP *b, const char *text, int x, int y, rgb top, rgb bottom);

// The title lettering: grey levels 0..9 per pixel.
struct grey_map {
    int w = 0, h = 0;
    std::vector<std::string> rows;
    int at(int x, int y) const;  // 0..9, 0 outside
};
const grey_map &title_map();

void load_sources(const std::string &dir);

// ---- the pictures -----------------------------------------------------------
// Each returns a new 24-bit bitmap the caller saves.
BITMAP *tile(int id);
BITMAP *light_plate(int frame);           // frames 0..7 of the animated tile
BITMAP *small_bomb(int frame);
BITMAP *big_bomb(int frame);
BITMAP *missile(int frame);
BITMAP *explosion(int frame);
BITMAP *walker(int frame, int player);     // player 0 or 1, facing up
BITMAP *wreck();
BITMAP *pen_pointer();
BITMAP *bucket_pointer();
BITMAP *tool_button(bool fill, bool down);
BITMAP *hover_mark();
BITMAP *status_panel();
BITMAP *editor_panel();
BITMAP *yesno_box();
BITMAP *list_box();
BITMAP *save_box();
BITMAP *menu_background();
// The menu font as dat's grid import wants it, 8-bit with its palette.
BITMAP *menu_font_sheet(PALETTE pal);

}  // namespace art
