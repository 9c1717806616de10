#!/usr/bin/env bash
# Runs every performance measurement from a Release build directory and
# prints one table: figure, target, result, pass or miss. Called by ./bench.
# Usage: report.sh BUILD_DIR [MATCH_SECONDS]
set -uo pipefail
BUILD=$(cd "$1" && pwd)
MATCH_SECONDS=${2:-30}
HERE=$(cd "$(dirname "$0")" && pwd)
OUT=$(mktemp -d /tmp/blast-bench.XXXXXX)
trap 'rm -rf "$OUT"' EXIT

load() { cut -d' ' -f1-3 /proc/loadavg; }
echo "Machine: $(nproc) cores, $(sed -n 's/^model name[^:]*: //p' /proc/cpuinfo | head -n1)," \
     "$(awk '/^MemTotal/ {printf "%.1f GiB", $2 / 1048576}' /proc/meminfo) memory"
echo "Load average before: $(load)"

echo "Google Benchmark (about a minute)..." >&2
"$BUILD/benchmarks/blast_bench" --benchmark_color=false >"$OUT/gbench.txt" 2>"$OUT/gbench.err" ||
    echo "blast_bench failed: $(tail -n3 "$OUT/gbench.err")" >&2
echo "Heap calls of a match..." >&2
"$BUILD/benchmarks/match_heap_calls" "$BUILD" >"$OUT/heap.txt" 2>&1
heap_status=$?
echo "The real program under Xvfb (about $((MATCH_SECONDS + 45)) s)..." >&2
ROUND_SECONDS=2 "$HERE/xvfb/real_run.sh" "$BUILD" "$MATCH_SECONDS" 5 5 >"$OUT/real.txt" \
    2>"$OUT/real.err" || echo "real_run failed: $(tail -n3 "$OUT/real.err")" >&2
echo "... and at 32 bpp (about 35 s)" >&2
BLAST_BPP=32 ROUND_SECONDS=2 "$HERE/xvfb/real_run.sh" "$BUILD" 0 5 0 >"$OUT/real32.txt" \
    2>"$OUT/real32.err" || echo "real_run at 32 bpp failed: $(tail -n3 "$OUT/real32.err")" >&2
echo "... and with the picture at scale 1, 2 and 3 on a 2048x1600 display (about 90 s)" >&2
for scale in 1 2 3; do
    BLAST_SCALE=$scale ROUND_SECONDS=2 "$HERE/xvfb/real_run.sh" "$BUILD" 0 3 0 \
        >"$OUT/real_scale$scale.txt" 2>"$OUT/real_scale$scale.err" ||
        echo "real_run at scale $scale failed: $(tail -n3 "$OUT/real_scale$scale.err")" >&2
done
echo "Load average after: $(load)"
echo

# Mean time of benchmark $1 in microseconds ("" when it did not run).
bench_us()
{
    awk -v n="$1" '$1 == n {
        t = $2; u = $3
        if (u == "ns") t /= 1000; else if (u == "ms") t *= 1000; else if (u == "s") t *= 1e6
        printf "%.1f", t; exit }' "$OUT/gbench.txt"
}
# CPU time of benchmark $1 in microseconds: for work that a busy machine's
# other programs only delay.
bench_cpu_us()
{
    awk -v n="$1" '$1 == n {
        t = $4; u = $5
        if (u == "ns") t /= 1000; else if (u == "ms") t *= 1000; else if (u == "s") t *= 1e6
        printf "%.1f", t; exit }' "$OUT/gbench.txt"
}
# Counter $2 of benchmark $1.
bench_counter()
{
    awk -v n="$1" -v c="$2" '$1 == n { for (i = 1; i <= NF; i++) if (index($i, c "=") == 1) {
        v = substr($i, length(c) + 2); s = substr(v, length(v))
        # Google Benchmark shortens counters with SI suffixes ("1.23k").
        m = s == "k" ? 1e3 : s == "M" ? 1e6 : s == "G" ? 1e9 : s == "m" ? 1e-3 : s == "u" ? 1e-6 : s == "n" ? 1e-9 : 1
        if (m != 1) v = substr(v, 1, length(v) - 1)
        print v * m; exit } }' "$OUT/gbench.txt"
}
real() { sed -n "s/^$1=//p" "$OUT/real${2:-}.txt"; }
# pass/miss from an awk condition on x.
judge() { [ -z "$1" ] && { echo "error"; return; }; awk -v x="$1" "BEGIN { print ($2) ? \"pass\" : \"MISS\" }"; }

row() { printf '| %s | %s | %s | %s |\n' "$@"; }
echo "| Figure | Target | Result | |"
echo "|---|---|---|---|"

tick=$(bench_us BM_MatchTickWorstCase)
row "Worst-case tick (100 bombs, 1000 explosions, every key held)" "≤ 100 µs" "${tick:-?} µs" \
    "$(judge "$tick" 'x <= 100')"
tick_sounds=$(bench_us BM_MatchTickWithSounds/all:0)
row "Worst-case tick with sound events (the above, one bomb of each kind going off, hits, a wreck, 7 effects played)" \
    "≤ 100 µs" "${tick_sounds:-?} µs" "$(judge "$tick_sounds" 'x <= 100')"
all_off=$(bench_us BM_MatchTickWithSounds/all:1)
row "Tick with all 100 bombs going off into a full explosion pool, with their sounds" "≤ 100 µs" \
    "${all_off:-?} µs" "$(judge "$all_off" 'x <= 100')"
snapshot=$(bench_us BM_SnapshotAndRestore)
row "Snapshot and restore of the match (a copy each way, 35 KB)" "≤ 10 µs" "${snapshot:-?} µs" \
    "$(judge "$snapshot" 'x <= 10')"
row "Hash of the match's state (XXH3)" "—" "$(bench_us BM_StateHash) µs" ""
rerun=$(bench_cpu_us BM_RollbackWorstCase)
row "Online: a wrong guess 8 ticks back, restored and the 8 worst-case ticks run again (CPU time)" \
    "≤ 1 ms" "${rerun:-?} µs" "$(judge "$rerun" 'x <= 1000')"
for side in host joiner; do
    kbps() { bench_counter BM_OnlineBytesPerSecond/iterations:1 "$1" |
             awk '{ v = $1 + 0; if ($1 ~ /k$/) v *= 1000; else if ($1 ~ /M$/) v *= 1e6; printf "%.2f", v / 1000 }'; }
    bps=$(kbps "${side}_ip_Bps")
    enet=$(kbps "${side}_Bps")
    row "Online: bytes per second sent by the $side during a 10 s match on loopback, with IP and UDP headers (ENet's datagrams alone)" \
        "≤ 5 KB/s" "${bps:-?} KB/s (${enet:-?} KB/s)" "$(judge "$bps" 'x <= 5')"
done
verify_ms=$(awk '$1 == "BM_VerifyTenMinuteReplay" { print $2; exit }' "$OUT/gbench.txt")
row "--verify-replay of a 10-minute match (24,000 ticks, $(bench_counter BM_VerifyTenMinuteReplay kib | awk '{printf "%.0f", $1}') KB)" \
    "≤ 1 s" "${verify_ms:-?} ms" "$(judge "$verify_ms" 'x <= 1000')"
for bpp in 16 32; do
    name="BM_MatchFrameComposeOverBare/bpp:$bpp"
    compose=$(bench_counter "$name" compose_us | awk '{printf "%.1f", $1}')
    bare=$(bench_counter "$name" bare_us | awk '{printf "%.1f", $1}')
    ratio=$(bench_counter "$name" ratio | awk '{printf "%.2f", $1}')
    row "Worst-case match frame at $bpp bpp: compose / bare loop of the same blits" "ratio ≤ 1.5" \
        "${compose:-?} / ${bare:-?} µs = ${ratio:-?}" "$(judge "$ratio" 'x <= 1.5')"
done
row "Ordinary match frame (busy board, 4 bombs, 29 blasts), 16 / 32 bpp, of it the screen copy" "—" \
    "$(bench_us BM_MatchFrameOrdinary/bpp:16) / $(bench_us BM_MatchFrameOrdinary/bpp:32) µs, of it $(bench_us BM_FullScreenCopy/bpp:16) / $(bench_us BM_FullScreenCopy/bpp:32) µs" ""
for bpp in 16 32; do
    for factor in 2 3 4; do
        name="BM_ScaledCopyOverPlain/bpp:$bpp/factor:$factor"
        c() { bench_counter "$name" "$1" | awk '{printf "%.2f", $1}'; }
        own_ratio=$(c own_ratio)
        row "Scaled copy x$factor at $bpp bpp: own block copy / stretch_blit / plain copy of the same size" \
            "own ≤ 1.5 × plain" \
            "$(c own_us) / $(c stretch_us) / $(c plain_us) µs = ${own_ratio:-?} / $(c stretch_ratio)" \
            "$(judge "$own_ratio" 'x <= 1.5')"
    done
done
fps1=$(real match_fps _scale1)
for scale in 2 3; do
    fps=$(real match_fps _scale$scale)
    row "Match frames/s at scale $scale over scale 1, 16 bpp window on 2048x1600, median of 3 rounds" "—" \
        "$([ -n "$fps" ] && [ -n "$fps1" ] && awk -v a="$fps" -v b="$fps1" 'BEGIN {printf "%.2f", a / b}') ($fps / $fps1)" ""
done
# Google Benchmark writes a counter of 1000 or more as "1.2k".
plain() { awk '{ v = $1; if (v ~ /k$/) { sub(/k$/, "", v); v *= 1000 } printf "%.*f", n, v }' n="$1"; }
think_avg=$(bench_counter BM_ComputerThinking/iterations:1 avg_us | plain 1)
think_worst=$(bench_counter BM_ComputerThinking/iterations:1 worst_us | plain 0)
row "The computer's thinking per word, hard against hard, a minute on each arena: average / worst" \
    "≤ 50 / ≤ 500 µs" "${think_avg:-?} / ${think_worst:-?} µs" \
    "$(judge "$think_avg" "x <= 50 && ${think_worst:-1e9} <= 500")"
row "Editor frame compose" "—" "$(bench_us BM_EditorFrame) µs" ""
row "Flood fill of the whole board (one-cell snake corridor)" "must not fail" \
    "$(bench_us BM_FloodFillWholeBoard) µs ($(bench_us BM_FloodFillSnake) µs)" \
    "$([ -n "$(bench_us BM_FloodFillWholeBoard)" ] && echo pass || echo error)"
row "read_level" "—" "$(bench_us BM_ReadLevel) µs" ""
row "write_level (with fsync)" "—" "$(bench_us BM_WriteLevel) µs" ""
list_us=$(bench_us BM_ListAndOpenBrowser)
row "Listing 500 level files and drawing the browser" "—" \
    "$(awk -v x="$list_us" 'BEGIN {printf "%.2f", x / 1000}') ms" ""

for bpp in 16 32; do
    suffix=$([ $bpp = 32 ] && echo 32)
    fps_ratio=$(real fps_ratio "$suffix" | awk '{printf "%.2f", $1}')
    cpu_ratio=$(real cpu_ratio "$suffix" | awk '{printf "%.2f", $1}')
    row "Match frames/s under Xvfb over a blit-only program's, $bpp bpp window, median of 5 rounds" \
        "≥ 0.8" "${fps_ratio:-?} (per CPU second ${cpu_ratio:-?}; frames/s $(real match_fps "$suffix") / $(real blit_only_fps "$suffix"))" \
        "$(judge "$fps_ratio" 'x >= 0.8')"
done
tick_rate=$(real tick_rate)
row "Tick rate over $(real match_s | awk '{printf "%.0f", $1}') s of the match, drawing unpaced" \
    "40.0/s ± 0.5 %" "${tick_rate:-?}/s" "$(judge "$tick_rate" 'x >= 39.8 && x <= 40.2')"
startup=$(real startup_ms)
row "Start-up to the first menu frame (median of 6)" "≤ 200 ms" "${startup:-?} ms" \
    "$(judge "$startup" 'x <= 200')"
peak=$(real peak_kib)
row "Peak memory of a running match (VmHWM)" "—" \
    "$([ -n "$peak" ] && awk -v k="$peak" 'BEGIN {printf "%.1f MiB", k / 1024}')" ""
heap=$(sed -n 's/.*: \([0-9]*\) heap calls$/\1/p' "$OUT/heap.txt")
row "Heap calls during 4 matches, the last between two computers ($(cut -d, -f1 "$OUT/heap.txt"))" "0" "${heap:-?}" \
    "$([ "$heap_status" = 0 ] && echo pass || echo MISS)"

echo
echo "Start-ups (ms): $(real startup_all_ms)."
echo "Rounds (match frames/s, blit-only frames/s, the same per CPU second):"
echo "16 bpp: $(real rounds | sed 's/;/; /g')."
echo "32 bpp: $(real rounds 32 | sed 's/;/; /g')."
