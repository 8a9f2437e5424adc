#!/usr/bin/env python3
"""Prints "<file>\t<a.b.c.d>" for each PE file given that has a version
resource: the file version of its VS_FIXEDFILEINFO, which Windows Installer
compares with the installed file's. Files without one print nothing.
Walks the PE resource directory (RT_VERSION) rather than searching the
bytes, so a string that merely looks like a version resource is not taken."""
import struct
import sys

RT_VERSION = 16
FIXED_SIGNATURE = 0xFEEF04BD


def file_version(data):
    if data[:2] != b"MZ":
        return None
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        return None
    sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = optional + (96 if magic == 0x10B else 112)
    resource_rva, resource_size = struct.unpack_from("<II", data, directories + 2 * 8)
    if not resource_rva or not resource_size:
        return None
    table = optional + optional_size
    spans = []
    for i in range(sections):
        size, rva, raw_size, raw = struct.unpack_from("<IIII", data, table + i * 40 + 8)
        spans.append((rva, max(size, raw_size), raw))

    def offset(rva):
        for start, size, raw in spans:
            if start <= rva < start + size:
                return rva - start + raw
        raise ValueError("RVA %#x is in no section" % rva)

    root = offset(resource_rva)

    def entries(directory):
        named, ids = struct.unpack_from("<HH", data, directory + 12)
        for i in range(named + ids):
            yield struct.unpack_from("<II", data, directory + 16 + i * 8)

    def first_leaf(entry):
        while entry & 0x80000000:
            entry = next(entries(root + (entry & 0x7FFFFFFF)))[1]
        return entry

    for name, entry in entries(root):
        if name == RT_VERSION and entry & 0x80000000:
            leaf = first_leaf(entry)
            rva, size = struct.unpack_from("<II", data, root + leaf)
            block = data[offset(rva):offset(rva) + size]
            # VS_VERSIONINFO: 3 WORDs, the key "VS_VERSION_INFO\0" in UTF-16,
            # padding to a 32-bit boundary, then VS_FIXEDFILEINFO.
            fixed = (6 + len("VS_VERSION_INFO\0") * 2 + 3) & ~3
            signature, _, ms, ls = struct.unpack_from("<IIII", block, fixed)
            if signature != FIXED_SIGNATURE:
                return None
            return "%d.%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
    return None


def main():
    for path in sys.argv[1:]:
        with open(path, "rb") as stream:
            version = file_version(stream.read())
        if version:
            print("%s\t%s" % (path, version))


if __name__ == "__main__":
    main()
