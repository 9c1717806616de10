// Placeholders until the match lands.
#include "match.h"

bomb bombs[BOMB_POOL_SIZE];
explosion explosions[EXPLOSION_POOL_SIZE];
float anim_clock = 0.0f;
std::atomic<int32_t> pending_ticks{0};
std::atomic<int32_t> frames_drawn{0};
std::atomic<int32_t> fps{0};

void clear_bombs() {}
void clear_explosions() {}
void spawn_bomb(int, int, int, int) {}
void spawn_explosion(int, int) {}
void advance_bombs() {}
void advance_explosions() {}
int cell_blocked(int, int) { return 0; }
void draw_bombs(BITMAP *) {}
void draw_explosions(BITMAP *) {}
void match_tick() {}
int probe_player_cell(int, int, int) { return 0; }
void tick_timer_callback() {}
void fps_timer_callback() {}
void run_match() {}
void render_match_frame() {}
