# Snapshot pictures and files for the end-to-end tests: a two-tone picture whose orientation
# survives tinting, and malformed BMP files.
import io
import struct

from PIL import Image

SIDE = 1280
# Both halves carry full blue, so any blue on screen means the tint did not drop it;
# the tint keeps red on top and green below, which shows whether a sheet is upright.
TOP_COLOUR = (255, 0, 255)
BOTTOM_COLOUR = (0, 255, 255)


def two_tone(side=SIDE):
    image = Image.new("RGB", (side, side), TOP_COLOUR)
    image.paste(BOTTOM_COLOUR, (0, side // 2, side, side))
    return image


def bmp_bytes(image):
    buffer = io.BytesIO()
    image.convert("RGB").save(buffer, "BMP")
    return buffer.getvalue()


def truncated_bmp(side=SIDE):
    """Headers promise side x side pixels, but most of the pixel data is missing."""
    return bmp_bytes(two_tone(side))[:54 + 3000]


def v4_header_bmp(side=SIDE):
    """A well-formed 24-bit BMP with a 108-byte BITMAPV4HEADER."""
    pixels = bmp_bytes(two_tone(side))[54:]
    info = struct.pack("<IiiHHIIiiII", 108, side, side, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    info += bytes(108 - len(info))
    offset = 14 + len(info)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return file_header + info + pixels
