// One picture of the running match, drawn from its state and the loop's
// panel (match_loop.h); it reads both and changes neither.
#pragma once

#include <allegro.h>

#include "match_state.h"

// The players' 12 x 12 pictures, rebuilt every frame from the walk frames.
extern BITMAP *player_sprites[2];
void create_player_sprites();
void destroy_player_sprites();
// The energy bars' colours: 0..50 the red band, 51..101 the green band.
extern int energy_colors[102];
void build_energy_colors();
void render_match_frame(const match_state &m);
void draw_bombs(BITMAP *target, const match_state &m);
void draw_explosions(BITMAP *target, const match_state &m);
