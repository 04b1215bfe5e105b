#!/usr/bin/env bash
# Checks that the folders of src/ include each other one way only: every
# project include of a file must name a folder its own folder may include (the
# table below, the same as the README's layout), and the folders' include graph
# must hold no cycle. Prints every offending include and fails on any.
set -euo pipefail
cd "$(dirname "$0")/../src"

# Folder: the folders it may include besides itself.
declare -A allowed=(
  [common]=""
  [platform]="common"
  [platform/headless]="common platform"
  [colour]="common platform"
  [maps]="common platform colour"
  [keys]="common platform colour"
  [settings]="common platform"
  [fetch]="common platform maps"
  [windows]="common platform colour maps keys settings"
  [export]="common platform platform/headless colour maps keys settings windows"
  [platform/qt]="common platform colour maps keys settings windows"
)

# The folder a path inside src/ belongs to: platform/qt and platform/headless
# are folders of their own, platform.h alone makes up platform.
folderOf() {
  case "$1" in
    platform/qt/*) echo platform/qt ;;
    platform/headless/*) echo platform/headless ;;
    */*) echo "${1%%/*}" ;;
    *) echo "" ;;
  esac
}

status=0
edges=""
while IFS=: read -r file _ target; do
  from=$(folderOf "${file#./}")
  to=$(folderOf "$target")
  [[ -z "$to" || "$from" == "$to" ]] && continue
  if [[ ! -v allowed[$from] ]]; then
    echo "unknown folder $from: ${file#./} includes $target"
    status=1
    continue
  fi
  if [[ " ${allowed[$from]} " != *" $to "* ]]; then
    echo "not allowed: ${file#./} ($from) includes $target ($to)"
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
