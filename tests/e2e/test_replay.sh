#!/usr/bin/env bash
# Every match is recorded: a match played with the keys leaves
# replays/last.replay; --verify-replay re-runs it without a display and says
# ok, and says where it diverges once a control word is changed; damaged and
# foreign files are refused; --replay shows the match in the window and ends
# by itself, or at Esc; --help lists the options and a wrong one gets the
# help on standard error with status 2.
source "$(dirname "$0")/lib.sh"
e2e_setup

mkdir -p "$WORK/levels"
head -c 7208 /dev/zero >"$WORK/levels/open"

# Runs the game with arguments, without a display to need, and keeps its
# standard output and error apart.
run_cli()
{
    set +e
    (cd "$WORK" && DISPLAY= "$GAME" "$@") >"$WORK/cli.out" 2>"$WORK/cli.err"
    CLI_STATUS=$?
    set -e
}

# Player 1's side of the panel: its icon, name and bar, as a match starts.
p1_panel() { region_sig 160x60+0+415; }

start_game
wait_menu
press Return
wait_pixel 378 69 "200,0,0"
browser_panel=$(p1_panel)
press Return                          # the open arena
match_shown() { [ "$(p1_panel)" != "$browser_panel" ]; }
wait_for "the match's panel" match_shown
start_panel=$(p1_panel)
hold 0.5 Right a
press_mod Control_R                   # a bomb on the way
hold 0.4 Down w
press_mod Shift_L
press_mod Control_L
hold 0.3 Up
press Escape
wait_menu
wait_file "$WORK/replays/last.replay" nonempty
type_keys Down Down Down Down
wait_pixel 230 355 "255,0,0"
press Return
wait_exit
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS after Quit"

REPLAY="$WORK/replays/last.replay"
run_cli --verify-replay "$REPLAY"
[ "$CLI_STATUS" -eq 0 ] || fail "--verify-replay said $CLI_STATUS: $(cat "$WORK/cli.out" "$WORK/cli.err")"
grep -Eqx 'replay ok: [0-9]+ ticks, state [0-9a-f]{16}' "$WORK/cli.out" ||
    fail "--verify-replay printed: $(cat "$WORK/cli.out")"
ticks=$(sed -E 's/replay ok: ([0-9]+) ticks.*/\1/' "$WORK/cli.out")
[ "$ticks" -ge 40 ] || fail "only $ticks ticks recorded"
echo "recorded $ticks ticks"

# One control word changed, half-way through: the words start at byte 7296,
# two a tick.
flip()
{
    local at=$1 byte
    byte=$(od -An -tu1 -j "$at" -N1 "$2" | tr -d ' ')
    printf "\\$(printf '%03o' $((byte ^ 1)))" | dd of="$2" bs=1 seek="$at" conv=notrunc status=none
}
cp "$REPLAY" "$WORK/flipped.replay"
flip $((7296 + 2 * (ticks / 2))) "$WORK/flipped.replay"
run_cli --verify-replay "$WORK/flipped.replay"
[ "$CLI_STATUS" -eq 1 ] || fail "a changed word: status $CLI_STATUS"
grep -Eqx 'replay diverges at tick [0-9]+' "$WORK/cli.out" ||
    fail "a changed word printed: $(cat "$WORK/cli.out" "$WORK/cli.err")"

# Cut, foreign and missing files: status 1 and a reason, never a crash.
head -c 3000 "$REPLAY" >"$WORK/cut.replay"
for bad in "$WORK/cut.replay" "$WORK/levels/open" "$WORK/nowhere.replay"; do
    run_cli --verify-replay "$bad"
    [ "$CLI_STATUS" -eq 1 ] || fail "$(basename "$bad"): status $CLI_STATUS"
    [ -s "$WORK/cli.err" ] || fail "$(basename "$bad"): no reason given"
done

run_cli --help
[ "$CLI_STATUS" -eq 0 ] || fail "--help: status $CLI_STATUS"
for option in --replay --verify-replay --help; do
    grep -q -- "$option" "$WORK/cli.out" || fail "--help does not list $option"
done
run_cli --no-such-option
[ "$CLI_STATUS" -eq 2 ] || fail "an unknown option: status $CLI_STATUS"
[ ! -s "$WORK/cli.out" ] || fail "an unknown option printed on standard output"
grep -q -- "--verify-replay" "$WORK/cli.err" || fail "an unknown option: no help on standard error"

# Shown in the window: the match as it started, then the end by itself.
cp "$REPLAY" "$WORK/kept.replay"
start_replay()
{
    ( cd "$WORK" && exec "$GAME" --replay "$REPLAY" ) >"$WORK/game.out" 2>&1 &
    GAME_PID=$!
}
start_replay
replay_started() { [ "$(p1_panel)" = "$start_panel" ]; }
wait_for "the replay's first picture" replay_started
wait_exit $((ticks / 40 + E2E_WAIT * 3))
[ "$GAME_STATUS" -eq 0 ] || fail "--replay ended with status $GAME_STATUS"
cmp -s "$REPLAY" "$WORK/kept.replay" || fail "showing a replay recorded over it"

start_replay
wait_for "the replay's first picture" replay_started
press Escape
wait_exit
[ "$GAME_STATUS" -eq 0 ] || fail "--replay stopped with Esc: status $GAME_STATUS"
echo "replay: ok"
