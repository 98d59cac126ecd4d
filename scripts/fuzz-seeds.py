#!/usr/bin/env python3
"""Writes the seed inputs of every libFuzzer harness to fuzz/corpus/<harness>/.

A harness reads its arguments byte by byte from the front of the input
(fuzz/fuzz_input.h: selectors are taken modulo their count, a dimension
modulo its limit, a step kind from the low three bits and its sign from the
top bit), and fills its pictures with the bytes left over. Each seed walks
the selectors in a different rhythm so that together they reach every
entry, format and mode with small top-down pictures, then carries a short
picture ramp. The fuzzer takes it from there.

Seeds are named seed-NN and rewritten on every run; inputs of findings are
kept beside them under their own names and never touched here.
"""
import pathlib

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


def main() -> None:
    for source in sorted((ROOT / "fuzz").glob("*_fuzz.cpp")):
        folder = ROOT / "fuzz" / "corpus" / source.stem
        folder.mkdir(parents=True, exist_ok=True)
        for old in folder.glob("seed-*"):
            old.unlink()
        for i in range(SEEDS_PER_HARNESS):
            (folder / f"seed-{i:02d}").write_bytes(seed(i))
        print(f"{folder.relative_to(ROOT)}: {SEEDS_PER_HARNESS} seeds")


if __name__ == "__main__":
    main()
