# Snapshot pictures and files for the end-to-end tests: a two-tone picture whose orientation
# survives tinting, malformed BMP files holding a blocky picture, and a desktop picture.
import io
import random
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


def blocks(side=SIDE, block=32, seed=7):
    """Random coloured blocks: drawn as a texture, a sheet would no longer be one colour."""
    generator = random.Random(seed)
    cells = side // block
    small = Image.new("RGB", (cells, cells))
    small.putdata([tuple(generator.randrange(256) for _ in range(3)) for _ in range(cells * cells)])
    return small.resize((side, side), Image.Resampling.NEAREST)


def desktop(size=(1280, 1024), block=32, seed=11):
    """Random blocks with red and no green in the top half, green and no red below: a shifted or
    flipped copy differs almost everywhere, and the renderer's tint shows red above green."""
    generator = random.Random(seed)
    columns, rows = size[0] // block, size[1] // block
    small = Image.new("RGB", (columns, rows))
    small.putdata([desktop_colour(generator, row < rows // 2)
                   for row in range(rows) for _ in range(columns)])
    return small.resize(size, Image.Resampling.NEAREST)


def desktop_colour(generator, top):
    strong = generator.randrange(128, 256)
    blue = generator.randrange(256)
    return (strong, 0, blue) if top else (0, strong, blue)


def bmp_bytes(image):
    buffer = io.BytesIO()
    image.convert("RGB").save(buffer, "BMP")
    return buffer.getvalue()


def truncated_bmp(side=SIDE):
    """Headers promise side x side pixels, but most of the pixel data is missing."""
    return bmp_bytes(blocks(side))[:54 + 3000]


def v4_header_bmp(side=SIDE):
    """A well-formed 24-bit BMP of blocks with a 108-byte BITMAPV4HEADER."""
    info = struct.pack("<IiiHHIIiiII", 108, side, side, 1, 24, 0, side * side * 3, 2835, 2835, 0, 0)
    return with_info_header(info + bytes(108 - len(info)), blocks(side))


def core_header_bmp(image):
    """The picture as a 24-bit BMP with the 12-byte OS/2 BITMAPCOREHEADER."""
    return with_info_header(struct.pack("<IHHHH", 12, image.width, image.height, 1, 24), image)


def with_info_header(info, image):
    """File header + the given info header + the image's 24-bit bottom-up rows."""
    pixels = bmp_bytes(image)[54:]
    offset = 14 + len(info)
    return struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset) + info + pixels
