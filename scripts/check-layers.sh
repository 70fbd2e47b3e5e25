#!/usr/bin/env bash
# Each folder of the program builds only on the folders below it. A file may
# include headers of its own folder and of lower layers; folders that share a
# layer (the subsystems) do not include each other. The text rules include no
# widget header. Prints every offending include and fails when there is one.
set -euo pipefail
cd "$(dirname "$0")/.."

# Lowest layer first; folders separated by blanks share a layer.
layers=(
    "text"
    "ground"
    "editor"
    "editing files tools windows preview webpreview"
    "app"
)

declare -A rank
for i in "${!layers[@]}"; do
    for folder in ${layers[$i]}; do
        rank[$folder]=$i
    done
done

widgets_dir=$(pkg-config --variable=includedir Qt6Widgets 2>/dev/null || true)
[ -n "$widgets_dir" ] || widgets_dir=/usr/include/x86_64-linux-gnu/qt6
widgets_dir="$widgets_dir/QtWidgets"

status=0
for folder in "${!rank[@]}"; do
    own=${rank[$folder]}
    for file in "$folder"/*.h "$folder"/*.cpp; do
        [ -e "$file" ] || continue
        while IFS=: read -r line target; do
            dir=${target%%/*}
            [ -n "${rank[$dir]+set}" ] || continue
            if [ "$dir" != "$folder" ] && [ "${rank[$dir]}" -ge "$own" ]; then
                echo "$file:$line: includes $target from a layer that is not below $folder/"
                status=1
            fi
        done < <(grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" |
                 sed 's/^\([0-9]*\):[^"]*"\([^"]*\)".*/\1:\2/')
    done
done

# The text rules stand on Qt's core and text classes only.
for file in text/*.h text/*.cpp; do
    [ -e "$file" ] || continue
    while IFS= read -r header; do
        if [ -e "$widgets_dir/$header" ]; then
            echo "$file: includes the widget header <$header>"
            status=1
        fi
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*<\([^>]*\)>.*/\1/p' "$file")
done

[ "$status" -eq 0 ] && echo "Layers: every include points to its own folder or below."
exit "$status"
