#!/usr/bin/env bash
# Whole-program timings of `tavrel-cli allocate` ("Allocate All") and `tavrel-cli check` on two
# generated schools: the benchmark's school (44 classes, 60 resources, 1,588 periods on a week of
# 6 days of 8 periods) and a school at the limits (999 classes, 999 resources, about 40,000
# periods on a full week of 9 days of 12 periods). Each run starts from a fresh copy of the data
# set, so every run allocates the same school afresh with the same seed.
#
# Wall time: hyperfine when it is installed (scripts/install-deps --bench), otherwise a loop of
# /usr/bin/time. Peak resident memory: /usr/bin/time -v (one run each).
#
# Usage: bench/cli-timings.sh [BUILD_DIR] [RUNS]
#   BUILD_DIR  where tavrel-cli and bench_allocate_all were built (default: build)
#   RUNS       timed runs per command (default: 5)
set -euo pipefail

build=${1:-build}
runs=${2:-5}
cli=$(realpath "$build/bin/tavrel-cli")
generator=$build/bin/bench_allocate_all
for program in "$cli" "$generator" /usr/bin/time; do
  [[ -x $program ]] || { echo "missing $program (build first; /usr/bin/time: scripts/install-deps)" >&2; exit 2; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
log=$work/time.log

# The pristine data set of each school, generated once.
for school in generated limits; do
  "$generator" --generate="$school" --program-folder="$work/$school.pristine" | sed "s/^/$school: /"
done

# A fresh program folder holding only the pristine data set (no backups, no quick-save).
fresh() {
  rm -rf "$work/run"
  mkdir -p "$work/run"
  cp -r "$work/$1.pristine/Data" "$work/run/Data"
}

allocate_cmd() { echo "$cli --home $work/run --yes allocate --school SCHOOL1 --seed 1 --time-limit ${1}"; }
check_cmd() { echo "$cli --home $work/run check --school SCHOOL1"; }

peak() {
  local label=$1
  shift
  if ! /usr/bin/time -v "$@" >"$work/out" 2>"$log"; then
    echo "$label: failed" >&2
    cat "$work/out" "$log" >&2
    exit 1
  fi
  local wall rss
  wall=$(sed -n 's/.*Elapsed (wall clock) time.*: //p' "$log")
  rss=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$log")
  printf '%-34s wall %9s   peak RSS %8s KiB   %s\n' "$label" "$wall" "$rss" "$(head -1 "$work/out")"
}

for school in generated limits; do
  # The rearrangement's limit per pass: the default 3 minutes for the benchmark's school; a
  # second at the limits, where a few hundred short indents would otherwise take hours.
  limit=180
  [[ $school == limits ]] && limit=1
  fresh "$school"
  peak "$school: allocate" $(allocate_cmd $limit)
  peak "$school: check" $(check_cmd)

  if command -v hyperfine >/dev/null; then
    hyperfine --runs "$runs" \
      --prepare "rm -rf $work/run && mkdir -p $work/run && cp -r $work/$school.pristine/Data $work/run/Data" \
      -n "$school: allocate" "$(allocate_cmd $limit)"
  else
    total=0
    for ((i = 1; i <= runs; i++)); do
      fresh "$school"
      start=$(date +%s%N)
      $(allocate_cmd $limit) >/dev/null
      total=$((total + $(date +%s%N) - start))
    done
    printf '%-34s mean wall %d ms over %d runs\n' "$school: allocate" $((total / runs / 1000000)) "$runs"
  fi
done
