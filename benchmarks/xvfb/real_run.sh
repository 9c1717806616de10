#!/usr/bin/env bash
# The real program under its own Xvfb display, timed from inside by
# blastarena_probe (the game with three calls wrapped by the linker), beside
# blit_only, which only copies a 640 by 480 buffer to the screen, on the same
# display in the same run. Prints key=value lines:
#   startup_ms       median over the starts, exec to the first menu frame
#   tick_rate        ticks simulated per second over one long match
#   match_s          how long that match ran (first to last frame)
#   peak_kib         VmHWM of the game at the end of that match
#   fps_ratio        median over the rounds of match frames/s over blit_only
#                    frames/s; each round runs blit_only and then a short
#                    match, so that both see the machine's load of the moment
#   cpu_ratio        the same per second of each program's own CPU time
#   match_fps, blit_only_fps  medians over the rounds; rounds lists them all
# Usage: real_run.sh BUILD_DIR [MATCH_SECONDS] [ROUNDS] [STARTS]
#   MATCH_SECONDS 0 skips the long match; BLAST_BPP sets the colour depth
#   (16); ROUND_SECONDS the length of each side of a round (3); BLAST_SCALE
#   plays with that scale in config.ini on a 2048x1600 display (none: the
#   game's own 640x480 on a 640x480 display).
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
export BLAST_BUILD_DIR=$(cd "$1" && pwd)
export BLAST_SOURCE_DIR=$(cd "$HERE/../.." && pwd)
MATCH_SECONDS=${2:-30}
ROUNDS=${3:-3}
STARTS=${4:-5}
ROUND_SECONDS=${ROUND_SECONDS:-3}
BPP=${BLAST_BPP:-16}   # the colour depth of both programs
# BLAST_PROBE runs the probe through another command (a profiler, say).
export GAME=${BLAST_PROBE:-$BLAST_BUILD_DIR/blastarena_probe}
BLIT_ONLY="$BLAST_BUILD_DIR/benchmarks/blit_only"
SCALE=${BLAST_SCALE:-}
export E2E_SCALE=${SCALE:-1}
source "$BLAST_SOURCE_DIR/tests/e2e/lib.sh"
if [ -n "$SCALE" ]; then e2e_setup 2048x1600; else e2e_setup; fi

# The game as installed plays in a window at 16 bpp; the yardstick at the
# same depth.
printf 'bpp = %s\ndriver = 3\n' "$BPP" >"$WORK/config.ini"
[ -z "$SCALE" ] || echo "scale = $SCALE" >>"$WORK/config.ini"
cp -r "$BLAST_SOURCE_DIR/levels" "$WORK/levels"

# The clock is read in the shell that then becomes the game, so the figure
# includes loading the program and its libraries.
start_probe()
{
    ( cd "$WORK" && date +%s%N >"$WORK/t0" && exec "$GAME" ) >"$WORK/game.out" 2>&1 &
    GAME_PID=$!
}
probe_value() { sed -n "s/^probe: .*$1=\([0-9.]*\).*/\1/p" "$WORK/game.out" | tail -n1; }
startup_ms() { echo $(( ($(probe_value first_screen_ns) - $(cat "$WORK/t0")) / 1000 )) | awk '{printf "%.1f", $1 / 1000}'; }

# Prints "fps cpu_fps".
blit_fps()
{
    "$BLIT_ONLY" "$ROUND_SECONDS" "$BPP" | sed -n 's/.* fps=\([0-9.]*\) cpu_fps=\([0-9.]*\).*/\1 \2/p'
}
median() { sort -n | awk '{v[NR] = $1} END {if (NR) print v[int((NR + 1) / 2)]}'; }

starts=()
for i in $(seq 1 "$STARTS"); do
    start_probe
    wait_menu
    # Without a window manager the keyboard follows the pointer.
    xdotool mousemove 30 30 sleep 0.1 mousemove 40 40
    press Escape
    wait_exit
    [ "$GAME_STATUS" = 0 ] || fail "the game ended with status $GAME_STATUS"
    starts+=("$(startup_ms)")
done

# One match of $1 seconds on the first arena; leaves the probe's figures in
# $WORK/game.out and the peak memory in peak_kib.
play_match()
{
    start_probe
    wait_menu
    # Without a window manager the keyboard follows the pointer.
    xdotool mousemove 30 30 sleep 0.1 mousemove 40 40
    press Return                    # New Game: the level browser
    sleep 0.3
    press Return                    # OK on the first arena
    sleep 0.5
    # Both players walk and fire all along and change weapon now and then,
    # so bombs, missiles and blasts are drawn and simulated throughout.
    xdotool keydown Control_R keydown Control_L keydown Right keydown s
    local i
    for i in $(seq 1 "$1"); do
        sleep 1
        if [ $((i % 3)) = 0 ]; then
            xdotool keydown Shift_R keydown Shift_L; sleep 0.1; xdotool keyup Shift_R keyup Shift_L
        fi
        if [ $((i % 4)) = 0 ]; then
            xdotool keyup Right keyup s keydown Down keydown a
        elif [ $((i % 4)) = 2 ]; then
            xdotool keyup Down keyup a keydown Right keydown s
        fi
    done
    peak_kib=$(awk '/^VmHWM/ {print $2}' "/proc/$GAME_PID/status")
    xdotool keyup Control_R keyup Control_L keyup Right keyup s keyup Down keyup a
    press Escape                    # back to the menu
    wait_menu
    press Escape                    # and out
    wait_exit
    [ "$GAME_STATUS" = 0 ] || fail "the game ended with status $GAME_STATUS"
    frames=$(probe_value frames)
    span=$(probe_value span_s)
    [ -n "$frames" ] && [ "$frames" -gt 1 ] || fail "the match drew no frames"
}
per_second() { awk -v f="$frames" -v s="$1" 'BEGIN {printf "%.1f", (f - 1) / s}'; }

if [ "$MATCH_SECONDS" -gt 0 ]; then
    play_match "$MATCH_SECONDS"
    starts+=("$(startup_ms)")
    echo "tick_rate=$(awk -v t="$(probe_value span_ticks)" -v s="$span" 'BEGIN {printf "%.3f", t / s}')"
    echo "match_s=$span"
    echo "peak_kib=$peak_kib"
fi

rounds=()
for i in $(seq 1 "$ROUNDS"); do
    read -r blit cpu_blit < <(blit_fps)
    play_match "$ROUND_SECONDS"
    rounds+=("$(per_second "$span") $blit $(per_second "$(probe_value span_cpu_s)") $cpu_blit")
done
if [ "$ROUNDS" -gt 0 ]; then
    column() { printf '%s\n' "${rounds[@]}" | awk -v c="$1" '{print $c}' | median; }
    ratio() { printf '%s\n' "${rounds[@]}" | awk -v a="$1" -v b="$2" '{printf "%.3f\n", $a / $b}' | median; }
    echo "fps_ratio=$(ratio 1 2)"
    echo "cpu_ratio=$(ratio 3 4)"
    echo "match_fps=$(column 1)"
    echo "blit_only_fps=$(column 2)"
    echo "rounds=$(IFS=';'; echo "${rounds[*]}")"
fi
if [ ${#starts[@]} -gt 0 ]; then
    echo "startup_ms=$(printf '%s\n' "${starts[@]}" | median)"
    echo "startup_all_ms=${starts[*]}"
fi
