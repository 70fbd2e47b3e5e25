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

# The launcher runs the program in $XDG_DATA_HOME/zelvar with full file
# names; a stand-in program reports where and with what it was started.
cat >"$tmp/report" <<'REPORT'
#!/bin/sh
pwd
printf '%s\n' "$@"
REPORT
chmod +x "$tmp/report"
mkdir -p "$tmp/start/sub"
got=$(cd "$tmp/start" && XDG_DATA_HOME="$tmp/data" ZELVAR_PROGRAM="$tmp/report" \
    "$prefix/bin/zelvar" a.html sub/b.html /abs/c.html -- -d.html)
expected="$tmp/data/zelvar
$tmp/start/a.html
$tmp/start/sub/b.html
/abs/c.html
--
$tmp/start/-d.html"
[ "$got" = "$expected" ] || fail "launcher started: $got"
[ -f "$tmp/data/zelvar/zakl_struktura.txt" ] || fail "the working folder was not filled"

"$source/scripts/check-installed.sh" "$prefix/bin/zelvar"
