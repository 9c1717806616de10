// config.ini text: a hand-edited file must start the game with names that
// fit their field and bindings that are safe to press, whatever it says.
#include <cstring>

#include "fuzz_env.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz_start_allegro();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 1 << 16)
        return 0;
    set_config_data(reinterpret_cast<const char *>(data), int(size));
    start_options opts = read_config();
    driver_id(opts.driver);

    for (const player_profile &p : profiles) {
        FUZZ_CHECK(std::memchr(p.name, '\0', NAME_SIZE) != nullptr);
        FUZZ_CHECK(std::strlen(p.name) <= NAME_SIZE - 1);
    }

    // Every binding reads as held exactly when it names a real key, and
    // releasing it touches that key alone. key[] lives in the library, out
    // of the sanitizer's sight, so the checks are spelled out.
    for (const player_profile &p : profiles)
        for (int32_t k : p.keys) {
            for (int i = 0; i < KEY_MAX; i++)
                key[i] = 1;
            bool real = k >= 0 && k < KEY_MAX;
            FUZZ_CHECK(key_down(k) == real);
            release_key(k);
            for (int i = 0; i < KEY_MAX; i++)
                FUZZ_CHECK(key[i] == (real && i == k ? 0 : 1));
        }

    // A match with every key held: walking, firing and changing weapon all
    // go through the configured bindings.
    for (int i = 0; i < KEY_MAX; i++)
        key[i] = 1;
    key[KEY_ESC] = 0;
    fresh_match();
    for (int t = 0; t < 3; t++) {
        run_one_tick();
        check_match_invariants();
    }
    for (int i = 0; i < KEY_MAX; i++)
        key[i] = 0;

    text_mode(-1);
    textout_centre(back_buffer, font, profiles[0].name, P1_NAME_X, NAME_Y, makecol(250, 0, 0));
    textout_centre(back_buffer, font, profiles[1].name, P2_NAME_X, NAME_Y, makecol(0, 250, 0));
    text_mode(0);
    return 0;
}
