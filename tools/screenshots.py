#!/usr/bin/env python3
"""Draws the screenshots the repository keeps in docs/screenshots/screens: every screen of the
game, as the screen tour (vasul_tour) plays the headless game to them on the build's data pack,
written as PNG. The AppStream metainfo shows three of them.

  screenshots.py --tour build/vasul_tour --pack build/data --out docs/screenshots/screens
  screenshots.py --tour build/vasul_tour --pack build/data --check docs/screenshots/screens

With --check nothing is written: each kept screen must be the one this build draws, byte for
byte, and the folder must hold no screen the tour no longer draws. The PNG files are written the
same way every time (no time, no text chunks).
"""

import argparse
import struct
import subprocess
import sys
import tempfile
import zlib
from pathlib import Path


def read_bmp(path: Path) -> tuple[int, int, bytes]:
    """A 24-bit BMP as width, height and rows of RGB from the top."""
    data = path.read_bytes()
    offset, = struct.unpack_from("<I", data, 10)
    width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
    if bits != 24:
        raise ValueError(f"{path} has {bits} bits a pixel, not 24")
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(abs(height)):
        source = y if height < 0 else abs(height) - 1 - y
        row = data[offset + source * stride: offset + source * stride + width * 3]
        rows.append(swap_bgr(row))
    return width, abs(height), b"".join(rows)


def swap_bgr(row: bytes) -> bytes:
    """A row of blue, green, red as red, green, blue."""
    out = bytearray(row)
    out[0::3], out[2::3] = row[2::3], row[0::3]
    return bytes(out)


def png(width: int, height: int, rgb: bytes) -> bytes:
    """RGB rows as a PNG of IHDR, one IDAT and IEND: the same bytes for the same pixels."""
    def chunk(kind: bytes, body: bytes) -> bytes:
        return (struct.pack(">I", len(body)) + kind + body
                + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))
    stride = width * 3
    raw = b"".join(b"\0" + rgb[y * stride:(y + 1) * stride] for y in range(height))
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def tour(tour_binary: Path, pack: Path, work: Path) -> dict[str, bytes]:
    """Every screen the tour plays to, by name, as PNG."""
    folder = work / "tour"
    subprocess.run([str(tour_binary), "--data", str(pack), "--out", str(folder)], check=True)
    screens = {}
    for bmp in sorted(folder.glob("*.bmp")):
        screens[bmp.stem] = png(*read_bmp(bmp))
    if not screens:
        raise SystemExit(f"screenshots: {tour_binary} drew no screen")
    return screens


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--tour", type=Path, required=True, help="vasul_tour")
    parser.add_argument("--pack", type=Path, required=True, help="the data pack's folder")
    where = parser.add_mutually_exclusive_group(required=True)
    where.add_argument("--out", type=Path, help="write the screenshots here")
    where.add_argument("--check", type=Path, help="compare the screenshots kept here")
    args = parser.parse_args()
    with tempfile.TemporaryDirectory() as work:
        drawn = tour(args.tour.resolve(), args.pack.resolve(), Path(work))
    folder = args.out or args.check
    stale = []
    for name, shot in drawn.items():
        kept = folder / f"{name}.png"
        if args.out:
            folder.mkdir(parents=True, exist_ok=True)
            kept.write_bytes(shot)
        elif not kept.exists() or kept.read_bytes() != shot:
            stale.append(str(kept))
    for old in sorted(folder.glob("*.png")):
        if old.stem in drawn:
            continue
        if args.out:
            old.unlink()
        else:
            stale.append(str(old))
    if args.out:
        print(f"screenshots: {len(drawn)} screens in {folder}")
    for path in stale:
        print(f"screenshots: {path} is not what this build draws; "
              "run scripts/screenshots to draw them again", file=sys.stderr)
    return 1 if stale else 0


if __name__ == "__main__":
    sys.exit(main())
