#!/usr/bin/env bash
# Builds Fiscora on Debian 12 and runs its tests; installs the Debian packages it misses first.
#   ./build.sh test          normal build and sanitizer build, every test in both, then a short run
#                            of each fuzz target
#   ./build.sh demo [FOLDER] a sample card read into backups and exported, in FOLDER (build/demo)
set -euo pipefail
cd "$(dirname "$0")"

packages=(cmake ninja-build g++ binutils qtbase5-dev qttools5-dev-tools qttools5-dev qttranslations5-l10n libssl-dev
          libxml2-dev libxml2-utils dpkg-dev file libkf5archive-dev fonts-dejavu-core poppler-utils unzip
          xvfb xauth x11-utils libqt5svg5 clang-14 libclang-rt-14-dev)
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
    run_fuzzers
}

# The fuzz targets of tests/fuzz, built with clang and libFuzzer, each run for a minute from its seeds.
# Only they and what they link are built; a crash or a broken property fails its run and leaves the
# input in build-fuzz/tests/fuzz/runs/.
run_fuzzers() {
    cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 -DFISCORA_FUZZ=ON -DBUILD_TESTING=OFF \
          -DFISCORA_BUILD_BENCHMARKS=OFF
    cmake --build build-fuzz --parallel "$jobs" --target fiscora_fuzzers
    ctest --test-dir build-fuzz --output-on-failure --parallel "$jobs"
}

# What a tax advisor does with a card, on a sample card: see what it holds, read it into backups,
# look into a backup, hand a quarter over as an archive, and check an export on its own; then what
# the tests of a tax audit make of a shop's year, honest and with a quarter of made-up takings.
run_demo() {
    local demo=${1:-build/demo}
    install_missing
    cmake -S . -B build -G Ninja
    cmake --build build --parallel "$jobs" --target fiscora fiscora-mkcard fiscora_translations
    rm -rf "$demo/card" "$demo/backups" "$demo/export" "$demo/handover" "$demo/shop" "$demo/shop-backups" \
           "$demo/shop-invented" "$demo/shop-invented-backups" "$demo/check.pdf"

    build/bin/fiscora-mkcard "$demo/card" --registers 2 --from 2019-01 --to 2019-12 --lines 40
    local backup="$demo/backups/Backup_CR#12345678_complete.enc"
    step list "$demo/card"
    step read "$demo/card" "$demo/backups" --quiet
    step info "$backup"
    step package "$backup" "$demo/handover" --from 2019-01 --to 2019-03 --quiet
    step export "$backup" "$demo/export" --gdpdu --quiet
    step verify "$demo/export/CR#12345678/complete" "$backup"

    build/bin/fiscora-mkcard "$demo/shop" --shop --from 2019-01 --to 2019-12
    build/bin/fiscora-mkcard "$demo/shop-invented" --shop --from 2019-01 --to 2019-12 \
        --manipulate invent-takings@2019-04-01..2019-06-30
    build/bin/fiscora read "$demo/shop" "$demo/shop-backups" --quiet >/dev/null
    build/bin/fiscora read "$demo/shop-invented" "$demo/shop-invented-backups" --quiet >/dev/null
    step check "$demo/shop-backups/Backup_CR#12345678_complete.enc" --quiet --report "$demo/check.pdf"
    # A test flags the made-up takings, so the check ends with 1; the demonstration goes on.
    step check "$demo/shop-invented-backups/Backup_CR#12345678_complete.enc" --quiet ||
        printf '(exit code %d: a test flags the journal)\n' $?

    cat <<EOF

Where everything is:
  the application     build/bin/fiscora (try: build/bin/fiscora --help, man -l build/app/fiscora.1)
  the sample card     $demo/card
  the backups         $demo/backups
  the GDPdU export    $demo/export/CR#12345678/complete
  the hand-over       $demo/handover/CR#12345678_201901_201903.zip
  the check's report  $demo/check.pdf
EOF
}

# Shows a command of fiscora as it is typed, then runs it; the demonstration stops at the first
# that fails.
step() {
    printf '\n$ fiscora %s\n' "$*"
    build/bin/fiscora "$@"
}

case "${1:-}" in
    test) run_tests ;;
    demo) run_demo "${2:-}" ;;
    *) echo "usage: $0 test | demo [FOLDER]" >&2; exit 2 ;;
esac
