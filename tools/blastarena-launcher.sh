#!/bin/sh
# Starts an installed Blast Arena in the player's own data directory, where
# config.ini and levels/ live; the game itself finds its datafiles beside
# its executable. The install tree is found from this script's own place,
# so any prefix works and a staged tree can be moved.
set -eu

self=$(readlink -f -- "$0")
bindir=$(dirname -- "$self")
gamedir="$bindir/@BLAST_LAUNCHER_TO_GAMEDIR@"
sharedir="$bindir/@BLAST_LAUNCHER_TO_SHAREDIR@"

# Relative or empty values are not valid base directories; fall back then.
case "${XDG_DATA_HOME:-}" in
    /*) datahome=$XDG_DATA_HOME ;;
    *)
        if [ -z "${HOME:-}" ]; then
            echo "blastarena: neither XDG_DATA_HOME nor HOME is set" >&2
            exit 1
        fi
        datahome=$HOME/.local/share
        ;;
esac
datadir=$datahome/blastarena

if ! mkdir -p -- "$datadir/levels"; then
    echo "blastarena: cannot create $datadir/levels" >&2
    exit 1
fi

# Copies are written with cat so they belong to the player and are writable
# whatever modes the install tree has. Each bundled arena is offered once: it is copied unless the player already
# has a level of that name, and it is noted so that an arena the player
# deleted does not come back. Arenas of a later version still arrive.
offered="$datadir/.bundled-levels"
[ -e "$offered" ] || : >"$offered"
for level in "$sharedir/levels"/*; do
    [ -f "$level" ] || continue
    name=${level##*/}
    if grep -qxF -- "$name" "$offered"; then
        continue
    fi
    dest="$datadir/levels/$name"
    if [ ! -e "$dest" ] && [ ! -L "$dest" ]; then
        cat -- "$level" >"$dest"
    fi
    printf '%s\n' "$name" >>"$offered"
done

# The player's settings are never replaced; only a missing file is filled in
# with the installed defaults (a window rather than the whole screen).
if [ ! -e "$datadir/config.ini" ]; then
    cat -- "$sharedir/config.ini" >"$datadir/config.ini"
fi

cd -- "$datadir"
exec "$gamedir/blastarena" "$@"
