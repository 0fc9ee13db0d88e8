#!/usr/bin/env python3
"""Writes replays a hostile player might pass around into the folder given, for the fuzzers to
start from, each made from a kept game: its clock jumping by 2^62 counts, or by 2^56, in the
midst of play; its clicks repeated 10,000 and 200,000 times in one pass; its volumes out of
range. Their checksums are left wrong: the fuzzers make them right."""
import pathlib
import sys

SOURCE = pathlib.Path(__file__).resolve().parent.parent.parent
START, END = 182, 132  # the bytes of the fixed start and end of a replay of version 1
FIXED = 8 + 4 + START + END


def number(value):
    out = bytearray()
    while value >= 0x80:
        out.append(value & 0x7F | 0x80)
        value >>= 7
    return bytes(out + bytes([value]))


def zigzag(step):
    return (step << 1) ^ (step >> 63) & (2 ** 64 - 1)


def streams(game):
    at = FIXED
    events_size = int.from_bytes(game[at:at + 4], "little")
    events = game[at + 4:at + 4 + events_size]
    at += 4 + events_size
    readings_size = int.from_bytes(game[at:at + 4], "little")
    return events, game[at + 4:at + 4 + readings_size]


def jump(readings, step, after=500):
    """The readings, the clock moved on by step after so many of them, in the midst of play."""
    ends = [i + 1 for i, byte in enumerate(readings) if byte < 0x80]
    return readings[:ends[after]] + number(zigzag(step)) + readings[ends[after]:]


def replay(game, events, readings, fixed=None):
    fixed = fixed or game[:FIXED]
    return (fixed + len(events).to_bytes(4, "little") + events +
            len(readings).to_bytes(4, "little") + readings + bytes(4))


def main():
    out = pathlib.Path(sys.argv[1])
    game = (SOURCE / "tests/replays/ada.zrp").read_bytes()
    events, readings = streams(game)
    click = bytes([8]) + number(0) + number(200 << 16 | 200)  # left button down at (200, 200)
    loud = bytearray(game[:FIXED])
    loud[8 + 4 + START - 108:8 + 4 + START - 100] = (1000).to_bytes(4, "little") * 2
    seeds = {
        "clock-2-62": replay(game, events, jump(readings, 2 ** 62)),
        "clock-2-56": replay(game, events, jump(readings, 2 ** 56)),
        "clicks-10000": replay(game, click * 10000 + events, readings),
        "clicks-200000": replay(game, click * 200000 + events, readings),
        "volume-1000": replay(game, events, readings, bytes(loud)),
    }
    for name, data in seeds.items():
        (out / (name + ".zrp")).write_bytes(data)


if __name__ == "__main__":
    main()
