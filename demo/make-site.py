#!/usr/bin/env python3
"""Writes the demo update site: the committed pages of demo/site/ plus the
firmware images its release catalogue lists, generated here so no binaries
live in the repository. Fails when a catalogue checksum does not match the
image it names, so the catalogue and the images cannot drift apart.

    make-site.py [--key KEYFILE] OUTDIR
                          site under OUTDIR/dept-pmsd/FW2/ and .../FW2_Test/;
                          with a key (or PANELUP_DEMO_SITE_KEY naming one)
                          every entry gets its sha256 and the catalogue a
                          minisign signature beside it
    make-site.py --check  only compare the catalogue with the images
    make-site.py --make-key DIR
                          the demo site's key, made once per build folder:
                          DIR/demo-site.key (secret, never committed) and
                          DIR/DemoSiteKey.h (the public key the demo trusts)
"""
import base64
import hashlib
import os
import re
import shutil
import sys
import time
import xml.etree.ElementTree as ElementTree
from pathlib import Path

HERE = Path(__file__).resolve().parent
SITE = HERE / "site"
BASES = ("dept-pmsd/FW2", "dept-pmsd/FW2_Test")


def filled(size, seed, header):
    """Bytes that look like an image: a text header, then a fixed
    pseudo-random fill, the same on every machine."""
    data = bytearray(size)
    state = seed
    for i in range(size):
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        data[i] = (state >> 16) & 0xFF
    data[: len(header)] = header
    return data


def scalar_image():
    # M012 REV 5: newer than the demo monitor's M012 REV 3.
    data = filled(0x20000, 0x0420, b"LM0420 scalar firmware M012 REV 5 (demo)\0")
    data[0xF900] = 0x12
    data[0xF901] = 0x05
    return bytes(data)


def hub_image():
    # 1.22: newer than the demo monitor's hub 1.20.
    data = filled(0x8000, 0x0122, b"LM0420 hub firmware 1.22 (demo)\0")
    data[0x7EF9] = 0x01
    data[0x7EFA] = 0x22
    return bytes(data)


IMAGES = {
    "LM0420_M012R05.bin": scalar_image,
    "LM0420_Hub_0122.bin": hub_image,
}


def byte_sum(data):
    return sum(data) & 0xFFFF


def catalogue_entries(model):
    """(file attribute, checksum text) of every entry of a model's catalogue."""
    root = ElementTree.parse(SITE / model / f"{model}.xml").getroot()
    for entry in root:
        fields = list(entry)
        yield entry.get("file", ""), (fields[4].text or "").strip() if len(fields) >= 6 else ""


def check(model="LM0420"):
    problems = []
    for name, checksum in catalogue_entries(model):
        make = IMAGES.get(name)
        if make is None:
            problems.append(f"{name}: the catalogue lists a file this script does not make")
            continue
        wanted = byte_sum(make())
        try:
            listed = int(checksum, 16)
        except ValueError:
            listed = None
        if listed != wanted:
            problems.append(f"{name}: catalogue checksum {checksum!r}, image sums to {wanted:#06x}")
    return problems


def make_key(folder):
    """A new Ed25519 key unless the folder has one; the header only when it
    changes, so the demo is not rebuilt for nothing."""
    from cryptography.hazmat.primitives.asymmetric.ed25519 import Ed25519PrivateKey
    from cryptography.hazmat.primitives import serialization

    folder = Path(folder)
    folder.mkdir(parents=True, exist_ok=True)
    key_file = folder / "demo-site.key"
    if not key_file.exists():
        descriptor = os.open(key_file, os.O_WRONLY | os.O_CREAT | os.O_EXCL, 0o600)
        with os.fdopen(descriptor, "w") as out:
            out.write(f"id {os.urandom(8).hex()}\nseed {os.urandom(32).hex()}\n")
    key_id, seed = read_key(key_file)
    public = Ed25519PrivateKey.from_private_bytes(seed).public_key().public_bytes(
        serialization.Encoding.Raw, serialization.PublicFormat.Raw)
    line = base64.b64encode(b"Ed" + key_id + public).decode()
    header = folder / "DemoSiteKey.h"
    text = ("#pragma once\n// The demo site's public key, made at build time by make-site.py.\n"
            f'#define PANELUP_DEMO_SITE_KEY "{line}"\n')
    if not header.exists() or header.read_text() != text:
        header.write_text(text)


def read_key(path):
    fields = dict(line.split(" ", 1) for line in Path(path).read_text().split("\n") if line)
    return bytes.fromhex(fields["id"]), bytes.fromhex(fields["seed"])


def minisign(data, file_name, key_path):
    """A detached signature as `minisign -S` writes it by default: prehashed
    with BLAKE2b-512, the trusted comment naming the time and the file."""
    from cryptography.hazmat.primitives.asymmetric.ed25519 import Ed25519PrivateKey

    key_id, seed = read_key(key_path)
    key = Ed25519PrivateKey.from_private_bytes(seed)
    signature = key.sign(hashlib.blake2b(data).digest())
    comment = f"timestamp:{int(time.time())}\tfile:{file_name}\thashed".encode()
    return (b"untrusted comment: signature from the demo site key\n"
            + base64.b64encode(b"ED" + key_id + signature) + b"\n"
            + b"trusted comment: " + comment + b"\n"
            + base64.b64encode(key.sign(signature + comment)) + b"\n")


def write(out, key_path=None):
    for base in BASES:
        folder = Path(out) / base
        if folder.exists():
            shutil.rmtree(folder)
        shutil.copytree(SITE, folder)
        for name, make in IMAGES.items():
            (folder / "LM0420" / name).write_bytes(make())
        if key_path:
            catalogue = folder / "LM0420" / "LM0420.xml"
            text = catalogue.read_text(encoding="utf-8")
            for name, make in IMAGES.items():
                digest = hashlib.sha256(make()).hexdigest()
                text = re.sub(f'file="{re.escape(name)}"', f'file="{name}" sha256="{digest}"', text)
            data = text.encode("utf-8")
            catalogue.write_bytes(data)
            (folder / "LM0420" / "LM0420.xml.minisig").write_bytes(
                minisign(data, "LM0420.xml", key_path))


def main(argv):
    if len(argv) == 3 and argv[1] == "--make-key":
        make_key(argv[2])
        return 0
    key_path = os.environ.get("PANELUP_DEMO_SITE_KEY") or None
    if len(argv) == 4 and argv[1] == "--key":
        key_path = argv[2]
        argv = argv[:1] + argv[3:]
    if len(argv) != 2 or argv[1] in ("-h", "--help"):
        print(__doc__.strip(), file=sys.stderr)
        return 2
    problems = check()
    for problem in problems:
        print(f"make-site.py: {problem}", file=sys.stderr)
    if problems:
        return 1
    if argv[1] != "--check":
        write(argv[1], key_path)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
