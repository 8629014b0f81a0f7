#!/usr/bin/env bash
# Sets up a Debian 12 machine for Vellmore and builds, runs or tests it. Every step checks first
# and does only what is missing, so it can be run again at once.
#
#   scripts/dev.sh run    install what is missing, build, open the calculator
#   scripts/dev.sh test   install what is missing, build, run the whole test suite
#   scripts/dev.sh sanitize   the whole test suite built with AddressSanitizer and UBSan
#   scripts/dev.sh fuzz [SECONDS]   each libFuzzer target for SECONDS (default 60)
#   scripts/dev.sh windows    the Qt-free parts cross-built for Windows, their tests under Wine
#   scripts/dev.sh screenshot    docs/vellmore.png, the window as it opens on a first start
#   scripts/dev.sh bench      start-up benchmarks (Google Benchmark), optimised build
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)

say() { printf 'vellmore: %s\n' "$*"; }

# Installs the Debian packages in "$@" that are not installed yet.
need_packages() {
    local missing=()
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' \
            || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        say "missing packages: ${missing[*]}; run this as root (or install them) first"
        exit 1
    fi
    say "installing ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Liberation Sans stands in for MS Sans Serif where Windows fonts are missing.
base_packages=(cmake make g++ qt6-base-dev fonts-dejavu-core fonts-liberation2)
test_packages=(libgtest-dev libgmock-dev locales)

# A comma-decimal locale, so the tests can show that numbers never follow the process locale.
need_test_locale() {
    locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8' && return 0
    [ "$(id -u)" -eq 0 ] || { say "de_DE.UTF-8 is missing; the locale test will be skipped"; return 0; }
    say "generating the de_DE.UTF-8 locale"
    sed -i 's/^# *\(de_DE\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^de_DE\.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' >> /etc/locale.gen
    locale-gen >/dev/null
}

# configure DIR [cmake options...]: the first time in full, afterwards only the options.
configure() {
    local dir=$1
    shift
    if [ ! -f "$dir/CMakeCache.txt" ]; then
        cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    else
        cmake "$dir" "$@" >/dev/null
    fi
}

configure_and_build() {
    configure "$@"
    cmake --build "$1" --parallel "$jobs"
}

werror() {
    if [ -n "${CI:-}" ]; then echo -DVELLMORE_WERROR=ON; else echo -DVELLMORE_WERROR=OFF; fi
}

cmd_run() {
    need_packages "${base_packages[@]}"
    configure_and_build "$root/build" -DBUILD_TESTING=OFF
    exec "$root/build/vellmore"
}

cmd_test() {
    need_packages "${base_packages[@]}" "${test_packages[@]}"
    need_test_locale
    configure_and_build "$root/build" -DBUILD_TESTING=ON "$(werror)"
    ctest --test-dir "$root/build" --output-on-failure --parallel "$jobs"
}

cmd_sanitize() {
    need_packages "${base_packages[@]}" "${test_packages[@]}"
    need_test_locale
    configure_and_build "$root/build-asan" -DBUILD_TESTING=ON -DVELLMORE_SANITIZE=ON "$(werror)"
    UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir "$root/build-asan" --output-on-failure --parallel "$jobs"
}

cmd_fuzz() {
    local seconds=${1:-60}
    need_packages cmake make clang-14 libclang-rt-14-dev
    CC=clang-14 CXX=clang++-14 configure_and_build "$root/build-fuzz" -DVELLMORE_FUZZ=ON \
        -DVELLMORE_UI=OFF -DBUILD_TESTING=OFF "$(werror)"
    local target work log
    for target in settings number calc; do
        work=$(mktemp -d)
        log=$work/fuzz.log
        # New inputs go to a scratch folder; the checked-in seeds are only read.
        if ! "$root/build-fuzz/fuzz/vellmore_fuzz_$target" -max_total_time="$seconds" \
            -max_len=65536 -print_final_stats=1 -artifact_prefix="$work/" \
            "$work" "$root/fuzz/corpus/$target" >"$log" 2>&1; then
            tail -n 40 "$log"
            say "fuzz $target: FOUND a failing input (kept in $work)"
            exit 1
        fi
        say "fuzz $target: $(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$log" \
            | grep -o '[0-9]*$') executions in ${seconds}s, no failure"
        rm -rf "$work"
    done
}

# A Wine prefix of the build's own, so no home folder is needed or touched: Wine's null display
# driver (windows and controls work with no display at all) and its bitmap "MS Sans Serif".
wine_prefix() {
    export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEPREFIX="$root/build-mingw/wine"
    [ -f "$WINEPREFIX/.vellmore-ready" ] && return 0
    mkdir -p "$WINEPREFIX"
    # The first start of Wine builds its prefix, which takes longer than a test may.
    wineboot --init >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
    cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
    # The driver and the fonts are read when Wine's desktop process starts.
    wineserver -k || true
    touch "$WINEPREFIX/.vellmore-ready"
}

windows_packages=(cmake make g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 googletest wine
    wine64 fonts-wine)

cmd_windows() {
    need_packages "${windows_packages[@]}"
    wine_prefix
    configure_and_build "$root/build-mingw" \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DVELLMORE_UI=ON \
        -DBUILD_TESTING=ON -DVELLMORE_GTEST_SOURCE=/usr/src/googletest "$(werror)"
    ctest --test-dir "$root/build-mingw" --output-on-failure --parallel "$jobs"
}

cmd_screenshot() {
    need_packages "${base_packages[@]}"
    configure "$root/build"
    cmake --build "$root/build" --parallel "$jobs" --target vellmore-screenshot
    mkdir -p "$root/docs"
    QT_QPA_PLATFORM=offscreen "$root/build/vellmore-screenshot" "$root/docs/vellmore.png"
    say "wrote docs/vellmore.png"
}

cmd_bench() {
    need_packages "${base_packages[@]}" libbenchmark-dev
    configure "$root/build-bench" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DVELLMORE_BENCH=ON
    cmake --build "$root/build-bench" --parallel "$jobs" --target vellmore_bench
    QT_QPA_PLATFORM=offscreen "$root/build-bench/vellmore_bench" --benchmark_repetitions=5 \
        --benchmark_report_aggregates_only=true
}

case "${1:-}" in
run) cmd_run ;;
test) cmd_test ;;
sanitize) cmd_sanitize ;;
fuzz) cmd_fuzz "${2:-60}" ;;
windows) cmd_windows ;;
screenshot) cmd_screenshot ;;
bench) cmd_bench ;;
*)
    echo "usage: scripts/dev.sh run|test|sanitize|fuzz [SECONDS]|windows|screenshot|bench" >&2
    exit 2
    ;;
esac
