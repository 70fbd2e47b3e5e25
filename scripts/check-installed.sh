#!/bin/sh
# Starts an installed Zelvar on the offscreen platform in a fresh home folder
# and checks that it comes up in its working folder with the data files
# ready, that a file the user already had there is kept, and that a relative
# file name reaches the program as a full path. The program is ended again.
# Usage: check-installed.sh PATH-OF-INSTALLED-bin/zelvar
set -eu
launcher=$1
data=$(dirname "$(readlink -f "$launcher")")/../share/zelvar
home=$(mktemp -d)
pid=
cleanup() {
    if [ -n "$pid" ]; then
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    fi
    rm -rf "$home"
}
trap cleanup EXIT
fail() {
    echo "check-installed: $*" >&2
    exit 1
}

workdir=$home/.local/share/zelvar
mkdir -p "$workdir" "$home/web"
echo "my own help" >"$workdir/navod.txt"
printf '<p>\305\276elva</p>\r\n' >"$home/web/index.html"

(cd "$home" && exec env -u XDG_DATA_HOME HOME="$home" QT_QPA_PLATFORM=offscreen \
    "$launcher" web/index.html) &
pid=$!

# The program is up once the launcher has handed over to it.
up=no
for _ in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || fail "the program ended at start"
    case $(readlink "/proc/$pid/exe" || true) in
    */lib/zelvar/zelvar)
        [ "$(readlink "/proc/$pid/cwd")" = "$workdir" ] || fail "the program runs outside $workdir"
        up=yes
        break
        ;;
    esac
    sleep 0.2
done
[ $up = yes ] || fail "the program did not start in $workdir"
sleep 2
kill -0 "$pid" 2>/dev/null || fail "the program did not stay up"

for f in "$data"/*; do
    [ -f "$workdir/${f##*/}" ] || fail "${f##*/} was not copied into the working folder"
done
[ "$(cat "$workdir/navod.txt")" = "my own help" ] || fail "the user's navod.txt was overwritten"
tr '\0' '\n' <"/proc/$pid/cmdline" | grep -qx "$home/web/index.html" ||
    fail "the file name did not reach the program as a full path"
echo "check-installed: the installed program comes up in $workdir"
