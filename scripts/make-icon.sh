#!/usr/bin/env bash
# Draws the application icon again from app/icon/vellmore.svg: vellmore.ico (16 to 256 pixels,
# for the Windows program and Explorer), vellmore.png (256 pixels, the Qt window's icon and the
# desktop's) and vellmore-48.png (the desktop's menu size).
# Both are checked in; run this after editing the SVG. Needs rsvg-convert (librsvg2-bin).
set -euo pipefail
icon=$(cd "$(dirname "${BASH_SOURCE[0]}")/../app/icon" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

sizes=(16 24 32 48 256)
for size in "${sizes[@]}"; do
    rsvg-convert -w "$size" -h "$size" "$icon/vellmore.svg" -o "$work/$size.png"
done
cp "$work/256.png" "$icon/vellmore.png"
cp "$work/48.png" "$icon/vellmore-48.png"

# An .ico is a small directory of images; Windows Vista and later take PNG images in it.
python3 - "$icon/vellmore.ico" "${sizes[@]/#/$work/}" <<'PY'
import struct, sys
out, sources = sys.argv[1], [s + ".png" for s in sys.argv[2:]]
images = [open(path, "rb").read() for path in sources]
header = struct.pack("<HHH", 0, 1, len(images))
offset = len(header) + 16 * len(images)
entries = b""
for path, data in zip(sources, images):
    width, height = struct.unpack(">II", data[16:24])
    entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(data), offset)
    offset += len(data)
open(out, "wb").write(header + entries + b"".join(images))
PY
echo "wrote $icon/vellmore.ico and $icon/vellmore.png"
