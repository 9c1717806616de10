# Shared helpers for the end-to-end tests: one Xvfb display per test, the
# real executable in a scratch working directory, xdotool and xte for input
# and ImageMagick for screenshots. Source it, then call e2e_setup.
#
# These tests must hold on a machine whose cores are busy with other work,
# so nothing here sleeps in place of knowing: every step that needs the
# game to be somewhere waits for it (the window, a pixel, a file, the exit)
# with a short pause between looks, and each wait is measured on the clock,
# not by counting looks, since one look can take a second under load.
set -euo pipefail

BUILD_DIR=${BLAST_BUILD_DIR:?run through ctest, or set BLAST_BUILD_DIR}
SOURCE_DIR=${BLAST_SOURCE_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
GAME=${GAME:-$BUILD_DIR/blastarena}
# The longest any single wait may take, in seconds; a failed wait names
# what it waited for.
E2E_WAIT=${E2E_WAIT:-${E2E_TIMEOUT:-20}}
E2E_TIMEOUT=$E2E_WAIT
# The whole test's allowance. CTest kills a test at its TIMEOUT without a
# word, so waits stop short of that and fail with their own message.
E2E_BUDGET=${E2E_BUDGET:-570}
E2E_POLL=${E2E_POLL:-0.1}

WORK=""
XVFB_PID=""
GAME_PID=""
GAME_STATUS=""
# A second display and game, for tests of two games that play each other.
XVFB2_PID=""
GAME2_PID=""
DISPLAY2=""

now_ms() { local t=${EPOCHREALTIME//[.,]/}; echo $((t / 1000)); }
E2E_START_MS=$(now_ms)

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
    if [ -n "$GAME2_PID" ]; then
        kill -9 "$GAME2_PID" 2>/dev/null || true
    fi
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
    [ -n "$XVFB2_PID" ] && kill "$XVFB2_PID" 2>/dev/null || true
    wait 2>/dev/null || true
    if [ -n "$WORK" ] && [ -z "${E2E_KEEP:-}" ]; then rm -rf "$WORK"; fi
}

fail()
{
    echo "FAIL: $*" >&2
    if [ -n "$XVFB_PID" ] && [ -n "$WORK" ]; then
        import -display "$DISPLAY" -window root "$WORK/failure.png" 2>/dev/null || true
        echo "screenshot at failure: $WORK/failure.png (kept)" >&2
        [ -s "$WORK/game.out" ] && { echo "game output:" >&2; cat "$WORK/game.out" >&2; }
        E2E_KEEP=1
    fi
    exit 1
}

# poll_until SECONDS COMMAND...
# Runs COMMAND until it succeeds, pausing briefly between tries; returns 1
# if it has not after SECONDS (or once the test's budget is spent).
poll_until()
{
    local limit=$1 end budget_end
    shift
    end=$(($(now_ms) + $(awk -v s="$limit" 'BEGIN { print int(s * 1000) }')))
    budget_end=$((E2E_START_MS + E2E_BUDGET * 1000))
    [ "$end" -le "$budget_end" ] || end=$budget_end
    while :; do
        if "$@"; then return 0; fi
        [ "$(now_ms)" -lt "$end" ] || return 1
        sleep "$E2E_POLL"
    done
}

# wait_for WHAT [-t SECONDS] COMMAND...
# Runs COMMAND until it succeeds, pausing briefly between tries; fails with
# "timed out ... waiting for WHAT" after SECONDS (default E2E_WAIT) or when
# the test's budget is spent, and at once if the game has exited meanwhile.
# Conditions may leave what they last saw in E2E_SEEN for the message.
wait_for()
{
    local what=$1 limit=$E2E_WAIT start
    shift
    if [ "${1:-}" = -t ]; then limit=$2; shift 2; fi
    start=$(now_ms)
    E2E_SEEN=""
    game_still_up() { [ -z "$GAME_PID" ] || game_running || fail "the game exited while waiting for $what"; }
    poll_until "$limit" both_of game_still_up "$@" && return 0
    fail "timed out after $((($(now_ms) - start) / 1000)) s waiting for $what${E2E_SEEN:+ (last seen: $E2E_SEEN)}"
}
both_of() { "$1" && shift && "$@"; }
E2E_SEEN=""

# A scratch working directory (config.ini and levels/ are read from the
# working directory) and a private Xvfb display found free with -displayfd,
# 640x480 unless a size WxH is given.
# The display does not auto-repeat held keys: on a busy machine even a
# single-run press can be held past the repeat delay when xdotool gets no
# core for a moment, and the repeat would press the key a second time. A
# test about auto-repeat sets E2E_AUTOREPEAT=1 before e2e_setup.
e2e_setup()
{
    local size=${1:-640x480}
    WORK=$(mktemp -d /tmp/blast-e2e.XXXXXX)
    trap e2e_cleanup EXIT
    local fd_file="$WORK/.display" repeat=-r
    [ -z "${E2E_AUTOREPEAT:-}" ] || repeat=r
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp "$repeat" 3>"$fd_file" 2>"$WORK/xvfb.log" &
    XVFB_PID=$!
    xvfb_ready() { kill -0 "$XVFB_PID" 2>/dev/null || fail "Xvfb ended: $(cat "$WORK/xvfb.log")"; [ -s "$fd_file" ]; }
    wait_for "Xvfb to report its display" xvfb_ready
    export DISPLAY=":$(head -n1 "$fd_file")"
    # A private home whose .asoundrc sends the game's sound nowhere: no test
    # hangs on this machine's sound devices or the player's own settings.
    # Tests about sound write an .asoundrc of their own there. With
    # E2E_NO_SOUND set there is no device at all (the game plays silent).
    export HOME="$WORK/home"
    mkdir -p "$HOME"
    [ -n "${E2E_NO_SOUND:-}" ] || printf 'pcm.!default { type null }\n' >"$HOME/.asoundrc"
}

# Starts the game in $WORK (or in directory $1, with the arguments after
# it) with output to $WORK/game.out.
start_game()
{
    local dir=${1:-$WORK}
    [ $# -eq 0 ] || shift
    ( cd "$dir" && exec "$GAME" "$@" ) >"$WORK/game.out" 2>&1 &
    GAME_PID=$!
}

# A second private display beside the first, of the same size: DISPLAY2.
e2e_second_display()
{
    local fd_file="$WORK/.display2"
    Xvfb -displayfd 3 -screen 0 "${1:-640x480}x24" -nolisten tcp -r 3>"$fd_file" 2>"$WORK/xvfb2.log" &
    XVFB2_PID=$!
    xvfb2_ready() { kill -0 "$XVFB2_PID" 2>/dev/null || fail "Xvfb ended: $(cat "$WORK/xvfb2.log")"; [ -s "$fd_file" ]; }
    wait_for "the second Xvfb to report its display" xvfb2_ready
    DISPLAY2=":$(head -n1 "$fd_file")"
}

# Runs a command (any helper here) against the second display.
on2() { DISPLAY=$DISPLAY2 "$@"; }

# Starts a second game on DISPLAY2 in directory $1 with the arguments after
# it, output to $WORK/game2.out.
start_game2()
{
    local dir=$1
    shift
    ( cd "$dir" && DISPLAY=$DISPLAY2 exec "$GAME" "$@" ) >"$WORK/game2.out" 2>&1 &
    GAME2_PID=$!
}
game2_running() { [ -n "$GAME2_PID" ] && kill -0 "$GAME2_PID" 2>/dev/null; }

game_running() { [ -n "$GAME_PID" ] && kill -0 "$GAME_PID" 2>/dev/null; }

# Waits for the game to end; sets GAME_STATUS. Ending takes longer than a
# screen change: the sanitized game checks its whole heap for leaks on the way out.
wait_exit()
{
    local limit=${1:-$((E2E_WAIT * 3))}
    game_ended() { ! game_running; }
    poll_until "$limit" game_ended || fail "timed out after $limit s waiting for the game to exit"
    set +e; wait "$GAME_PID"; GAME_STATUS=$?; set -e
    GAME_PID=""
}

# Checks for a while that the game keeps running (e.g. after a key that
# must not end it): passes once it has run on for $1 seconds (default 0.5).
still_running()
{
    local until
    until=$(($(now_ms) + $(awk -v s="${1:-0.5}" 'BEGIN { print int(s * 1000) }')))
    while [ "$(now_ms)" -lt "$until" ]; do
        game_running || return 1
        sleep "$E2E_POLL"
    done
    game_running
}

shot() { import -display "$DISPLAY" -window root "${1:-$WORK/shot.png}"; }

# Colour of pixel (x, y) of the live screen (or of picture $3) as "r,g,b";
# "none" if no picture could be had.
pixel()
{
    local rgb
    if [ -n "${3:-}" ]; then
        rgb=$(convert "$3" -crop "1x1+$1+$2" +repage -depth 8 rgb:- | od -An -tu1) || true
    else
        rgb=$(import -display "$DISPLAY" -window root -crop "1x1+$1+$2" +repage -depth 8 rgb:- |
              od -An -tu1) || true
    fi
    set -- $rgb
    if [ $# -eq 3 ]; then echo "$1,$2,$3"; else echo none; fi
}

colour_near()
{
    [ "$1" != none ] && [ "$2" != none ] || return 1
    local IFS=,
    read -r r1 g1 b1 <<<"$1"
    read -r r2 g2 b2 <<<"$2"
    local d
    for d in $((r1 - r2)) $((g1 - g2)) $((b1 - b2)); do
        [ "${d#-}" -le 12 ] || return 1
    done
}

pixel_near() { E2E_SEEN=$(pixel "$1" "$2"); colour_near "$E2E_SEEN" "$3"; }
pixel_not_near() { E2E_SEEN=$(pixel "$1" "$2"); [ "$E2E_SEEN" != none ] && ! colour_near "$E2E_SEEN" "$3"; }

# A fingerprint of the live screen's region "WxH+X+Y", grabbed alone so that
# polling is quick: equal fingerprints, an unchanged region.
region_sig() { import -display "$DISPLAY" -window root -crop "$1" +repage rgb:- | md5sum; }
# The same of board cell (c, r).
cell_sig() { region_sig "12x12+$(($1 * 12 + 2))+$(($2 * 12 + 2))"; }

# Waits until pixel (x, y) has colour "r,g,b" (each channel within 12).
wait_pixel() { wait_for "$3 at ($1,$2)" -t "${4:-$E2E_WAIT}" pixel_near "$1" "$2" "$3"; }

# Waits until pixel (x, y) is no longer near colour "r,g,b".
wait_pixel_not() { wait_for "($1,$2) to change from $3" -t "${4:-$E2E_WAIT}" pixel_not_near "$1" "$2" "$3"; }

# Waits until file $1 exists (and, with "nonempty" as $2, has bytes in it).
wait_file()
{
    if [ "${2:-}" = nonempty ]; then
        wait_for "$1 to be written" test -s "$1"
    else
        wait_for "$1 to be written" test -e "$1"
    fi
}

# Does the live screen (or the region given as WxH+X+Y in $2) match the
# picture $1 exactly?
screen_is()
{
    local now="$WORK/screen_now.png" diff
    if [ -n "${2:-}" ]; then
        import -display "$DISPLAY" -window root -crop "$2" +repage "$now"
    else
        shot "$now"
    fi
    diff=$(compare -metric AE "$1" "$now" null: 2>&1 || true)
    [ "$diff" = 0 ]
}
screen_is_not() { ! screen_is "$@"; }

# Waits until two pictures of the screen taken one after the other are
# alike: whatever the last input started has been drawn.
wait_still()
{
    local prev="$WORK/still_prev.png"
    shot "$prev"
    still_now() { local ok=1; screen_is "$prev" && ok=0; mv "$WORK/screen_now.png" "$prev"; return $ok; }
    wait_for "the screen to stop changing" still_now
}

# Waits until the screen shows (wait_screen same) or no longer shows
# (wait_screen changed) the picture $2; $3 limits both to a region WxH+X+Y
# (the picture must then be of that region).
wait_screen()
{
    case $1 in
        same) wait_for "the screen to show $2 again" screen_is "$2" "${3:-}" ;;
        changed) wait_for "the screen to change from $2" screen_is_not "$2" "${3:-}" ;;
        *) fail "wait_screen same|changed PICTURE [REGION]" ;;
    esac
}

# Presses key $1 for $2 seconds (default 0.15) in ONE xdotool run: a keyup
# sent as a run of its own can come so late under load that the X server's
# auto-repeat presses the key again. A short pause after it lets the game's
# loop see the release before the next press.
press()
{
    xdotool keydown "$1" sleep "${2:-0.15}" keyup "$1"
    sleep 0.1
}

type_keys() { local k; for k in "$@"; do press "$k"; done; }

# Holds keys $2.. together for $1 seconds, in one xdotool run.
hold()
{
    local t=$1 k args=()
    shift
    for k in "$@"; do args+=(keydown "$k"); done
    args+=(sleep "$t")
    for k in "$@"; do args+=(keyup "$k"); done
    xdotool "${args[@]}"
    sleep 0.1
}

# Presses modifier $1 (Control_R, Shift_L, ...) for $2 seconds (default
# 0.15) with xte, in one run: xdotool sends left Control or Shift along with
# the right ones, and they are keys of their own in the game.
press_mod()
{
    local us
    us=$(awk -v s="${2:-0.15}" 'BEGIN { print int(s * 1000000) }')
    xte "keydown $1" "usleep $us" "keyup $1"
    sleep 0.1
}

# Holds modifier $1 with keys $3.. (X key names) for $2 seconds, in one xte run.
hold_mod()
{
    local mod=$1 us k args=()
    us=$(awk -v s="$2" 'BEGIN { print int(s * 1000000) }')
    shift 2
    args+=("keydown $mod")
    for k in "$@"; do args+=("keydown $k"); done
    args+=("usleep $us")
    for k in "$@"; do args+=("keyup $k"); done
    args+=("keyup $mod")
    xte "${args[@]}"
    sleep 0.1
}

# Clicks mouse button $3 (default 1) at (x, y), in one xdotool run.
click_at()
{
    xdotool mousemove "$1" "$2" sleep 0.1 mousedown "${3:-1}" sleep 0.15 mouseup "${3:-1}"
    sleep 0.1
}

# Installs the build into prefix $1, leaving the list of installed files in
# $WORK/manifest. Asked for by component, cmake --install writes its record
# as install_manifest_Unspecified.txt, so build/install_manifest.txt, which
# the README's uninstall reads after a player's own install, is left alone.
# Every install rule is in the default component; one moved to a component
# of its own would be missing from the prefix, and the install test says so.
install_build()
{
    flock "$BUILD_DIR/.install.lock" sh -c '
        cmake --install "$1" --prefix "$2" --component Unspecified >"$3/install.log" &&
        cp "$1/install_manifest_Unspecified.txt" "$3/manifest"' sh "$BUILD_DIR" "$1" "$WORK" ||
        fail "cmake --install failed: $(cat "$WORK/install.log")"
}

# The main menu is up: the highlight ellipse of the first item is red. A
# game run with config.ini's scale sets E2E_SCALE to it, for where that is.
E2E_SCALE=${E2E_SCALE:-1}
wait_menu() { wait_for "the main menu (red highlight on New Game)" -t "${1:-$E2E_WAIT}" pixel_near $((230 * E2E_SCALE)) $((200 * E2E_SCALE)) "255,0,0"; }

# Presses key $1 and waits until the dialog it opens covers pixel ($2, $3),
# so that the keys meant for the dialog are not pressed before it is up.
press_for_dialog()
{
    local before
    before=$(pixel "$2" "$3")
    press "$1"
    wait_pixel_not "$2" "$3" "$before"
}
YESNO="180 170"      # inside the yes/no box
SAVEBOX="300 240"    # inside the save-name box
LISTBOX="230 50"     # inside the level-list box
