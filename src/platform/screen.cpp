// The picture's size on the screen: choosing the whole factor, opening a
// window or a full screen of that size, and the block copy that present()
// makes of the 640x480 back buffer.
#include <cstdint>
#include <cstring>

#include "platform.h"

int picture_scale = 1;
int picture_left = 0;
int picture_top = 0;

namespace {

BITMAP *scaled_buffer = nullptr;   // the back buffer enlarged, then copied to the screen

// One source line widened: each pixel repeated F times. F is a constant here
// so the compiler can unroll and vectorise the inner loop; with the factor
// known only at run time the x3 copy cost nearly twice a plain copy.
template <typename pixel, int F>
void widen_line(const pixel *in, pixel *out, int w)
{
    for (int x = 0; x < w; x++)
        for (int i = 0; i < F; i++)
            out[F * x + i] = in[x];
}

// Each source pixel becomes a factor x factor block: the first line of the
// block is built pixel by pixel, the others are copies of it.
template <typename pixel>
void copy_blocks(BITMAP *src, BITMAP *dst, int factor)
{
    const int w = src->w;
    const size_t line_bytes = size_t(w) * factor * sizeof(pixel);
    for (int y = 0; y < src->h; y++) {
        const pixel *in = reinterpret_cast<const pixel *>(src->line[y]);
        pixel *out = reinterpret_cast<pixel *>(dst->line[y * factor]);
        switch (factor) {
        case 2: widen_line<pixel, 2>(in, out, w); break;
        case 3: widen_line<pixel, 3>(in, out, w); break;
        case 4: widen_line<pixel, 4>(in, out, w); break;
        default:
            for (int x = 0; x < w; x++)
                for (int i = 0; i < factor; i++)
                    out[factor * x + i] = in[x];
        }
        for (int i = 1; i < factor; i++)
            std::memcpy(dst->line[y * factor + i], out, line_bytes);
    }
}

bool fits(int factor, int room_w, int room_h)
{
    return SCREEN_WIDTH * factor <= room_w && SCREEN_HEIGHT * factor <= room_h;
}

// A mode of w x h; leaves the picture at the given factor centred in it.
bool try_mode(int driver_id, int w, int h, int factor)
{
    if (set_gfx_mode(driver_id, w, h, 0, 0) != 0 || !screen)
        return false;
    // The driver may have given a screen of another size (a full screen is
    // as large as the display); the picture goes in its middle either way.
    while (factor > 1 && !fits(factor, SCREEN_W, SCREEN_H))
        factor--;
    picture_scale = factor;
    picture_left = (SCREEN_W - SCREEN_WIDTH * factor) / 2;
    picture_top = (SCREEN_H - SCREEN_HEIGHT * factor) / 2;
    map_pointer(picture_scale, picture_left, picture_top);
    return true;
}

}  // namespace

int fitting_scale(int room_w, int room_h)
{
    int factor = 1;
    while (fits(factor + 1, room_w, room_h))
        factor++;
    return factor;
}

int chosen_scale(int wanted, int room_w, int room_h)
{
    int largest = fitting_scale(room_w, room_h);
    if (wanted == SCALE_LARGEST || wanted > largest)
        return largest;
    return wanted;
}

bool open_screen(int bpp, int driver_id, int scale)
{
    set_color_depth(bpp);
    picture_scale = 1;
    picture_left = picture_top = 0;
    map_pointer(1, 0, 0);
    if (scale < SCALE_LARGEST || scale > SCALE_MAX) {
        show_failure("scale = %d is not one of 0 to %d: playing at 1", scale, SCALE_MAX);
        scale = 1;
    }
    // A driver value of -1 is Allegro's text mode, which "succeeds" without
    // a screen to draw on; it fails here like a mode that cannot be set.
    if (scale == 1 || driver_id == -1) {
        if (set_gfx_mode(driver_id, SCREEN_WIDTH, SCREEN_HEIGHT, 0, 0) != 0 || !screen)
            return false;
        clear_keys();
        return true;
    }

    int desk_w = 0, desk_h = 0;
    bool desk_known = get_desktop_resolution(&desk_w, &desk_h) == 0 && desk_w > 0 && desk_h > 0;
    bool opened = false;
    if (driver_id == GFX_AUTODETECT_FULLSCREEN) {
        // The display as it is: a mode switch to the picture's own size
        // would leave a small picture on a large monitor.
        if (desk_known)
            opened = try_mode(GFX_AUTODETECT_FULLSCREEN, desk_w, desk_h,
                              chosen_scale(scale, desk_w, desk_h));
        if (!opened)
            show_failure("Full screen at the display's size is not available: playing in a window");
        driver_id = GFX_AUTODETECT_WINDOWED;
    }
    if (!opened) {
        int factor = scale;
        if (desk_known)
            factor = chosen_scale(scale, desk_w - WINDOW_FRAME_W, desk_h - WINDOW_FRAME_H);
        else if (scale == SCALE_LARGEST)
            factor = 1;
        // Automatic choice would take a full screen of the window's size
        // where it can: a mode switch. The scaled picture asks for a window.
        if (driver_id == GFX_AUTODETECT)
            opened = try_mode(GFX_AUTODETECT_WINDOWED, SCREEN_WIDTH * factor,
                              SCREEN_HEIGHT * factor, factor);
        if (!opened)
            opened = try_mode(driver_id, SCREEN_WIDTH * factor, SCREEN_HEIGHT * factor, factor);
    }
    // Last, the design's own mode, enlarged or not.
    if (!opened && !try_mode(driver_id, SCREEN_WIDTH, SCREEN_HEIGHT, 1))
        return false;
    // A factor asked for by number and lowered, in a window or on the full
    // screen, is told whichever way it came about.
    if (scale != SCALE_LARGEST && picture_scale != scale)
        show_failure("scale = %d does not fit the %dx%d display: playing at %d", scale,
                     desk_known ? desk_w : SCREEN_W, desk_known ? desk_h : SCREEN_H,
                     picture_scale);
    if (picture_scale > 1) {
        set_mouse_range(picture_left, picture_top, picture_left + SCREEN_WIDTH * picture_scale - 1,
                        picture_top + SCREEN_HEIGHT * picture_scale - 1);
    }
    clear_keys();
    return true;
}

void scale_copy(BITMAP *src, BITMAP *dst, int factor)
{
    const bool direct = is_memory_bitmap(src) && is_memory_bitmap(dst) &&
                        bitmap_color_depth(src) == bitmap_color_depth(dst) &&
                        dst->w >= src->w * factor && dst->h >= src->h * factor;
    switch (direct ? bitmap_color_depth(src) : 0) {
    case 8:
        copy_blocks<uint8_t>(src, dst, factor);
        break;
    case 15:
    case 16:
        copy_blocks<uint16_t>(src, dst, factor);
        break;
    case 32:
        copy_blocks<uint32_t>(src, dst, factor);
        break;
    default:   // 24 bpp and video bitmaps: Allegro's general stretch
        stretch_blit(src, dst, 0, 0, src->w, src->h, 0, 0, src->w * factor, src->h * factor);
    }
}

void create_scaled_buffer()
{
    if (picture_scale > 1)
        scaled_buffer = create_bitmap(SCREEN_WIDTH * picture_scale, SCREEN_HEIGHT * picture_scale);
}

void destroy_scaled_buffer()
{
    if (scaled_buffer)
        destroy_bitmap(scaled_buffer);
    scaled_buffer = nullptr;
}

void show_back_buffer()
{
    if (picture_scale == 1 || !scaled_buffer) {
        blit(back_buffer, screen, 0, 0, picture_left, picture_top, SCREEN_WIDTH, SCREEN_HEIGHT);
        return;
    }
    scale_copy(back_buffer, scaled_buffer, picture_scale);
    blit(scaled_buffer, screen, 0, 0, picture_left, picture_top, scaled_buffer->w,
         scaled_buffer->h);
}
