#!/usr/bin/env python3
"""Computes the factory EDID images the models carry and prints them as C++.

    make_edid_templates.py > ../EdidTemplates.cpp && clang-format -i ../EdidTemplates.cpp
    make_edid_templates.py --fixtures ../../../tests/data/edid

The second form writes each image as a binary file, plus two broken images
(blank.bin, bad-checksum.bin) that the EDID checks are tested against.
"""
import argparse
import math
import os
import sys

MANUFACTURER = "NVL"


def checksum(block):
    return (256 - sum(block) % 256) % 256


def dtd(clock_khz, hact, hblank, hfp, hsync, vact, vblank, vfp, vsync, size_mm, flags):
    """One 18-byte detailed timing descriptor."""
    clock = clock_khz // 10
    hmm, vmm = size_mm
    return bytes([
        clock & 0xFF, clock >> 8,
        hact & 0xFF, hblank & 0xFF, ((hact >> 8) << 4) | (hblank >> 8),
        vact & 0xFF, vblank & 0xFF, ((vact >> 8) << 4) | (vblank >> 8),
        hfp & 0xFF, hsync & 0xFF, ((vfp & 0xF) << 4) | (vsync & 0xF),
        ((hfp >> 8) << 6) | ((hsync >> 8) << 4) | ((vfp >> 4) << 2) | (vsync >> 4),
        hmm & 0xFF, vmm & 0xFF, ((hmm >> 8) << 4) | (vmm >> 8),
        0, 0, flags,
    ])


SYNC_HPOS_VNEG = 0x1A  # digital separate sync, the reduced-blanking polarities
SYNC_HPOS_VPOS = 0x1E
INTERLACED = 0x80


def cvt_vsync(hact, vact):
    for (w, h), lines in (((4, 3), 4), ((16, 9), 5), ((16, 10), 6), ((5, 4), 7), ((15, 9), 7)):
        if hact * h == vact * w:
            return lines
    return 10


def cvt_rb(hact, vact, refresh, size_mm):
    """A reduced-blanking timing by the VESA CVT formula (0.25 MHz clock steps)."""
    vsync = cvt_vsync(hact, vact)
    h_period_us = (1e6 / refresh - 460.0) / vact
    vblank = max(math.floor(460.0 / h_period_us) + 1, 3 + vsync + 6)
    htotal = hact + 160
    clock_khz = int(math.floor(refresh * (vact + vblank) * htotal / 1e6 / 0.25)) * 250
    return dtd(clock_khz, hact, 160, 48, 32, vact, vblank, 3, vsync, size_mm, SYNC_HPOS_VNEG)


def hd1080p(size_mm):
    return dtd(148500, 1920, 280, 88, 44, 1080, 45, 4, 5, size_mm, SYNC_HPOS_VPOS)


def hd1080i(size_mm):
    return dtd(74250, 1920, 280, 88, 44, 540, 22, 2, 5, size_mm, SYNC_HPOS_VPOS | INTERLACED)


def hd720p(size_mm):
    return dtd(74250, 1280, 370, 110, 40, 720, 30, 5, 5, size_mm, SYNC_HPOS_VPOS)


def text_descriptor(tag, text):
    # Texts shorter than the 13-byte field are padded with spaces.
    payload = text.encode("ascii")
    assert len(payload) <= 13, text
    return bytes([0, 0, 0, tag, 0]) + payload + b" " * (13 - len(payload))


def range_limits(vmin, vmax, hmin, hmax, max_clock_mhz):
    # Range limits only: no secondary timing formula.
    return bytes([0, 0, 0, 0xFD, 0, vmin, vmax, hmin, hmax, max_clock_mhz // 10, 0x01, 0x0A]
                 + [0x20] * 6)


def base_block(product, id_serial, week, year, size_cm, preferred, serial, limits, name):
    m = [ord(c) - ord("A") + 1 for c in MANUFACTURER]
    mfg = (m[0] << 10) | (m[1] << 5) | m[2]
    b = bytearray(128)
    b[0:8] = bytes([0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0])
    b[8:10] = bytes([mfg >> 8, mfg & 0xFF])
    b[10:12] = bytes([product & 0xFF, product >> 8])
    b[12:16] = bytes([id_serial, 0, 0, 0])
    b[16] = week
    b[17] = year - 1990
    b[18:20] = bytes([1, 4])
    b[20] = 0xA5  # digital, 8 bits per colour, DisplayPort
    b[21:23] = bytes(size_cm)
    b[23] = 120  # gamma 2.2
    # Active off, RGB and both YCbCr encodings, sRGB, native preferred timing, continuous frequency.
    b[24] = 0x3F
    b[25:35] = bytes([0xEE, 0x91, 0xA3, 0x54, 0x4C, 0x99, 0x26, 0x0F, 0x50, 0x54])  # sRGB
    b[35:38] = bytes([0x21, 0x08, 0x00])  # 640x480, 800x600, 1024x768 at 60 Hz
    standard = [(0xD1, 0xC0), (0x81, 0xC0), (0xA9, 0xC0), (0xB3, 0x00),
                (0x95, 0x00), (0x81, 0x80), (0x81, 0x00), (0x01, 0x01)]
    b[38:54] = bytes(v for pair in standard for v in pair)
    b[54:72] = preferred
    b[72:90] = text_descriptor(0xFF, serial + "\n")
    b[90:108] = limits
    b[108:126] = text_descriptor(0xFC, name)
    b[126] = 1
    b[127] = checksum(b[:127])
    return b


def cta_block(vics, timings):
    blocks = bytearray()
    blocks += bytes([0x40 | len(vics)]) + bytes(vics)       # video
    blocks += bytes([0x23, 0x09, 0x07, 0x07])               # audio: 2-channel LPCM
    blocks += bytes([0x83, 0x01, 0x00, 0x00])               # speakers: front left/right
    blocks += bytes([0xE2, 0x00, 0xCA])                     # video capability
    b = bytearray(128)
    b[0:4] = bytes([0x02, 0x03, 4 + len(blocks), 0xF1])
    b[4:4 + len(blocks)] = blocks
    at = 4 + len(blocks)
    for t in timings:
        b[at:at + 18] = t
        at += 18
    assert at <= 127, "extension block overflow"
    b[127] = checksum(b[:127])
    return b


QHD_MM = (597, 336)
UW_MM = (879, 366)


def qhd_template(product, name):
    preferred = cvt_rb(2560, 1440, 60, QHD_MM)
    base = base_block(product, 0x01, 1, 2016, (60, 34), preferred, "UP2160100001",
                      range_limits(24, 120, 15, 130, 300), name)
    ext = cta_block([16, 5, 4, 3, 2, 1],
                    [hd1080p(QHD_MM), hd1080i(QHD_MM), hd720p(QHD_MM),
                     cvt_rb(1280, 1440, 60, QHD_MM)])
    return base + ext


def uhd_template(preferred, max_clock):
    base = base_block(0x0530, 0x17, 1, 2017, (60, 34), preferred, "U8K140100001",
                      range_limits(24, 120, 15, 204, max_clock), "LM0530 SERIES")
    ext = cta_block([16, 4, 3, 1, 95],
                    [cvt_rb(3840, 2160, 30, QHD_MM), cvt_rb(2560, 1440, 60, QHD_MM),
                     cvt_rb(3840, 1080, 60, QHD_MM), cvt_rb(1920, 2160, 60, QHD_MM)])
    return base + ext


def uw_template(preferred, max_clock, extension_timings):
    base = base_block(0x0610, 0x17, 1, 2017, (88, 37), preferred, "V2W170100001",
                      range_limits(24, 75, 15, 135, max_clock), "LM0610\n     ")
    return base + cta_block([16, 4, 3, 1], extension_timings)


def templates():
    # The ultra-wide panel's own 60 Hz timing is not a CVT one.
    uw60 = dtd(395420, 3840, 104, 32, 32, 1600, 71, 3, 10, UW_MM, SYNC_HPOS_VNEG)
    uw_common = [cvt_rb(3840, 800, 60, UW_MM), cvt_rb(1920, 1600, 60, UW_MM),
                 cvt_rb(1920, 800, 60, UW_MM)]
    return [
        ("LM0510B", "LM0510_B", qhd_template(0x0510, "LM0510\n      ")),
        ("LM0520B", "LM0520_B", qhd_template(0x0520, "LM0520\n      ")),
        ("LM0530A", "LM0530_A", uhd_template(cvt_rb(3840, 2160, 60, QHD_MM), 600)),
        ("LM0530B", "LM0530_B", uhd_template(cvt_rb(3840, 2160, 30, QHD_MM), 300)),
        ("LM0610A", "LM0610_A", uw_template(uw60, 580,
                                            [cvt_rb(3840, 1600, 30, UW_MM),
                                             cvt_rb(3440, 1440, 60, UW_MM)] + uw_common)),
        ("LM0610B", "LM0610_B", uw_template(cvt_rb(3840, 1600, 30, UW_MM), 290,
                                            [cvt_rb(3440, 1440, 30, UW_MM)] + uw_common)),
    ]


def print_cpp(out):
    out.write("// Generated by tools/make_edid_templates.py; edit the generator, not the bytes.\n")
    out.write('#include "models/EdidTemplates.h"\n\nnamespace models::EdidTemplates {\n')
    for symbol, _, image in templates():
        assert len(image) == 256
        out.write(f"\nconst Image {symbol} = {{\n")
        for row in range(0, 256, 16):
            out.write("    " + ", ".join(f"0x{v:02X}" for v in image[row:row + 16]) + ",\n")
        out.write("};\n")
    out.write("\n} // namespace models::EdidTemplates\n")


def write_fixtures(folder):
    os.makedirs(folder, exist_ok=True)
    images = templates()
    for _, fixture, image in images:
        with open(os.path.join(folder, fixture + ".bin"), "wb") as f:
            f.write(image)
    with open(os.path.join(folder, "blank.bin"), "wb") as f:
        f.write(b"\xFF" * 256)
    broken = bytearray(images[0][2])
    broken[255] = (broken[255] + 1) % 256
    with open(os.path.join(folder, "bad-checksum.bin"), "wb") as f:
        f.write(broken)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--fixtures", metavar="DIR", help="write binary images into DIR")
    args = parser.parse_args()
    if args.fixtures:
        write_fixtures(args.fixtures)
    else:
        print_cpp(sys.stdout)


if __name__ == "__main__":
    main()
