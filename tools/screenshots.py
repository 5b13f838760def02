#!/usr/bin/env python3
"""Draws the screenshots the repository keeps in docs/screenshots: the title, a stage in play and
the gallery, which the AppStream metainfo shows, each a frame of the headless game playing a short
replay on the build's data pack; and with --tour, every screen of the game in screens/, as the
screen tour (vasul_tour) plays to them. All are written as PNG.

  screenshots.py --game build/vasul --tour build/vasul_tour --pack build/data --out docs/screenshots
  screenshots.py --game build/vasul --tour build/vasul_tour --pack build/data --check docs/screenshots

With --check nothing is written: each kept file must be the one this build draws, byte for byte,
and screens/ must hold no screen the tour no longer draws. The PNG files are written the same way
every time (no time, no text chunks).
"""

import argparse
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib
from pathlib import Path

# Each screenshot: the replay that leads to it; the frame taken is the replay's last pass.
SHOTS = {
    "title": ("the title screen", 60, """
@20 move 600 440
"""),
    "play": ("a stage in play", 260, """
@10 move 300 152
@12 ldown 300 152
@13 lup 300 152
@200 move 330 250
"""),
    "gallery": ("the gallery", 90, """
@10 move 300 271
@12 ldown 300 271
@13 lup 300 271
@60 move 620 460
"""),
}


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


def draw(game: Path, pack: Path, work: Path, name: str) -> bytes:
    """The PNG of one screenshot, played in a fresh copy of the pack's settings."""
    _, frames, events = SHOTS[name]
    folder = work / name
    folder.mkdir()
    if (pack / "vasul.ini").exists():
        shutil.copy(pack / "vasul.ini", folder / "vasul.ini")
    replay = folder / "shot.replay"
    replay.write_text("vasul-replay 1\nseed 2026\n" + events.strip() + "\n")
    subprocess.run([str(game), "--headless", "--data", str(pack), "--ini",
                    str(folder / "vasul.ini"), "--replay", str(replay), "--frames",
                    str(frames + 1), "--dump-every", str(frames), "--dump-frames",
                    str(folder / "frames")], check=True, stderr=subprocess.DEVNULL)
    width, height, rgb = read_bmp(folder / "frames" / f"frame-{frames:06d}.bmp")
    return png(width, height, rgb)


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
    parser.add_argument("--game", type=Path, required=True, help="the Linux vasul")
    parser.add_argument("--tour", type=Path, help="vasul_tour, for every screen in screens/")
    parser.add_argument("--pack", type=Path, required=True, help="the data pack's folder")
    where = parser.add_mutually_exclusive_group(required=True)
    where.add_argument("--out", type=Path, help="write the screenshots here")
    where.add_argument("--check", type=Path, help="compare the screenshots kept here")
    args = parser.parse_args()
    stale = []
    with tempfile.TemporaryDirectory() as work:
        drawn = {name: draw(args.game.resolve(), args.pack.resolve(), Path(work), name)
                 for name in SHOTS}
        if args.tour:
            drawn.update({f"screens/{name}": shot for name, shot in
                          tour(args.tour.resolve(), args.pack.resolve(), Path(work)).items()})
    for name, shot in drawn.items():
        if args.out:
            (args.out / name).parent.mkdir(parents=True, exist_ok=True)
            (args.out / f"{name}.png").write_bytes(shot)
            what = SHOTS[name][0] if name in SHOTS else "a screen of the tour"
            print(f"screenshots: {args.out / name}.png, {what}")
        elif not (args.check / f"{name}.png").exists() or \
                (args.check / f"{name}.png").read_bytes() != shot:
            stale.append(f"{args.check / name}.png")
    if args.tour:
        kept = args.out or args.check
        for old in sorted((kept / "screens").glob("*.png")):
            if f"screens/{old.stem}" in drawn:
                continue
            if args.out:
                old.unlink()
            else:
                stale.append(str(old))
    for path in stale:
        print(f"screenshots: {path} is not what this build draws; "
              "run scripts/screenshots to draw them again", file=sys.stderr)
    return 1 if stale else 0


if __name__ == "__main__":
    sys.exit(main())
