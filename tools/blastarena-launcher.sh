#!/bin/sh
# Starts an installed Blast Arena in the player's own data directory, where
# config.ini and levels/ live, and tells the game where its datafiles are
# installed. The install tree is found from this script's own place, so any
# prefix works and a staged tree can be moved.
set -eu

self=$(readlink -f -- "$0")
bindir=$(dirname -- "$self")
gamedir="$bindir/@BLAST_LAUNCHER_TO_GAMEDIR@"
sharedir=$(readlink -f -- "$bindir/@BLAST_LAUNCHER_TO_SHAREDIR@") ||
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

warn() { echo "blastarena: $*" >&2; }

# The installed files are the install's: a reinstall replaces them and an
# uninstall deletes them. A data directory that is the install's own (an
# XDG_DATA_HOME of <prefix>/share/games) would lose the player's files so.
if [ "$datadir" -ef "$sharedir" ]; then
    warn "$datadir is where the game is installed and cannot keep your levels and settings;"
    warn "set XDG_DATA_HOME to another directory"
    exit 1
fi

# Copies $1 to $2 only if $2 does not exist yet, through a temporary beside
# it: a full disk or a crash leaves no partial copy, only what arrived whole
# gets the name, and a file the player made meanwhile is never replaced.
copy_new() {
    tmp=$(mktemp -- "$(dirname -- "$2")/.${2##*/}.XXXXXX" 2>/dev/null) || return 1
    if cat -- "$1" >"$tmp" 2>/dev/null && cmp -s -- "$1" "$tmp" &&
       chmod "$(printf '%o' $((0666 & ~$(umask))))" -- "$tmp" &&
       ln -- "$tmp" "$2" 2>/dev/null; then
        rm -f -- "$tmp"
        return 0
    fi
    rm -f -- "$tmp"
    return 1
}

# A data directory that cannot be written (a read-only disk, a full one)
# still plays: the game starts on its defaults and says so when a save or a
# settings write fails.
if ! mkdir -p -- "$datadir/levels" 2>/dev/null; then
    warn "cannot create $datadir/levels; levels and settings will not be kept"
fi
if [ ! -d "$datadir" ]; then
    warn "starting in the installed defaults at $sharedir"
    datadir=$sharedir
fi

# Copies are written with cat so they belong to the player and are writable
# whatever modes the install tree has. Each bundled arena is offered once: it
# is copied unless the player already has a level of that name, and it is
# noted, once it has arrived, so that an arena the player deleted does not
# come back. Arenas of a later version still arrive.
offered="$datadir/.bundled-levels"
if [ -d "$datadir/levels" ] && [ -w "$datadir/levels" ] && [ "$datadir" != "$sharedir" ]; then
    [ -e "$offered" ] || : >"$offered" 2>/dev/null || true
    for level in "$sharedir/levels"/*; do
        [ -f "$level" ] || continue
        name=${level##*/}
        if grep -qxF -- "$name" "$offered" 2>/dev/null; then
            continue
        fi
        dest="$datadir/levels/$name"
        if [ ! -e "$dest" ] && [ ! -L "$dest" ] && ! copy_new "$level" "$dest"; then
            warn "could not copy the arena $name; it will be tried again next time"
            continue
        fi
        printf '%s\n' "$name" >>"$offered" 2>/dev/null ||
            warn "could not note $name in $offered"
    done
fi

# The player's settings are never replaced; only a missing file is filled in
# with the installed defaults (a window rather than the whole screen).
if [ ! -e "$datadir/config.ini" ] && [ ! -L "$datadir/config.ini" ] &&
   ! copy_new "$sharedir/config.ini" "$datadir/config.ini"; then
    warn "cannot write $datadir/config.ini; starting on the defaults"
fi

cd -- "$datadir"
BLASTARENA_DATA_DIR=$sharedir
export BLASTARENA_DATA_DIR
exec "$gamedir/blastarena" "$@"
