"""Reading and writing the Standard MIDI Files the checks need: the notes of an exported
file with their times, and the same file without its tuning messages."""

import struct


def _varlen(data, i):
    value = 0
    while True:
        byte = data[i]
        i += 1
        value = (value << 7) | (byte & 0x7F)
        if not byte & 0x80:
            return value, i


def _encode_varlen(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.insert(0, 0x80 | (value & 0x7F))
        value >>= 7
    return bytes(out)


def read(path):
    """(format, division, tracks); a track is a list of (tick, event bytes)."""
    data = open(path, "rb").read()
    if data[:4] != b"MThd":
        raise ValueError(path + ": not a MIDI file")
    fmt, count, division = struct.unpack(">HHH", data[8:14])
    at, tracks = 14, []
    for _ in range(count):
        if data[at:at + 4] != b"MTrk":
            raise ValueError(path + ": track chunk missing")
        size = struct.unpack(">I", data[at + 4:at + 8])[0]
        body, at = data[at + 8:at + 8 + size], at + 8 + size
        events, tick, i, status = [], 0, 0, None
        while i < len(body):
            delta, i = _varlen(body, i)
            tick += delta
            first = body[i]
            if first == 0xFF:
                length, j = _varlen(body, i + 2)
                events.append((tick, body[i:j + length]))
                i = j + length
            elif first in (0xF0, 0xF7):
                length, j = _varlen(body, i + 1)
                events.append((tick, body[i:j + length]))
                i = j + length
            else:
                if first & 0x80:
                    status, i = first, i + 1
                size = 1 if status & 0xF0 in (0xC0, 0xD0) else 2
                events.append((tick, bytes([status]) + body[i:i + size]))
                i += size
        tracks.append(events)
    return fmt, division, tracks


def write(path, fmt, division, tracks):
    out = b"MThd" + struct.pack(">IHHH", 6, fmt, len(tracks), division)
    for events in tracks:
        body, now = b"", 0
        for tick, event in events:
            body += _encode_varlen(tick - now) + event
            now = tick
        out += b"MTrk" + struct.pack(">I", len(body)) + body
    open(path, "wb").write(out)


def without_tuning(tracks):
    """The tracks without tuning messages (system exclusive) and pitch bends: every note
    sounds its plain key."""
    return [[(t, e) for t, e in events if e[0] not in (0xF0, 0xF7) and e[0] & 0xF0 != 0xE0]
            for events in tracks]


def notes(tracks, division):
    """Every note as a dict: on and off in milliseconds, key, channel, and the pitch the file
    asks for (a fractional key) from the tuning change or the pitch bend before it."""
    tempo, out, sounding = 500000, [], {}
    bend_range, bend = {}, {}
    tuned = {}  # key -> pitch from the last single-note tuning change
    rpn = {}
    for tick, e in sorted((ev for track in tracks for ev in track), key=lambda x: x[0]):
        ms = tick * tempo / division / 1000.0
        kind, channel = e[0] & 0xF0, e[0] & 0x0F
        if e[0] == 0xFF and e[1] == 0x51:
            tempo = int.from_bytes(e[3:6], "big")  # the exports set it once, at tick 0
        elif e[0] == 0xF0:
            payload = e[2:] if e[1] < 0x80 else e[3:]
            if payload[:4] == bytes([0x7F, 0x7F, 0x08, 0x02]) or \
                    (payload[0] == 0x7F and payload[2:4] == bytes([0x08, 0x02])):
                count = payload[5]
                for n in range(count):
                    key, xx, yy, zz = payload[6 + 4 * n:10 + 4 * n]
                    tuned[key] = xx + ((yy << 7) | zz) / 16384.0
        elif kind == 0xB0:
            number, value = e[1], e[2]
            state = rpn.setdefault(channel, [127, 127])
            if number == 101:
                state[0] = value
            elif number == 100:
                state[1] = value
            elif number == 6 and state == [0, 0]:
                bend_range[channel] = value
        elif kind == 0xE0:
            bend[channel] = ((e[2] << 7) | e[1]) - 8192
        elif kind == 0x90 and e[2] > 0:
            key = e[1]
            pitch = tuned.get(key, key) + bend.get(channel, 0) / 8192.0 * bend_range.get(channel, 2)
            sounding[(channel, key)] = {"on": ms, "key": key, "channel": channel, "pitch": pitch}
        elif kind == 0x80 or (kind == 0x90 and e[2] == 0):
            note = sounding.pop((channel, e[1]), None)
            if note is not None:
                note["off"] = ms
                out.append(note)
    return sorted(out, key=lambda n: n["on"])
