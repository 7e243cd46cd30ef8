#!/usr/bin/env python3
"""Writes a seed corpus for inflate_fuzzer: the image data stream of each PNG
file given (without its two zlib header bytes), behind the fuzzer's 3-byte
prefix of expected size and flags.

    fuzz/inflate/make_seed_corpus.py OUT_FOLDER tests/data/pngsuite/*.png
"""
import pathlib
import struct
import sys
import zlib


def idat_stream(png: bytes) -> bytes:
    at, stream = 8, b""
    while at + 8 <= len(png):
        length, kind = struct.unpack(">I4s", png[at:at + 8])
        if kind == b"IDAT":
            stream += png[at + 8:at + 8 + length]
        if kind == b"IEND":
            break
        at += 12 + length
    return stream


def main() -> None:
    out = pathlib.Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    for name in sys.argv[2:]:
        stream = idat_stream(pathlib.Path(name).read_bytes())
        try:
            size = len(zlib.decompress(stream))
        except zlib.error:
            size = 1000
        field = min(size, 65435) + 100
        seed = struct.pack("<HB", field, 0) + stream[2:]
        (out / (pathlib.Path(name).stem + ".bin")).write_bytes(seed)


if __name__ == "__main__":
    main()
