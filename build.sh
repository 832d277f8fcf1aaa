#!/usr/bin/env bash
# Builds Fiscora on Debian 12 and runs its tests; installs the Debian packages it misses first.
#   ./build.sh test          normal build and sanitizer build, every test in both
#   ./build.sh demo [FOLDER] a sample card read into backups and exported, in FOLDER (build/demo)
set -euo pipefail
cd "$(dirname "$0")"

packages=(cmake ninja-build g++ binutils qtbase5-dev qttools5-dev-tools qttools5-dev qttranslations5-l10n libssl-dev
          libxml2-dev libxml2-utils dpkg-dev file libkf5archive-dev fonts-dejavu-core poppler-utils unzip)
jobs=$(nproc)

install_missing() {
    local missing=() package
    for package in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}

build() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja "$@"
    cmake --build "$dir" --parallel "$jobs"
}

run_tests() {
    install_missing
    build build
    ctest --test-dir build --output-on-failure --parallel "$jobs"
    build build-asan -DFISCORA_SANITIZE=ON -DFISCORA_BUILD_BENCHMARKS=OFF
    ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:strict_string_checks=1 \
    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
        ctest --test-dir build-asan --output-on-failure --parallel "$jobs"
}

# What a user does with a card, on a sample card: read it into backups, export one backup as
# GDPdU, validate its index.xml against the DTD and look into the backup.
run_demo() {
    local demo=${1:-build/demo}
    install_missing
    cmake -S . -B build -G Ninja
    cmake --build build --parallel "$jobs" --target fiscora fiscora-mkcard
    local bin=build/bin
    rm -rf "$demo/card" "$demo/backups" "$demo/export"

    "$bin/fiscora-mkcard" "$demo/card" --registers 2 --from 2019-01 --to 2019-12 --lines 40
    "$bin/fiscora" read "$demo/card" "$demo/backups"
    local backup="$demo/backups/Backup_CR#12345678_complete.enc"
    local export="$demo/export/CR#12345678/complete"
    "$bin/fiscora" export "$backup" "$demo/export" --gdpdu
    # xmllint remarks that the published DTD's content model of Media is not deterministic; that is
    # the DTD's own affair, and its exit code alone says whether index.xml is valid.
    local remarks
    if ! remarks=$(cd "$export" && xmllint --noout --dtdvalid gdpdu-01-09-2004.dtd index.xml 2>&1); then
        echo "$remarks" >&2
        exit 1
    fi
    echo "$export/index.xml is valid against gdpdu-01-09-2004.dtd"
    "$bin/fiscora" info "$backup"

    cat <<EOF

Where everything is:
  the application     $bin/fiscora (try: $bin/fiscora --help)
  the sample card     $demo/card
  the backups         $demo/backups
  the GDPdU export    $export

The first lines of gobd.csv:
EOF
    head -n 5 "$export/gobd.csv"
}

case "${1:-}" in
    test) run_tests ;;
    demo) run_demo "${2:-}" ;;
    *) echo "usage: $0 test | demo [FOLDER]" >&2; exit 2 ;;
esac
