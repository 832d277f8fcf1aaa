#!/usr/bin/env bash
# Times "fiscora check" of a backup against the whole export of the same backup, and the PDF report
# on top, with the peak resident memory of each (GNU time's "Maximum resident set size").
#   bench/bench_check.sh [YEARS] [FOLDER]   a shop journal of YEARS years (default 17, about 260 MB)
set -euo pipefail
cd "$(dirname "$0")/.."
years=${1:-17}
work=${2:-$(mktemp -d)}
bin=build/bin
last=$((2016 + years - 1))

rm -rf "$work/card" "$work/backups" "$work/export" "$work/check.pdf"
"$bin/fiscora-mkcard" "$work/card" --shop --from 2016-01 --to "$last-12" >/dev/null
"$bin/fiscora" read "$work/card" "$work/backups" --quiet >/dev/null
backup="$work/backups/Backup_CR#12345678_complete.enc"
ls -l "$backup"
# Once untimed, so that each run reads the backup from a warm page cache.
cat "$backup" >/dev/null

measure() {
    local label=$1
    shift
    /usr/bin/time -f "$label: %e s, peak RSS %M KiB" "$@" >/dev/null
}
for run in 1 2 3; do
    rm -rf "$work/export" "$work/check.pdf"
    measure "export" "$bin/fiscora" export "$backup" "$work/export" --gdpdu --quiet
    measure "check" "$bin/fiscora" check "$backup" --quiet || true
    measure "check --report" "$bin/fiscora" check "$backup" --quiet --report "$work/check.pdf" || true
done
