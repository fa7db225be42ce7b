#!/usr/bin/env python3
"""Makes every generated file of the demo game.

usage: make_assets.py OUT_DIR QLNPIC QLNOGG

Draws the pictures as PNG and converts them with qlnpic (compressed 24-bit
files, targa where a picture has alpha), writes the sequencer tune, the
frame script of the title animation and the chime, and renders the CD
track as WAV for qlnogg to encode. Intermediate files go to OUT_DIR-work beside it.
"""
import os
import struct
import subprocess
import sys
import wave

sys.dont_write_bytecode = True  # nothing is written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import pictures  # noqa: E402
import sounds  # noqa: E402

WITH_ALPHA = {"capfont", "twinkle"}


def write(path, data):
    with open(path + ".tmp", "wb") as f:
        f.write(data)
    os.replace(path + ".tmp", path)


def write_wav(path, pcm):
    with wave.open(path + ".tmp", "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(sounds.RATE)
        w.writeframes(pcm)
    os.replace(path + ".tmp", path)


def twinkle_script():
    """Frame script: cell size, cells per row, an unused word, mode 0
    (place), then cell, offset a, offset b, duration (10 ms units)."""
    s = pictures.SPRITE
    frames = [(k, 0, 0, 7) for k in range(pictures.SPRITE_FRAMES)] + [(0, 0, 0, 90)]
    body = struct.pack("<5H", s, s, pictures.SPRITE_FRAMES, 0, 0)
    for f in frames + [(0xFFFF, 0, 0, 0)]:
        body += struct.pack("<4H", *f)
    return body


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    out, qlnpic, qlnogg = sys.argv[1:]
    work = os.path.normpath(out) + "-work"
    os.makedirs(work, exist_ok=True)
    os.makedirs(os.path.join(out, "cd"), exist_ok=True)
    for name, canvas in pictures.all_pictures().items():
        png = os.path.join(work, name + ".png")
        write(png, canvas.png())
        target, fmt = (name + ".tga", "targa") if name in WITH_ALPHA else (name + ".g24", "gcmp24")
        subprocess.run([qlnpic, "--format", fmt, png, os.path.join(out, target)], check=True)
    write(os.path.join(out, "tune.mid"), sounds.midi_tune())
    write(os.path.join(out, "twinkle.anm"), twinkle_script())
    write_wav(os.path.join(out, "chime.wav"), sounds.chime())
    theme = os.path.join(work, "theme.wav")
    write_wav(theme, sounds.theme())
    subprocess.run([qlnogg, theme, os.path.join(out, "cd", "track02.ogg")], check=True)


if __name__ == "__main__":
    main()
