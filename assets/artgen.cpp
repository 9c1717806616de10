// Draws every picture of level.dat and data.dat and writes them as BMP files,
// with a manifest per datafile listing the objects in their numbered order.
// Usage: artgen SOURCE_DIR OUTDIR. Deterministic: the same sources give the
// same files. The drawing itself lives in art_*.cpp.
#include "art.h"

#include "catalogue.h"

#include <cerrno>
#include <cstdio>
#include <string>

namespace {

std::string out_dir;

struct manifest {
    FILE *file;
    const char *stem;
    int count;
};

void add(manifest &m, const char *type, const std::string &path)
{
    std::fprintf(m.file, "%s %s\n", type, path.c_str());
    m.count++;
}

void save(manifest &m, BITMAP *bmp)
{
    char name[64];
    std::snprintf(name, sizeof name, "%s_%02d.bmp", m.stem, m.count);
    std::string path = out_dir + "/" + name;
    save_bitmap(path.c_str(), bmp, nullptr);
    add(m, "BMP", path);
    destroy_bitmap(bmp);
}

void save_font(manifest &m)
{
    PALETTE pal;
    BITMAP *sheet = art::menu_font_sheet(pal);
    std::string path = out_dir + "/menu_font.bmp";
    save_bitmap(path.c_str(), sheet, pal);
    destroy_bitmap(sheet);
    add(m, "FONT", path);
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: artgen SOURCE_DIR OUTDIR\n");
        return 2;
    }
    out_dir = argv[2];
    set_uformat(U_ASCII);
    install_allegro(SYSTEM_NONE, &errno, atexit);
    set_color_depth(24);
    art::load_sources(argv[1]);

    manifest level = {std::fopen((out_dir + "/level.list").c_str(), "w"), "level", 0};
    manifest data = {std::fopen((out_dir + "/data.list").c_str(), "w"), "data", 0};
    if (!level.file || !data.file) {
        std::fprintf(stderr, "artgen: cannot write to %s\n", out_dir.c_str());
        return 1;
    }

    // ---- level.dat, in object-number order ----
    for (int id = 0; id < TILE_COUNT; id++)
        save(level, art::tile(id));
    save(level, art::tile(0));                      // spare slot
    save(level, art::bucket_pointer());
    save(level, art::pen_pointer());
    save(level, art::editor_panel());
    save_font(level);
    save(level, art::yesno_box());
    save(level, art::list_box());
    save(level, art::save_box());
    for (int f = 0; f < 8; f++)
        save(level, art::light_plate(f));
    save(level, art::tool_button(false, false));
    save(level, art::tool_button(false, true));
    save(level, art::tool_button(true, false));
    save(level, art::tool_button(true, true));
    save(level, art::hover_mark());

    // ---- data.dat ----
    for (int f = 0; f < 6; f++)
        save(data, art::small_bomb(f));
    for (int f = 0; f < 6; f++)
        save(data, art::big_bomb(f));
    for (int f = 0; f < 8; f++)
        save(data, art::missile(f));
    save(data, art::status_panel());
    for (int p = 0; p < 2; p++)
        for (int f = 0; f < 8; f++)
            save(data, art::walker(f, p));
    for (int f = 0; f < 8; f++)
        save(data, art::explosion(f));
    save(data, art::menu_background());
    save(data, art::wreck());

    std::fclose(level.file);
    std::fclose(data.file);
    if (level.count != LEVEL_DAT_OBJECTS || data.count != GAME_DAT_OBJECTS) {
        std::fprintf(stderr, "artgen: %d level objects, %d data objects\n", level.count, data.count);
        return 1;
    }
    return 0;
}
END_OF_MAIN()
