# Shared helpers for the end-to-end tests: one Xvfb display per test, the
# real executable in a scratch working directory, xdotool for input and
# ImageMagick for screenshots. Source it, then call e2e_setup.
set -euo pipefail

BUILD_DIR=${BLAST_BUILD_DIR:?run through ctest, or set BLAST_BUILD_DIR}
SOURCE_DIR=${BLAST_SOURCE_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
GAME=${GAME:-$BUILD_DIR/blastarena}
E2E_TIMEOUT=${E2E_TIMEOUT:-30}

WORK=""
XVFB_PID=""
GAME_PID=""
GAME_STATUS=""

e2e_cleanup()
{
    if [ -n "$GAME_PID" ]; then
        kill "$GAME_PID" 2>/dev/null || true
        # Allegro's signal handler can deadlock against the drawing thread;
        # never wait on it for ever.
        local i
        for i in 1 2 3 4 5 6 7 8 9 10; do game_running || break; sleep 0.2; done
        kill -9 "$GAME_PID" 2>/dev/null || true
    fi
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
    wait 2>/dev/null || true
    if [ -n "$WORK" ] && [ -z "${E2E_KEEP:-}" ]; then rm -rf "$WORK"; fi
}

fail()
{
    echo "FAIL: $*" >&2
    if [ -n "$XVFB_PID" ] && [ -n "$WORK" ]; then
        import -display "$DISPLAY" -window root "$WORK/failure.png" 2>/dev/null || true
        echo "screenshot at failure: $WORK/failure.png (kept)" >&2
        E2E_KEEP=1
    fi
    exit 1
}

# A scratch working directory (config.ini and levels/ are read from the
# working directory) and a private Xvfb display found free with -displayfd.
e2e_setup()
{
    WORK=$(mktemp -d /tmp/blast-e2e.XXXXXX)
    trap e2e_cleanup EXIT
    local fd_file="$WORK/.display"
    Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$fd_file" 2>"$WORK/xvfb.log" &
    XVFB_PID=$!
    local i
    for i in $(seq 1 100); do
        [ -s "$fd_file" ] && break
        sleep 0.1
    done
    [ -s "$fd_file" ] || fail "Xvfb did not start"
    export DISPLAY=":$(head -n1 "$fd_file")"
}

# Starts the game in $WORK (or in directory $2) with output to $WORK/game.out.
start_game()
{
    local dir=${1:-$WORK}
    ( cd "$dir" && exec "$GAME" ) >"$WORK/game.out" 2>&1 &
    GAME_PID=$!
}

game_running() { kill -0 "$GAME_PID" 2>/dev/null; }

# Waits for the game to end; sets GAME_STATUS.
wait_exit()
{
    local limit=${1:-$E2E_TIMEOUT} i
    for i in $(seq 1 $((limit * 10))); do
        if ! game_running; then
            set +e; wait "$GAME_PID"; GAME_STATUS=$?; set -e
            GAME_PID=""
            return 0
        fi
        sleep 0.1
    done
    fail "game still running after ${limit}s"
}

shot() { import -display "$DISPLAY" -window root "${1:-$WORK/shot.png}"; }

# Colour of pixel (x, y) of a fresh screenshot (or of file $3) as "r,g,b".
pixel()
{
    local file=${3:-}
    if [ -z "$file" ]; then file="$WORK/pixel.png"; shot "$file"; fi
    convert "$file" -format '%[fx:int(255*p{'"$1,$2"'}.r)],%[fx:int(255*p{'"$1,$2"'}.g)],%[fx:int(255*p{'"$1,$2"'}.b)]' info:
}

# Polls until pixel (x, y) has colour "r,g,b" (each channel within 12).
wait_pixel()
{
    local x=$1 y=$2 want=$3 limit=${4:-$E2E_TIMEOUT} i got
    for i in $(seq 1 $((limit * 4))); do
        game_running || fail "game exited while waiting for $want at ($x,$y)"
        got=$(pixel "$x" "$y")
        if colour_near "$got" "$want"; then return 0; fi
        sleep 0.25
    done
    fail "pixel ($x,$y) is $got, wanted $want"
}

colour_near()
{
    local IFS=,
    read -r r1 g1 b1 <<<"$1"
    read -r r2 g2 b2 <<<"$2"
    local d
    for d in $((r1 - r2)) $((g1 - g2)) $((b1 - b2)); do
        [ "${d#-}" -le 12 ] || return 1
    done
}

# Holds a key long enough for a polling loop to see it, then releases it.
press()
{
    xdotool keydown "$1"
    sleep "${2:-0.15}"
    xdotool keyup "$1"
    sleep 0.15
}

type_keys() { local k; for k in "$@"; do press "$k"; done; }

click_at()
{
    xdotool mousemove "$1" "$2"
    sleep 0.1
    xdotool mousedown "${3:-1}"
    sleep 0.15
    xdotool mouseup "${3:-1}"
    sleep 0.15
}

# The main menu is up: the highlight ellipse of the first item is red.
wait_menu() { wait_pixel 230 200 "255,0,0" "${1:-$E2E_TIMEOUT}"; }
