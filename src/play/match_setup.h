// The set-up every match starts from (match_setup.cpp).
#pragma once

// Each side as its profile says: this keyboard for a person, the computer
// at its level otherwise (Esc still ends the match for both).
void choose_match_sources();
// A new match on the level board as it stands: start_match_state on
// live_match (the animation clock goes on), no tick owed, no sound waiting,
// the recording begun (marked online for a match against another machine).
void start_match(bool online = false);
