#!/usr/bin/python3
"""Encrypts a plain BIFF8 .xls with RC4 CryptoAPI, for test files: a FILEPASS record goes in
after the globals' BOF (the sheets' stream positions move with it), then every record after it
is encrypted as the spreadsheet application does. Only the Workbook stream is kept.

  /usr/bin/python3 xls_encrypt.py IN OUT PASSWORD [--key-bits 40|128]
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


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("input")
    parser.add_argument("output")
    parser.add_argument("password")
    parser.add_argument("--key-bits", type=int, default=128)
    args = parser.parse_args()
    plain = olefile.OleFileIO(args.input).openstream("Workbook").read()
    salt = os.urandom(16)
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

    for start in range(0, len(out), 1024):
        stream = rc4(block_key(args.password, salt, args.key_bits, start // 1024)).update(
            b"\0" * min(1024, len(out) - start))
        for i, k in enumerate(stream):
            if masks[start + i]:
                out[start + i] ^= k
    with open(args.output, "wb") as f:
        f.write(compound_file([("Workbook", bytes(out))]))


if __name__ == "__main__":
    main()
