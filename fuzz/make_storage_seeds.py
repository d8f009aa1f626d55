#!/usr/bin/env python3
"""Writes the small seed inputs of the storage harnesses into corpus/<name>/.

The harnesses pad inputs that start with 'F' (pro.dct), 'B' (.bkm) or 'K' (.kyg, magic
added) to the full file size, so the seeds stay a few kilobytes."""
import os
import struct

KEY = (0x6B4C6556, 0x4D6E6941, 0x6F726341, 0x3179654B)  # the program's macro key
M = 0xFFFFFFFF


def tea_encrypt(data):
    out = bytearray()
    for i in range(0, len(data) - len(data) % 8, 8):
        v0, v1 = struct.unpack_from("<II", data, i)
        s = 0
        for _ in range(32):
            s = (s + 0x9E3779B9) & M
            v0 = (v0 + ((((v1 << 4) + KEY[0]) & M) ^ ((v1 + s) & M) ^ (((v1 >> 5) + KEY[1]) & M))) & M
            v1 = (v1 + ((((v0 << 4) + KEY[2]) & M) ^ ((v0 + s) & M) ^ (((v0 >> 5) + KEY[3]) & M))) & M
        out += struct.pack("<II", v0, v1)
    return bytes(out) + data[len(out):]


def macro(mid, name, events, buffer_id=0):
    rec = bytearray(1480)
    struct.pack_into("<IIIIi", rec, 0, 0xFAFB88A0, mid, 0, 1, 0)
    rec[20:20 + 2 * len(name)] = name.encode("utf-16-le")
    rec[100] = buffer_id
    struct.pack_into("<H", rec, 104, 1)
    for i, (code, param, press, delay) in enumerate(events):
        struct.pack_into("<BBHI", rec, 106 + 8 * i, code, param, press, delay)
    return bytes(rec)


def rotate_right2(data):
    return bytes(((b >> 2) | (b << 6)) & 0xFF for b in data)


def profile(pid, name, macro_key=None):
    rec = bytearray(56256)
    struct.pack_into("<II", rec, 4, 0xFCFB7797, pid)
    rec[532:532 + 2 * len(name)] = name.encode("utf-16-le")
    if macro_key:
        cls, mid = macro_key
        # mode 0, key set 0, key 2 of the mouse region
        struct.pack_into("<I", rec, 24476 + 20 + 12 + 2 * 88, (cls << 24))
        struct.pack_into("<I", rec, 24476 + 20 + 12 + 2 * 88 + 24, mid)
    return bytes(rec)


def trim(data):
    return data.rstrip(b"\0")


def write(name, fname, data):
    d = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", name)
    os.makedirs(d, exist_ok=True)
    with open(os.path.join(d, fname), "wb") as f:
        f.write(data)


events = [(0x41, 0, 1, 30), (0x41, 0, 0, 0), (240, 0, 1, 5), (240, 0, 0, 0), (245, 3, 0, 0)]
m = macro(0x123456, "Seed", events)
write("macro_file", "enciphered.mcf", tea_encrypt(m))
write("macro_file", "plain.mcf", m)
write("macro_file", "legacy.mcf", rotate_right2(m))
write("macro_file", "full_events.mcf", tea_encrypt(macro(7, "x" * 39, [(0x41, 0, 1, 1)] * 171)))

write("profile_store", "one_slot", b"F" + trim(profile(0x1234, "Seed")))
write("profile_store", "two_slots", b"F" + profile(1, "A") + trim(profile(2, "B")))
write("profile_store", "wrong_size", b"\0" * 100)

bkm_macro = tea_encrypt(macro(0x55, "Combo", events, 5))
bullet = tea_encrypt(macro(0x66, "../Spray", [(252, 0, 1, 10)], 12))
write("bkm", "one_macro", b"B" + profile(9, "P", (5, 0x55)) + bkm_macro)
write("bkm", "bullet_and_legacy",
      b"B" + profile(9, "P", (12, 0x66)) + bullet + rotate_right2(macro(0x77, "Old", events, 5)))
write("bkm", "not_a_profile", b"B" + b"\1" * 64)

keys = bytearray(3 * 21 * 88)
struct.pack_into("<II", keys, 2 * 88, 5 << 24, 0)
struct.pack_into("<I", keys, 2 * 88 + 24, 0x55)
write("kyg", "one_macro", b"K" + bkm_macro + b"\0" * (1480 * 14) + bytes(keys))
write("kyg", "bullet_slot", b"K" + bullet)
write("kyg", "no_magic", b"\0" * 64)
