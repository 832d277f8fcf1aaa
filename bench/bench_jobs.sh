#!/bin/bash
# Times the applications' jobs on one backup beside what they have to do anyway: the whole export,
# openssl md5 of the backup and zip -q -6 -r of the export folder; and the zip's size and time at
# levels 1, 6 and 9. One run each, after a warm-up read of the backup; peak RSS from GNU time.
#
#     bench/bench_jobs.sh [size in MB] [work folder]
#
# The backup is the one bench_export writes (a synthetic year of 2020), kept in the work folder.
set -euo pipefail

size=${1:-256}
work=${2:-/dev/shm/fiscora-bench}
here=$(cd "$(dirname "$0")/.." && pwd)
fiscora=$here/build/bin/fiscora
mkdir -p "$work"
backup=$work/Backup_CR#12345678_202001_202012.enc
[ -f "$backup" ] || "$here/build/bench/bench_export" "$size" "$work" --runs 1 >/dev/null
cat "$backup" >/dev/null

# seconds and peak RSS of one command, its output thrown away
timed() {
    local label=$1
    shift
    sync
    /usr/bin/time -f "%e %M" -o "$work/time" "$@" >/dev/null 2>&1 || true
    read -r seconds kilobytes < <(tail -n 1 "$work/time")
    printf '%-44s %7.2f s %6d MB\n' "$label" "$seconds" $((kilobytes / 1024))
    echo "$seconds" >"$work/last"
}

rm -rf "$work/whole" "$work/quarter" "$work/package"
timed "openssl md5 of the backup" openssl md5 "$backup"
timed "export, whole backup" "$fiscora" export "$backup" "$work/whole" --gdpdu --quiet
whole=$(cat "$work/last")
timed "export, one quarter" "$fiscora" export "$backup" "$work/quarter" --gdpdu --from 2020-04 --to 2020-06 --quiet
timed "info" "$fiscora" info "$backup" --quiet
folder=$work/whole/CR#12345678/202001_202012
timed "verify without the backup" "$fiscora" verify "$folder"
timed "verify with the backup" "$fiscora" verify "$folder" "$backup"
for level in 1 6 9; do
    rm -f "$work/zip$level.zip"
    (cd "$folder/.." && timed "zip -q -$level -r of the export folder" zip -q "-$level" -r "$work/zip$level.zip" 202001_202012)
    printf '%-44s %7d MB\n' "  its size" $(($(stat -c %s "$work/zip$level.zip") / 1000000))
done
timed "package, whole year" "$fiscora" package "$backup" "$work/package" --from 2020-01 --to 2020-12 --quiet
printf '%-44s %7d MB\n' "  its size" $(($(stat -c %s "$work"/package/*.zip) / 1000000))
echo "whole export: $whole s"
