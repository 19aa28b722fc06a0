#!/usr/bin/env python3
"""Converts a window dump of xwd (TrueColor, 24 or 32 bits a pixel) to a PNG, with nothing but
the standard library: the screenshot script needs it for the windows the game cannot picture
itself, such as its message boxes."""
import struct
import sys
import zlib


def read_xwd(data):
    fields = struct.unpack('>25I', data[:100])
    header_size, width, height = fields[0], fields[4], fields[5]
    byte_order, bits_per_pixel, bytes_per_line, colour_count = fields[7], fields[11], fields[12], fields[19]
    if bits_per_pixel not in (24, 32):
        raise ValueError(f'{bits_per_pixel} bits a pixel: only true colour dumps are read')
    pixel_bytes = bits_per_pixel // 8
    first = header_size + colour_count * 12
    rows = []
    for y in range(height):
        line = data[first + y * bytes_per_line:first + (y + 1) * bytes_per_line]
        row = bytearray(b'\x00')  # PNG filter: none
        for x in range(width):
            value = int.from_bytes(line[x * pixel_bytes:(x + 1) * pixel_bytes], 'little' if byte_order == 0 else 'big')
            row += bytes(((value >> 16) & 255, (value >> 8) & 255, value & 255))
        rows.append(bytes(row))
    return width, height, b''.join(rows)


def png_chunk(kind, payload):
    body = kind + payload
    return struct.pack('>I', len(payload)) + body + struct.pack('>I', zlib.crc32(body) & 0xffffffff)


def main():
    if len(sys.argv) != 3:
        sys.exit('usage: xwd_to_png.py DUMP.xwd PICTURE.png')
    width, height, rows = read_xwd(open(sys.argv[1], 'rb').read())
    png = b'\x89PNG\r\n\x1a\n' + png_chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 0))
    png += png_chunk(b'IDAT', zlib.compress(rows, 9)) + png_chunk(b'IEND', b'')
    with open(sys.argv[2], 'wb') as out:
        out.write(png)


if __name__ == '__main__':
    main()
