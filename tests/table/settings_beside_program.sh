#!/bin/sh
# Without --settings, vellmore-table reads Vellmore.ini in exactly the folder that holds the
# program, however deep it lies: not the working folder, not a folder above the program's.
set -eu
table=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
deep="$work/Sky notes/a/b/c"
mkdir -p "$deep"
cp "$table" "$deep/"
printf 'TelescopeFL=2000\r\n' >"$deep/Vellmore.ini"
printf 'TelescopeFL=3000\r\n' >"$work/Sky notes/a/b/Vellmore.ini"
printf 'TelescopeFL=4000\r\n' >"$work/Vellmore.ini"
out=$(cd "$work" && "./Sky notes/a/b/c/$(basename "$table")")
case "$out" in
"Telescope 2000 mm,"*) ;;
*)
    echo "read the wrong settings file: $out"
    exit 1
    ;;
esac
