#!/usr/bin/env bash
# The folders of app/ include one another only as ARCHITECTURE.md's table
# of app/ says: every folder has a row, and a folder includes only the
# app/ folders named in its row's last column (and itself). So the layers
# run one way: the viewer never includes the desktop program, app/common
# includes no other folder of app/.
#
# usage: app_layers.sh [<mervox binary> <build dir>]  (both unused)
set -euo pipefail
root="$(dirname "$(readlink -f "$0")")/.."
doc="$root/ARCHITECTURE.md"
fail=0

# The row of each app/ folder: "| `app/x` | what it is | includes |".
rows="$(grep -E '^\| `app/[a-z_]+` \|' "$doc")" || { echo "app_layers: FAIL: ARCHITECTURE.md has no rows of app/ folders"; exit 1; }

for dir in "$root"/app/*/; do
  folder="app/$(basename "$dir")"
  row="$(grep -F "| \`$folder\` |" <<<"$rows" || true)"
  if [ -z "$row" ]; then
    echo "app_layers: FAIL: $folder has no row in ARCHITECTURE.md's table of app/"
    fail=1
    continue
  fi
  allowed="$(awk -F'|' '{print $(NF-1)}' <<<"$row" | grep -oE 'app/[a-z_]+' | sort -u || true)"
  while IFS=: read -r file line text; do
    [ -n "$file" ] || continue
    used="$(grep -oE '"app/[a-z_]+' <<<"$text" | tr -d '"')"
    [ "$used" = "$folder" ] && continue
    if ! grep -qxF "$used" <<<"$allowed"; then
      echo "app_layers: FAIL: ${file#"$root"/}:$line includes $used, which $folder may not (allowed: $(echo $allowed))"
      fail=1
    fi
  done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"app/' "$dir"*.h "$dir"*.cpp 2>/dev/null || true)
done
[ "$fail" = 0 ] && echo "app_layers: every app/ folder includes only the folders its row allows"
exit "$fail"
