// The set-up every match starts from: the board as it stands, who plays
// each side (this keyboard or the computer, with a fresh mind), the loop
// made ready and the recording begun.
#include <cstring>

#include "platform.h"
#include "computer.h"
#include "level.h"
#include "match_loop.h"
#include "match_setup.h"
#include "replay.h"

namespace {

// The computer players' minds, one per side, fresh for every match.
computer_mind minds[2];

bool level_of_computer(int level) { return level >= COMPUTER_EASY && level <= COMPUTER_HARD; }

// The same start gives the same minds: the board and the animation clock,
// which runs on from match to match, so a rematch is played afresh.
uint32_t mind_seed(const match_state &m, int player)
{
    uint32_t h = 2166136261u;
    for (const auto &column : m.board)
        for (int32_t tile : column)
            h = (h ^ uint32_t(tile)) * 16777619u;
    uint32_t clock;
    static_assert(sizeof clock == sizeof m.anim_clock, "the clock's bits");
    std::memcpy(&clock, &m.anim_clock, sizeof clock);
    return (h ^ clock) * 16777619u + uint32_t(player);
}

}  // namespace

void start_match(bool online)
{
    // The animation clock is the program's, not the match's: it goes on.
    start_match_state(live_match, board, live_match.anim_clock);
    clear_sounds();
    restart_loop();
    // A computer side starts with a fresh mind; the replay says who played.
    for (int i = 0; i < 2; i++) {
        match_kinds[i] = REPLAY_PERSON;
        if (match_sources[i].next != computer_controls)
            continue;
        auto *mind = static_cast<computer_mind *>(match_sources[i].context);
        if (mind == &minds[i])
            reset_computer(*mind, profiles[i].computer, mind_seed(live_match, i));
        match_kinds[i] = uint8_t(mind->level);
    }
    begin_recording(live_match, profiles[0].name, profiles[1].name, match_kinds, online);
}

void choose_match_sources()
{
    for (int i = 0; i < 2; i++)
        match_sources[i] = level_of_computer(profiles[i].computer)
                               ? controls_source{computer_controls, &minds[i], true}
                               : KEYBOARD_SOURCE;
}

