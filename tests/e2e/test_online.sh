#!/usr/bin/env bash
# Two games on two displays play each other on this machine, the joiner
# through a relay that delays, jitters and loses its datagrams: both boards
# show the same picture once the moves of both have settled, Esc on one
# side brings both back to their menus, and both replays verify to the
# same state. Then a new sitting whose joiner is killed: the host is back
# at its menu, told the player left, within 6 s.
source "$(dirname "$0")/lib.sh"
e2e_setup
e2e_second_display
mkdir -p "$WORK/host/levels" "$WORK/join"
head -c 7208 /dev/zero >"$WORK/host/levels/open"

# A port nobody here listens on.
port=0
for _ in $(seq 20); do
    port=$((20000 + RANDOM % 30000))
    command -v ss >/dev/null || break
    ss -Hlun "sport = :$port" | grep -q . || break
done
"$BUILD_DIR/tests/udp_relay" "$WORK/relay.port" "$port" 40 20 3 500 &
RELAY_PID=$!
trap 'kill "$RELAY_PID" 2>/dev/null || true; e2e_cleanup' EXIT
wait_file "$WORK/relay.port" nonempty
relay=$(cat "$WORK/relay.port")

board() { region_sig 636x408+2+2; }
board2() { on2 region_sig 636x408+2+2; }
floor_at_centre() { pixel_near 300 200 "82,93,107"; }
status_shown() { pixel_near 70 380 "120,110,160"; }

# Host and joiner meet; the host picks the open arena.
sit_down()
{
    start_game "$WORK/host" --host "$port"
    wait_for "the host waiting for a player" status_shown
    grep -q "Waiting for a player on port $port" "$WORK/game.out" ||
        fail "the host did not print the port it waits on: $(cat "$WORK/game.out")"
    start_game2 "$WORK/join" --join "127.0.0.1:$relay"
    wait_pixel 378 69 "200,0,0"                   # the host's browser
    wait_for "the joiner told the host is choosing" on2 status_shown
    press Return
    wait_for "the host's match" floor_at_centre
    wait_for "the joiner's match" on2 floor_at_centre
}

sit_down
start_board=$(board)
# Each plays its own player with that player's keys: the host player 1
# (arrows, right Control), the joiner player 2 (W A S D, left Control).
hold 0.6 Right
press_mod Control_R
hold 0.4 Down
on2 hold 0.5 w
on2 hold 0.4 a
on2 press_mod Control_L
on2 hold 0.3 w
# The bombs go off 1.25 s after they were dropped; then nothing moves.
alike() { E2E_SEEN=$(board); [ "$E2E_SEEN" != "$start_board" ] && [ "$E2E_SEEN" = "$(board2)" ]; }
wait_for "both boards to show the same picture" alike
sleep 2
alike || fail "the boards parted after settling"
[ "$(board)" != "$start_board" ] || fail "nobody moved"

on2 press Escape
wait_menu
on2 wait_menu
for side in host join; do
    (cd "$WORK/$side" && DISPLAY= "$GAME" --verify-replay replays/last.replay) >"$WORK/$side.verify" ||
        fail "the $side's replay: $(cat "$WORK/$side.verify")"
done
grep -q "ok" "$WORK/host.verify" && cmp -s "$WORK/host.verify" "$WORK/join.verify" ||
    fail "the replays differ: $(cat "$WORK/host.verify" "$WORK/join.verify")"
cat "$WORK/host.verify"

# Both go on in their menus; quit them and sit down again.
type_keys Down Down Down Down Return
on2 type_keys Down Down Down Down Return
wait_exit
poll_until 20 eval '! game2_running' || fail "the joiner did not quit"

sit_down
kill -9 "$GAME2_PID"
killed=$(now_ms)
wait_menu 6
[ $(($(now_ms) - killed)) -le 6000 ] || fail "the host took $(($(now_ms) - killed)) ms to notice"
grep -q "Player 2 left" "$WORK/game.out" || fail "the host was not told: $(cat "$WORK/game.out")"
echo "online: ok"
