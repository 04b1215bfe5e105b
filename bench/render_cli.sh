#!/usr/bin/env bash
# Times whole rubicel-render runs against rubicel-render-floor (same reads, table
# look-ups and BMP write) on the tiles in DIR, warm page cache, best of N runs.
# Usage: bench/render_cli.sh DIR [BUILD_DIR] [N]
set -euo pipefail
dir="$1"; build="${2:-build}"; runs="${3:-5}"
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT

best() {  # best wall time in ms of "$@" over $runs runs
  local best=""
  for _ in $(seq "$runs"); do
    local start end ms
    start=$(date +%s%N); "$@" >/dev/null 2>&1; end=$(date +%s%N)
    ms=$(( (end - start) / 1000000 ))
    if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
  done
  echo "$best"
}

# On a machine shared with other work the wall time measures the others too;
# RUBICEL_BENCH_CPU=1 times the processor time of the run instead (perf stat's
# task-clock, best of N, in ms with one decimal).
if [ "${RUBICEL_BENCH_CPU:-0}" = 1 ]; then
  best() {
    local best=""
    for _ in $(seq "$runs"); do
      local ms
      ms=$(perf stat -x, -e task-clock "$@" 2>&1 >/dev/null | awk -F, '/task-clock/ { printf "%.1f", $1 }')
      if [ -z "$best" ] || awk -v a="$ms" -v b="$best" 'BEGIN { exit !(a < b) }'; then best=$ms; fi
    done
    echo "$best"
  }
fi

printf '%-24s %12s %12s %7s\n' case render_ms floor_ms ratio
while read -r name args; do
  # shellcheck disable=SC2086
  "$build/app/rubicel-render" --data "$dir" --scheme 1 --mode 1 $args -o "$out/r.bmp"
  "$build/bench/rubicel-render-floor" "$dir" "$name" "$out/f.bmp"
  cmp -s "$out/r.bmp" "$out/f.bmp" || echo "note: $name pictures differ"
  # shellcheck disable=SC2086
  r=$(best "$build/app/rubicel-render" --data "$dir" --scheme 1 --mode 1 $args -o "$out/r.bmp")
  f=$(best "$build/bench/rubicel-render-floor" "$dir" "$name" "$out/f.bmp")
  printf '%-24s %12s %12s %7s\n' "$name" "$r" "$f" "$(awk -v r="$r" -v f="$f" 'BEGIN { printf "%.2f", (f > 0 ? r / f : 0) }')"
done <<'CASES'
planet_step24 --planet 0
northwest_step13 --tile northwest
northwest_step3 --tile northwest --step 3
northwest_step1 --tile northwest --step 1
valles_marineris_auto --area -120 5 -20 -25
CASES
