#!/usr/bin/env bash
# Sets up a Debian 12 machine for Vellmore and builds, runs or tests it. Every step checks first
# and does only what is missing, so it can be run again at once.
#
#   scripts/dev.sh run    install what is missing, build, open the calculator
#   scripts/dev.sh test   install what is missing, build, run the whole test suite
#   scripts/dev.sh sanitize   the whole test suite built with AddressSanitizer and UBSan
#   scripts/dev.sh fuzz [SECONDS]   each libFuzzer target for SECONDS (default 60)
#   scripts/dev.sh windows    the Windows programs cross-built with mingw-w64, tested under Wine
#   scripts/dev.sh package    dist/: the Windows zip and installer, the Linux tarball and Debian
#                             package, each unpacked or installed and tried
#   scripts/dev.sh screenshot    docs/vellmore.png and docs/vellmore-windows.png, the Qt and the
#                             Windows window as they open on a first start
#   scripts/dev.sh bench      start-up, settings-reader and night-plan benchmarks, optimised
#                             build, and the web page's load, plan and size; the last line is a
#                             night's plan at 1-minute steps in ms
#   scripts/dev.sh web        build-web/vellmore.html, the page with the core in WebAssembly,
#                             built with emscripten, and its module tried under node
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

# Numbers are written by {fmt} and read by fast_float, both used as headers only.
number_packages=(libfmt-dev libfast-float-dev)
# Liberation Sans stands in for MS Sans Serif where Windows fonts are missing.
base_packages=(cmake make g++ qt6-base-dev nlohmann-json3-dev liberfa-dev "${number_packages[@]}"
    fonts-dejavu-core fonts-liberation2)
test_packages=(libgtest-dev libgmock-dev tzdata chromium fonts-liberation2)

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

# The browser tests' node modules, from package-lock.json, again whenever the lock file is newer.
need_node_modules() {
    # Debian's nodejs and npm where no node is installed; a node from elsewhere brings its own npm.
    command -v node >/dev/null || need_packages nodejs
    command -v npm >/dev/null || need_packages npm
    [ "$root/node_modules/.package-lock.json" -nt "$root/package-lock.json" ] && return 0
    say "installing the node modules of package-lock.json"
    (cd "$root" && npm ci --ignore-scripts --no-audit --no-fund --loglevel=error)
}

cmd_test() {
    need_packages "${base_packages[@]}" "${test_packages[@]}"
    need_node_modules
    # The web page first, in CI or where emscripten is, so that the behaviour table runs on it.
    if [ -n "${CI:-}" ] || command -v emcc >/dev/null; then (cmd_web); fi
    configure_and_build "$root/build" -DBUILD_TESTING=ON "$(werror)"
    ctest --test-dir "$root/build" --output-on-failure --parallel "$jobs"
}

cmd_sanitize() {
    need_packages "${base_packages[@]}" "${test_packages[@]}"
    configure_and_build "$root/build-asan" -DBUILD_TESTING=ON -DVELLMORE_SANITIZE=ON "$(werror)"
    UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir "$root/build-asan" --output-on-failure --parallel "$jobs"
}

cmd_fuzz() {
    local seconds=${1:-60}
    need_packages "${number_packages[@]}"
    need_packages cmake make clang-14 libclang-rt-14-dev nlohmann-json3-dev liberfa-dev libxml2-dev \
        libcsv-dev
    CC=clang-14 CXX=clang++-14 configure_and_build "$root/build-fuzz" -DVELLMORE_FUZZ=ON \
        -DVELLMORE_UI=OFF -DBUILD_TESTING=OFF "$(werror)"
    local target work log
    for target in settings number calc plan args; do
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

# A Wine prefix of the build's own, so no home folder is needed or touched, with Wine's bitmap
# "MS Sans Serif". By default it has Wine's null display driver, with which windows and controls
# work with no display at all; `wine_prefix x11` makes one that draws on $DISPLAY. A second
# argument sets the prefix's screen DPI (96 by default), each DPI in a prefix of its own. A third,
# `wide`, gives the window's faces as DejaVu Sans, wider than any the window was drawn for, as a
# machine with other fonts or another locale's faces may.
wine_prefix() {
    local driver=${1:-null} dpi=${2:-96} faces=${3:-}
    export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEPREFIX="$root/build-mingw/wine"
    [ "$driver" = null ] || WINEPREFIX="$WINEPREFIX-$driver"
    [ -z "$faces" ] || WINEPREFIX="$WINEPREFIX-$faces"
    [ "$dpi" = 96 ] && [ -z "$faces" ] || WINEPREFIX="$WINEPREFIX-dpi$dpi"
    [ -f "$WINEPREFIX/.vellmore-ready" ] && return 0
    mkdir -p "$WINEPREFIX"
    # The first start of Wine builds its prefix, which takes longer than a test may.
    wineboot --init >/dev/null 2>&1 || true
    if [ "$driver" = null ]; then
        wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
    fi
    if [ "$dpi" != 96 ]; then
        wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
            >/dev/null 2>&1
    fi
    if [ "$faces" = wide ]; then
        for face in "MS Sans Serif" "Microsoft Sans Serif"; do
            wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d "DejaVu Sans" /f \
                >/dev/null 2>&1
        done
    else
        cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
    fi
    # The driver, the DPI and the fonts are read when Wine's desktop process starts.
    wineserver -k || true
    touch "$WINEPREFIX/.vellmore-ready"
}

# mingw-w64 has no packages of its own for the libraries that are only headers; the build uses
# copies of Debian's.
windows_packages=(cmake make g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 googletest
    nlohmann-json3-dev "${number_packages[@]}" wine wine64 fonts-wine fonts-dejavu-core)

# ERFA's C sources for the Windows programs, from Debian's source package "erfa", fetched once
# into build-erfa/ with a sources list of its own, so the machine's apt configuration is not
# touched; they are compiled with the programs and never committed. Prints the sources' folder.
erfa_source() {
    local work="$root/build-erfa" apt
    if [ ! -f "$work/src/erfa.h" ]; then
        mkdir -p "$work/apt/lists/partial" "$work/apt/cache/archives/partial"
        # The same Debian mirror the machine uses, for its source packages.
        local mirror
        mirror=$(grep -hE '^(URIs:|deb )' /etc/apt/sources.list.d/*.sources /etc/apt/sources.list \
            2>/dev/null | grep -oE 'https?://[^ ]+' | grep -v security | head -n 1)
        echo "deb-src ${mirror:-http://deb.debian.org/debian} bookworm main" >"$work/apt/sources.list"
        apt=(-o Dir::Etc::SourceList="$work/apt/sources.list" -o Dir::Etc::SourceParts=/nonexistent
            -o Dir::State::Lists="$work/apt/lists" -o Dir::Cache="$work/apt/cache")
        apt-get -qq "${apt[@]}" update >&2
        (cd "$work/apt" && apt-get -qq "${apt[@]}" source --download-only erfa >&2 2>/dev/null)
        rm -rf "$work/src" "$work/unpacked"
        mkdir -p "$work/unpacked"
        tar -xzf "$work"/apt/erfa_*.orig.tar.gz -C "$work/unpacked"
        mv "$work"/unpacked/erfa-*/src "$work/src"
        cp "$work"/unpacked/erfa-*/LICENSE "$work/LICENSE"
        rm -rf "$work/unpacked"
    fi
    echo "$work/src"
}

cmd_windows() {
    need_packages "${windows_packages[@]}"
    # The window's layout is also tested at 125 % and 150 %, and in a wider face at each scale.
    local dpi
    for dpi in 96 120 144; do
        wine_prefix null "$dpi" wide
    done
    wine_prefix null 120
    wine_prefix null 144
    wine_prefix
    local erfa
    erfa=$(erfa_source)
    configure_and_build "$root/build-mingw" \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DVELLMORE_UI=ON \
        -DBUILD_TESTING=ON -DVELLMORE_GTEST_SOURCE=/usr/src/googletest \
        -DVELLMORE_ERFA_SOURCE="$erfa" "$(werror)"
    # A test program Wine fails to start at all (seen once in a fresh clone: no output, 0.01 s) gets
    # one more run; a test that runs and fails, fails twice.
    ctest --test-dir "$root/build-mingw" --output-on-failure --parallel "$jobs" --repeat until-pass:2
}

# Debian's emscripten comes with an empty cache of its system libraries that it may not fill;
# the web build has a cache of its own, which emcc fills on first use, from its own sources.
emscripten_config() {
    local work=$1
    mkdir -p "$work"
    if [ ! -f "$work/emscripten.config" ]; then
        sed 's/^FROZEN_CACHE *=.*/FROZEN_CACHE = False/' /usr/share/emscripten/.emscripten \
            >"$work/emscripten.config"
        # Debian's file has no newline at its end.
        printf "\nCACHE = '%s'\n" "$work/emcache" >>"$work/emscripten.config"
    fi
    export EM_CONFIG="$work/emscripten.config" EM_CACHE="$work/emcache"
    # Its optimiser is a node program that needs Debian's acorn, where a node from elsewhere
    # does not look.
    export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
}

cmd_web() {
    need_packages emscripten cmake make nlohmann-json3-dev "${number_packages[@]}"
    local work="$root/build-web" erfa
    erfa=$(erfa_source)
    emscripten_config "$work"
    if [ ! -f "$work/CMakeCache.txt" ]; then
        emcmake cmake -S "$root" -B "$work" -DCMAKE_BUILD_TYPE=Release -DVELLMORE_UI=OFF \
            -DBUILD_TESTING=OFF -DVELLMORE_ERFA_SOURCE="$erfa" "$(werror)"
    else
        cmake "$work" "$(werror)" >/dev/null
    fi
    cmake --build "$work" --parallel "$jobs"
    # The plan is compared with the native program's where a native build has one; the zone is
    # one away from UTC, so that an offset the browser does not give shows.
    local native=
    [ -x "$root/build/vellmore-table" ] && native="$root/build/vellmore-table"
    TZ=America/Los_Angeles VELLMORE_WEB_JS="$work/vellmore-web.js" VELLMORE_TABLE="$native" \
        node --test "$root/tests/web/module.test.mjs"
    say "build-web/vellmore.html: $(stat -c %s "$work/vellmore.html") bytes," \
        "$(gzip -9c "$work/vellmore.html" | wc -c) gzipped"
}

# Draws vellmore.exe under Wine on a virtual X display, inside Wine's own desktop so that its
# caption and frame show, as it opens on a first start; the picture is cut to the window.
windows_screenshot() {
    local exe=$1 out=$2 work fifo xvfb display shot previous background
    work=$(mktemp -d)
    fifo=$work/display
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 640x480x24 3>"$fifo" >/dev/null 2>&1 &
    xvfb=$!
    read -r display <"$fifo"
    export DISPLAY=:$display
    wine_prefix x11
    cp "$exe" "$work/"
    (cd "$work" && exec wine explorer /desktop=Vellmore,400x430 "$(basename "$exe")") &
    # Ready once the first start has written its settings and two pictures in a row agree.
    previous=
    for _ in $(seq 100); do
        sleep 0.3
        [ -f "$work/Vellmore.ini" ] || continue
        shot=$(import -window root -crop 400x430+0+0 +repage png:- | base64 -w0)
        [ -n "$previous" ] && [ "$shot" = "$previous" ] && break
        previous=$shot
    done
    import -window root -crop 400x430+0+0 +repage "$work/desktop.png"
    background=$(convert "$work/desktop.png" -format '%[pixel:p{399,429}]' info:)
    convert "$work/desktop.png" -bordercolor "$background" -border 1 -trim +repage "$out"
    wineserver -k || true
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}

cmd_screenshot() {
    need_packages "${base_packages[@]}" "${windows_packages[@]}" xvfb imagemagick
    configure "$root/build"
    cmake --build "$root/build" --parallel "$jobs" --target vellmore-screenshot
    mkdir -p "$root/docs"
    QT_QPA_PLATFORM=offscreen "$root/build/vellmore-screenshot" "$root/docs/vellmore.png"
    configure "$root/build-mingw" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
        -DVELLMORE_ERFA_SOURCE="$(erfa_source)" \
        -DBUILD_TESTING=ON -DVELLMORE_GTEST_SOURCE=/usr/src/googletest
    cmake --build "$root/build-mingw" --parallel "$jobs" --target vellmore
    windows_screenshot "$root/build-mingw/vellmore.exe" "$root/docs/vellmore-windows.png"
    say "wrote docs/vellmore.png and docs/vellmore-windows.png"
}

cmd_bench() {
    need_packages "${base_packages[@]}" "${windows_packages[@]}" libbenchmark-dev linux-perf
    local qt win32
    configure "$root/build-bench" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DVELLMORE_BENCH=ON
    cmake --build "$root/build-bench" --parallel "$jobs" --target vellmore_bench vellmore_settings_bench \
        vellmore_plan_bench vellmore-table
    qt=$(QT_QPA_PLATFORM=offscreen "$root/build-bench/vellmore_bench" --benchmark_repetitions=5 \
        --benchmark_report_aggregates_only=true)
    printf '%s\n' "$qt"
    "$root/build-bench/vellmore_settings_bench"
    configure "$root/build-bench-mingw" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
        -DVELLMORE_ERFA_SOURCE="$(erfa_source)" \
        -DVELLMORE_BENCH=ON -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake"
    cmake --build "$root/build-bench-mingw" --parallel "$jobs" --target vellmore_win32_bench vellmore
    wine_prefix
    win32=$(wine "$root/build-bench-mingw/vellmore_win32_bench.exe")
    printf '%s\n' "$win32"
    cp "$root/build-bench-mingw/vellmore.exe" "$root/build-bench-mingw/vellmore-stripped.exe"
    x86_64-w64-mingw32-strip "$root/build-bench-mingw/vellmore-stripped.exe"
    say "vellmore.exe stripped: $(stat -c %s "$root/build-bench-mingw/vellmore-stripped.exe") bytes"
    # Each window against a bare one with the same 29 controls; the aim is 1.10 or less.
    grep -h 'start ratio' <<<"$qt"$'\n'"$win32"
    local plan night
    plan=$("$root/build-bench/vellmore_plan_bench" --benchmark_repetitions=5 \
        --benchmark_report_aggregates_only=true)
    printf '%s\n' "$plan"
    local site=(--site 34.05,-118.25,100 --date 2026-12-07 --utc-offset -08:00 --json)
    say "whole program, CPU time, median of 7: night at 60-minute steps" \
        "$(process_ms "$root/build-bench/vellmore-table" "${site[@]}" --step 60) ms," \
        "polar day at 1-minute steps $(process_ms "$root/build-bench/vellmore-table" \
            --site 69.6492,18.9553,10 --date 2026-06-21 --utc-offset +02:00 --step 1 --json) ms"
    say "whole program, night at 1-minute steps: $(process_ms "$root/build-bench/vellmore-table" \
        "${site[@]}" --step 1) ms"
    # The page: its load and a night worked out in it, in headless Chromium, and its size.
    cmd_web >/dev/null
    need_node_modules
    node "$root/bench/page_bench.mjs" "$root/build-web/vellmore.html"
    say "build-web/vellmore.html: $(stat -c %s "$root/build-web/vellmore.html") bytes," \
        "$(gzip -9c "$root/build-web/vellmore.html" | wc -c) gzipped"
    night=$(awk '/PlanAndJson\/NightAt1Minute_median/ { print $2 }' <<<"$plan")
    say "night at 1-minute steps: $night ms"
}

# The CPU time of a program's run as a whole, start-up included (perf's task clock), in
# milliseconds: the median of 7 runs.
process_ms() {
    for _ in 1 2 3 4 5 6 7; do
        perf stat -x, -e task-clock "$@" 2>&1 >/dev/null | awk -F, '/task-clock/ { print $1 }'
    done | sort -n | sed -n 4p
}

case "${1:-}" in
run) cmd_run ;;
test) cmd_test ;;
sanitize) cmd_sanitize ;;
fuzz) cmd_fuzz "${2:-60}" ;;
windows) cmd_windows ;;
package)
    source "$root/scripts/packages.sh"
    cmd_package
    ;;
screenshot) cmd_screenshot ;;
bench) cmd_bench ;;
web) cmd_web ;;
*)
    echo "usage: scripts/dev.sh run|test|sanitize|fuzz [SECONDS]|windows|package|screenshot|bench|web" >&2
    exit 2
    ;;
esac
