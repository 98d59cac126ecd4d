"""Seeds of the reader harnesses (fuzz/y4m_fuzz.cpp, bmp_fuzz.cpp,
png_fuzz.cpp, raw_fuzz.cpp), for scripts/fuzz-seeds.py.

Those harnesses take a whole file rather than arguments, so their seeds
are small real files in every layout each reader accepts, written here
from the formats' published layouts (PNG with zlib and struct alone):
Y4M streams of two frames for every chroma tag, BMPs of 24, 32, 8, 4 and
1 bits bottom-up and top-down with each header form, PNGs of every
colour type and bit depth with and without transparency chunks, and raw
frames of every format behind the raw harness's option words. Seed i of a
harness is a pure function of i.
"""
import struct
import zlib


def ramp(count: int, start: int, step: int = 7) -> bytes:
    return bytes((start + k * step) & 0xFF for k in range(count))


Y4M_CHROMA = ["", " C420", " C420jpeg", " C420mpeg2", " C420paldv", " C422"]
Y4M_EXTRAS = [" Ip A1:1", " It A0:0", " Ib A4:3", " Im XCOLORRANGE=FULL", " I?", " A10:11"]
Y4M_SIZES = [(6, 4), (2, 2), (8, 6), (4, 2)]


def y4m_seed(index: int) -> bytes:
    # Two frames (the second's FRAME line with a tag of its own); no C tag
    # means 4:2:0.
    tag = Y4M_CHROMA[index % 6]
    extra = Y4M_EXTRAS[(index + index // 6) % 6]
    w, h = Y4M_SIZES[index // 6 % 4]
    chroma_rows = h if tag == " C422" else h // 2
    frame = w * h + 2 * (w // 2) * chroma_rows
    data = f"YUV4MPEG2 W{w} H{h} F25:1{extra}{tag}\n".encode()
    for n in range(2):
        data += (b"FRAME\n" if n == 0 else b"FRAME Ixyz\n") + ramp(frame, index * 31 + n)
    return data


BI_RGB, BI_BITFIELDS = 0, 3
BMP_INFO_SIZES = [40, 40, 52, 56, 108, 124]


def bmp_seed(index: int) -> bytes:
    bits = [24, 32, 8, 4, 1][index % 5]
    top_down = index // 5 % 2 == 1
    width, height = 1 + index % 7, 1 + index % 4
    info_size = BMP_INFO_SIZES[index % 6]
    bitfields = bits == 32 and index % 2 == 0
    colors_used = (1 << bits) // 2 if bits <= 8 and index % 3 == 2 else 0
    stride = (width * bits + 31) // 32 * 4
    entries = (colors_used or 1 << bits) if bits <= 8 else 0
    palette = b"".join(bytes((k * 40 & 0xFF, k * 90 & 0xFF, k * 150 & 0xFF, 0)) for k in range(entries))
    info = struct.pack("<IiiHHIIiiII", info_size, width, -height if top_down else height, 1, bits,
                       BI_BITFIELDS if bitfields else BI_RGB, stride * height, 2835, 2835, colors_used, 0)
    masks = b""
    plain_masks = struct.pack("<III", 0x00FF0000, 0x0000FF00, 0x000000FF)
    if info_size > 40:
        # The later headers carry the masks themselves (then alpha, colour
        # space and intent fields, left zero).
        info += (plain_masks + struct.pack("<I", 0xFF000000) + bytes(info_size))[: info_size - 40]
    elif bitfields:
        masks = plain_masks
    offset = 14 + len(info) + len(masks) + len(palette)
    pixels = ramp(stride * height, bits * 3 + width)
    header = b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset)
    return header + info + masks + palette + pixels


def png_chunk(kind: bytes, body: bytes) -> bytes:
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))


PNG_KINDS = [(0, 1), (0, 2), (0, 4), (0, 8), (0, 16), (2, 8), (2, 16), (3, 1), (3, 2), (3, 4), (3, 8),
             (4, 8), (4, 16), (6, 8), (6, 16)]
PNG_CHANNELS = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}


# Adam7's seven passes: first column and row, then the column and row steps.
ADAM7 = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)]


def png_rows(width: int, height: int, colour: int, depth: int, start: int) -> bytes:
    # Each row names its own filter (none, sub, up, average, Paeth) in turn,
    # so every unfiltering runs.
    row = (width * PNG_CHANNELS[colour] * depth + 7) // 8
    return b"".join(bytes((y % 5,)) + ramp(row, start + y * 13 + colour, 11) for y in range(height))


def png_seed(index: int) -> bytes:
    # Every colour type and depth; from the second round on, with a tRNS
    # chunk where the type allows one; every fourth seed interlaced (Adam7),
    # 9 x 9 so that all seven passes hold pixels.
    colour, depth = PNG_KINDS[index % len(PNG_KINDS)]
    trns = index >= len(PNG_KINDS)
    interlaced = index % 4 == 3
    width, height = (9, 9) if interlaced else (1 + index % 6, 1 + index % 4)
    if interlaced:
        raw = b"".join(png_rows((width - x0 + dx - 1) // dx, (height - y0 + dy - 1) // dy, colour, depth, p)
                       for p, (x0, y0, dx, dy) in enumerate(ADAM7))
    else:
        raw = png_rows(width, height, colour, depth, 0)
    ihdr = struct.pack(">IIBBBBB", width, height, depth, colour, 0, 0, 1 if interlaced else 0)
    data = b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", ihdr)
    if colour == 3:
        data += png_chunk(b"PLTE", ramp(3 * (1 << depth), 5, 17))
    if trns and colour == 3:
        data += png_chunk(b"tRNS", ramp(1 << depth, 0, 60))
    elif trns and colour == 0:
        data += png_chunk(b"tRNS", struct.pack(">H", 1))
    elif trns and colour == 2:
        data += png_chunk(b"tRNS", struct.pack(">HHH", 1, 2, 3))
    return data + png_chunk(b"IDAT", zlib.compress(raw)) + png_chunk(b"IEND", b"")


# Bytes a pixel of each format the raw harness names, in its order: yuy2,
# i420, yv12, rgb24, rgb32, srgb24, srgb32, vuya.
RAW_PIXEL_BYTES = [2, 1.5, 1.5, 3, 4, 3, 4, 4]
RAW_SIZES = [(6, 4), (2, 2), (4, 6)]


def raw_seed(index: int) -> bytes:
    # The harness's words, one byte each: format pick, size kind (below 6:
    # "WxH"), width, height, rate pick (a known rate or none), interlaced; then the file: two
    # frames, or one and a half for every third seed.
    fmt = index % 8
    w, h = RAW_SIZES[index // 8 % 3]
    words = bytes((fmt, index % 6, w, h, [0, 1, 3][index % 3], index % 2))
    frame = int(w * h * RAW_PIXEL_BYTES[fmt])
    length = frame * 3 // 2 if index % 3 == 2 else frame * 2
    return words + ramp(length, fmt * 19)


READER_SEEDS = {"y4m_fuzz": y4m_seed, "bmp_fuzz": bmp_seed, "png_fuzz": png_seed, "raw_fuzz": raw_seed}
