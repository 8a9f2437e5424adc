#!/usr/bin/env python3
"""Writes the demo update site: the committed pages of demo/site/ plus the
firmware images its release catalogue lists, generated here so no binaries
live in the repository. Fails when a catalogue checksum does not match the
image it names, so the catalogue and the images cannot drift apart.

    make-site.py OUTDIR   site under OUTDIR/dept-pmsd/FW2/ and .../FW2_Test/
    make-site.py --check  only compare the catalogue with the images
"""
import shutil
import sys
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


def write(out):
    for base in BASES:
        folder = Path(out) / base
        if folder.exists():
            shutil.rmtree(folder)
        shutil.copytree(SITE, folder)
        for name, make in IMAGES.items():
            (folder / "LM0420" / name).write_bytes(make())


def main(argv):
    if len(argv) != 2 or argv[1] in ("-h", "--help"):
        print(__doc__.strip(), file=sys.stderr)
        return 2
    problems = check()
    for problem in problems:
        print(f"make-site.py: {problem}", file=sys.stderr)
    if problems:
        return 1
    if argv[1] != "--check":
        write(argv[1])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
