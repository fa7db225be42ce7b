#!/usr/bin/env python3
"""Builds the seed games of fuzz_game_run with the project's own tools.

Each seed is one game bundled in the harness's input layout: for every file
a name length byte, the name, a 32-bit little-endian size and the bytes. The
games are assembled from the scenarios below (qlnasm), their pictures are
converted into every format the engine reads (qlnpic), and the archives and
packed files are made with qlnpack.

    make_game_seeds.py --tools BUILD_DIR --out SEED_DIR
"""
import argparse
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import wave

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))

PICTURE_FORMATS = [  # (qlnpic format, file name in the game)
    ("gcmp24", "pic24.gcp"), ("gcmp1", "pic1.gcp"), ("bmp24", "pic24.bmp"),
    ("bmp8", "pic8.bmp"), ("bmp1", "pic1.bmp"), ("targa", "alpha.tga"),
    ("planar", "plane.pln"),
]


def bmp24(width, height):
    """A small 24-bit bitmap of 16 colours (components multiples of 17, so
    every format holds it): colour blocks and a white diagonal."""
    row_size = (width * 3 + 3) // 4 * 4
    pixels = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            if x == y:
                row += bytes((255, 255, 255))
            else:
                c = (x // 4 + y // 4) % 15
                row += bytes(((c * 17) & 0xFF, (255 - c * 17) & 0xFF, (c % 3) * 85))
        pixels += row + bytes(row_size - len(row))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 0, 0, 0, 0)
    return header + info + bytes(pixels)


def wav_bytes(path):
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(11025)
        w.writeframes(b"".join(struct.pack("<h", (i % 50) * 600 - 15000) for i in range(600)))
    with open(path, "rb") as f:
        return f.read()


def run(tool, *args):
    subprocess.run([tool, *args], check=True, stdout=subprocess.DEVNULL)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def bundle(files):
    out = bytearray()
    for name, data in files:
        raw = name.encode("ascii")
        out += bytes((len(raw),)) + raw + struct.pack("<I", len(data)) + data
    return bytes(out)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tools", required=True, help="folder holding qlnasm, qlndis, qlnpic, qlnpack")
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    qlnasm = os.path.join(args.tools, "qlnasm")
    qlnpic = os.path.join(args.tools, "qlnpic")
    qlnpack = os.path.join(args.tools, "qlnpack")
    qlndis = os.path.join(args.tools, "qlndis")
    os.makedirs(args.out, exist_ok=True)
    work = tempfile.mkdtemp(prefix="qln-seeds-")
    try:
        source = os.path.join(work, "source.bmp")
        with open(source, "wb") as f:
            f.write(bmp24(32, 24))
        pictures = []
        for fmt, name in PICTURE_FORMATS:
            path = os.path.join(work, name)
            run(qlnpic, "--format", fmt, source, path)
            pictures.append((name, read(path)))
        sound = ("tone.wav", wav_bytes(os.path.join(work, "tone.wav")))

        scenarios = {}
        for name in sorted(os.listdir(HERE)):
            if name.endswith(".qasm"):
                out = os.path.join(work, name[:-5] + ".qln")
                run(qlnasm, "-o", out, os.path.join(HERE, name))
                scenarios[name[:-5]] = out
        raw_sub = os.path.join(work, "sub_raw.bin")
        run(qlnasm, "--raw", "-o", raw_sub, os.path.join(HERE, "sub.qasm"))

        pic_paths = [os.path.join(work, n) for _, n in PICTURE_FORMATS]
        gpc = os.path.join(work, "pics.gpc")
        run(qlnpack, "gpc7", gpc, *pic_paths[:4], raw_sub)
        qscf = os.path.join(work, "more.qsc")
        run(qlnpack, "qscf", qscf, *pic_paths[4:], raw_sub)
        packed = os.path.join(work, "packed.bin")
        run(qlnpack, "pack", packed, pic_paths[0])

        cursor = read(os.path.join(ROOT, "fuzz/seeds/fuzz_cursor/two_frames_and_a_missing_image.amp"))
        names = os.path.join(work, "QLN_CMDN.TXT")
        run(qlndis, "--command-names", "-o", names)
        errors = read(os.path.join(ROOT, "games/default/QLN_ERRM.TXT"))
        common = [
            ("sub.qln", read(scenarios["sub"])),
            ("pics.gpc", read(gpc)),
            ("more.qsc", read(qscf)),
            ("packed.bin", read(packed)),
            ("DEFAULT.AMP", cursor),
            ("QLN_ERRM.TXT", errors),
            ("QLN_CMDN.TXT", read(names)),
            ("Quillon.ini", b"[game]\r\nruns=3\r\nname=seed\r\n"),
            sound,
        ]
        for game in sorted(scenarios):
            if game == "sub":
                continue
            files = [("start_up.qln", read(scenarios[game]))] + common + pictures
            with open(os.path.join(args.out, game), "wb") as f:
                f.write(bundle(files))
        # The same start-up scenario as an archive's first entry.
        archived = os.path.join(work, "start_up.gpc")
        run(qlnpack, "gpc7", archived, scenarios["windows_text"])
        with open(os.path.join(args.out, "startup_in_archive"), "wb") as f:
            f.write(bundle([("start_up.gpc", read(archived))] + common + pictures[:2]))
    finally:
        shutil.rmtree(work)
    return 0


if __name__ == "__main__":
    sys.exit(main())
