#!/usr/bin/env bash
# Builds Fiscora on Debian 12 and runs its tests; installs the Debian packages it misses first.
#   ./build.sh test   normal build and sanitizer build, every test in both
set -euo pipefail
cd "$(dirname "$0")"

packages=(cmake ninja-build g++ binutils qtbase5-dev qttools5-dev-tools libssl-dev libxml2-utils)
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

case "${1:-}" in
    test) run_tests ;;
    *) echo "usage: $0 test" >&2; exit 2 ;;
esac
