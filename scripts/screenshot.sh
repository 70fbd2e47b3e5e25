#!/bin/sh
# The picture of the README and the AppStream metainfo: the built program on
# a virtual display of 1280 x 800 in a fresh working folder, with the HTML
# structure template open in its first page and the live preview beside it,
# saved as a PNG.
#
#   scripts/screenshot.sh BUILD-FOLDER OUTPUT.png
#
# Needs xvfb-run (xvfb, xauth). Nothing outside the temporary folder is
# written: the working folder, the cache and the settings live in it.
set -eu

build=$(readlink -f "$1")
out=$(readlink -f "$(dirname "$2")")/$(basename "$2")
sources=$(dirname "$(readlink -f "$0")")/..
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

export ZELVAR_PROGRAM="$build/zelvar"
export ZELVAR_DATA="$sources/data"
export ZELVAR_WORKDIR="$work/zelvar"
export XDG_CACHE_HOME="$work/cache" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
export LANG=C.UTF-8 LC_ALL=C.UTF-8
# The live preview shown, as a user who turned it on finds it.
mkdir -p "$XDG_CONFIG_HOME/zelvar"
printf '[view]\nlivepreview=true\n' > "$XDG_CONFIG_HOME/zelvar/zelvar.conf"

# The launcher copies the template into the working folder; the page opens
# the copy there.
xvfb-run --auto-servernum --server-args="-screen 0 1280x800x24" sh -c '
    "$1/scripts/zelvar" "$ZELVAR_WORKDIR/zakl_struktura.txt" &
    program=$!
    status=0
    sleep 5 # the web engine starts and renders the page
    "$2/zelvar_screengrab" "$3" || status=$?
    kill "$program"
    exit $status
' screenshot "$sources" "$build" "$out"
echo "$out"
