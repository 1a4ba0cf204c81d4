#!/usr/bin/env bash
# Regenerates the picture fixtures: a small test picture written as BMP files by ImageMagick
# and as JPEG files by cjpeg, with reference PNGs decoded by those programs (ImageMagick for the
# bitmaps, djpeg for the JPEG files). Debian packages: imagemagick, libjpeg-turbo-progs.
# The top-down bitmap is the 24-bit one with its rows turned round and its height negated.
set -euo pipefail
cd "$(dirname "$0")"
im=convert-im6.q16

# 24 x 16: colour ramps, a white square and a dark bar, so rows and columns are all different.
python3 - <<'PY'
w, h = 24, 16
rows = []
for y in range(h):
    row = []
    for x in range(w):
        r, g, b = (x * 10) % 256, (y * 15) % 256, ((x + y) * 7) % 256
        if 3 <= x < 9 and 2 <= y < 8:
            r = g = b = 255
        if 14 <= x < 20 and 10 <= y < 13:
            r, g, b = 20, 30, 200
        row += [r, g, b]
    rows.append(bytes(row))
open("source.ppm", "wb").write(b"P6\n%d %d\n255\n" % (w, h) + b"".join(rows))
PY

$im source.ppm -monochrome -type bilevel BMP3:bits1.bmp
$im source.ppm -dither None -colors 12 -type palette BMP3:bits4.bmp
$im source.ppm -dither None -colors 200 -type palette -compress none BMP3:bits8.bmp
$im source.ppm -dither None -colors 200 -type palette -compress RLE BMP3:rle8.bmp
$im source.ppm -type truecolor BMP3:bits24.bmp
$im source.ppm -alpha set -define bmp3:alpha=true BMP3:bits32.bmp
for f in bits1 bits4 bits8 rle8 bits24 bits32; do
    $im "$f.bmp" -alpha off "PNG24:$f.png"
done

python3 - <<'PY'
import struct
data = bytearray(open("bits24.bmp", "rb").read())
offset = struct.unpack_from("<I", data, 10)[0]
width, height = struct.unpack_from("<ii", data, 18)
stride = (width * 3 + 3) & ~3
rows = [data[offset + i * stride: offset + (i + 1) * stride] for i in range(height)]
struct.pack_into("<i", data, 22, -height)
data[offset:offset + stride * height] = b"".join(reversed(rows))
open("topdown.bmp", "wb").write(bytes(data))
PY
cp bits24.png topdown.png

# Bitmaps in the other layouts a BMP file may hold: 16-bit 5-6-5 and 32-bit bit fields in the
# 124-byte header, the same 16-bit pixels under the 108-byte header, 32-bit bit fields after the
# 40-byte header, the 12-byte core header, and RLE4 (the 4-bit rows run-length encoded).
$im source.ppm -define bmp:subtype=RGB565 BMP:bits16.bmp
$im source.ppm -alpha set -channel A -evaluate set 100% +channel BMP:v5.bmp
$im source.ppm -dither None -colors 12 -type palette BMP2:core.bmp
for f in bits16 v5 core; do
    $im "$f.bmp" -alpha off "PNG24:$f.png"
done
python3 - <<'PY'
import struct
def write(name, header, table, pixels):
    offset = 14 + len(header) + len(table)
    size = offset + len(pixels)
    open(name, "wb").write(b"BM" + struct.pack("<IHHI", size, 0, 0, offset) + header + table + pixels)
def parts(name):
    data = open(name, "rb").read()
    size = struct.unpack_from("<I", data, 14)[0]
    offset = struct.unpack_from("<I", data, 10)[0]
    return bytearray(data[14:14 + size]), data[14 + size:offset], data[offset:]
header, table, pixels = parts("bits16.bmp")
v4 = header[:108]
struct.pack_into("<I", v4, 0, 108)
write("v4.bmp", v4, table, pixels)
header, table, pixels = parts("v5.bmp")
info = header[:40]
struct.pack_into("<I", info, 0, 40)
write("fields32.bmp", info, bytes(header[40:52]) + table, pixels)
header, table, pixels = parts("bits4.bmp")
width, height = struct.unpack_from("<ii", header, 4)
stride = ((width * 4 + 31) // 32) * 4
rle = bytearray()
for y in range(height):
    row = pixels[y * stride: y * stride + (width + 1) // 2]
    nibbles = [n for b in row for n in (b >> 4, b & 15)][:width]
    x = 0
    while x < width:
        n = 1
        while x + n < width and n < 255 and nibbles[x + n] == nibbles[x]:
            n += 1
        rle += bytes([n, nibbles[x] << 4 | nibbles[x]])
        x += n
    rle += b"\0\0"
rle += b"\0\1"
struct.pack_into("<II", header, 16, 2, len(rle))
write("rle4.bmp", header, table, bytes(rle))
PY
cp bits16.png v4.png
cp v5.png fields32.png
cp bits4.png rle4.png

cjpeg -quality 90 -baseline -outfile baseline.jpg source.ppm
cjpeg -quality 90 -progressive -outfile progressive.jpg source.ppm
cjpeg -quality 90 -grayscale -outfile grey.jpg source.ppm
for f in baseline progressive grey; do
    djpeg -pnm -outfile "$f.pnm" "$f.jpg"
    $im "$f.pnm" "PNG24:$f.png"
    rm "$f.pnm"
done
rm source.ppm
