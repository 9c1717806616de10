// Drawing helpers and the readers of the committed text maps.
#include "art.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace art {

rgb mix(rgb a, rgb b, float t)
{
    return {static_cast<int>(a.r + (b.r - a.r) * t + 0.5f), static_cast<int>(a.g + (b.g - a.g) * t + 0.5f),
            static_cast<int>(a.b + (b.b - a.b) * t + 0.5f)};
}

rgb shade(rgb c, int delta) { return {c.r + delta, c.g + delta, c.b + delta}; }

rgb pixel_rgb(BITMAP *b, int x, int y)
{
    int p = getpixel(b, x, y);
    return {getr(p), getg(p), getb(p)};
}

float noise(int x, int y, int seed)
{
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
                 static_cast<uint32_t>(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return static_cast<float>(h & 0xffff) / 65535.0f;
}

float tile_noise(int x, int y, int seed, int period)
{
    x = ((x % period) + period) % period;
    y = ((y % period) + period) % period;
    return noise(x, y, seed);
}

void blend(BITMAP *b, int x, int y, rgb c, float alpha)
{
    if (x < 0 || y < 0 || x >= b->w || y >= b->h || alpha <= 0.0f)
        return;
    if (alpha > 1.0f)
        alpha = 1.0f;
    putpixel(b, x, y, col(mix(pixel_rgb(b, x, y), c, alpha)));
}

void bevel(BITMAP *b, int x1, int y1, int x2, int y2, rgb light, rgb dark, int width)
{
    for (int i = 0; i < width; i++) {
        hline(b, x1 + i, y1 + i, x2 - i, col(light));
        vline(b, x1 + i, y1 + i, y2 - i, col(light));
        hline(b, x1 + i, y2 - i, x2 - i, col(dark));
        vline(b, x2 - i, y1 + i, y2 - i, col(dark));
    }
}

void inset(BITMAP *b, int x1, int y1, int x2, int y2, rgb fill)
{
    rectfill(b, x1, y1, x2, y2, col(fill));
    bevel(b, x1, y1, x2, y2, shade(fill, -18), shade(fill, 40));
}

void push_button(BITMAP *b, int x1, int y1, int x2, int y2, rgb face, const char *text)
{
    for (int y = y1; y <= y2; y++)
        hline(b, x1, y, x2, col(mix(shade(face, 30), shade(face, -25), float(y - y1) / float(y2 - y1))));
    bevel(b, x1, y1, x2, y2, shade(face, 80), shade(face, -70));
    int cx = (x1 + x2 + 1) / 2, ty = (y1 + y2 + 1) / 2 - 4;
    label(b, text, cx, ty, {250, 250, 250}, true);
}

void metal(BITMAP *b, int x1, int y1, int x2, int y2, rgb base, int seed)
{
    for (int y = y1; y <= y2; y++) {
        float streak = noise(0, y, seed) * 6.0f - 3.0f;
        for (int x = x1; x <= x2; x++) {
            int n = static_cast<int>(noise(x / 7, y, seed + 1) * 6.0f + streak);
            putpixel(b, x, y, col(shade(base, n)));
        }
    }
}

void rivet(BITMAP *b, int x, int y)
{
    circlefill(b, x, y, 2, col(40, 42, 50));
    circlefill(b, x, y, 1, col(150, 155, 170));
    putpixel(b, x - 1, y - 1, col(220, 225, 235));
}

void label(BITMAP *b, const char *text, int x, int y, rgb c, bool centre)
{
    if (centre)
        x -= text_length(font, text) / 2;
    textout_ex(b, font, text, x + 1, y + 1, col(10, 10, 16), -1);
    textout_ex(b, font, text, x, y, col(c), -1);
}

// ---- text maps ----------------------------------------------------------------

namespace {

glyph_map glyphs_loaded;
grey_map title_loaded;

[[noreturn]] void bad_source(const std::string &path, const char *what)
{
    std::fprintf(stderr, "artgen: %s: %s\n", path.c_str(), what);
    std::exit(1);
}

std::vector<std::string> source_lines(const std::string &path)
{
    std::ifstream in(path);
    if (!in)
        bad_source(path, "cannot read");
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line))
        if (line.compare(0, 2, "# ") != 0)  // glyph rows may start with '#'
            lines.push_back(line);
    return lines;
}

void load_glyphs(const std::string &path)
{
    auto lines = source_lines(path);
    if (lines.empty() || std::sscanf(lines[0].c_str(), "height %d", &glyphs_loaded.height) != 1)
        bad_source(path, "no height line");
    size_t i = 1;
    for (int code = 32; code <= 126; code++) {
        int got = 0;
        if (i >= lines.size() || std::sscanf(lines[i].c_str(), "char %d", &got) != 1 || got != code)
            bad_source(path, "characters must run from 32 to 126 in order");
        i++;
        std::vector<std::string> rows;
        for (int r = 0; r < glyphs_loaded.height; r++, i++) {
            if (i >= lines.size() || lines[i].size() != lines[i - r].size() ||
                lines[i].find_first_not_of(".#") != std::string::npos)
                bad_source(path, "glyph rows must be of one width, made of '.' and '#'");
            rows.push_back(lines[i]);
        }
        glyphs_loaded.glyphs.push_back(rows);
    }
}

void load_title(const std::string &path)
{
    auto lines = source_lines(path);
    if (lines.empty() || std::sscanf(lines[0].c_str(), "size %d %d", &title_loaded.w, &title_loaded.h) != 2)
        bad_source(path, "no size line");
    for (int r = 0; r < title_loaded.h; r++) {
        const std::string &l = lines.at(1 + r);
        if (static_cast<int>(l.size()) != title_loaded.w + 2)
            bad_source(path, "row of the wrong width");
        title_loaded.rows.push_back(l.substr(1, title_loaded.w));
    }
}

}  // namespace

void load_sources(const std::string &dir)
{
    load_glyphs(dir + "/menu_font.txt");
    load_title(dir + "/title.txt");
}

const glyph_map &menu_glyphs() { return glyphs_loaded; }
const grey_map &title_map() { return title_loaded; }

int grey_map::at(int x, int y) const
{
    if (x < 0 || y < 0 || x >= w || y >= h)
        return 0;
    char c = rows[y][x];
    return c >= '0' && c <= '9' ? c - '0' : 0;
}

int glyph_text_width(const char *text)
{
    int w = 0;
    for (const char *p = text; *p; p++)
        if (*p >= 32 && *p <= 126)
            w += static_cast<int>(glyphs_loaded.glyphs[*p - 32][0].size());
    return w;
}

int glyph_text(BITMAP *b, const char *text, int x, int y, rgb top, rgb bottom)
{
    int start = x;
    const int h = glyphs_loaded.height;
    for (const char *p = text; *p; p++) {
        if (*p < 32 || *p > 126)
            continue;
        const auto &g = glyphs_loaded.glyphs[*p - 32];
        for (int r = 0; r < h; r++)
            for (size_t c = 0; c < g[r].size(); c++)
                if (g[r][c] == '#')
                    putpixel(b, x + static_cast<int>(c), y + r, col(mix(top, bottom, float(r) / float(h - 1))));
        x += static_cast<int>(g[0].size());
    }
    return x - start;
}

// The grid dat's font importer reads: glyph boxes of the background colour 0
// on a border of colour 255, one row of boxes after another, characters from
// 32 on. Lit pixels use colour 1, so the font is mono and textout's colour
// applies.
BITMAP *menu_font_sheet(PALETTE pal)
{
    for (int i = 0; i < 256; i++)
        pal[i].r = pal[i].g = pal[i].b = 0;
    pal[1].r = pal[1].g = pal[1].b = 63;
    pal[255].r = pal[255].b = 63;
    const glyph_map &gm = glyphs_loaded;
    const int per_row = 16, rows = (95 + per_row - 1) / per_row;
    int cell_w = 0;
    for (auto &g : gm.glyphs)
        cell_w = g[0].size() > static_cast<size_t>(cell_w) ? static_cast<int>(g[0].size()) : cell_w;
    BITMAP *sheet = create_bitmap_ex(8, per_row * (cell_w + 1) + 1, rows * (gm.height + 1) + 1);
    clear_to_color(sheet, 255);
    for (int i = 0; i < 95; i++) {
        const auto &g = gm.glyphs[i];
        int w = static_cast<int>(g[0].size());
        int x = (i % per_row) * (cell_w + 1) + 1, y = (i / per_row) * (gm.height + 1) + 1;
        // A box as wide as the glyph: the importer takes each box's width as
        // the character's advance.
        rectfill(sheet, x, y, x + w - 1, y + gm.height - 1, 0);
        for (int r = 0; r < gm.height; r++)
            for (int c = 0; c < w; c++)
                if (g[r][c] == '#')
                    putpixel(sheet, x + c, y + r, 1);
    }
    return sheet;
}

}  // namespace art
