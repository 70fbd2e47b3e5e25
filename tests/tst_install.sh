#!/bin/sh
# Installs the built program into a temporary prefix, checks the installed
# tree and the launcher's working folder and file names, and starts the
# installed program offscreen.
# Usage: tst_install.sh BUILD-FOLDER SOURCE-FOLDER
set -eu
build=$1
source=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

prefix=$tmp/usr
cmake --install "$build" --prefix "$prefix" >/dev/null

for f in bin/zelvar lib/zelvar/zelvar lib/zelvar/zelvar-htmlcheck; do
    [ -x "$prefix/$f" ] || fail "$f is not an installed program"
done
[ -f "$prefix/lib/zelvar/zelvar-webpreview.so" ] || fail "the live preview's module is not installed"
for f in share/applications/cz.zelvar.Zelvar.desktop share/metainfo/cz.zelvar.Zelvar.metainfo.xml \
    share/icons/hicolor/scalable/apps/zelvar.svg; do
    [ -f "$prefix/$f" ] || fail "$f is not installed"
done
for size in 16 24 32 48 64 128 256; do
    [ -f "$prefix/share/icons/hicolor/${size}x${size}/apps/zelvar.png" ] ||
        fail "the ${size}x${size} icon is not installed"
done
for f in "$source"/data/*; do
    cmp -s "$f" "$prefix/share/zelvar/${f##*/}" || fail "data file ${f##*/} is not installed"
done

# The short texts come without a working folder or a window.
[ "$(HOME="$tmp/nohome" "$prefix/bin/zelvar" --version)" = "Zelvar 2.0" ] ||
    fail "--version does not print the version"
HOME="$tmp/nohome" "$prefix/bin/zelvar" --help | grep -q "^Použití: zelvar" ||
    fail "--help does not print the usage"
[ ! -e "$tmp/nohome" ] || fail "--help or --version prepared a working folder"

# The launcher always starts the program (a stand-in that reports its
# folder, whether the data files are there, and its arguments) with full file
# names, and names in a notice what it could not prepare. A row: name, start
# folder ($tmp/gone is deleted first), XDG_DATA_HOME, the report, arguments.
printf '#!/bin/sh\n[ -f zakl_struktura.txt ] && f=filled || f=empty\nprintf "%%s " "$(pwd)" $f "$@"\n' >"$tmp/report"
chmod +x "$tmp/report"
row() {
    name=$1 start=$2 home=$3 expected=$4
    shift 4
    got=$(mkdir -p "$start" && cd "$start" && rm -rf "$tmp/gone" && XDG_DATA_HOME="$home" \
        TMPDIR="$tmp" ZELVAR_PROGRAM="$tmp/report" "$prefix/bin/zelvar" "$@" 2>/dev/null)
    case $got in $expected) ;; *) fail "$name: the launcher started: $got" ;; esac
}
mkdir -p "$tmp/start/sub" "$tmp/linked/zelvar"
ln -s "$tmp/nowhere" "$tmp/linked/zelvar/navod.txt"
: >"$tmp/file"
row "normal start" "$tmp/start" "$tmp/data" \
    "$tmp/data/zelvar filled $tmp/start/a.html $tmp/start/sub/b.html /abs/c.html -- $tmp/start/-d.html " \
    a.html sub/b.html /abs/c.html -- -d.html
row "deleted start folder" "$tmp/gone" "$tmp/data" \
    "$tmp/data/zelvar filled --notice *: a.html ! /abs/c.html " a.html /abs/c.html
row "dangling navod.txt link" "$tmp/start" "$tmp/linked" "$tmp/linked/zelvar filled --notice *navod.txt*"
row "uncreatable working folder" "$tmp/start" "$tmp/file/data" "$tmp/zelvar.* filled --notice *$tmp/file/data/zelvar*"
[ -L "$tmp/linked/zelvar/navod.txt" ] || fail "the user's navod.txt link was replaced"

"$source/scripts/check-installed.sh" "$prefix/bin/zelvar"
