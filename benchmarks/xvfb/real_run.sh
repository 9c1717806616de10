#!/usr/bin/env bash
# The real program under its own Xvfb display, timed from inside by
# blastarena_probe (the game with three calls wrapped by the linker), beside
# blit_only, which only copies a 640 by 480 buffer to the screen, on the same
# display in the same run. Prints key=value lines:
#   startup_ms       median over STARTS starts, exec to the first menu frame
#   blit_only_fps    the yardstick, run before and after the match (mean)
#   match_fps        frames drawn per second while a match runs
#   *_cpu_fps        the same per second of the program's own CPU time, which
#                    other processes on a busy machine disturb less
#   tick_rate        ticks simulated per second over the match
#   match_s          how long the match ran
#   peak_kib         VmHWM of the game at the end of the match
# Usage: real_run.sh BUILD_DIR [MATCH_SECONDS] [BLIT_SECONDS] [STARTS]
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
export BLAST_BUILD_DIR=$(cd "$1" && pwd)
export BLAST_SOURCE_DIR=$(cd "$HERE/../.." && pwd)
MATCH_SECONDS=${2:-30}
BLIT_SECONDS=${3:-5}
STARTS=${4:-5}
BPP=${BLAST_BPP:-16}   # the colour depth of both programs
# BLAST_PROBE runs the probe through another command (a profiler, say).
export GAME=${BLAST_PROBE:-$BLAST_BUILD_DIR/blastarena_probe}
BLIT_ONLY="$BLAST_BUILD_DIR/benchmarks/blit_only"
source "$BLAST_SOURCE_DIR/tests/e2e/lib.sh"
e2e_setup

# The game as installed plays in a window at 16 bpp; the yardstick at the
# same depth.
printf 'bpp = %s\ndriver = 3\n' "$BPP" >"$WORK/config.ini"
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
    "$BLIT_ONLY" "$BLIT_SECONDS" "$BPP" | sed -n 's/.* fps=\([0-9.]*\) cpu_fps=\([0-9.]*\).*/\1 \2/p'
}
mean() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.1f", (a + b) / 2}'; }

starts=()
for i in $(seq 1 "$STARTS"); do
    start_probe
    wait_menu
    press Escape
    wait_exit
    [ "$GAME_STATUS" = 0 ] || fail "the game ended with status $GAME_STATUS"
    starts+=("$(startup_ms)")
done

read -r blit_before cpu_before < <(blit_fps)

start_probe
wait_menu
press Return                    # New Game: the level browser
sleep 0.3
press Return                    # OK on the first arena
sleep 0.5
# Both players walk and fire all along and change weapon now and then, so
# bombs, missiles and blasts are drawn and simulated throughout.
xdotool keydown Control_R keydown Control_L keydown Right keydown s
for i in $(seq 1 "$MATCH_SECONDS"); do
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
starts+=("$(startup_ms)")

read -r blit_after cpu_after < <(blit_fps)

frames=$(probe_value frames)
span=$(probe_value span_s)
span_ticks=$(probe_value span_ticks)
span_cpu=$(probe_value span_cpu_s)
[ -n "$frames" ] && [ "$frames" -gt 1 ] || fail "the match drew no frames"

echo "startup_ms=$(printf '%s\n' "${starts[@]}" | sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}')"
echo "startup_all_ms=${starts[*]}"
echo "blit_only_fps=$(mean "$blit_before" "$blit_after")"
echo "blit_only_cpu_fps=$(mean "$cpu_before" "$cpu_after")"
echo "blit_only_runs=$blit_before $blit_after"
echo "match_fps=$(awk -v f="$frames" -v s="$span" 'BEGIN {printf "%.1f", (f - 1) / s}')"
echo "match_cpu_fps=$(awk -v f="$frames" -v s="$span_cpu" 'BEGIN {printf "%.1f", (f - 1) / s}')"
echo "tick_rate=$(awk -v t="$span_ticks" -v s="$span" 'BEGIN {printf "%.3f", t / s}')"
echo "match_s=$span"
echo "peak_kib=$peak_kib"
