#!/usr/bin/env python3
"""Writes the small pictures that tests/unit/picture_import_test.cpp reads, and copies them in as
the seeds of the player_picture fuzzer. Each is drawn by ImageMagick's convert (Debian's
imagemagick) from the same 64 x 48 pattern: mid grey, with a 16 x 16 square in each corner, red
top left, green top right, blue bottom left, yellow bottom right. Nothing in them depends on the
time or the machine, so running this again gives the same files.

The orientation_N.jpg files hold the pattern as a camera held at orientation N would store it,
with an EXIF block saying N (odd N in Intel byte order, even N in Motorola order): shown
upright, each must look like the pattern again. inflating.png is a 1 x 1 PNG whose data
inflates to 4 MiB."""
import os
import shutil
import struct
import subprocess
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SEEDS = os.path.join(HERE, "..", "..", "fuzz", "corpus", "player_picture")

PATTERN = ["-size", "64x48", "xc:rgb(128,128,128)",
           "-fill", "rgb(255,0,0)", "-draw", "rectangle 0,0 15,15",
           "-fill", "rgb(0,255,0)", "-draw", "rectangle 48,0 63,15",
           "-fill", "rgb(0,0,255)", "-draw", "rectangle 0,32 15,47",
           "-fill", "rgb(255,255,0)", "-draw", "rectangle 48,32 63,47"]
# No time chunks, no comments, no profiles.
PLAIN = ["-strip", "-define", "png:exclude-chunks=date,time"]
JPEG = ["-quality", "95", "-sampling-factor", "1x1"]

# How to turn the upright pattern into what a camera stores for each orientation: the
# inverse of what showing it does.
STORED = {1: [], 2: ["-flop"], 3: ["-rotate", "180"], 4: ["-flip"], 5: ["-transpose"],
          6: ["-rotate", "270"], 7: ["-transverse"], 8: ["-rotate", "90"]}


def convert(*args):
    subprocess.run(["convert", *args], check=True)


def exif_segment(orientation, little):
    """An APP1 segment holding a TIFF block whose first directory has two entries: the
    orientation (a SHORT) and, after it, a resolution unit, as cameras write them."""
    e = "<" if little else ">"
    entries = [(0x0112, 3, 1, struct.pack(e + "HH", orientation, 0)),
               (0x0128, 3, 1, struct.pack(e + "HH", 2, 0))]
    tiff = (b"II" if little else b"MM") + struct.pack(e + "HI", 42, 8)
    tiff += struct.pack(e + "H", len(entries))
    for tag, kind, count, value in entries:
        tiff += struct.pack(e + "HHI", tag, kind, count) + value
    tiff += struct.pack(e + "I", 0)  # no next directory
    payload = b"Exif\0\0" + tiff
    return b"\xff\xe1" + struct.pack(">H", len(payload) + 2) + payload


def with_exif(jpeg, segment):
    assert jpeg[:2] == b"\xff\xd8"
    return jpeg[:2] + segment + jpeg[2:]


def png_chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data +
            struct.pack(">I", zlib.crc32(kind + data)))


def inflating_png():
    """A 1 x 1 PNG whose pixel data inflates to 4 MiB: broken, and small as a file."""
    header = struct.pack(">IIBBBBB", 1, 1, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) +
            png_chunk(b"IDAT", zlib.compress(bytes(4 << 20), 9)) + png_chunk(b"IEND", b""))


def main():
    out = lambda name: os.path.join(HERE, name)
    convert(*PATTERN, *PLAIN, "-type", "TrueColor", "PNG24:" + out("corners.png"))
    convert(*PATTERN, *PLAIN, "-interlace", "PNG", "PNG24:" + out("interlaced.png"))
    convert(*PATTERN, *PLAIN, "PNG8:" + out("palette.png"))
    convert(*PATTERN, *PLAIN, "-depth", "16", "PNG48:" + out("deep.png"))
    # Transparent but black underneath, the corners opaque, a half-transparent black square
    # in the middle.
    convert("-size", "64x48", "xc:rgba(0,0,0,0)",
            "-fill", "rgb(255,0,0)", "-draw", "rectangle 0,0 15,15",
            "-fill", "rgb(0,255,0)", "-draw", "rectangle 48,0 63,15",
            "-fill", "rgb(0,0,255)", "-draw", "rectangle 0,32 15,47",
            "-fill", "rgb(255,255,0)", "-draw", "rectangle 48,32 63,47",
            "-fill", "rgba(0,0,0,0.5)", "-draw", "rectangle 24,16 39,31",
            *PLAIN, "PNG32:" + out("alpha.png"))
    # Grey with alpha: an opaque black square top left, the rest transparent.
    convert("-size", "64x48", "xc:rgba(0,0,0,0)", "-fill", "rgb(0,0,0)",
            "-draw", "rectangle 0,0 15,15", *PLAIN, "-define", "png:color-type=4",
            "-define", "png:bit-depth=8", out("grey_alpha.png"))
    convert(*PATTERN, "-strip", *JPEG, out("baseline.jpg"))
    convert(*PATTERN, "-strip", *JPEG, "-interlace", "JPEG", out("progressive.jpg"))
    convert(*PATTERN, "-strip", "-quality", "95", "-colorspace", "Gray", "-type", "Grayscale",
            out("grey.jpg"))
    # Two frames: the pattern, then all blue; only the first is shown.
    convert("(", *PATTERN, ")", "(", "-size", "64x48", "xc:rgb(0,0,255)", ")", "-strip",
            "-delay", "50", "-loop", "0", out("two_frames.gif"))
    convert(*PATTERN, "-strip", "-type", "TrueColor", "BMP3:" + out("corners.bmp"))

    with open(out("inflating.png"), "wb") as f:
        f.write(inflating_png())

    with tempfile.TemporaryDirectory() as tmp:
        for n, turn in STORED.items():
            stored = os.path.join(tmp, "stored.jpg")
            convert(*PATTERN, *turn, "-strip", *JPEG, stored)
            with open(stored, "rb") as f:
                jpeg = f.read()
            with open(out("orientation_%d.jpg" % n), "wb") as f:
                f.write(with_exif(jpeg, exif_segment(n, little=n % 2 == 1)))

    os.makedirs(SEEDS, exist_ok=True)
    for name in sorted(os.listdir(HERE)):
        if name.endswith((".png", ".jpg", ".gif", ".bmp")):
            shutil.copyfile(out(name), os.path.join(SEEDS, name))


if __name__ == "__main__":
    main()
