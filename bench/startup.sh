#!/usr/bin/env bash
# Whole-program start-up: `tavrel-cli info` on the large generated data set (9 schools of 200 classes
# and 200 resources, 389,772 timetable rows), timed by /usr/bin/time -v for wall time and peak
# resident memory, in the states of the backup folders that decide the cost of the rotation, with
# the data in the page cache (warm) and evicted from it (cold, as after a reboot).
#
# Usage: bench/startup.sh [BUILD_DIR] [PROGRAM_FOLDER]
#   BUILD_DIR       where tavrel-cli and bench_startup were built (default: build)
#   PROGRAM_FOLDER  kept afterwards, and the data set generated only when it holds none; without it
#                   a temporary folder is used and removed
set -euo pipefail

build=${1:-build}
cli=$build/bin/tavrel-cli
generator=$build/bin/bench_startup
for program in "$cli" "$generator" /usr/bin/time; do
  [[ -x $program ]] || { echo "missing $program (build first: make build)" >&2; exit 2; }
done

log=$(mktemp)
cleanup=("$log")
if [[ -n ${2:-} ]]; then
  home=$(realpath -m "$2")
  mkdir -p "$home"
else
  home=$(mktemp -d)
  cleanup+=("$home")
fi
trap 'rm -rf "${cleanup[@]}"' EXIT

data=$home/Data
current="$data/Backup Current"
previous="$data/Backup Previous"

if [[ ! -f $data/tvrl_8.db ]]; then
  "$generator" --program-folder="$home" --generate-only
fi
echo "Program folder: $home ($(du -sh "$data" --exclude='Backup*' | cut -f1) of tables)"

files_of() { find "$1" -maxdepth 1 -type f; }

# Drops the files from the page cache, so that the next run reads them from the disk.
evict() {
  local file
  for folder in "$@"; do
    [[ -d $folder ]] || continue
    while IFS= read -r file; do
      sync "$file"
      dd if="$file" iflag=nocache count=0 status=none
    done < <(files_of "$folder")
  done
}

measure() {
  local label=$1
  if ! /usr/bin/time -v "$cli" --home "$home" info >/dev/null 2>"$log"; then
    echo "$label: tavrel-cli failed" >&2
    cat "$log" >&2
    exit 1
  fi
  local wall rss
  wall=$(sed -n 's/.*Elapsed (wall clock) time.*: //p' "$log")
  rss=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$log")
  printf '%-58s wall %9s   peak RSS %8s KiB\n' "$label" "$wall" "$rss"
}

rm -rf "$current" "$previous"
measure "warm, no backups yet (data copied once)"
measure "warm, second start (Backup Current copied to Previous)"
measure "warm, backups unchanged (nothing copied)"
touch -d "1 minute ago" "$current"/tvrl_*.db
touch "$data"/tvrl_*.db
measure "warm, data changed (nothing skipped: copied twice)"

rm -rf "$current" "$previous"
evict "$data"
measure "cold, no backups yet (data copied once)"
evict "$data" "$current" "$previous"
measure "cold, second start (Backup Current copied to Previous)"
evict "$data" "$current" "$previous"
measure "cold, backups unchanged (nothing copied)"
