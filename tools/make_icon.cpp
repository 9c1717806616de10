// Makes the desktop icon from the game's own pictures: player 1 in its first
// walk frame, scaled up, with a small bomb at its feet, written as a 48x48
// RGBA PNG. The PNG is written by hand (stored, uncompressed deflate blocks)
// so the build needs nothing beyond Allegro.
// Usage: make_icon DATA_DAT OUT_PNG
#include <allegro.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "catalogue.h"

namespace {

constexpr int ICON_SIZE = 48;
constexpr int PLAYER_SCALE = 4;   // 12x12 walk frame -> 48x48
constexpr int BOMB_SCALE = 2;     // 12x12 bomb -> 24x24 in the lower right

using bytes = std::vector<std::uint8_t>;

void put_be32(bytes &out, std::uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

std::uint32_t crc32(const std::uint8_t *p, std::size_t n)
{
    static std::uint32_t table[256];
    if (!table[1]) {
        for (std::uint32_t i = 0; i < 256; i++) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; k++)
                c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[i] = c;
        }
    }
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < n; i++)
        c = table[(c ^ p[i]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void put_chunk(bytes &out, const char type[5], const bytes &data)
{
    put_be32(out, static_cast<std::uint32_t>(data.size()));
    std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    put_be32(out, crc32(out.data() + start, out.size() - start));
}

// A zlib stream of stored blocks: no compression, so no zlib needed.
bytes zlib_stored(const bytes &raw)
{
    bytes z = {0x78, 0x01};
    std::size_t pos = 0;
    do {
        std::size_t len = raw.size() - pos < 65535 ? raw.size() - pos : 65535;
        bool last = pos + len == raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(len & 0xFF);
        z.push_back((len >> 8) & 0xFF);
        z.push_back(~len & 0xFF);
        z.push_back((~len >> 8) & 0xFF);
        z.insert(z.end(), raw.begin() + pos, raw.begin() + pos + len);
        pos += len;
    } while (pos < raw.size());
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t v : raw) {
        a = (a + v) % 65521;
        b = (b + a) % 65521;
    }
    put_be32(z, (b << 16) | a);
    return z;
}

bool write_png(const char *path, BITMAP *bmp)
{
    bytes raw;
    for (int y = 0; y < bmp->h; y++) {
        raw.push_back(0);   // filter: none
        for (int x = 0; x < bmp->w; x++) {
            int c = getpixel(bmp, x, y);
            bool clear = c == bitmap_mask_color(bmp);
            raw.push_back(clear ? 0 : getr(c));
            raw.push_back(clear ? 0 : getg(c));
            raw.push_back(clear ? 0 : getb(c));
            raw.push_back(clear ? 0 : 255);
        }
    }
    bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    bytes header;
    put_be32(header, bmp->w);
    put_be32(header, bmp->h);
    header.insert(header.end(), {8, 6, 0, 0, 0});   // 8-bit RGBA, no interlace
    put_chunk(png, "IHDR", header);
    put_chunk(png, "IDAT", zlib_stored(raw));
    put_chunk(png, "IEND", {});

    FILE *f = std::fopen(path, "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(png.data(), 1, png.size(), f) == png.size();
    return std::fclose(f) == 0 && ok;
}

BITMAP *picture(DATAFILE *data, int number)
{
    for (int i = 0; i <= number; i++)
        if (data[i].type == DAT_END)
            return nullptr;
    return data[number].type == DAT_BITMAP ? static_cast<BITMAP *>(data[number].dat) : nullptr;
}

// Nearest-neighbour scaling that keeps the mask colour see-through.
void draw_scaled(BITMAP *dest, BITMAP *src, int scale, int x, int y)
{
    BITMAP *big = create_bitmap(src->w * scale, src->h * scale);
    stretch_blit(src, big, 0, 0, src->w, src->h, 0, 0, big->w, big->h);
    masked_blit(big, dest, 0, 0, x, y, big->w, big->h);
    destroy_bitmap(big);
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_icon DATA_DAT OUT_PNG\n");
        return 2;
    }
    set_uformat(U_ASCII);
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
        std::fprintf(stderr, "make_icon: Allegro did not start\n");
        return 1;
    }
    set_color_depth(32);
    set_color_conversion(COLORCONV_TOTAL | COLORCONV_KEEP_TRANS);
    DATAFILE *data = load_datafile(argv[1]);
    if (!data) {
        std::fprintf(stderr, "make_icon: cannot load %s\n", argv[1]);
        return 1;
    }
    BITMAP *player = picture(data, OBJ_P1_WALK_FIRST);
    BITMAP *bomb = picture(data, OBJ_BOMB_FIRST);
    if (!player || !bomb) {
        std::fprintf(stderr, "make_icon: %s lacks the player or bomb picture\n", argv[1]);
        return 1;
    }

    BITMAP *icon = create_bitmap(ICON_SIZE, ICON_SIZE);
    clear_to_color(icon, bitmap_mask_color(icon));
    draw_scaled(icon, player, PLAYER_SCALE, (ICON_SIZE - player->w * PLAYER_SCALE) / 2,
                (ICON_SIZE - player->h * PLAYER_SCALE) / 2);
    draw_scaled(icon, bomb, BOMB_SCALE, ICON_SIZE - bomb->w * BOMB_SCALE,
                ICON_SIZE - bomb->h * BOMB_SCALE);

    bool ok = write_png(argv[2], icon);
    if (!ok)
        std::fprintf(stderr, "make_icon: cannot write %s\n", argv[2]);
    destroy_bitmap(icon);
    unload_datafile(data);
    return ok ? 0 : 1;
}
