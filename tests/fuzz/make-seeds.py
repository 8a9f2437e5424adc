#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into corpus/<target>/, laid
out the way each target reads its bytes (see FuzzSupport.h, FakeBridge.h).
Run from anywhere; the files are committed, so only run it to change them.
The fixtures of tests/data/edid and tests/data/catalogue seed their targets
as they are."""
import os

here = os.path.dirname(os.path.abspath(__file__))
data = os.path.join(here, '..', 'data')


def write(target, name, content):
    folder = os.path.join(here, 'corpus', target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), 'wb') as f:
        f.write(content if isinstance(content, bytes) else content.encode())


def ddc(reply):
    check = 0x3E
    for b in reply[1:-1]:
        check ^= b
    reply[-1] = check
    return bytes(reply)


def vendor(reply):
    check = 0x01
    for b in reply[1:-1]:
        check ^= b
    reply[-1] = check
    return bytes(reply)


# The release catalogue.
ENTRY = '''  <{k} file="{f}">
    <Name>{d}</Name>
    <Version>{v}</Version>
    <Date>3/7/2018 2:05:00 PM</Date>
    <Note>release notes</Note>
    <CheckSum>{c}</CheckSum>
    <Folder>{fo}</Folder>
  </{k}>
'''


def catalogue(entries, prologue=''):
    return ('<?xml version="1.0" encoding="utf-8"?>\n' + prologue + '<Firmware>\n' +
            ''.join(ENTRY.format(**e) for e in entries) + '</Firmware>\n')


write('catalogue', 'two-entries.xml', catalogue([
    dict(k='Scalar', f='LM0420_M012.bin', d='LM0420_M012.bin', v='18.5', c='0x1a2b', fo='LM0420'),
    dict(k='Hub', f='hub_120.bin', d='hub_120.bin', v='1.20', c='a3f', fo='LM0420/Hub')]))
write('catalogue', 'unsafe-names.xml', catalogue([
    dict(k='Scalar', f='../../evil.bin', d='x.bin', v='1', c='0x00', fo='LM0420'),
    dict(k='Hub', f='ok.bin', d='..', v='1', c='0x00', fo='a/../../b'),
    dict(k='Hub', f='ok.bin', d='ok.bin', v='1', c='0x00', fo='/etc'),
    dict(k='Hub', f='C:evil.bin', d='ok.bin', v='1', c='0x00', fo='..\\up')]))
write('catalogue', 'loaded-names.xml', catalogue([
    dict(k='Hub', f='libHubbridge.so', d='x.bin', v='1', c='0x00', fo='.'),
    dict(k='Scalar', f='Config.ini', d='x.bin', v='1', c='0x00', fo='./'),
    dict(k='Tool', f='version.dll', d='x.bin', v='1', c='0x00', fo='.'),
    dict(k='Tool', f='fw.bin', d='x.bin', v='1', c='0x00', fo='platforms'),
    dict(k='Tool', f='fw.bin', d='x.bin', v='1', c='0x00', fo='Scalar//x/'),
    dict(k='Tool', f='COM1.bin', d='NUL', v='1', c='0x00', fo='Scalar'),
    dict(k='Tool', f='fw.bin. ', d='x.bin', v='1', c='0x00', fo='Scalar.')]))
write('catalogue', 'entities.xml', catalogue(
    [dict(k='Scalar', f='&a;/x.bin', d='x.bin', v='&c;', c='0x01', fo='&b;')],
    '<!DOCTYPE Firmware [\n <!ENTITY a "../..">\n <!ENTITY b "&a;&a;&a;&a;&a;&a;&a;&a;">\n'
    ' <!ENTITY c "&b;&b;&b;&b;&b;&b;&b;&b;">\n]>\n'))
write('catalogue', 'short-entry.xml',
      '<Firmware><Scalar file="a.bin"><Name>a.bin</Name><Version>1</Version></Scalar>'
      '<!-- c --><?pi x?>text</Firmware>')

# The capabilities string: a mode byte, then per read a control byte and
# the 32-byte reply.
CAPS = ('(prot(monitor)type(LCD)model(LM0420)cmds(01 02 03 0C E3 F3)vcp(02 04 05 08 10 12 '
        '14(05 08 0B) 16 18 1A 60(0F 11 12) C8 C9 DF)mccs_ver(2.2))')


def fragments(step=26):
    out = b''
    pieces = [CAPS[i:i + step] for i in range(0, len(CAPS), step)]
    for i, piece in enumerate(pieces):
        reply = [0] * 32
        offset = i * step
        reply[:5] = [0x6E, 0x9D, 0xE3, offset >> 8, offset & 0xFF]
        if i == len(pieces) - 1:
            reply[1] = 0x80 + 3 + len(piece)
        reply[5:5 + len(piece)] = piece.encode()
        out += bytes([0]) + ddc(reply)
    return out


write('capabilities', 'text.bin', bytes([0]) + CAPS.encode())
write('capabilities', 'window-reading.bin', bytes([1]) + fragments())
write('capabilities', 'inventory-reading.bin', bytes([2]) + fragments())
# Header 2 + 3 and trailer 1 (each byte minus 8).
write('capabilities', 'hub-layout.bin', bytes([3, 10, 11, 9, 0]) + fragments())
write('capabilities', 'refused-then-wrong-offset.bin',
      bytes([1, 1, 1, 8]) + bytes([0x6E, 0x9D, 0xE3, 0, 26]) + bytes(27))

# The scalar's replies: a mode byte, then what the mode reads.
write('replies', 'firmware-level.bin',
      bytes([0]) + ddc([0x6E, 0x88, 0x02, 0x00, 0xC9, 0x00, 0x00, 0xFF, 0x12, 0x03, 0]))
write('replies', 'write-accepted.bin', bytes([0, 0x6E, 0x83, 0xC1, 0x02, 0x01, 0x00]))
area = b''
for position in range(0, 256, 27):
    n = min(27, 256 - position)
    area += bytes([0]) + vendor([0x6E, 0x80 + n + 2, 0xC1, 0x09] + [0xAB] * n + [0])
write('replies', 'edid-read.bin', bytes([1, 0x05, 0x00, 0x01, 0x00]) + area)
write('replies', 'edid-read-corrupt-chunk.bin',
      bytes([1, 0x05, 0x00, 0x01, 0x00]) + area[:32] + bytes([0, 0x6E, 0x9D]) + bytes(30) + area[32:])
accepted = bytes([0, 0x6E, 0x83, 0xC1, 0x02, 0x01, 0x00])
refused = bytes([0, 0x6E, 0x83, 0xC1, 0x02, 0x00, 0x00])
write('replies', 'edid-write.bin', bytes([2, 0x05, 0x00, 0x00, 64]) + bytes(range(64)) + accepted * 2)
write('replies', 'edid-write-refused.bin',
      bytes([2, 0x05, 0x00, 0x01, 0x00]) + bytes(range(256)) + accepted + refused * 5)
serial = [0x6E, 0x8F, 0xF1, 0, 0] + list(b'UP2160100001') + [0]
write('replies', 'serial.bin', bytes([3, 10, 11, 9, 0, 0]) + ddc(serial))
write('replies', 'hub-version.bin', bytes([4, 0x01, 0x20, 0]))

# EDID images: the whole ones are the fixtures in tests/data/edid, which
# seed the target beside this corpus.
with open(os.path.join(data, 'edid', 'LM0510_B.bin'), 'rb') as f:
    edid = f.read()
write('edid', 'short.bin', edid[:100])


# Device IDs and registry contents: the ID as a length byte and text, then
# the subkey count and texts, then values (flag 1: text, 0: word length and
# bytes).
def text(s):
    b = s.encode()
    return bytes([len(b)]) + b


guid = '{4d36e96e-e325-11ce-bfc1-08002be10318}'
write('device_id', 'monitor.bin',
      text('MONITOR\\NVL0420\\' + guid + '\\0001') + bytes([2]) + text('UID1') + text('UID2') +
      bytes([1]) + text('{other}\\0000') + bytes([1]) + text(guid + '\\0001') +
      bytes([0, 0, 128]) + edid[:128])
write('device_id', 'trailing.bin', text('DISPLAY\\\\NVL0420\\') + bytes([0]))
write('device_id', 'short.bin', text('MONITOR'))
