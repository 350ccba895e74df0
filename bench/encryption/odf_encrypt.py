#!/usr/bin/python3
"""Encrypts an OpenDocument spreadsheet with a password as LibreOffice does (AES-256-CBC, a
SHA-256 start key, PBKDF2 with HMAC-SHA1, a SHA-256 checksum of the first 1024 bytes), with a
chosen iteration count, for benchmarks. Each part gets a salt of its own, as LibreOffice gives
it, or with --shared-salt one salt for every part. Uses the system Python's cryptography module.

  /usr/bin/python3 odf_encrypt.py IN OUT PASSWORD [--iterations 100000] [--shared-salt]
"""
import argparse
import base64
import hashlib
import os
import zipfile
import zlib

from cryptography.hazmat.primitives import padding
from cryptography.hazmat.primitives.ciphers import Cipher, algorithms, modes

MANIFEST_NS = "urn:oasis:names:tc:opendocument:xmlns:manifest:1.0"
KEEP_PLAIN = ("mimetype", "META-INF/manifest.xml")


def encrypt(data, password, iterations, salt):
    deflater = zlib.compressobj(9, zlib.DEFLATED, -zlib.MAX_WBITS)
    compressed = deflater.compress(data) + deflater.flush()
    start_key = hashlib.sha256(password.encode("utf-8")).digest()
    key = hashlib.pbkdf2_hmac("sha1", start_key, salt, iterations, 32)
    iv = os.urandom(16)
    padder = padding.PKCS7(128).padder()
    padded = padder.update(compressed) + padder.finalize()
    encryptor = Cipher(algorithms.AES(key), modes.CBC(iv)).encryptor()
    stored = encryptor.update(padded) + encryptor.finalize()
    checksum = hashlib.sha256(compressed[:1024]).digest()
    return stored, iv, checksum


def entry(name, media_type, size, iv, checksum, iterations, salt):
    b64 = lambda b: base64.b64encode(b).decode()
    return (f'<manifest:file-entry manifest:full-path="{name}" manifest:media-type="{media_type}" '
            f'manifest:size="{size}"><manifest:encryption-data manifest:checksum-type='
            f'"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0#sha256-1k" '
            f'manifest:checksum="{b64(checksum)}"><manifest:algorithm manifest:algorithm-name='
            f'"http://www.w3.org/2001/04/xmlenc#aes256-cbc" '
            f'manifest:initialisation-vector="{b64(iv)}"/><manifest:start-key-generation '
            f'manifest:start-key-generation-name="http://www.w3.org/2000/09/xmldsig#sha256" '
            f'manifest:key-size="32"/><manifest:key-derivation manifest:key-derivation-name='
            f'"PBKDF2" manifest:key-size="32" manifest:iteration-count="{iterations}" '
            f'manifest:salt="{b64(salt)}"/></manifest:encryption-data></manifest:file-entry>')


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("input")
    parser.add_argument("output")
    parser.add_argument("password")
    parser.add_argument("--iterations", type=int, default=100000)
    parser.add_argument("--shared-salt", action="store_true")
    args = parser.parse_args()
    shared = os.urandom(16)
    entries = []
    with zipfile.ZipFile(args.input) as source, zipfile.ZipFile(args.output, "w") as out:
        out.writestr(zipfile.ZipInfo("mimetype"), source.read("mimetype"), zipfile.ZIP_STORED)
        for info in source.infolist():
            if info.filename in KEEP_PLAIN or info.filename.endswith("/"):
                continue
            data = source.read(info.filename)
            salt = shared if args.shared_salt else os.urandom(16)
            stored, iv, checksum = encrypt(data, args.password, args.iterations, salt)
            out.writestr(zipfile.ZipInfo(info.filename), stored, zipfile.ZIP_STORED)
            media = "text/xml" if info.filename.endswith(".xml") else "application/octet-stream"
            entries.append(entry(info.filename, media, len(data), iv, checksum, args.iterations,
                                 salt))
        manifest = (f'<?xml version="1.0" encoding="UTF-8"?><manifest:manifest xmlns:manifest='
                    f'"{MANIFEST_NS}" manifest:version="1.2"><manifest:file-entry '
                    f'manifest:full-path="/" manifest:media-type='
                    f'"application/vnd.oasis.opendocument.spreadsheet"/>' + "".join(entries) +
                    "</manifest:manifest>")
        out.writestr("META-INF/manifest.xml", manifest, zipfile.ZIP_DEFLATED)


if __name__ == "__main__":
    main()
