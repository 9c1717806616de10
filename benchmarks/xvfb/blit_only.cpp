// The yardstick for the game's frame rate: the least an Allegro program can
// do per frame, copying a 640 by 480 memory buffer to the screen, in the same
// windowed mode the game is measured in. Prints frames per second of wall
// time and of the process's CPU time.
//   blit_only SECONDS [BPP]
#include <allegro.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

int main(int argc, char **argv)
{
    const double seconds = argc > 1 ? std::atof(argv[1]) : 5.0;
    const int bpp = argc > 2 ? std::atoi(argv[2]) : 16;
    if (allegro_init() != 0)
        return 1;
    install_keyboard();
    install_timer();
    set_color_depth(bpp);
    if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, 640, 480, 0, 0) != 0) {
        std::printf("no graphics mode: %s\n", allegro_error);
        return 1;
    }
    BITMAP *buffer = create_bitmap(640, 480);
    for (int y = 0; y < 480; y++)
        for (int x = 0; x < 640; x++)
            putpixel(buffer, x, y, makecol(x & 255, y & 255, (x ^ y) & 255));

    using clock = std::chrono::steady_clock;
    timespec cpu0, cpu1;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu0);
    const auto start = clock::now();
    long frames = 0;
    double elapsed = 0.0;
    while (elapsed < seconds) {
        blit(buffer, screen, 0, 0, 0, 0, 640, 480);
        frames++;
        elapsed = std::chrono::duration<double>(clock::now() - start).count();
    }
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu1);
    const double cpu = (cpu1.tv_sec - cpu0.tv_sec) + (cpu1.tv_nsec - cpu0.tv_nsec) / 1e9;
    std::printf("blit_only: frames=%ld span_s=%.6f fps=%.1f cpu_fps=%.1f\n", frames, elapsed,
                frames / elapsed, frames / cpu);
    destroy_bitmap(buffer);
    allegro_exit();
    return 0;
}
END_OF_MAIN()
