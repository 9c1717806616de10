#!/usr/bin/env bash
# The launcher's first run on a data directory that cannot take everything:
# a disk that fills up while the arenas are copied keeps only whole copies,
# and notes only those as offered; a read-only data directory without
# config.ini still starts the game, on its defaults, with a warning. Both
# need a small memory file system, so root.
source "$(dirname "$0")/lib.sh"
if [ "$(id -u)" != 0 ]; then echo "launcher faults: skipped (needs root and mount)"; exit 0; fi
e2e_setup
MOUNTED=""
trap '[ -z "$MOUNTED" ] || umount -l "$MOUNTED"; e2e_cleanup' EXIT

PREFIX="$WORK/prefix"
install_build "$PREFIX"
BUNDLED="$PREFIX/share/games/blastarena/levels"
[ "$(ls "$BUNDLED" | wc -l)" -ge 3 ] || fail "fewer than three bundled arenas to fill the disk with"
GAME="$PREFIX/games/blastarena"
export HOME="$WORK/home"
unset XDG_DATA_HOME
DATA="$HOME/.local/share/blastarena"
mkdir -p "$DATA"

# A disk with room for about two arenas.
mount -t tmpfs -o size=16k tmpfs "$DATA" || { echo "launcher faults: skipped (no mount)"; exit 0; }
MOUNTED=$DATA
start_game
wait_menu
grep -q "could not copy the arena" "$WORK/game.out" || fail "no warning about the arenas that did not fit"
whole=0
for f in "$DATA/levels"/* "$DATA/levels"/.[!.]*; do
    [ -e "$f" ] || continue
    name=${f##*/}
    case $name in .*) fail "temporary $name left behind" ;; esac
    cmp -s "$f" "$BUNDLED/$name" || fail "$name is not a whole copy"
    whole=$((whole + 1))
done
[ "$whole" -lt "$(ls "$BUNDLED" | wc -l)" ] || fail "every arena fitted: the disk was not full"
[ "$(sort "$DATA/.bundled-levels")" = "$(ls "$DATA/levels" | sort)" ] ||
    fail "offered list '$(cat "$DATA/.bundled-levels")' is not what arrived: $(ls "$DATA/levels")"
[ ! -e "$DATA/config.ini" ] || cmp -s "$DATA/config.ini" "$PREFIX/share/games/blastarena/config.ini" ||
    fail "config.ini is not a whole copy"
press Escape
wait_exit
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS"

# With room again the missing arenas arrive on the next start.
umount "$DATA"
MOUNTED=""
rm -rf "$DATA"
mkdir -p "$DATA"

# Read-only, without config.ini or levels/: warned, then the game runs.
mount -t tmpfs -o ro tmpfs "$DATA"
MOUNTED=$DATA
start_game
wait_menu
grep -q "starting on the defaults" "$WORK/game.out" || fail "no warning about config.ini: $(cat "$WORK/game.out")"
[ "$(readlink "/proc/$GAME_PID/cwd")" = "$DATA" ] || fail "the game does not run in $DATA"
press Escape
wait_exit
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS on a read-only data directory"
echo "launcher faults: ok"
