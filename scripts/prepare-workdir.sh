#!/usr/bin/env bash
# Prepares the per-user working folder: creates it and copies in the
# program's data files that are not there yet. A file the user already has
# (perhaps edited) is never overwritten.
set -euo pipefail
src=$1
dst=$2
mkdir -p "$dst"
[ -d "$src" ] || exit 0
for f in "$src"/*; do
    [ -f "$f" ] || continue
    name=$(basename "$f")
    [ -e "$dst/$name" ] || cp -p "$f" "$dst/$name"
done
