#!/usr/bin/env python3
"""Writes selvane.ico: a folder with a check mark, 32x32 and 16x16, each in
16 and in 256 colours. Run it again only to change the picture."""
import struct
import sys

# The 16 standard Windows colours; the 256-colour images use them too.
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
CLEAR, OUTLINE, BODY, TAB, CHECK = None, 8, 11, 3, 2


def picture(size):
    """Colour index per pixel, top row first; None is transparent."""
    s = size / 32.0
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            fx, fy = (x + 0.5) / s, (y + 0.5) / s
            colour = CLEAR
            if 3 <= fx <= 14 and 5 <= fy <= 9:
                colour = TAB
            if 3 <= fx <= 29 and 8 <= fy <= 27:
                edge = fx < 4.5 or fx > 27.5 or fy < 9.5 or fy > 25.5
                colour = OUTLINE if edge else BODY
            # A check mark across the folder.
            if 12 <= fx <= 26 and 10 <= fy <= 24:
                if abs((fy - 18) - (fx - 12)) < 2.2 and fx <= 17:
                    colour = CHECK
                if abs((fy - 23) + (fx - 17)) < 2.2 and fx >= 16:
                    colour = CHECK
            row.append(colour)
        rows.append(row)
    return rows


def dib(size, bits):
    pixels = picture(size)
    colours = 1 << bits
    palette = VGA + [(0, 0, 0)] * (colours - len(VGA))
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, bits, 0, 0, 0, 0, colours, 0)
    body = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in palette)
    xor_stride = ((size * bits + 31) // 32) * 4
    and_stride = ((size + 31) // 32) * 4
    xor, mask = b'', b''
    for row in reversed(pixels):  # bottom-up
        indexes = [0 if c is None else c for c in row]
        if bits == 4:
            line = bytes((indexes[i] << 4) | indexes[i + 1] for i in range(0, size, 2))
        else:
            line = bytes(indexes)
        xor += line.ljust(xor_stride, b'\0')
        bitsrow = 0
        for c in row:
            bitsrow = (bitsrow << 1) | (1 if c is None else 0)
        mask += bitsrow.to_bytes((size + 7) // 8, 'big').ljust(and_stride, b'\0')
    return header + body + xor + mask


def main(path):
    images = [(32, 4), (16, 4), (32, 8), (16, 8)]
    data = [dib(size, bits) for size, bits in images]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (size, bits), blob in zip(images, data):
        out += struct.pack('<BBBBHHII', size, size, 16 if bits == 4 else 0, 0, 1, bits,
                           len(blob), offset)
        offset += len(blob)
    with open(path, 'wb') as f:
        f.write(out + b''.join(data))


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'selvane.ico')
