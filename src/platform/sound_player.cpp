// The sound device: Allegro's digital sound with the samples of sound.dat.
// Nothing else in the game calls Allegro's sound functions.
#include <allegro.h>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include "platform.h"
#include "sound.h"

int sound_volume = DEFAULT_VOLUME;

namespace {

DATAFILE *sound_data = nullptr;

// When every voice is busy the lowest priority is cut off first: a blast
// is never silenced for a menu blip.
constexpr int SOUND_PRIORITY[SOUND_COUNT] = {
    200, 220,   // small blast, big blast
    150, 180,   // missile launch, missile hit
    120, 100,   // bomb dropped, weapon changed
    140, 210,   // player hit, player wrecked
    100, 110,   // menu move, menu choose
    160, 160,   // level saved, save failed
    230,        // the result: heard whatever else goes on
};

void play_on_device(int effect, int vol, int pan)
{
    if (sound_data)
        play_sample(static_cast<SAMPLE *>(sound_data[effect].dat), vol, pan, 1000, 0);
}

void sound_off(const char *reason)
{
    std::fprintf(stderr, "Sound off: %s\n", reason);
    std::fflush(stderr);
}

// The sound libraries below Allegro print a screenful of their own
// diagnostics when there is no sound card; the game's one line says it.
int install_sound_quietly()
{
    std::fflush(stderr);
    int saved = dup(STDERR_FILENO);
    int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (saved >= 0 && null >= 0)
        dup2(null, STDERR_FILENO);
    int result = install_sound(DIGI_AUTODETECT, MIDI_NONE, nullptr);
    std::fflush(stderr);
    if (saved >= 0 && null >= 0)
        dup2(saved, STDERR_FILENO);
    if (null >= 0)
        close(null);
    if (saved >= 0)
        close(saved);
    return result;
}

}  // namespace

void (*sound_output)(int effect, int vol, int pan) = play_on_device;

sound_mix mix_sound(int count, int x, int volume)
{
    if (volume < 0)
        volume = 0;
    if (volume > 100)
        volume = 100;
    int steps = count < 1 ? 1 : count > 5 ? 5 : count;
    int vol = volume * 255 / 100 * (3 + steps) / 4;
    if (vol > 255)
        vol = 255;
    if (x < 0)
        x = 0;
    if (x > SCREEN_WIDTH - 1)
        x = SCREEN_WIDTH - 1;
    int pan = SOUND_PAN_MIN + x * (SOUND_PAN_MAX - SOUND_PAN_MIN) / (SCREEN_WIDTH - 1);
    return {vol, pan};
}

void start_sound(const char *sound_dat_path)
{
    if (sound_volume <= 0)
        return;
    reserve_voices(SOUND_VOICES, 0);
    set_volume_per_voice(SOUND_VOICE_SCALE);
    // Without a device Allegro falls back to its silent driver, which has no
    // voices to reserve, so "Insufficient digital voices" means no device.
    if (install_sound_quietly() != 0) {
        char reason[300];
        std::snprintf(reason, sizeof reason, "no working sound device (%s)",
                      allegro_error[0] ? allegro_error : "none found");
        sound_off(reason);
        return;
    }
    if (!digi_driver || digi_driver->id == DIGI_NONE) {
        remove_sound();
        sound_off("no working sound device");
        return;
    }
    // A damaged sound.dat, or one of another build, plays silent like a
    // missing one.
    sound_data = load_checked_datafile(sound_dat_path, SOUND_DAT_LAYOUT);
    if (!sound_data) {
        remove_sound();
        char reason[PATH_MAX + 20];
        std::snprintf(reason, sizeof reason, "cannot load %s", sound_dat_path);
        sound_off(reason);
        return;
    }
    for (int n = 0; n < SOUND_COUNT; n++)
        static_cast<SAMPLE *>(sound_data[n].dat)->priority = SOUND_PRIORITY[n];
}

void stop_sound()
{
    if (!sound_data)
        return;
    remove_sound();
    unload_datafile(sound_data);
    sound_data = nullptr;
}

void silence_sounds()
{
    clear_sounds();
    if (!sound_data)
        return;
    for (int n = 0; n < SOUND_COUNT; n++)
        stop_sample(static_cast<SAMPLE *>(sound_data[n].dat));
}

// Each effect asked for starts once, louder for a crowd, panned to where
// the crowd was on average.
void play_sounds()
{
    for (int n = 0; n < SOUND_COUNT; n++) {
        sound_request &r = sound_requests[n];
        if (r.count == 0)
            continue;
        sound_mix m = mix_sound(r.count, r.x_sum / r.count, sound_volume);
        if (sound_volume > 0)
            sound_output(n, m.vol, m.pan);
        r = sound_request{0, 0};
    }
}
