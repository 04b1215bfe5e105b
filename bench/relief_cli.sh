#!/usr/bin/env bash
# Times whole rubicel-render runs with and without --relief on the tiles in DIR,
# N interleaved runs of each case, the tiles in the page cache and the maps
# written to memory (/dev/shm), so that neither the disk nor the order of the
# runs counts. Prints, per case, the fastest and the median wall-clock time and
# processor time of the whole process (perf stat's task-clock), ms. Several
# build folders, comma-separated, are timed run for run beside each other
# (the one before a change and the one after).
# Usage: bench/relief_cli.sh DIR [BUILD_DIR[,BUILD_DIR...]] [N]
set -euo pipefail
dir="$1"; IFS=, read -r -a builds <<< "${2:-build}"; runs="${3:-9}"
out="$(mktemp -d -p /dev/shm)"
trap 'rm -rf "$out"' EXIT
export LC_ALL=C

cases=(
  "step3|--tile northwest --step 3"
  "step3_relief|--tile northwest --step 3 --relief"
  "step1|--tile northwest --step 1"
  "step1_relief|--tile northwest --step 1 --relief"
)
cat "$dir"/* > /dev/null  # into the page cache

# One run of build $1 with options $2: "wall cpu" in ms. The map is removed
# after the run, so that no run pays for handing back the memory of the last.
run() {
  # shellcheck disable=SC2086
  perf stat -e task-clock "$1/app/rubicel-render" --data "$dir" --scheme 1 --mode 1 $2 -o "$out/m.bmp" 2>&1 >/dev/null |
    awk '/task-clock/ { cpu = $1 } /seconds time elapsed/ { wall = $1 * 1000 } END { printf "%.1f %.1f\n", wall, cpu }'
  rm -f "$out/m.bmp"
}

declare -A walls cpus
for _ in $(seq "$runs"); do
  for c in "${cases[@]}"; do
    for b in "${builds[@]}"; do
      key="$b ${c%%|*}"
      read -r wall cpu < <(run "$b" "${c#*|}")
      walls[$key]+="$wall "
      cpus[$key]+="$cpu "
    done
  done
done

stats() {  # fastest and median of the numbers given
  tr ' ' '\n' | grep . | sort -g |
    awk '{ v[NR] = $1 } END { printf "%8.1f %8.1f", v[1], (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'
}
printf '%-40s %17s %17s\n' "build case" "wall fast/median" "cpu fast/median"
for c in "${cases[@]}"; do
  for b in "${builds[@]}"; do
    key="$b ${c%%|*}"
    printf '%-40s %s  %s\n' "$key" "$(echo "${walls[$key]}" | stats)" "$(echo "${cpus[$key]}" | stats)"
  done
done
