// Draws every picture of level.dat and data.dat and writes them as BMP files,
// with a manifest per datafile listing the objects in their numbered order.
// Usage: artgen OUTDIR. Deterministic: the same source gives the same files.
#include <allegro.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string out_dir;

struct manifest {
    FILE *file;
    int count;
};

void add(manifest &m, const char *type, const std::string &path)
{
    std::fprintf(m.file, "%s %s\n", type, path.c_str());
    m.count++;
}

void save(manifest &m, const char *stem, BITMAP *bmp)
{
    char name[64];
    std::snprintf(name, sizeof name, "%s_%02d.bmp", stem, m.count);
    std::string path = out_dir + "/" + name;
    save_bitmap(path.c_str(), bmp, nullptr);
    add(m, "BMP", path);
    destroy_bitmap(bmp);
}

int magenta() { return makecol(255, 0, 255); }

BITMAP *tile_picture(int id)
{
    static const int walls[] = {1, 3, 5, 7, 9, 12, 17, 20};
    bool wall = false;
    for (int w : walls)
        wall = wall || w == id;
    BITMAP *b = create_bitmap(12, 12);
    if (wall) {
        int hue = (id * 37) % 200;
        clear_to_color(b, makecol(90 + hue / 3, 60, 40 + hue / 4));
        for (int y = 0; y < 12; y += 4)
            hline(b, 0, y, 11, makecol(40, 30, 30));
        for (int y = 0; y < 12; y += 4)
            vline(b, ((y / 4) % 2) ? 6 : 2, y, y + 3, makecol(40, 30, 30));
        rect(b, 0, 0, 11, 11, makecol(20, 20, 20));
    } else {
        int shade = 40 + (id * 23) % 60;
        clear_to_color(b, makecol(shade, 90 + (id * 11) % 60, shade));
        putpixel(b, (id * 5) % 12, (id * 7) % 12, makecol(shade + 30, 150, shade + 30));
        putpixel(b, (id * 3 + 4) % 12, (id * 9 + 2) % 12, makecol(shade - 20, 70, shade - 20));
    }
    return b;
}

BITMAP *water_frame(int f)
{
    BITMAP *b = create_bitmap(12, 12);
    clear_to_color(b, makecol(20, 60, 170));
    for (int y = 0; y < 12; y += 4)
        for (int x = 0; x < 12; x++)
            if ((x + f * 3 / 2 + y) % 6 == 0)
                putpixel(b, x, y + 1, makecol(120, 170, 240));
    return b;
}

BITMAP *box(int w, int h, const char *label)
{
    BITMAP *b = create_bitmap(w, h);
    clear_to_color(b, makecol(40, 40, 70));
    rect(b, 0, 0, w - 1, h - 1, makecol(200, 200, 220));
    if (label) {
        text_mode(-1);
        textout_ex(b, font, label, 4, 4, makecol(200, 200, 220), -1);
    }
    return b;
}

void button(BITMAP *b, int x1, int y1, int x2, int y2, const char *label)
{
    rectfill(b, x1, y1, x2, y2, makecol(70, 70, 110));
    rect(b, x1, y1, x2, y2, makecol(220, 220, 240));
    textout_centre_ex(b, font, label, (x1 + x2 + 1) / 2, (y1 + y2 - 6) / 2, makecol(240, 240, 240), -1);
}

BITMAP *sprite_ball(int size, int r, int g, int bl, int phase)
{
    BITMAP *b = create_bitmap(12, 12);
    clear_to_color(b, magenta());
    circlefill(b, 6, 6, size, makecol(r, g, bl));
    if (phase % 2)
        putpixel(b, 6, 6 - size, makecol(255, 255, 120));
    return b;
}

BITMAP *walker(int f, int r, int g, int bl)
{
    BITMAP *b = create_bitmap(12, 12);
    clear_to_color(b, magenta());
    rectfill(b, 2, 3, 9, 10, makecol(r, g, bl));
    rectfill(b, 5, 0, 6, 3, makecol(230, 230, 230));   // points up
    int leg = f % 2 ? 1 : 0;
    putpixel(b, 2, 11 - leg, makecol(30, 30, 30));
    putpixel(b, 9, 10 + leg, makecol(30, 30, 30));
    return b;
}

// The menu font: Allegro's built-in 8x8 glyphs doubled, laid out in the grid
// that dat's font importer reads (glyphs 32..127 boxed in colour 255).
void menu_font(manifest &m)
{
    set_color_depth(8);
    PALETTE pal;
    for (int i = 0; i < 256; i++)
        pal[i].r = pal[i].g = pal[i].b = 0;
    pal[1].r = pal[1].g = pal[1].b = 63;
    pal[255].r = pal[255].b = 63;
    const int cw = 16, ch = 18, cols = 16, rows = 6;
    BITMAP *sheet = create_bitmap(cols * (cw + 1) + 1, rows * (ch + 1) + 1);
    clear_to_color(sheet, 255);
    BITMAP *glyph = create_bitmap(8, 8);
    for (int c = 0; c < cols * rows; c++) {
        int x = (c % cols) * (cw + 1) + 1, y = (c / cols) * (ch + 1) + 1;
        rectfill(sheet, x, y, x + cw - 1, y + ch - 1, 0);
        char s[2] = {static_cast<char>(32 + c), 0};
        clear_to_color(glyph, 0);
        textout_ex(glyph, font, s, 0, 0, 1, 0);
        stretch_blit(glyph, sheet, 0, 0, 8, 8, x, y + 1, 16, 16);
    }
    destroy_bitmap(glyph);
    std::string path = out_dir + "/menu_font.bmp";
    save_bitmap(path.c_str(), sheet, pal);
    destroy_bitmap(sheet);
    add(m, "FONT", path);
    set_color_depth(24);
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: artgen OUTDIR\n");
        return 2;
    }
    out_dir = argv[1];
    set_uformat(U_ASCII);
    install_allegro(SYSTEM_NONE, &errno, atexit);
    set_color_depth(24);

    manifest level = {std::fopen((out_dir + "/level.list").c_str(), "w"), 0};
    manifest data = {std::fopen((out_dir + "/data.list").c_str(), "w"), 0};
    if (!level.file || !data.file) {
        std::fprintf(stderr, "artgen: cannot write to %s\n", out_dir.c_str());
        return 1;
    }

    // ---- level.dat ----
    for (int id = 0; id < 30; id++)
        save(level, "level", tile_picture(id));
    save(level, "level", tile_picture(0));                 // 30: spare
    {
        BITMAP *b = create_bitmap(16, 16);                 // 31: bucket
        clear_to_color(b, magenta());
        rectfill(b, 3, 4, 12, 13, makecol(200, 200, 60));
        line(b, 2, 11, 5, 8, makecol(255, 255, 255));
        putpixel(b, 2, 11, makecol(0, 0, 0));
        save(level, "level", b);
    }
    {
        BITMAP *b = create_bitmap(17, 17);                 // 32: pen
        clear_to_color(b, magenta());
        line(b, 0, 16, 12, 4, makecol(250, 250, 250));
        line(b, 1, 16, 13, 4, makecol(40, 40, 40));
        save(level, "level", b);
    }
    {
        BITMAP *b = create_bitmap(640, 70);                // 33: editor panel
        clear_to_color(b, makecol(50, 50, 60));
        rect(b, 10, 420, 10, 420, 0);
        rect(b, 11, 421 - 410, 11 + 160, 421 - 410 + 48, makecol(160, 160, 180));
        button(b, 497, 10, 555, 24, "Clear");
        button(b, 560, 10, 618, 24, "Load");
        button(b, 560, 27, 618, 41, "Save");
        button(b, 560, 44, 618, 58, "Quit");
        save(level, "level", b);
    }
    menu_font(level);                                      // 34
    {
        BITMAP *b = box(300, 80, nullptr);                 // 35: yes/no at (170,160)
        button(b, 257 - 170, 213 - 160, 304 - 170, 228 - 160, "Yes");
        button(b, 318 - 170, 213 - 160, 365 - 170, 228 - 160, "No");
        save(level, "level", b);
    }
    {
        BITMAP *b = box(200, 400, "Levels");               // 36: list at (220,40)
        rectfill(b, 247 - 220, 63 - 40, 381 - 220, 398 - 40, makecol(20, 20, 40));
        button(b, 386 - 220, 60 - 40, 400 - 220, 74 - 40, "^");
        button(b, 386 - 220, 380 - 40, 400 - 220, 394 - 40, "v");
        button(b, 252 - 220, 407 - 40, 318 - 220, 426 - 40, "OK");
        button(b, 322 - 220, 407 - 40, 389 - 220, 426 - 40, "Cancel");
        save(level, "level", b);
    }
    save(level, "level", box(100, 50, "Name:"));           // 37: save at (270,220)
    for (int f = 0; f < 8; f++)                             // 38..45
        save(level, "level", water_frame(f));
    for (int i = 0; i < 4; i++) {                          // 46..49 pen/fill up/down
        BITMAP *b = create_bitmap(20, 20);
        bool down = i % 2;
        clear_to_color(b, down ? makecol(150, 150, 60) : makecol(90, 90, 110));
        rect(b, 0, 0, 19, 19, makecol(230, 230, 230));
        textout_centre_ex(b, font, i < 2 ? "P" : "F", 10, 6, makecol(255, 255, 255), -1);
        save(level, "level", b);
    }
    {
        BITMAP *b = create_bitmap(12, 12);                 // 50: hover mark
        clear_to_color(b, magenta());
        rect(b, 0, 0, 11, 11, makecol(255, 255, 0));
        save(level, "level", b);
    }

    // ---- data.dat ----
    for (int f = 0; f < 6; f++)
        save(data, "data", sprite_ball(3, 30, 30, 30, f));
    for (int f = 0; f < 6; f++)
        save(data, "data", sprite_ball(5, 60, 20, 20, f));
    for (int f = 0; f < 8; f++) {
        BITMAP *b = sprite_ball(2, 220, 220, 220, 0);
        putpixel(b, 6 + (f % 3) - 1, 9, makecol(255, 140, 0));
        save(data, "data", b);
    }
    {
        BITMAP *b = create_bitmap(640, 70);                // 20: status panel
        clear_to_color(b, makecol(40, 40, 50));
        rectfill(b, 8, 461, 139, 472, 0);
        save(data, "data", b);
    }
    for (int f = 0; f < 8; f++)
        save(data, "data", walker(f, 220, 40, 40));
    for (int f = 0; f < 8; f++)
        save(data, "data", walker(f, 40, 200, 40));
    for (int f = 0; f < 8; f++) {
        BITMAP *b = create_bitmap(12, 12);
        clear_to_color(b, makecol(255 - f * 25, 200 - f * 22, 40));
        save(data, "data", b);
    }
    {
        BITMAP *b = create_bitmap(640, 480);               // 45: menu background
        clear_to_color(b, makecol(20, 20, 40));
        textout_centre_ex(b, font, "BLAST ARENA", 320, 100, makecol(255, 200, 60), -1);
        save(data, "data", b);
    }
    {
        BITMAP *b = create_bitmap(12, 12);                 // 46: wreck
        clear_to_color(b, magenta());
        rectfill(b, 2, 3, 9, 10, makecol(70, 70, 70));
        line(b, 2, 3, 9, 10, makecol(20, 20, 20));
        save(data, "data", b);
    }

    std::fclose(level.file);
    std::fclose(data.file);
    if (level.count != 51 || data.count != 47) {
        std::fprintf(stderr, "artgen: %d level objects, %d data objects\n", level.count, data.count);
        return 1;
    }
    return 0;
}
END_OF_MAIN()
