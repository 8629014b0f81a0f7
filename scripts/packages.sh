# Sourced by scripts/dev.sh: `dev.sh package` makes dist/ (the Windows zip and installer, the Linux
# tarball and Debian package) and checks each as a user meets it: unpacked, installed for real,
# started, uninstalled.

package_packages=(nsis lintian desktop-file-utils appstream dpkg-dev gzip)

# The 15 lines of the default settings file, as the first start must write them.
expected_default_settings() {
    printf '%s\r\n' TelescopeFL=1420 EyepieceFL=19 CameraFL=50 TelescopeAperture=220 K=40 \
        FilmISO=100 '' '[Exposures]' CrescentMoon=20 QuarterMoon=40 FullMoon=200 Saturn=13.6 \
        Jupiter=32.5 Mars=32.5 Venus=1310
}

fail() {
    say "package: $*"
    exit 1
}

# wait_for FILE: up to a minute for FILE to appear.
wait_for() {
    for _ in $(seq 600); do [ -f "$1" ] && return 0; sleep 0.1; done
    return 1
}

# The default settings file must be exactly the 15 lines.
expect_default_file() {
    expected_default_settings | cmp -s - "$1" || fail "$2 did not write the 15 default lines to $1"
}

# Ends a vellmore.exe started in the background with `wine`, as closing its window would.
close_windows_program() {
    local pid=$1 status=0
    for _ in $(seq 120); do
        kill -0 "$pid" 2>/dev/null || break
        wine taskkill /IM vellmore.exe >/dev/null 2>&1 || true
        sleep 0.5
    done
    wait "$pid" || status=$?
    [ "$status" -eq 0 ] || fail "vellmore.exe ended with status $status"
}

# The zip: unpacked into a folder named in other scripts, its first start writes the default file
# there, and vellmore-table reads it back, beside itself and by a path with those letters.
check_zip() {
    local zip=$1 dir pid out
    wine_prefix
    dir="$WINEPREFIX/drive_c/Пример/Äströ"
    rm -rf "$WINEPREFIX/drive_c/Пример" && mkdir -p "$WINEPREFIX/drive_c/Пример"
    (cd "$WINEPREFIX/drive_c/Пример" && cmake -E tar xf "$zip" && mv Vellmore-*-windows-x64 Äströ)
    for file in vellmore.exe vellmore-table.exe README.txt LICENSE.txt ERFA-LICENSE.txt vellmore.html; do
        [ -f "$dir/$file" ] || fail "$file is missing from $(basename "$zip")"
    done
    grep -qi 'not Program Files' "$dir/README.txt" && fail "README.txt still warns against Program Files"
    (cd "$dir" && exec wine vellmore.exe) &
    pid=$!
    wait_for "$dir/Vellmore.ini" || fail "vellmore.exe wrote no Vellmore.ini in $dir"
    expect_default_file "$dir/Vellmore.ini" "vellmore.exe in a folder named in Cyrillic"
    close_windows_program "$pid"
    out=$(cd "$dir" && wine vellmore-table.exe 2>&1)
    [[ "$out" == "Telescope 1420 mm,"* ]] || fail "vellmore-table.exe did not read the file beside it: $out"
    out=$(wine "$dir/vellmore-table.exe" --csv --settings 'C:\Пример\Äströ\Vellmore.ini' 2>&1)
    [[ "$out" == "object,k,iso,"* ]] || fail "vellmore-table.exe did not take the path: $out"
    rm -rf "$WINEPREFIX/drive_c/Пример"
}

# The installer, in a fresh Wine prefix: a silent install puts everything in place, the installed
# copy keeps its settings in the user's AppData, and a silent uninstall takes everything away but
# that file.
check_installer() {
    local setup=$1 pid settings programs menu keys
    export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEPREFIX="$root/build-package/wine-install"
    [ -d "$WINEPREFIX" ] && { wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"; }
    mkdir -p "$WINEPREFIX"
    wineboot --init >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
    wineserver -k || true

    wine "$setup" /S || fail "$(basename "$setup") /S failed"
    programs="$WINEPREFIX/drive_c/Program Files/Vellmore"
    menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Vellmore.lnk"
    tonight="${menu%.lnk} Tonight.lnk"
    keys='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vellmore'
    for file in vellmore.exe vellmore-table.exe README.txt LICENSE.txt ERFA-LICENSE.txt vellmore.html \
        Uninstall.exe; do
        [ -f "$programs/$file" ] || fail "the installer put no $file in Program Files"
    done
    [ -f "$menu" ] || fail "the installer made no Start-menu shortcut"
    [ -f "$tonight" ] || fail "the installer made no Start-menu shortcut to the page"
    wine reg query 'HKLM\Software\Vellmore' /v InstallDir | grep -q 'C:\\Program Files\\Vellmore' ||
        fail "the installer recorded no InstallDir"
    for value in DisplayName DisplayVersion Publisher DisplayIcon EstimatedSize UninstallString; do
        wine reg query "$keys" /v "$value" >/dev/null 2>&1 || fail "the uninstall entry has no $value"
    done

    wine 'C:\Program Files\Vellmore\vellmore.exe' &
    pid=$!
    settings="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Vellmore/Vellmore.ini"
    wait_for "$settings" || fail "the installed vellmore.exe wrote nothing to AppData\\Roaming\\Vellmore"
    expect_default_file "$settings" "the installed vellmore.exe"
    close_windows_program "$pid"
    [ -e "$programs/Vellmore.ini" ] && fail "the installed vellmore.exe wrote beside itself"

    wine 'C:\Program Files\Vellmore\Uninstall.exe' /S
    wineserver -w # the uninstaller runs on from a copy of itself
    [ -e "$programs" ] && fail "the uninstaller left $programs"
    [ -e "$menu" ] && fail "the uninstaller left the shortcut"
    [ -e "$tonight" ] && fail "the uninstaller left the page's shortcut"
    wine reg query "$keys" >/dev/null 2>&1 && fail "the uninstaller left the uninstall entry"
    wine reg query 'HKLM\Software\Vellmore' >/dev/null 2>&1 && fail "the uninstaller left InstallDir"
    expect_default_file "$settings" "uninstalling (the user's settings must stay)"
    wineserver -k || true
    rm -rf "$WINEPREFIX"
}

check_tarball() {
    local tgz=$1 work=$2 dir status=0
    mkdir "$work/linux"
    (cd "$work/linux" && tar xzf "$tgz")
    dir=$(dirname "$(find "$work/linux" -name vellmore-table)")
    for file in vellmore vellmore-table README LICENSE vellmore.html; do
        [ -f "$dir/$file" ] || fail "$file is missing from $(basename "$tgz")"
    done
    check_installed_page "$dir/vellmore.html"
    grep -q libqt6widgets6 "$dir/README" || fail "README names no Qt package"
    [ "$("$dir/vellmore-table" --version | head -n 1)" = "vellmore-table $version" ] ||
        fail "vellmore-table does not run from the archive"
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$dir/vellmore" 2>/dev/null || status=$?
    [ "$status" -eq 1 ] || fail "vellmore does not start from the archive"
}

# The page as a user opens the copy a package installed: from the file, with no network, it shows
# the calculator's results.
check_installed_page() {
    node "$root/scripts/check-page.mjs" "$1" || fail "the page at $1 does not work offline"
}

# The Debian package: its files, the desktop's own validators and lintian; then installed with
# apt, started from the menu's command with a throwaway home, and purged without a trace.
check_deb() {
    local deb=$1 work=$2 home pid files report
    local expected=(./usr/bin/vellmore ./usr/bin/vellmore-table
        ./usr/share/applications/org.vellmore.Vellmore.desktop
        ./usr/share/applications/org.vellmore.Vellmore.Tonight.desktop ./usr/share/vellmore/vellmore.html
        ./usr/libexec/vellmore/vellmore-tonight
        ./usr/share/metainfo/org.vellmore.Vellmore.metainfo.xml
        ./usr/share/icons/hicolor/scalable/apps/org.vellmore.Vellmore.svg
        ./usr/share/icons/hicolor/48x48/apps/org.vellmore.Vellmore.png
        ./usr/share/icons/hicolor/256x256/apps/org.vellmore.Vellmore.png
        ./usr/share/man/man1/vellmore.1.gz ./usr/share/man/man1/vellmore-table.1.gz
        ./usr/share/doc/vellmore/copyright ./usr/share/doc/vellmore/changelog.gz)
    files=$(dpkg-deb -c "$deb" | awk '{print $6}')
    for file in "${expected[@]}"; do
        grep -qxF "$file" <<<"$files" || fail "$(basename "$deb") has no $file"
    done
    dpkg-deb -x "$deb" "$work/deb"
    grep -q '^License: Expat' "$work/deb/usr/share/doc/vellmore/copyright" ||
        fail "the copyright file names no MIT (Expat) licence"
    dpkg-deb -f "$deb" Maintainer | grep -q example && fail "the package names an example maintainer"
    dpkg-deb -f "$deb" Homepage | grep -q . && fail "the package names a homepage"
    for entry in org.vellmore.Vellmore org.vellmore.Vellmore.Tonight; do
        desktop-file-validate "$work/deb/usr/share/applications/$entry.desktop" ||
            fail "the desktop entry $entry does not validate"
    done
    grep -qx 'Exec=/usr/libexec/vellmore/vellmore-tonight' \
        "$work/deb/usr/share/applications/org.vellmore.Vellmore.Tonight.desktop" &&
        grep -qx 'exec xdg-open /usr/share/vellmore/vellmore.html' \
            "$work/deb/usr/libexec/vellmore/vellmore-tonight" ||
        fail "Vellmore Tonight does not open the installed page"
    appstreamcli validate --no-net "$work/deb/usr/share/metainfo/org.vellmore.Vellmore.metainfo.xml" \
        >/dev/null || fail "the AppStream metadata does not validate"
    report=$(lintian "$deb" 2>&1 | grep -v 'running with root privileges' || true)
    lintian --fail-on error,warning "$deb" >/dev/null 2>&1 || fail "lintian reports: $report"
    [ -z "$report" ] || say "lintian: $report"

    if [ "$(id -u)" -ne 0 ]; then
        say "package: not root, so $(basename "$deb") is not installed and tried"
        return 0
    fi
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
    [ "$(command -v vellmore-table)" = /usr/bin/vellmore-table ] || fail "vellmore-table is not on the PATH"
    [ "$(vellmore-table --version | head -n 1)" = "vellmore-table $version" ] || fail "vellmore-table --version"
    vellmore-table --version | grep -q 'MIT licence' || fail "vellmore-table --version names no licence"
    home="$work/home"
    mkdir "$home"
    env -u XDG_CONFIG_HOME HOME="$home" QT_QPA_PLATFORM=offscreen vellmore 2>/dev/null &
    pid=$!
    wait_for "$home/.config/vellmore/Vellmore.ini" || fail "the installed vellmore wrote no settings"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    expect_default_file "$home/.config/vellmore/Vellmore.ini" "the installed vellmore"
    [ -e /usr/bin/Vellmore.ini ] && fail "the installed vellmore wrote into /usr/bin"
    check_installed_page /usr/share/vellmore/vellmore.html
    files=$(dpkg -L vellmore)
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq vellmore >/dev/null
    while read -r file; do
        [ -f "$file" ] && fail "purging left $file"
    done <<<"$files"
    return 0
}

# The same night's plan, to the byte, from the Linux program and from the Windows one under Wine.
check_same_plan() {
    local linux=$1 windows=$2 args format
    wine_prefix
    for args in "--site 51.4769,-0.0005,46 --date 2026-12-07 --utc-offset +00:00 --iso 100,400" \
        "--site -33.87,151.21,58 --date 1900-03-15 --utc-offset +10:00 --step 17" \
        "--site 78.22,15.63 --date 2026-12-21 --utc-offset +01:00" \
        "--site 34.05,-118.25,100 --date 2026-12-24 --utc-offset -08:00 --shutter 1/250,0.02 --pixel-size 3.76 --sensor 23.5x15.6"; do
        for format in --json --csv; do
            [ -n "$("$linux" $args $format 2>/dev/null)" ] || fail "no plan for $args $format"
            # shellcheck disable=SC2086 # the options are split on purpose
            cmp -s <("$linux" $args $format 2>/dev/null) <(wine "$windows" $args $format 2>/dev/null) ||
                fail "the plan for $args $format differs between Linux and Windows"
        done
    done
}

cmd_package() {
    need_packages "${base_packages[@]}" "${windows_packages[@]}" "${package_packages[@]}"
    local linux="$root/build-package/linux" windows="$root/build-package/windows" version work
    local page="$root/build-web/vellmore.html"
    # Every package carries the page, as scripts/dev.sh web builds it.
    cmd_web
    need_node_modules
    # The Debian package's programs are built with Debian's hardening flags.
    configure_and_build "$linux" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
        -DCMAKE_INSTALL_PREFIX=/usr "$(werror)" -DVELLMORE_WEB_PAGE="$page" \
        -DCMAKE_CXX_FLAGS="$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
        -DCMAKE_EXE_LINKER_FLAGS="$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get LDFLAGS)"
    configure_and_build "$windows" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF "$(werror)" \
        -DVELLMORE_WEB_PAGE="$page" \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
        -DVELLMORE_ERFA_SOURCE="$(erfa_source)"
    mkdir -p "$root/dist"
    rm -f "$root"/dist/Vellmore-* "$root"/dist/vellmore_*
    (cd "$linux" && cpack -B "$PWD/archives" >/dev/null)
    (cd "$windows" && cpack -B "$PWD/archives" >/dev/null)
    cp "$linux"/archives/Vellmore-*.tar.gz "$linux"/archives/vellmore_*.deb \
        "$windows"/archives/Vellmore-*.zip "$root/dist/"
    version=$(basename "$root"/dist/Vellmore-*-windows-x64.zip -windows-x64.zip)
    version=${version#Vellmore-}
    rm -rf "$windows/stage"
    cmake --install "$windows" --component portable --prefix "$windows/stage" --strip >/dev/null
    makensis -V2 -DVERSION="$version" -DSTAGE="$windows/stage" \
        -DOUTFILE="$root/dist/Vellmore-$version-setup.exe" "$root/packaging/windows/vellmore.nsi"

    work=$(mktemp -d)
    check_same_plan "$linux/vellmore-table" "$windows/vellmore-table.exe"
    check_zip "$root/dist/Vellmore-$version-windows-x64.zip"
    check_installer "$root/dist/Vellmore-$version-setup.exe"
    check_tarball "$root/dist/Vellmore-$version-linux-x86_64.tar.gz" "$work"
    check_deb "$root/dist/vellmore_${version}_amd64.deb" "$work"
    rm -rf "$work"
    say "checked $(cd "$root/dist" && ls | tr '\n' ' ')"
}
