#!/usr/bin/python3
"""Encrypts an OOXML package (xlsx, xlsb) with a password into a compound file, for test files
and benchmarks: agile encryption with a chosen hash, key size and spin count, or standard
encryption (AES-ECB, SHA-1). Uses the system Python's cryptography module.

  /usr/bin/python3 ooxml_encrypt.py IN OUT PASSWORD [--standard] [--hash SHA256]
                                    [--key-bits 128] [--spin 100000]
"""
import argparse
import base64
import hashlib
import hmac
import os
import struct

from cryptography.hazmat.primitives.ciphers import Cipher, algorithms, modes

SEGMENT = 4096
BLOCK_VERIFIER_INPUT = bytes.fromhex("fea7d2763b4b9e79")
BLOCK_VERIFIER_VALUE = bytes.fromhex("d7aa0f6d3061344e")
BLOCK_KEY_VALUE = bytes.fromhex("146e0be7abacd0d6")
BLOCK_HMAC_KEY = bytes.fromhex("5fb2ad010cb9e1f6")
BLOCK_HMAC_VALUE = bytes.fromhex("a0677f02b22c8433")


def hasher(name):
    return {"SHA1": hashlib.sha1, "SHA256": hashlib.sha256, "SHA384": hashlib.sha384,
            "SHA512": hashlib.sha512}[name]


def fit(data, size):
    return data[:size] + b"\x36" * max(0, size - len(data))


def pad16(data):
    return data + b"\x00" * (-len(data) % 16)


def aes_cbc(key, iv, data):
    enc = Cipher(algorithms.AES(key), modes.CBC(iv)).encryptor()
    return enc.update(pad16(data)) + enc.finalize()


def aes_ecb(key, data):
    enc = Cipher(algorithms.AES(key), modes.ECB()).encryptor()
    return enc.update(pad16(data)) + enc.finalize()


def spun(h, salt, password, spin):
    digest = h(salt + password.encode("utf-16-le")).digest()
    for i in range(spin):
        digest = h(struct.pack("<I", i) + digest).digest()
    return digest


def agile(package, password, hash_name, key_bits, spin):
    h = hasher(hash_name)
    hash_size = h().digest_size
    key_bytes = key_bits // 8
    key_salt, password_salt = os.urandom(16), os.urandom(16)
    secret = os.urandom(key_bytes)

    parts = [struct.pack("<Q", len(package))]
    for i in range(0, len(package), SEGMENT):
        iv = fit(h(key_salt + struct.pack("<I", i // SEGMENT)).digest(), 16)
        parts.append(aes_cbc(secret, iv, package[i:i + SEGMENT]))
    stream = b"".join(parts)

    hmac_key = os.urandom(hash_size)
    hmac_value = hmac.new(hmac_key, stream, h).digest()
    enc_hmac_key = aes_cbc(secret, fit(h(key_salt + BLOCK_HMAC_KEY).digest(), 16), hmac_key)
    enc_hmac_value = aes_cbc(secret, fit(h(key_salt + BLOCK_HMAC_VALUE).digest(), 16), hmac_value)

    base = spun(h, password_salt, password, spin)
    def key_for(block):
        return fit(h(base + block).digest(), key_bytes)
    verifier = os.urandom(16)
    enc_input = aes_cbc(key_for(BLOCK_VERIFIER_INPUT), password_salt, verifier)
    enc_value = aes_cbc(key_for(BLOCK_VERIFIER_VALUE), password_salt, h(verifier).digest())
    enc_key = aes_cbc(key_for(BLOCK_KEY_VALUE), password_salt, secret)

    b64 = lambda b: base64.b64encode(b).decode()
    params = (f'saltSize="16" blockSize="16" keyBits="{key_bits}" hashSize="{hash_size}" '
              f'cipherAlgorithm="AES" cipherChaining="ChainingModeCBC" '
              f'hashAlgorithm="{hash_name}"')
    xml = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\r\n'
           '<encryption xmlns="http://schemas.microsoft.com/office/2006/encryption" '
           'xmlns:p="http://schemas.microsoft.com/office/2006/keyEncryptor/password">'
           f'<keyData {params} saltValue="{b64(key_salt)}"/>'
           f'<dataIntegrity encryptedHmacKey="{b64(enc_hmac_key)}" '
           f'encryptedHmacValue="{b64(enc_hmac_value)}"/>'
           '<keyEncryptors><keyEncryptor '
           'uri="http://schemas.microsoft.com/office/2006/keyEncryptor/password">'
           f'<p:encryptedKey spinCount="{spin}" {params} saltValue="{b64(password_salt)}" '
           f'encryptedVerifierHashInput="{b64(enc_input)}" '
           f'encryptedVerifierHashValue="{b64(enc_value)}" '
           f'encryptedKeyValue="{b64(enc_key)}"/>'
           '</keyEncryptor></keyEncryptors></encryption>')
    info = struct.pack("<HHI", 4, 4, 0x40) + xml.encode()
    return info, stream


def standard(package, password):
    salt = os.urandom(16)
    h = spun(hashlib.sha1, salt, password, 50000)
    final = hashlib.sha1(h + struct.pack("<I", 0)).digest()
    x1 = hashlib.sha1(bytes(b ^ 0x36 for b in final) + b"\x36" * 44).digest()
    x2 = hashlib.sha1(bytes(b ^ 0x5C for b in final) + b"\x5c" * 44).digest()
    key = (x1 + x2)[:16]
    verifier = os.urandom(16)
    csp = "Microsoft Enhanced RSA and AES Cryptographic Provider\0".encode("utf-16-le")
    header = struct.pack("<IIIIIIII", 0x24, 0, 0x660E, 0x8004, 128, 0x18, 0, 0) + csp
    info = struct.pack("<HHI", 4, 2, 0x24) + struct.pack("<I", len(header)) + header
    info += struct.pack("<I", 16) + salt + aes_ecb(key, verifier)
    info += struct.pack("<I", 20) + aes_ecb(key, hashlib.sha1(verifier).digest())
    stream = struct.pack("<Q", len(package)) + aes_ecb(key, package)
    return info, stream


def compound_file(streams):
    """A compound file holding the streams: those under 4096 bytes in the mini stream, the others
    in regular sectors; version 3 (512-byte sectors) up to about 7 MB, version 4 (4096-byte
    sectors) above."""
    large = sum(len(data) for _, data in streams) > 6_000_000
    sector, mini = (4096, 64) if large else (512, 64)
    free, end, fat_mark = 0xFFFFFFFF, 0xFFFFFFFE, 0xFFFFFFFD
    small = [len(data) < 4096 for _, data in streams]

    # The mini stream and its allocation table.
    mini_fat, mini_stream, mini_starts = [], b"", []
    for (_, data), is_small in zip(streams, small):
        if not is_small or not data:
            mini_starts.append(end)
            continue
        count = (len(data) + mini - 1) // mini
        first = len(mini_fat)
        mini_starts.append(first)
        mini_fat.extend(range(first + 1, first + count))
        mini_fat.append(end)
        mini_stream += data + b"\0" * (-len(data) % mini)
    mini_fat_bytes = struct.pack(f"<{len(mini_fat)}I", *mini_fat) if mini_fat else b""
    mini_fat_bytes += b"\xff" * (-len(mini_fat_bytes) % sector)

    # Regular sector chains: directory, mini FAT, mini stream, then the large streams.
    chains = [sector, len(mini_fat_bytes), len(mini_stream)]
    chains += [len(data) for (_, data), is_small in zip(streams, small) if not is_small]
    counts = [(n + sector - 1) // sector for n in chains]
    fat_count = 1
    while fat_count * (sector // 4) < sum(counts) + fat_count:
        fat_count += 1
    if fat_count > 109:
        raise SystemExit("package too large for this writer")
    fat = [fat_mark] * fat_count
    starts = []
    for count in counts:
        first = len(fat)
        starts.append(first if count else end)
        fat.extend(range(first + 1, first + count))
        if count:
            fat.append(end)
    fat += [free] * (fat_count * (sector // 4) - len(fat))
    directory_sid, mini_fat_sid, mini_stream_sid = starts[:3]
    large_starts = iter(starts[3:])
    stream_starts = [mini_starts[i] if small[i] else next(large_starts)
                     for i in range(len(streams))]

    def entry(name, kind, right, child, start, size):
        encoded = (name + "\0").encode("utf-16-le")
        return (encoded.ljust(64, b"\0") + struct.pack("<HBB", len(encoded), kind, 1) +
                struct.pack("<III", free, right, child) + b"\0" * 36 +
                struct.pack("<IQ", start, size))
    # Names sort by length first; the siblings hang off each other to the right.
    names = [name for name, _ in streams]
    order = sorted(range(len(streams)), key=lambda i: (len(names[i]), names[i].upper()))
    entries = {0: entry("Root Entry", 5, free, order[0] + 1, mini_stream_sid, len(mini_stream))}
    for rank, i in enumerate(order):
        right = order[rank + 1] + 1 if rank + 1 < len(order) else free
        entries[i + 1] = entry(names[i], 2, right, free, stream_starts[i], len(streams[i][1]))
    directory = b"".join(entries[k] for k in sorted(entries)).ljust(sector, b"\0")

    difat = list(range(fat_count)) + [free] * (109 - fat_count)
    header = (bytes.fromhex("d0cf11e0a1b11ae1") + b"\0" * 16 +
              struct.pack("<HHHHH", 0x3E, 4 if large else 3, 0xFFFE, 12 if large else 9, 6) +
              b"\0" * 6 +
              struct.pack("<IIIIIIIII", 1 if large else 0, fat_count, directory_sid, 0, 4096,
                          mini_fat_sid, counts[1], end, 0) +
              struct.pack("<109I", *difat)).ljust(sector, b"\0")
    body = [header, struct.pack(f"<{len(fat)}I", *fat)]
    for data in [directory, mini_fat_bytes, mini_stream] + [
            d for (_, d), is_small in zip(streams, small) if not is_small]:
        body += [data, b"\0" * (-len(data) % sector)]
    return b"".join(body)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("input")
    parser.add_argument("output")
    parser.add_argument("password")
    parser.add_argument("--standard", action="store_true")
    parser.add_argument("--hash", default="SHA512")
    parser.add_argument("--key-bits", type=int, default=256)
    parser.add_argument("--spin", type=int, default=100000)
    args = parser.parse_args()
    package = open(args.input, "rb").read()
    if args.standard:
        info, stream = standard(package, args.password)
    else:
        info, stream = agile(package, args.password, args.hash, args.key_bits, args.spin)
    with open(args.output, "wb") as out:
        out.write(compound_file([("EncryptionInfo", info), ("EncryptedPackage", stream)]))


if __name__ == "__main__":
    main()
