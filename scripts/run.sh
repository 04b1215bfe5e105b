#!/usr/bin/env bash
# Installs what is needed, builds, prepares the demo tiles and starts Rubicel.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-packages.sh
bash scripts/build.sh

# Demo tiles: built once from the committed 4 pixels-per-degree MOLA grid and
# reused while all four are there at full size.
tiles="${XDG_DATA_HOME:-$HOME/.local/share}/rubicel/tiles"
tile_bytes=132710400
have=0
for name in megt00n000gb.img megt00n180gb.img megt90n000gb.img megt90n180gb.img; do
  if [ -f "$tiles/$name" ] && [ "$(stat -c %s "$tiles/$name")" -eq "$tile_bytes" ]; then
    have=$((have + 1))
  fi
done
if [ "$have" -ne 4 ]; then
  echo "Building the demo tiles in $tiles (about 531 MB) ..."
  build/tools/mktiles/rubicel-mktiles data/mola/megt90n000cb.img "$tiles"
fi
echo "Demo tiles: $tiles"

# The program starts in its own folder and keeps its configuration file there;
# a first run gets one that points at the demo tiles (an existing one is kept).
start="${XDG_DATA_HOME:-$HOME/.local/share}/rubicel"
config="$start/mgr064srubicel.cfg"
if [ ! -f "$config" ]; then
  printf '%s/\r\n 0 \r\n 0 \r\n' "$tiles" > "$config"
  echo "Configuration: $config"
fi
program="$PWD/build/app/rubicel"
cd "$start"
exec "$program"
