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
bool out_of_order = false;

struct manifest {
    FILE *file;
    const char *stem;
    int count;
};

// Every object is written with the number the game will look it up by; dat
// numbers objects by their place in the list, so one picture too many or
// too few before it would shift everything after it.
void add(manifest &m, int object, const char *type, const std::string &path)
{
    if (object != m.count) {
        std::fprintf(stderr, "artgen: %s object %d would land at %d\n", m.stem, object, m.count);
        out_of_order = true;
    }
    std::fprintf(m.file, "%s %s\n", type, path.c_str());
    m.count++;
}

void save(manifest &m, int object, BITMAP *bmp)
{
    char name[64];
    std::snprintf(name, sizeof name, "%s_%02d.bmp", m.stem, object);
    std::string path = out_dir + "/" + name;
    save_bitmap(path.c_str(), bmp, nullptr);
    add(m, object, "BMP", path);
    destroy_bitmap(bmp);
}

void save_font(manifest &m, int object)
{
    PALETTE pal;
    BITMAP *sheet = art::menu_font_sheet(pal);
    std::string path = out_dir + "/menu_font.bmp";
    save_bitmap(path.c_str(), sheet, pal);
    destroy_bitmap(sheet);
    add(m, object, "FONT", path);
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
        save(level, OBJ_TILE_FIRST + id, art::tile(id));
    save(level, OBJ_SPARE, art::tile(0));
    save(level, OBJ_POINTER_FILL, art::bucket_pointer());
    save(level, OBJ_POINTER_PEN, art::pen_pointer());
    save(level, OBJ_EDITOR_PANEL, art::editor_panel());
    save_font(level, OBJ_MENU_FONT);
    save(level, OBJ_YESNO_BOX, art::yesno_box());
    save(level, OBJ_LIST_BOX, art::list_box());
    save(level, OBJ_SAVE_BOX, art::save_box());
    for (int f = 0; f < ANIM_TILE_FRAMES; f++)
        save(level, OBJ_ANIM_TILE_FIRST + f, art::light_plate(f));
    save(level, OBJ_PEN_UP, art::tool_button(false, false));
    save(level, OBJ_PEN_DOWN, art::tool_button(false, true));
    save(level, OBJ_FILL_UP, art::tool_button(true, false));
    save(level, OBJ_FILL_DOWN, art::tool_button(true, true));
    save(level, OBJ_HOVER_MARK, art::hover_mark());

    // ---- data.dat ----
    for (int f = 0; f < BOMB_FRAMES; f++)
        save(data, OBJ_BOMB_FIRST + f, art::small_bomb(f));
    for (int f = 0; f < BIG_BOMB_FRAMES; f++)
        save(data, OBJ_BIG_BOMB_FIRST + f, art::big_bomb(f));
    for (int f = 0; f < MISSILE_FRAMES; f++)
        save(data, OBJ_MISSILE_FIRST + f, art::missile(f));
    save(data, OBJ_STATUS_PANEL, art::status_panel());
    const int walk_first[2] = {OBJ_P1_WALK_FIRST, OBJ_P2_WALK_FIRST};
    for (int p = 0; p < 2; p++)
        for (int f = 0; f < WALK_FRAMES; f++)
            save(data, walk_first[p] + f, art::walker(f, p));
    for (int f = 0; f < EXPLOSION_FRAMES; f++)
        save(data, OBJ_EXPLOSION_FIRST + f, art::explosion(f));
    save(data, OBJ_MENU_BACKGROUND, art::menu_background());
    save(data, OBJ_WRECK, art::wreck());

    std::fclose(level.file);
    std::fclose(data.file);
    if (out_of_order || level.count != LEVEL_DAT_OBJECTS || data.count != GAME_DAT_OBJECTS) {
        std::fprintf(stderr, "artgen: %d level objects, %d data objects\n", level.count, data.count);
        return 1;
    }
    return 0;
}
END_OF_MAIN()
