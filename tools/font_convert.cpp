// One-off converter from a TrueType font to the text pixel maps under assets/:
//   font_convert glyphs FONT.ttf PIXELS TOP_PAD -> mono glyph map of characters 32..126
//   font_convert banner FONT.ttf PIXELS TEXT -> grey-level map of one line of text
// Output goes to stdout. The build never runs this: the maps are committed and
// edited by hand from then on; tools/convert_font.sh records how they were made.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

FT_Library library;
FT_Face face;

int ascent_px() { return static_cast<int>((face->size->metrics.ascender + 63) >> 6); }
int descent_px() { return static_cast<int>((-face->size->metrics.descender + 63) >> 6); }

// Mono glyphs, hinted, every glyph one line height tall and as wide as its
// advance, so the map is a fixed-height strip per character. Blank rows added
// on top lower the ink within the line: the menus centre their highlight
// about 20 pixels below the text position, and the letters should sit in it.
void glyphs(int top_pad)
{
    const int ascent = ascent_px() + top_pad, height = ascent + descent_px();
    std::printf("height %d\n", height);
    for (int c = 32; c <= 126; c++) {
        FT_Load_Char(face, c, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME);
        FT_GlyphSlot g = face->glyph;
        int width = static_cast<int>((g->advance.x + 32) >> 6);
        width = std::max(width, g->bitmap_left + static_cast<int>(g->bitmap.width));
        std::vector<std::string> rows(height, std::string(width, '.'));
        for (unsigned y = 0; y < g->bitmap.rows; y++)
            for (unsigned x = 0; x < g->bitmap.width; x++) {
                const unsigned char *row = g->bitmap.buffer + y * g->bitmap.pitch;
                if (!(row[x / 8] & (0x80 >> (x % 8))))
                    continue;
                int px = g->bitmap_left + static_cast<int>(x);
                int py = ascent - g->bitmap_top + static_cast<int>(y);
                if (px >= 0 && px < width && py >= 0 && py < height)
                    rows[py][px] = '#';
            }
        std::printf("char %d\n", c);
        for (auto &r : rows)
            std::printf("%s\n", r.c_str());
    }
}

// Anti-aliased line of text as ten grey levels, ' ' (none) to '9' (full).
void banner(const char *text)
{
    const int ascent = ascent_px(), height = ascent + descent_px();
    int width = 0;
    for (const char *p = text; *p; p++) {
        FT_Load_Char(face, static_cast<unsigned char>(*p), FT_LOAD_DEFAULT);
        width += static_cast<int>((face->glyph->advance.x + 32) >> 6);
    }
    std::vector<std::string> rows(height, std::string(width + 2, ' '));
    int pen = 1;
    for (const char *p = text; *p; p++) {
        FT_Load_Char(face, static_cast<unsigned char>(*p), FT_LOAD_RENDER);
        FT_GlyphSlot g = face->glyph;
        for (unsigned y = 0; y < g->bitmap.rows; y++)
            for (unsigned x = 0; x < g->bitmap.width; x++) {
                int v = g->bitmap.buffer[y * g->bitmap.pitch + x] * 10 / 256;
                int px = pen + g->bitmap_left + static_cast<int>(x);
                int py = ascent - g->bitmap_top + static_cast<int>(y);
                if (v > 0 && px >= 0 && px < width + 2 && py >= 0 && py < height)
                    rows[py][px] = static_cast<char>('0' + std::max(v, rows[py][px] == ' ' ? 0 : rows[py][px] - '0'));
            }
        pen += static_cast<int>((g->advance.x + 32) >> 6);
    }
    // Drop empty rows above and below so the map is as tall as the ink.
    auto blank = [](const std::string &r) { return r.find_first_not_of(' ') == std::string::npos; };
    while (!rows.empty() && blank(rows.front()))
        rows.erase(rows.begin());
    while (!rows.empty() && blank(rows.back()))
        rows.pop_back();
    std::printf("size %d %d\n", width + 2, static_cast<int>(rows.size()));
    for (auto &r : rows)
        std::printf("|%s|\n", r.c_str());
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: font_convert glyphs FONT PIXELS TOP_PAD | banner FONT PIXELS TEXT\n");
        return 2;
    }
    if (FT_Init_FreeType(&library) || FT_New_Face(library, argv[2], 0, &face)) {
        std::fprintf(stderr, "font_convert: cannot open %s\n", argv[2]);
        return 1;
    }
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(std::atoi(argv[3])));
    if (std::string(argv[1]) == "glyphs")
        glyphs(std::atoi(argv[4]));
    else
        banner(argv[4]);
    return 0;
}
