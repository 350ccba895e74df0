#!/usr/bin/python3
"""Encrypts a plain .xls with RC4 CryptoAPI (BIFF8) or XOR obfuscation (BIFF8 or BIFF5), for
test files: a FILEPASS record goes in after the globals' BOF (the sheets' stream positions move
with it), then every record after it is encrypted as the spreadsheet application does. Only the
workbook stream is kept.

  /usr/bin/python3 xls_encrypt.py IN OUT PASSWORD [--key-bits 40|128] [--xor]
"""
import argparse
import hashlib
import os
import struct
import warnings

import olefile
from cryptography.hazmat.primitives.ciphers import Cipher, algorithms

from ooxml_encrypt import compound_file

warnings.filterwarnings("ignore")  # ARC4 is deprecated, and only used here for test files

BOF, FILEPASS, BOUNDSHEET = 0x0809, 0x002F, 0x0085
PLAIN = {BOF, FILEPASS, 0x0194, 0x0195, 0x00E1, 0x0196, 0x0138}


def records(stream):
    at = 0
    while at + 4 <= len(stream):
        kind, size = struct.unpack("<HH", stream[at:at + 4])
        yield kind, stream[at + 4:at + 4 + size]
        at += 4 + size


def block_key(password, salt, key_bits, block):
    h0 = hashlib.sha1(salt + password.encode("utf-16-le")).digest()
    key = hashlib.sha1(h0 + struct.pack("<I", block)).digest()[:key_bits // 8]
    return key + b"\0" * 11 if key_bits == 40 else key


def rc4(key):
    return Cipher(algorithms.ARC4(key), mode=None).encryptor()


def file_pass(password, salt, key_bits):
    csp = "Microsoft Enhanced Cryptographic Provider v1.0\0".encode("utf-16-le")
    header = struct.pack("<IIIIIIII", 0x04, 0, 0x6801, 0x8004, key_bits, 1, 0, 0) + csp
    verifier = os.urandom(16)
    sealed = rc4(block_key(password, salt, key_bits, 0)).update(
        verifier + hashlib.sha1(verifier).digest())
    return (struct.pack("<HHH", 1, 4, 2) + struct.pack("<II", 0x04, len(header)) + header +
            struct.pack("<I", 16) + salt + sealed[:16] + struct.pack("<I", 20) + sealed[16:])


XOR_INITIAL = [0xE1F0, 0x1D0F, 0xCC9C, 0x84C0, 0x110C, 0x0E10, 0xF1CE, 0x313E, 0x1872, 0xE139,
               0xD40F, 0x84F9, 0x280C, 0xA96A, 0x4EC3]
XOR_MATRIX = [
    0xAEFC, 0x4DD9, 0x9BB2, 0x2745, 0x4E8A, 0x9D14, 0x2A09, 0x7B61, 0xF6C2, 0xFDA5, 0xEB6B,
    0xC6F7, 0x9DCF, 0x2BBF, 0x4563, 0x8AC6, 0x05AD, 0x0B5A, 0x16B4, 0x2D68, 0x5AD0, 0x0375,
    0x06EA, 0x0DD4, 0x1BA8, 0x3750, 0x6EA0, 0xDD40, 0xD849, 0xA0B3, 0x5147, 0xA28E, 0x553D,
    0xAA7A, 0x44D5, 0x6F45, 0xDE8A, 0xAD35, 0x4A4B, 0x9496, 0x390D, 0x721A, 0xEB23, 0xC667,
    0x9CEF, 0x29FF, 0x53FE, 0xA7FC, 0x5FD9, 0x47D3, 0x8FA6, 0x0F6D, 0x1EDA, 0x3DB4, 0x7B68,
    0xF6D0, 0xB861, 0x60E3, 0xC1C6, 0x93AD, 0x377B, 0x6EF6, 0xDDEC, 0x45A0, 0x8B40, 0x06A1,
    0x0D42, 0x1A84, 0x3508, 0x6A10, 0xAA51, 0x4483, 0x8906, 0x022D, 0x045A, 0x08B4, 0x1168,
    0x76B4, 0xED68, 0xCAF1, 0x85C3, 0x1BA7, 0x374E, 0x6E9C, 0x3730, 0x6E60, 0xDCC0, 0xA9A1,
    0x4363, 0x86C6, 0x1DAD, 0x3331, 0x6662, 0xCCC4, 0x89A9, 0x0373, 0x06E6, 0x0DCC, 0x1021,
    0x2042, 0x4084, 0x8108, 0x1231, 0x2462, 0x48C4]
XOR_PAD = [0xBB, 0xFF, 0xFF, 0xBA, 0xFF, 0xFF, 0xB9, 0x80, 0x00, 0xBE, 0x0F, 0x00, 0xBF, 0x0F, 0x00]


def xor_key(pw):
    key = XOR_INITIAL[len(pw) - 1]
    element = 104
    for c in reversed(pw):
        for _ in range(7):
            if c & 0x40:
                key ^= XOR_MATRIX[element]
            c = (c << 1) & 0xFF
            element -= 1
    return key


def xor_verifier(pw):
    verifier = 0
    for b in list(reversed(pw)) + [len(pw)]:
        verifier = ((((verifier << 1) & 0x7FFF) | (1 if verifier & 0x4000 else 0)) ^ b)
    return verifier ^ 0xCE4B


def xor_array(pw):
    key = xor_key(pw)
    high, low = key >> 8, key & 0xFF
    ror = lambda a, b: (((a ^ b) >> 1) | ((a ^ b) << 7)) & 0xFF
    out = [0] * 16
    index = len(pw)
    if index % 2 == 1:
        out[index] = ror(XOR_PAD[0], high)
        index -= 1
        out[index] = ror(pw[-1], low)
    while index > 0:
        index -= 1
        out[index] = ror(pw[index], high)
        index -= 1
        out[index] = ror(pw[index], low)
    index, pad = 15, 15 - len(pw)
    while pad > 0:
        out[index] = ror(XOR_PAD[pad], high)
        out[index - 1] = ror(XOR_PAD[pad - 1], low)
        index, pad = index - 2, pad - 2
    return out


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("input")
    parser.add_argument("output")
    parser.add_argument("password")
    parser.add_argument("--key-bits", type=int, default=128)
    parser.add_argument("--xor", action="store_true")
    args = parser.parse_args()
    ole = olefile.OleFileIO(args.input)
    stream_name = "Workbook" if ole.exists("Workbook") else "Book"
    plain = ole.openstream(stream_name).read()
    biff8 = stream_name == "Workbook"
    salt = os.urandom(16)
    pw = args.password.encode("latin-1")[:15]
    if args.xor:
        fields = struct.pack("<HH", xor_key(pw), xor_verifier(pw))
        inserted = (struct.pack("<H", 0) if biff8 else b"") + fields
    else:
        inserted = file_pass(args.password, salt, args.key_bits)
    shift = 4 + len(inserted)

    out, masks = bytearray(), bytearray()  # masks: 1 where a byte is encrypted
    for index, (kind, data) in enumerate(records(plain)):
        if kind == BOUNDSHEET:
            data = struct.pack("<I", struct.unpack("<I", data[:4])[0] + shift) + data[4:]
        out += struct.pack("<HH", kind, len(data)) + data
        encrypted = index > 0 and kind not in PLAIN
        plain_head = 4 if kind == BOUNDSHEET else 0
        masks += b"\0" * (4 + plain_head) + (b"\1" if encrypted else b"\0") * (len(data) - plain_head)
        if index == 0:
            out += struct.pack("<HH", FILEPASS, len(inserted)) + inserted
            masks += b"\0" * shift

    if args.xor:
        array = xor_array(pw)
        at = 0
        for kind, data in records(bytes(out)):
            for i in range(at + 4, at + 4 + len(data)):
                if masks[i]:
                    rotated = ((out[i] << 5) | (out[i] >> 3)) & 0xFF
                    out[i] = rotated ^ array[(i + len(data)) % 16]
            at += 4 + len(data)
    else:
        for start in range(0, len(out), 1024):
            stream = rc4(block_key(args.password, salt, args.key_bits, start // 1024)).update(
                b"\0" * min(1024, len(out) - start))
            for i, k in enumerate(stream):
                if masks[start + i]:
                    out[start + i] ^= k
    with open(args.output, "wb") as f:
        f.write(compound_file([(stream_name, bytes(out))]))


if __name__ == "__main__":
    main()
