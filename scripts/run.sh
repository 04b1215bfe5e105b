#!/usr/bin/env bash
# Installs what is needed, builds, prepares the demo tiles and starts Rubicel.
# With --real it fetches the real 64 pixels-per-degree tiles instead (once, about
# 531 MB) and starts Rubicel on them.
set -euo pipefail
cd "$(dirname "$0")/.."
real=0
case "${1:-}" in
  "") ;;
  --real) real=1 ;;
  *) echo "Usage: bash scripts/run.sh [--real]" >&2; exit 2 ;;
esac

bash scripts/install-packages.sh
bash scripts/build.sh

share="${XDG_DATA_HOME:-$HOME/.local/share}/rubicel"
tile_bytes=132710400
# Counts the four tiles present at full size in folder $1.
whole_tiles() {
  local have=0
  for name in megt00n000gb.img megt00n180gb.img megt90n000gb.img megt90n180gb.img; do
    if [ -f "$1/$name" ] && [ "$(stat -c %s "$1/$name")" -eq "$tile_bytes" ]; then
      have=$((have + 1))
    fi
  done
  echo "$have"
}

if [ "$real" -eq 1 ]; then
  # The real tiles, fetched and verified once; an interrupted fetch resumes here.
  tiles="$share/megdr064"
  if [ "$(whole_tiles "$tiles")" -ne 4 ]; then
    echo "Fetching the real tiles into $tiles (about 531 MB) ..."
    build/app/rubicel-fetch --dir "$tiles"
  fi
  echo "Real tiles: $tiles"
  # A start folder of its own, so the demo's configuration stays as it is.
  start="$share/real"
else
  # Demo tiles: built once from the committed 4 pixels-per-degree MOLA grid and
  # reused while all four are there at full size.
  tiles="$share/tiles"
  if [ "$(whole_tiles "$tiles")" -ne 4 ]; then
    echo "Building the demo tiles in $tiles (about 531 MB) ..."
    build/tools/mktiles/rubicel-mktiles data/mola/megt90n000cb.img "$tiles"
  fi
  echo "Demo tiles: $tiles"
  start="$share"
fi

# The program starts in its own folder and keeps its configuration file there;
# a first run gets one that points at the tiles (an existing one is kept).
mkdir -p "$start"
config="$start/mgr064srubicel.cfg"
if [ ! -f "$config" ]; then
  printf '%s/\r\n 0 \r\n 0 \r\n' "$tiles" > "$config"
  echo "Configuration: $config"
fi
program="$PWD/build/app/rubicel"
cd "$start"
exec "$program"
