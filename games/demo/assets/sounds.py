"""The demo's tunes, written note by note: a Standard MIDI File for the
sequencer, a music-box piece rendered to a WAV file (the build turns it into
the OGG of CD track 2) and a chime for the buttons."""
import array
import math
import struct

# --- The sequencer tune: D major pentatonic over D, Bm, G, A -------------

D4, E4, Fs4, G4, A4, B4 = 62, 64, 66, 67, 69, 71
D5, E5, Fs5 = 74, 76, 78
REST = None

# (pitch, length in eighths); sixteen bars of eight eighths.
MELODY = [
    (A4, 2), (Fs4, 1), (A4, 1), (B4, 2), (A4, 2), (Fs4, 2), (E4, 2), (D4, 4),
    (E4, 2), (Fs4, 2), (A4, 2), (B4, 2), (A4, 6), (REST, 2),
    (D5, 2), (B4, 1), (D5, 1), (E5, 2), (D5, 2), (B4, 2), (A4, 2), (Fs4, 4),
    (G4, 2), (A4, 2), (B4, 2), (D5, 2), (E5, 6), (REST, 2),
    (Fs5, 2), (E5, 2), (D5, 2), (B4, 2), (D5, 3), (B4, 1), (A4, 4),
    (B4, 2), (D5, 2), (E5, 2), (Fs5, 2), (E5, 8),
    (A4, 2), (Fs4, 1), (A4, 1), (B4, 2), (D5, 2), (E5, 2), (D5, 2), (B4, 4),
    (A4, 2), (B4, 2), (Fs4, 2), (E4, 2), (D4, 8),
]
CHORDS = {"D": (50, 62, 66, 69), "Bm": (47, 59, 62, 66), "G": (43, 55, 59, 62), "A": (45, 57, 61, 64)}
BARS = ["D", "Bm", "G", "A"] * 3 + ["D", "G", "A", "D"]
DIVISION = 480  # ticks per quarter note
EIGHTH = DIVISION // 2


def var_len(n):
    out = [n & 0x7F]
    n >>= 7
    while n:
        out.append(0x80 | (n & 0x7F))
        n >>= 7
    return bytes(reversed(out))


def midi_tune():
    events = []  # (tick, order, bytes): note-offs sort before note-ons at one tick

    def note(tick, length, channel, pitch, velocity):
        events.append((tick, 1, bytes([0x90 | channel, pitch, velocity])))
        events.append((tick + length, 0, bytes([0x80 | channel, pitch, 0])))

    tick = 0
    for pitch, eighths in MELODY:
        if pitch is not None:
            note(tick, eighths * EIGHTH - 20, 0, pitch, 92)
        tick += eighths * EIGHTH
    for bar, name in enumerate(BARS):
        root, *upper = CHORDS[name]
        start = bar * 8 * EIGHTH
        for p in upper:
            note(start, 8 * EIGHTH - 10, 1, p, 52)
        for beat in range(4):
            note(start + beat * DIVISION, DIVISION - 40, 2, root, 76 if beat % 2 == 0 else 60)
    events.sort(key=lambda e: (e[0], e[1]))
    track = bytearray()
    track += b"\x00\xFF\x51\x03" + (600000).to_bytes(3, "big")  # 100 beats a minute
    track += b"\x00\xFF\x58\x04\x04\x02\x18\x08"  # 4/4
    for channel, program in ((0, 11), (1, 48), (2, 32)):  # vibraphone, strings, bass
        track += bytes([0, 0xC0 | channel, program])
    last = 0
    for t, _, data in events:
        track += var_len(t - last) + data
        last = t
    track += b"\x00\xFF\x2F\x00"
    return (b"MThd" + struct.pack(">IHHH", 6, 0, 1, DIVISION) +
            b"MTrk" + struct.pack(">I", len(track)) + bytes(track))


# --- Rendered sound -------------------------------------------------------

RATE = 22050


def freq(pitch):
    return 440.0 * 2 ** ((pitch - 69) / 12)


def add_bell(buf, start_s, pitch, length_s, gain):
    """A music-box note: three partials, each dying away faster than the one below."""
    f = freq(pitch)
    start = int(start_s * RATE)
    n = min(int(length_s * RATE), len(buf) - start)
    w = 2 * math.pi * f / RATE
    for i in range(n):
        t = i / RATE
        attack = min(1.0, i / 40)
        buf[start + i] += gain * attack * (math.sin(w * i) * math.exp(-t * 3.0) +
                                           0.4 * math.sin(2 * w * i) * math.exp(-t * 6.0) +
                                           0.15 * math.sin(3 * w * i) * math.exp(-t * 10.0))


def add_pad(buf, start_s, pitches, length_s, gain):
    """A soft chord that swells in and out."""
    start = int(start_s * RATE)
    n = min(int(length_s * RATE), len(buf) - start)
    ws = [2 * math.pi * freq(p) / RATE for p in pitches]
    for i in range(n):
        env = math.sin(math.pi * i / n)
        buf[start + i] += gain * env * sum(math.sin(w * i) for w in ws)


def pcm16(buf, peak=0.6):
    top = max(1e-9, max(abs(v) for v in buf))
    scale = 32767 * peak / top
    return array.array("h", (int(v * scale) for v in buf)).tobytes()


# The music-box piece: F, C, Dm, Bb, twice; eighth notes at 80 beats a minute.
THEME_CHORDS = [(53, 57, 60), (48, 55, 64), (50, 57, 62), (46, 53, 62)]
THEME_TOP = [72, 69, 67, 65, 64, 67, 69, 72, 74, 72, 69, 67, 70, 69, 65, 62]


def theme():
    beat = 60 / 80
    bars = 8
    buf = [0.0] * int((bars * 4 * beat + 2) * RATE)
    for bar in range(bars):
        chord = THEME_CHORDS[bar % 4]
        t0 = bar * 4 * beat
        add_pad(buf, t0, [p - 12 for p in chord], 4 * beat, 0.05)
        for k in range(8):  # the arpeggio climbs and falls back
            p = chord[[0, 1, 2, 1, 0, 1, 2, 1][k]] + 12
            add_bell(buf, t0 + k * beat / 2, p, 1.0, 0.22)
        for k in range(2):  # two melody notes a bar
            add_bell(buf, t0 + k * 2 * beat, THEME_TOP[(bar * 2 + k) % 16], 1.8, 0.35)
    return pcm16(buf)


def chime():
    buf = [0.0] * int(0.45 * RATE)
    add_bell(buf, 0.0, 88, 0.4, 0.6)
    add_bell(buf, 0.07, 95, 0.35, 0.45)
    return pcm16(buf, 0.45)
