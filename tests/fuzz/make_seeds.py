#!/usr/bin/env python3
"""Writes the fuzzers' seed corpora into tests/fuzz/corpus/. Most seeds are small files made
here by hand; given the folder of a generated data pack (build/data), a few are cut from it:
three marked sheets of the sheet archive, the effect's head, a music track's head and the
viewer script. Run it again only to change the seeds; the fuzzers keep what they find
elsewhere."""
import os
import struct
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")
MAGENTA, GREEN, BLUE, YELLOW, GREY = 0xFF00FF, 0x00FF00, 0x0000FF, 0xFFFF00, 0x404040


def put(harness, name, data):
    folder = os.path.join(ROOT, harness)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data.encode("latin-1") if isinstance(data, str) else data)


def file_header(size, offset):
    return b"BM" + struct.pack("<IHHI", size, 0, 0, offset)


def info_header(w, h, bpp, compression=0, colours=0, size=40, masks=None):
    head = struct.pack("<IiiHHIIiiII", size, w, h, 1, bpp, compression, 0, 2835, 2835,
                       colours, 0)
    if size > 40:
        m = masks or (0x00FF0000, 0x0000FF00, 0x000000FF, 0)
        head += struct.pack("<IIII", *m) + b"\0" * (size - 56)
    return head


def rows_of(pixels, w, h, bpp, top_down, pack):
    stride = (w * bpp + 31) // 32 * 4
    order = range(h) if top_down else range(h - 1, -1, -1)
    out = b""
    for y in order:
        row = pack(pixels[y * w:(y + 1) * w])
        out += row + b"\0" * (stride - len(row))
    return out


def bmp(pixels, w, h, bpp=24, top_down=False, palette=None, header=40, gap=0, tail=0):
    """A BMP file of the pixels (0xRRGGBB, or palette indices when a palette is given)."""
    if bpp == 24:
        pack = lambda r: b"".join(struct.pack("<I", p)[:3] for p in r)
    elif bpp == 32:
        pack = lambda r: b"".join(struct.pack("<I", p) for p in r)
    elif bpp == 16:
        pack = lambda r: b"".join(struct.pack("<H", ((p >> 8) & 0xF800) | ((p >> 5) & 0x7E0)
                                              | ((p >> 3) & 0x1F)) for p in r)
    else:
        per = 8 // bpp

        def pack(r):
            out = bytearray()
            for i in range(0, len(r), per):
                byte = 0
                for k, v in enumerate(r[i:i + per]):
                    byte |= v << (8 - bpp * (k + 1))
                out.append(byte)
            return bytes(out)
    masks = (0xF800, 0x07E0, 0x001F, 0) if bpp == 16 else None
    compression = 3 if bpp in (16, 32) and header > 40 else 0
    pal = b"".join(struct.pack("<I", c) for c in palette or [])
    if header == 12:
        info = struct.pack("<IHHHH", 12, w, h, 1, bpp)
        pal = b"".join(struct.pack("<I", c)[:3] for c in palette or [])
    else:
        info = info_header(w, -h if top_down else h, bpp, compression, len(palette or []),
                           header, masks)
    offset = 14 + len(info) + len(pal) + gap
    data = rows_of(pixels, w, h, bpp, top_down, pack)
    return file_header(offset + len(data) + tail, offset) + info + pal + b"\0" * gap + data + \
        b"\0" * tail


def rle_bmp(w, h, bpp, runs, palette):
    info = info_header(w, h, bpp, 1 if bpp == 8 else 2, len(palette))
    pal = b"".join(struct.pack("<I", c) for c in palette)
    offset = 14 + len(info) + len(pal)
    return file_header(offset + len(runs), offset) + info + pal + runs


def picture_seeds():
    w, h = 5, 3
    px = [(x * 50) << 16 | (y * 80) << 8 | 0x40 for y in range(h) for x in range(w)]
    put("archive_picture", "bgr24_bottom_up.bmp", bmp(px, w, h))
    put("archive_picture", "bgr24_top_down.bmp", bmp(px, w, h, top_down=True))
    put("archive_picture", "bgr24_gap_after_headers.bmp", bmp(px, w, h, gap=22))
    put("archive_picture", "bgr24_padded_piece.bmp", bmp(px, w, h, tail=40))
    put("archive_picture", "core_header.bmp", bmp(px, w, h, header=12))
    put("archive_picture", "xrgb32_v4.bmp", bmp(px, w, h, bpp=32, header=108))
    put("archive_picture", "rgb565_v5.bmp", bmp(px, w, h, bpp=16, header=124))
    index = [(x + y) % 4 for y in range(h) for x in range(w)]
    palette = [0x000000, 0xFF0000, 0x00FF00, 0xFFFFFF]
    put("archive_picture", "palette8.bmp", bmp(index, w, h, 8, palette=palette))
    put("archive_picture", "palette4_top_down.bmp", bmp(index, w, h, 4, True, palette))
    put("archive_picture", "palette1.bmp", bmp([i % 2 for i in index], w, h, 1, palette=palette[:2]))
    # Runs, an absolute run, a delta and the end markers.
    rle8 = bytes([3, 1, 2, 2, 0, 0, 0, 3, 1, 2, 3, 0, 2, 2, 0, 0, 0, 2, 2, 0, 3, 3, 0, 1])
    put("archive_picture", "rle8.bmp", rle_bmp(w, h, 8, rle8, palette))
    rle4 = bytes([5, 0x12, 0, 0, 0, 4, 0x12, 0x30, 0, 0, 5, 0x21, 0, 1])
    put("archive_picture", "rle4.bmp", rle_bmp(w, h, 4, rle4, palette))


def marked_sheet(w, h, xs, ys, marks):
    """A sheet of grid-colour rulers at xs and ys, the key colours down the last column and
    marks {(x, y): colour} on the rulers; the cells are grey."""
    px = [GREY] * (w * h)
    for x in xs:
        px[x] = MAGENTA
    for y in ys:
        px[y * w] = MAGENTA
    for (x, y), c in marks.items():
        px[y * w + x] = c
    for y, c in ((0, MAGENTA), (1, GREY), (2, GREEN), (3, BLUE), (4, YELLOW)):
        px[y * w + w - 1] = c
    return px


def sheet_seeds(data_dir):
    w, h = 14, 9
    px = marked_sheet(w, h, [0, 6, 13], [0, 8], {(2, 0): BLUE, (4, 0): BLUE, (3, 0): GREEN,
                                                (0, 2): YELLOW, (0, 6): BLUE, (8, 0): YELLOW})
    put("marked_sheet", "two_cells_rgb24.bmp", bmp(px, w, h))
    colours = sorted(set(px))
    palette = colours + [0] * (16 - len(colours))
    index = [colours.index(p) for p in px]
    put("marked_sheet", "two_cells_palette8.bmp", bmp(index, w, h, 8, palette=palette))
    put("marked_sheet", "two_cells_palette4.bmp", bmp(index, w, h, 4, True, palette))
    px = marked_sheet(8, 6, [0, 2, 4, 7], [0, 3, 5], {})
    put("marked_sheet", "six_cells_no_marks.bmp", bmp(px, 8, 6))
    if data_dir:
        ranges = {"back_button": (686980, 694336), "arrows": (176216, 183572),
                  "pointer": (5563968, 5574224)}
        with open(os.path.join(data_dir, "image", "dat2.bmp"), "rb") as f:
            archive = f.read()
        for name, (first, end) in ranges.items():
            put("marked_sheet", "pack_" + name + ".bmp", archive[first:end])


def settings_seeds():
    ini = ("[cg]\nfps=1\n[music]\nbgmon=1\nseon=0\nbgm=7\nse=9\n[mode]\nlevel=1\n"
           "[sound]\nloop=1\nvol=4\n")
    put("settings_file", "game_settings.ini", ini + "\0\x01\x03" + "5" + "\0\x05\x05" + "-3")
    put("settings_file", "crlf_bom_comments.ini",
        "\xef\xbb\xbf; written by hand\r\n[Music]\r\n  BGM = 12abc \r\n;se=3\r\n"
        "[music]\r\nse=4\r\n[mode]\r\nlevel=\"2\"\r\nname=' AB '\r\n\0\x02\x0a" + " quoted \"")
    put("settings_file", "no_final_line_end.ini", "[score]\nsco0=900\nnam0=ABC" + "\0\x08\x09ZZZ")
    put("settings_file", "keys_before_any_section.ini",
        "fps=1\n=5\n[]\nkey\n[cg]\n[cg]\nfps=0\n" + "\0\x80\x00" + "1")


def replay_seeds():
    put("replay", "every_event.replay",
        "vasul-replay 1\n# a comment\nseed 12345\n@0 move 320 200\n@4 ldown 320 200\n"
        "@5 lup 330 210\n@5 ldbl 330 210\n@6 keydown 32\n@7 keyup 32\n@9 rdown 5 5\n"
        "@9 rdbl 5 5\n@20 tick 4294967000\n@30 close\n")
    put("replay", "crlf_tabs.replay",
        "\r\n  vasul-replay\t1\r\nseed 0\r\n@0\tmove\t0 0\r\n@18446744073709551 tick 0\r\n")
    put("replay", "bad_line.replay", "vasul-replay 1\n@3 move 1 2\n@2 keyup 300\n")


def viewer_seeds(data_dir):
    put("viewer_script", "every_command.spt",
        "RESET 0\nLOAD_IMAGE1 8\nLOAD_IMAGE2 12\nSHOW_IMAGE1 2\nSHOW_IMAGE2 3\nSET_FRAME1 1\n"
        "SET_FRAME2 2\nSET_HEIGHT1 40\nTEXT1 00120034\nTEXT5 0126\nWAIT 0\nHIDE_IMAGE1 5\n"
        "HIDE_IMAGE2 \nTEXT2 12\nWAIT \nRESET \nTEXT3 0001000200030004\n")
    put("viewer_script", "crlf_and_odd_lines.spt",
        "TEXT1 00120034\r\nWAIT 0\r\n\r\nRESET\r\nTEXT1 0012 0034\r\n SHOW_IMAGE1 1\r\n"
        "LOAD_IMAGE1 -1\r\nSET_FRAME1 999999\r\nSHOW_IMAGE1 1\r\nWAIT 0\r\nlast line")
    if data_dir:
        with open(os.path.join(data_dir, "vasul.spt"), "rb") as f:
            put("viewer_script", "pack_script.spt", f.read())


def high_score_seeds():
    names = "".join("nam%d=AAA\nsco%d=500\n" % (i, i) for i in range(10))
    table = "[score]\nsum0=10057\nsum1=237\n" + names
    tail = lambda length, score: bytes([length]) + struct.pack(">i", score)
    put("high_scores", "default_table", b"ABC" + table.encode() + tail(3, 1200))
    put("high_scores", "quoted_name", b"ZED" + b"[score]\nsum0=500\nnam0=\" AB\"\n" + tail(3, 7))
    put("high_scores", "no_file", b"\x80\xffQ" + tail(3, -5))
    put("high_scores", "crlf_other_sections",
        b"A\0B[music]\r\nbgm=3\r\n[SCORE]\r\nsco3 = 700\r\nnam3=LONGNAME\r\n" + tail(3, 700))


def sound_seeds(data_dir):
    put("sound_file", "riff_wave_effect", b"RIFF\x24\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0"
        b"\x44\xac\0\0\x88\x58\x01\0\x02\0\x10\0data\0\0\0\0" + bytes([6]))
    put("sound_file", "ogg_page_title", b"OggS\0\x02" + b"\0" * 20 + b"\x01\x1e\x01vorbis"
        + b"\0" * 23 + bytes([0]))
    put("sound_file", "not_sound_stage5", b"ID3\x04\0\0\0\0\0\0" + bytes([5]))
    if data_dir:
        with open(os.path.join(data_dir, "wave", "in.wav"), "rb") as f:
            put("sound_file", "pack_effect_head", f.read(512) + bytes([6]))
        with open(os.path.join(data_dir, "ogg", "stsound1-2a.ogg"), "rb") as f:
            put("sound_file", "pack_track_head", f.read(512) + bytes([1]))


def main():
    data_dir = sys.argv[1] if len(sys.argv) > 1 else None
    picture_seeds()
    sheet_seeds(data_dir)
    settings_seeds()
    replay_seeds()
    viewer_seeds(data_dir)
    high_score_seeds()
    sound_seeds(data_dir)


if __name__ == "__main__":
    main()
