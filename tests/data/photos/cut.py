#!/usr/bin/env python3
# Shortens the main image data of a camera JPEG to keep the test photos small, keeping its
# metadata and what follows the main image (MPF images, previews) intact: the offsets that point
# past the cut (the MPF image list, Sony's preview pointer) are moved back by the bytes cut.
#   cut.py IN OUT [KEEP]   KEEP: bytes of image data kept at each end of the cut (default 2000)
import struct, sys

data = bytearray(open(sys.argv[1], 'rb').read())
keep = int(sys.argv[3]) if len(sys.argv) > 3 else 2000

def segments(d):
    i = 2
    while d[i] == 0xff:
        marker = d[i + 1]
        if marker == 0xda:
            yield marker, i, None
            return
        length = struct.unpack('>H', d[i + 2:i + 4])[0]
        yield marker, i, d[i + 4:i + 2 + length]
        i += 2 + length

def ifd_entries(d, base, offset, order):
    count = struct.unpack(order + 'H', d[base + offset:base + offset + 2])[0]
    for k in range(count):
        at = base + offset + 2 + 12 * k
        tag, typ, cnt, val = struct.unpack(order + 'HHII', d[at:at + 12])
        yield tag, typ, cnt, val, at

sos = exif = mpf = None
for marker, at, payload in segments(data):
    if marker == 0xda:
        sos = at
    elif marker == 0xe1 and payload.startswith(b'Exif\0\0') and exif is None:
        exif = at + 10
    elif marker == 0xe2 and payload.startswith(b'MPF\0'):
        mpf = at + 8
main_end = len(data)
mp_patch = []
if mpf is not None:
    order = '<' if data[mpf:mpf + 2] == b'II' else '>'
    first = struct.unpack(order + 'I', data[mpf + 4:mpf + 8])[0]
    for tag, typ, cnt, val, at in ifd_entries(data, mpf, first, order):
        if tag == 0xb002:
            for e in range(cnt // 16):
                pos = mpf + val + 16 * e + 8
                off = struct.unpack(order + 'I', data[pos:pos + 4])[0]
                if off:
                    main_end = min(main_end, mpf + off)
                    mp_patch.append((pos, order))
sony_patch = []
if exif is not None:
    order = '<' if data[exif:exif + 2] == b'II' else '>'
    ifd0 = struct.unpack(order + 'I', data[exif + 4:exif + 8])[0]
    for tag, typ, cnt, val, at in ifd_entries(data, exif, ifd0, order):
        if tag != 0x8769:
            continue
        for t2, ty2, c2, v2, a2 in ifd_entries(data, exif, val, order):
            if t2 == 0x927c and data[exif + v2:exif + v2 + 9] == b'SONY DSC ':
                for t3, ty3, c3, v3, a3 in ifd_entries(data, exif, v2 + 12, order):
                    if ty3 == 7 and c3 > 4 and exif + v3 >= main_end:
                        sony_patch.append((a3 + 8, order))
start = sos + 2 + keep
end = main_end - keep
if end <= start:
    sys.exit('nothing to cut')
cut = end - start
for pos, order in mp_patch + sony_patch:
    off = struct.unpack(order + 'I', data[pos:pos + 4])[0]
    data[pos:pos + 4] = struct.pack(order + 'I', off - cut)
del data[start:end]
open(sys.argv[2], 'wb').write(data)
print('%s: %d bytes of image data cut, %d MPF and %d Sony offsets moved' %
      (sys.argv[2], cut, len(mp_patch), len(sony_patch)))
