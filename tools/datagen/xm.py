"""A FastTracker 2 extended module (XM 1.04) writer.

Layout: a 60-byte lead-in, the song header (276 bytes counted from its own size
field), then each pattern (9-byte header and packed rows), then each instrument
(263-byte header with 40-byte sample headers, then delta-coded sample data).
"""
import struct
from dataclasses import dataclass, field

import numpy as np

KEY_OFF = 97
SONG_HEADER_SIZE = 276
PATTERN_HEADER_SIZE = 9
INSTRUMENT_HEADER_SIZE = 263
SAMPLE_HEADER_SIZE = 40
LINEAR_FREQUENCIES = 1
LOOP_NONE, LOOP_FORWARD = 0, 1
SIXTEEN_BIT = 0x10
ENVELOPE_ON, ENVELOPE_SUSTAIN = 1, 2


@dataclass
class Cell:
    note: int = 0
    instrument: int = 0
    volume: int = 0
    effect: int = 0
    parameter: int = 0


@dataclass
class Sample:
    name: str
    data: np.ndarray
    volume: int = 64
    relative_note: int = 0
    finetune: int = 0
    panning: int = 128
    loop_start: int = 0
    loop_length: int = 0


@dataclass
class Instrument:
    name: str
    sample: Sample
    volume_envelope: list = field(default_factory=list)
    sustain_point: int = 0
    fadeout: int = 0
    vibrato: tuple = (0, 0, 0, 0)


def fixed_text(text, size):
    return text.encode("ascii")[:size].ljust(size, b"\0")


def pack_cell(cell):
    """Packed form: a flag byte says which of the five fields follow."""
    fields = (cell.note, cell.instrument, cell.volume, cell.effect, cell.parameter)
    if all(fields):
        return bytes(fields)
    flags = 0x80
    body = bytearray()
    for bit, value in enumerate(fields):
        if value:
            flags |= 1 << bit
            body.append(value)
    return bytes([flags]) + bytes(body)


def pattern_bytes(rows):
    data = b"".join(pack_cell(cell) for row in rows for cell in row)
    header = struct.pack("<IBHH", PATTERN_HEADER_SIZE, 0, len(rows), len(data))
    return header + data


def delta_coded(samples):
    values = np.asarray(samples, dtype=np.int16)
    deltas = np.diff(values.astype(np.int32), prepend=0).astype(np.int16)
    return deltas.astype("<i2").tobytes()


def instrument_bytes(instrument):
    sample = instrument.sample
    points = list(instrument.volume_envelope)
    envelope = b"".join(struct.pack("<HH", x, y) for x, y in points)
    envelope = envelope.ljust(48, b"\0")
    vibrato_type, sweep, depth, rate = instrument.vibrato
    volume_type = (ENVELOPE_ON | ENVELOPE_SUSTAIN) if points else 0
    header = (struct.pack("<I", INSTRUMENT_HEADER_SIZE) + fixed_text(instrument.name, 22)
              + struct.pack("<BH", 0, 1) + struct.pack("<I", SAMPLE_HEADER_SIZE)
              + bytes(96) + envelope + bytes(48)
              + bytes([len(points), 0, instrument.sustain_point, 0, 0, 0, 0, 0, volume_type, 0,
                       vibrato_type, sweep, depth, rate])
              + struct.pack("<H", instrument.fadeout) + bytes(22))
    assert len(header) == INSTRUMENT_HEADER_SIZE
    byte_length = len(sample.data) * 2
    loop_type = LOOP_FORWARD if sample.loop_length else LOOP_NONE
    sample_header = (struct.pack("<III", byte_length, sample.loop_start * 2, sample.loop_length * 2)
                     + struct.pack("<BbBBbB", sample.volume, sample.finetune,
                                   loop_type | SIXTEEN_BIT, sample.panning, sample.relative_note, 0)
                     + fixed_text(sample.name, 22))
    assert len(sample_header) == SAMPLE_HEADER_SIZE
    return header + sample_header + delta_coded(sample.data)


def module_bytes(name, channels, tempo, bpm, order, restart, patterns, instruments):
    lead_in = (b"Extended Module: " + fixed_text(name, 20) + b"\x1a"
               + fixed_text("Vostrel generator", 20) + struct.pack("<H", 0x0104))
    song = struct.pack("<IHHHHHHHH", SONG_HEADER_SIZE, len(order), restart, channels,
                       len(patterns), len(instruments), LINEAR_FREQUENCIES, tempo, bpm)
    song += bytes(order).ljust(256, b"\0")
    assert len(lead_in) == 60 and len(song) == SONG_HEADER_SIZE
    body = b"".join(pattern_bytes(rows) for rows in patterns)
    body += b"".join(instrument_bytes(instrument) for instrument in instruments)
    return lead_in + song + body
