# Draws the page's icons as an app: ten bars in ascending order, the numbers as tensort lists them
# sorted, on the page's dark ground. Run by hand (python3 icons.py, here) when the drawing changes;
# the PNG files it writes are kept beside it, as they are shipped.
#   icon-192.png, icon-512.png  a rounded square on a clear ground, for a launcher that shows the icon
#                               as it is;
#   icon-maskable.png           the ground to every edge and the bars inside the middle 60%, for a
#                               launcher that cuts the icon to a circle or a shape of its own.
import struct, zlib

GROUND = (0x1E, 0x1E, 0x1E)
BARS = (0x8A, 0xE2, 0x34)


def draw(size, inset, corner):
    """The icon's pixels, RGBA: the bars inside the inset (a fraction of the size from each edge),
    on a ground whose corners have this radius (a fraction of the size; 0: square)."""
    low, high = round(size * inset), round(size * (1 - inset))
    width = (high - low) / 10
    pixels = bytearray()
    for y in range(size):
        pixels.append(0)  # no filter on this row
        for x in range(size):
            # The ground's cover of the pixel, from 4x4 points in it: its corners are rounded.
            r = size * corner
            inside = 0
            for sy in range(4):
                for sx in range(4):
                    px, py = x + (sx + 0.5) / 4, y + (sy + 0.5) / 4
                    dx, dy = max(r - px, px - (size - r), 0), max(r - py, py - (size - r), 0)
                    inside += dx * dx + dy * dy <= r * r
            bar = int((x - low) // width) if low <= x < high else -1
            gap = (x - low) % width < width * 0.2
            tall = (high - low) * (bar + 1) / 10
            colour = BARS if 0 <= bar < 10 and not gap and high - tall <= y < high else GROUND
            pixels += bytes(colour) + bytes([round(255 * inside / 16)])
    return pixels


def png(size, pixels):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(pixels), 9))
            + chunk(b"IEND", b""))


for name, size, inset, corner in [("icon-192", 192, 0.2, 0.18), ("icon-512", 512, 0.2, 0.18),
                                  ("icon-maskable", 512, 0.3, 0)]:
    with open(f"{name}.png", "wb") as file:
        file.write(png(size, draw(size, inset, corner)))
