"""Reading an X screen back (xwd -root) and finding where colours lie on it.

Pixels are 0xRRGGBB integers, row by row. Everything here is the standard library only, so the
check runs wherever python3 and the X utilities are installed.
"""

import array
import struct
import subprocess
import sys
import zlib

_XWD_HEADER = struct.Struct(">25I")


class Screen:
    def __init__(self, width, height, pixels):
        self.width = width
        self.height = height
        self.pixels = pixels  # array('I'), width * height

    def at(self, x, y):
        return self.pixels[y * self.width + x]

    def row(self, y):
        return self.pixels[y * self.width:(y + 1) * self.width]

    def box_of(self, colour, left=0, top=0, right=None, bottom=None):
        """The bounding box (x0, y0, x1, y1), exclusive ends, of the pixels of exactly this colour
        inside the region; None when there are none."""
        right = self.width if right is None else right
        bottom = self.height if bottom is None else bottom
        x0, y0, x1, y1 = right, bottom, left, top
        for y in range(top, bottom):
            row = self.row(y)[left:right]
            if colour not in row:
                continue
            first = row.index(colour)
            last = len(row) - 1 - row[::-1].index(colour)
            x0, x1 = min(x0, left + first), max(x1, left + last + 1)
            y0, y1 = min(y0, y), y + 1
        return None if x1 <= x0 else (x0, y0, x1, y1)

    def box_of_other_than(self, colour, left=0, top=0, right=None, bottom=None):
        """The bounding box of the pixels that differ from this colour inside the region."""
        right = self.width if right is None else right
        bottom = self.height if bottom is None else bottom
        x0, y0, x1, y1 = right, bottom, left, top
        for y in range(top, bottom):
            row = self.row(y)[left:right]
            xs = [x for x, pixel in enumerate(row) if pixel != colour]
            if xs:
                x0, x1 = min(x0, left + xs[0]), max(x1, left + xs[-1] + 1)
                y0, y1 = min(y0, y), y + 1
        return None if x1 <= x0 else (x0, y0, x1, y1)

    def colours_in(self, box):
        x0, y0, x1, y1 = box
        found = set()
        for y in range(y0, y1):
            found.update(self.row(y)[x0:x1])
        return found

    def count(self, colour):
        return self.pixels.count(colour)

    def save_png(self, path):
        rows = bytearray()
        for y in range(self.height):
            rows.append(0)
            for pixel in self.row(y):
                rows += pixel.to_bytes(3, "big")
        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)
        with open(path, "wb") as out:
            out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                      chunk(b"IDAT", zlib.compress(bytes(rows), 1)) + chunk(b"IEND", b""))


def rgb(red, green, blue):
    return (red << 16) | (green << 8) | blue


def parse_xwd(data):
    """A 24- or 32-bit TrueColor ZPixmap as xwd writes it."""
    fields = _XWD_HEADER.unpack_from(data)
    header_size, _, pixmap_format, _, width, height = fields[:6]
    byte_order, bits_per_pixel, bytes_per_line = fields[7], fields[11], fields[12]
    red_mask, green_mask, blue_mask, ncolors = fields[14], fields[15], fields[16], fields[19]
    if pixmap_format != 2 or bits_per_pixel != 32:
        raise ValueError("unsupported xwd image: format %d, %d bits" % (pixmap_format, bits_per_pixel))
    if (red_mask, green_mask, blue_mask) != (0xFF0000, 0xFF00, 0xFF):
        raise ValueError("unsupported xwd colour masks")
    start = header_size + ncolors * 12
    pixels = array.array("I")
    for y in range(height):
        line = data[start + y * bytes_per_line:start + y * bytes_per_line + width * 4]
        pixels.frombytes(line)
    if (byte_order == 1) != (sys.byteorder == "big"):
        pixels.byteswap()
    return Screen(width, height, array.array("I", (p & 0xFFFFFF for p in pixels)))


def grab(display):
    data = subprocess.run(["xwd", "-root", "-silent", "-display", display],
                          check=True, capture_output=True).stdout
    return parse_xwd(data)
