#!/usr/bin/env python3
"""Writes the seed inputs of every libFuzzer harness to fuzz/corpus/<harness>/.

A harness reads its arguments byte by byte from the front of the input
(fuzz/fuzz_input.h: selectors are taken modulo their count, a dimension
modulo its limit, a step kind from the low three bits and its sign from the
top bit), and fills its pictures with the bytes left over. Each seed walks
the selectors in a different rhythm so that together they reach every
entry, format and mode with small top-down pictures, then carries a short
picture ramp. The fuzzer takes it from there.

The filter and registry harnesses read their inputs differently: the
filter's seeds spell out a YUY2 connection (VIDEOINFOHEADER or
VIDEOINFOHEADER2, progressive or interlaced, small sizes) followed by a
run of samples, state changes and stills in the order filter_fuzz.cpp
reads them; the registry's seeds are small registry files in the form the
program writes them. The reader harnesses (y4m, bmp, png, raw) take whole
files: their seeds are small real files of every layout each reader
accepts, written by fuzz_reader_seeds.py beside this script.

Usage: scripts/fuzz-seeds.py [HARNESS...] (every harness when none is
named). Seeds are named seed-NN and rewritten on every run; inputs of
findings are kept beside them under their own names and never touched.
"""
import pathlib
import struct
import sys

sys.dont_write_bytecode = True  # no __pycache__ left in the tree
from fuzz_reader_seeds import READER_SEEDS  # noqa: E402

ROOT = pathlib.Path(__file__).resolve().parent.parent
SEEDS_PER_HARNESS = 24
HEADER_BYTES = 48
PICTURE_BYTES = 64


def seed(index: int) -> bytes:
    # Bytes below 0x78 keep steps positive and dimensions small; a few
    # seeds set the top bit to give bottom-up pictures a start.
    flip = 0x80 if index % 4 == 3 else 0
    header = bytes((((index + 1) * (j * 2 + 1) + j * 7) % 0x78) | (flip if j % 5 == 4 else 0)
                   for j in range(HEADER_BYTES))
    picture = bytes((index * 29 + k * 13) & 0xFF for k in range(PICTURE_BYTES))
    return header + picture


def u32(value: int) -> bytes:
    return struct.pack("<I", value & 0xFFFFFFFF)


# filter_fuzz.cpp's operations (the selector of its run loop).
OP_SAMPLE, OP_START, OP_STOP, OP_SETTINGS, OP_STILL, OP_FLUSH, OP_RECONNECT = 0, 4, 6, 7, 8, 10, 11


def yuy2_type(width: int, height: int, info2: bool, interlaced: bool = False, aspect: int = 0) -> bytes:
    """A whole YUY2 type: video, YUY2, the block at its exact length."""
    fields = 0x40 | (0x80 if interlaced else 0)  # rectangles of the full picture
    out = bytes([0x10 if info2 else 0x00, width, height, fields, aspect])
    if interlaced:
        out += bytes([0x01])  # AMINTERLACE_IsInterlaced
    return out + bytes([0, 1, 0])  # exact length, fixed-size samples, exact sample size


def output_size(width: int, height: int) -> bytes:
    return bytes([0, width, height])  # SetOutputSize


def sample(kind: int = 0, index: int = 0, with_type: bytes = b"") -> bytes:
    # kind 0: exactly one frame, 2: a frame short, 3: a frame long.
    extra = bytes([7]) if kind in (2, 3) else b""
    flags = 0x00 if with_type else 0x08  # bits 3-5 clear attach a type
    return (bytes([OP_SAMPLE, kind]) + extra + bytes([flags, 0, 1, 1]) + u32(index) + bytes([1]) + with_type)


def still(width: int, height: int, yuy2: bool) -> bytes:
    fmt = bytes([1]) if yuy2 else bytes([0, 8])  # 8 - 8 = format 0: bottom-up BGR
    return bytes([OP_STILL, width, height]) + fmt + bytes([1, 1, 1, 1])  # mode 1, size query, whole call


def filter_seed(index: int) -> bytes:
    width, height = [(32, 24), (16, 8), (64, 48), (48, 36), (8, 6), (40, 30)][index % 6]
    info2 = index % 2 == 1
    interlaced = info2 and index % 4 == 3
    # The output at the source size (interlaced input then has its fields
    # filled), smaller or larger; the harness streams small frames only.
    out = [(width, height), (16, 12), (96, 64)][index % 3]
    settings = bytes([1]) + output_size(*out)
    kind = yuy2_type(width, height, info2, interlaced, aspect=index % 3)
    run = bytes([OP_START, index % 2]) + sample(0, 0) + sample(0, 1) + still(16, 12, index % 2 == 0)
    run += sample(2, 2) + sample(3, 3) + sample(0, 4, with_type=kind)
    run += bytes([OP_STOP]) + sample(0, 5) + still(8, 4, True)
    run += bytes([OP_RECONNECT]) + output_size(24, 16) + bytes([OP_START, 1]) + sample(0, 6)
    run += bytes([OP_FLUSH, 1]) + bytes([OP_STOP])
    picture = bytes((index * 29 + k * 13) & 0xFF for k in range(PICTURE_BYTES))
    return settings + kind + bytes([index % 2]) + run + picture


def hex_bytes(data: bytes) -> str:
    """Hex data as Serialize writes it: 24 bytes to a line."""
    parts = []
    for i, b in enumerate(data):
        parts.append(f"{b:02x}")
        if i + 1 < len(data):
            parts.append(",\\\n  " if i % 24 == 23 else ",")
    return "".join(parts)


def utf16(text: str) -> bytes:
    return (text + "\0").encode("utf-16-le")


def registry_seed(index: int) -> bytes:
    clsid = "{%08X-0000-0000-0000-%012X}" % (0x1D2C3B4A + index, index)
    lines = ["Windows Registry Editor Version 5.00", ""]
    lines += [f"[HKEY_CLASSES_ROOT\\CLSID\\{clsid}]", '@="Vexo Tul Rezzo Filter"', ""]
    lines += [f"[HKEY_CLASSES_ROOT\\CLSID\\{clsid}\\InprocServer32]",
              '@="/usr/lib/libtul_rezzo_filter.so"', '"ThreadingModel"="Both"', ""]
    extra = index % 6
    values = []
    if extra == 0:
        values.append(f'"Merit"=dword:{0x00600000 + index:08x}')
    elif extra == 1:
        values.append('"FilterData"=hex:' + hex_bytes(bytes((index * 7 + k * 3) & 0xFF for k in range(40))))
    elif extra == 2:
        values.append('"Path"=hex(2):' + hex_bytes(utf16("%HOME%\\tul")))
    elif extra == 3:
        values.append('"Names"=hex(7):' + hex_bytes(utf16("one\0two\0")))
    elif extra == 4:
        values.append('"Lines"=hex(1):' + hex_bytes(utf16("one\r\ntwo")))
        values.append('"Quote \\"x\\""="back\\\\slash \\"q\\" \u00e9\u20ac"')
    else:
        values.append('"Empty"=hex:')
        values.append('"Short"=hex(4):01,02')
    lines += [f"[HKEY_CURRENT_USER\\Software\\Vexo\\Tul Rezzo {index}]"] + values + [""]
    return ("\n".join(lines) + "\n").encode("utf-8")


# Harnesses whose inputs have a shape of their own; the rest take seed().
SPECIAL_SEEDS = {"filter_fuzz": filter_seed, "registry_fuzz": registry_seed, **READER_SEEDS}


def main(only: list) -> None:
    for source in sorted((ROOT / "fuzz").glob("*_fuzz.cpp")):
        if only and source.stem not in only:
            continue
        folder = ROOT / "fuzz" / "corpus" / source.stem
        folder.mkdir(parents=True, exist_ok=True)
        for old in folder.glob("seed-*"):
            old.unlink()
        make = SPECIAL_SEEDS.get(source.stem, seed)
        for i in range(SEEDS_PER_HARNESS):
            (folder / f"seed-{i:02d}").write_bytes(make(i))
        print(f"{folder.relative_to(ROOT)}: {SEEDS_PER_HARNESS} seeds")


if __name__ == "__main__":
    main(sys.argv[1:])
