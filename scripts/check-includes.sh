#!/usr/bin/env bash
# Checks that the folders of src/ include each other one way only. Every
# top-level folder of src/ is one unit (platform/headless belongs to platform).
# The table lists them bottom-up: a folder may include only the folders its
# line names, and every one of those must stand below it in the table; the
# folders' include graph must hold no cycle. Prints every offending include and
# fails on any. The programs in app/ stand above every folder.
set -euo pipefail
cd "$(dirname "$0")/../src"

# Bottom-up: folder and the folders it may include besides itself.
table=(
  "common:"
  "places:common"
  "platform:common"
  "colour:common platform"
  "settings:common platform"
  "maps:common places platform colour"
  "furniture:common places platform colour maps"
  "figure:common places platform colour maps furniture"
  "keys:common platform colour"
  "fetch:common platform maps"
  "windows:common places platform colour maps furniture keys settings"
  "export:common places platform colour maps furniture figure keys settings windows"
  "desktop:common places platform colour maps furniture keys settings windows"
)

declare -A allowed=() rank=()
status=0
for i in "${!table[@]}"; do
  folder=${table[$i]%%:*}
  allowed[$folder]=${table[$i]#*:}
  rank[$folder]=$i
  for below in ${allowed[$folder]}; do
    if [[ ! -v rank[$below] ]]; then
      echo "table: $folder may include $below, which does not stand below it"
      status=1
    fi
  done
done
for dir in */; do
  dir=${dir%/}
  if [[ ! -v rank[$dir] ]]; then
    echo "folder src/$dir is not in the table"
    status=1
  fi
done

edges=""
while IFS=: read -r file _ target; do
  file=${file#./}
  from=${file%%/*}
  [[ "$target" == */* ]] || continue
  to=${target%%/*}
  [[ "$from" == "$to" ]] && continue
  if [[ ! -v rank[$to] ]]; then
    echo "unknown folder: $file includes $target"
    status=1
    continue
  fi
  if [[ " ${allowed[$from]} " != *" $to "* ]]; then
    echo "not allowed: $file ($from) includes $target ($to)"
    status=1
  fi
  edges+="$from $to"$'\n'
done < <(grep -rnoE --include='*.h' --include='*.cpp' '^#include "[^"]+"' . |
         sed -E 's/:#include "([^"]+)"/:\1/')

# tsort fails and names the folders when the graph has a loop.
if ! printf '%s' "$edges" | sort -u | tsort >/dev/null; then
  echo "the folders above include each other in a cycle"
  status=1
fi
if [[ $status -eq 0 ]]; then
  echo "includes run one way: $(printf '%s' "$edges" | sort -u | wc -l) folder-to-folder edges, no cycle"
fi
exit $status
