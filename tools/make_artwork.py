#!/usr/bin/python3
# Generates the settings dialog's artwork (radio glyphs, panel tile, hand cursor, program icon)
# and the six state images of its owner-drawn push button, all from sizes and colours.
import argparse
import random
import struct
from pathlib import Path

from PIL import Image

ROOT = Path(__file__).resolve().parent.parent
BUTTON_SIZE = (64, 25)
MARGIN = "#ECE9D8"
BLUE_BORDER = "#003C74"
HALO = ("#E0DCC9", "#F8F7F0")
GREY_BORDER = "#C9C7BA"

# Border ring corners, outermost pixel first: None keeps the colour outside the ring showing
# through, which is what makes the corner read as rounded.
BLUE_CORNERS = {"top": (None, "#7A95A8", "#255783"), "bottom": (None, "#6788A0", "#164D7E")}
GREY_CORNERS = {"top": ("#D8D5C7", "#CBC9BC"), "bottom": ("#D5D2C4", "#CBC9BC")}

# Bevels: top rows and bottom rows listed top to bottom; sides run from the image's top to its bottom.
BEVEL_SIDES = ("top", "bottom", "left", "right")
NORMAL_BEVEL, HIGHLIGHT_BEVEL, SELECTED_BEVEL, SUNKEN_BEVEL = (dict(zip(BEVEL_SIDES, sides)) for sides in (
    (("#F3F3EE", "#F3F3EE"), ("#E2DFD6", "#D6D0C5"), ("#FDFDFC", "#ECEBE6"), ("#FBFBFA", "#E0DDD4")),
    (("#FFF0CF", "#FDD889"), ("#F8B230", "#E59700"), ("#FCD279", "#F9B435"), ("#FCD279", "#F9B435")),
    (("#CEE7FF", "#CEE7FF"), ("#6982EE", "#6982EE"), ("#B7D0F4", "#8BADE4"), ("#B7D0F4", "#8BADE4")),
    (("#9DA8AC",), ("#F2F1EE",), ("#9DA8AC", "#D1CCC1"), ("#9DA8AC", "#D1CCC1")),
))
DISABLED_BEVEL = {side: ("#F5F4EA", "#F5F4EA") for side in BEVEL_SIDES}

# Inside the rounded border corner: the diagonal pixel, the two beside it, the next diagonal one.
NORMAL_TOP_INNER = ("#557DA2", "#C0CFDD", "#FEFEFE")
DISABLED_INNER = ("#EAE9DE", "#EEEDE2", "#F5F4EA")


def rgb(colour):
    if isinstance(colour, tuple):
        return colour
    return tuple(int(colour[i:i + 2], 16) for i in (1, 3, 5))


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(rgb(a), rgb(b)))


def down(top, bottom, y, height):
    return mix(top, bottom, y / (height - 1))


def ring_pixels(ring, size):
    width, height = size
    for y in range(ring, height - ring):
        for x in range(ring, width - ring):
            if min(x, y, width - 1 - x, height - 1 - y) == ring:
                yield x, y


def side_of(x, y, ring, size):
    width, height = size
    if y == ring:
        return "top"
    if y == height - 1 - ring:
        return "bottom"
    return "left" if x == ring else "right"


def paint_gradient_ring(image, ring, top, bottom):
    for x, y in ring_pixels(ring, image.size):
        image.putpixel((x, y), down(top, bottom, y, image.height))


def paint_bevel(image, first_ring, bevel):
    """Rings go inward from first_ring, so the outermost bottom row takes the last bottom colour."""
    depth = len(bevel["top"])
    for index in range(depth):
        ring = first_ring + index
        for x, y in ring_pixels(ring, image.size):
            side = side_of(x, y, ring, image.size)
            if side == "top":
                colour = rgb(bevel["top"][index])
            elif side == "bottom":
                colour = rgb(bevel["bottom"][depth - 1 - index])
            else:
                colour = down(*bevel[side], y, image.height)
            image.putpixel((x, y), colour)


def corners(ring, size):
    """Each corner of a ring as (corner pixel, step along x, step along y, top or bottom)."""
    width, height = size
    far_x, far_y = width - 1 - ring, height - 1 - ring
    return [((ring, ring), 1, 1, "top"), ((far_x, ring), -1, 1, "top"),
            ((ring, far_y), 1, -1, "bottom"), ((far_x, far_y), -1, -1, "bottom")]


def round_border(image, ring, blends):
    """Blend colours walk from the corner pixel along both edges; None shows the colour outside."""
    for (x, y), dx, dy, end in corners(ring, image.size):
        for step, colour in enumerate(blends[end]):
            if colour is None:
                colour = image.getpixel((x - dx, y - dy))
            for pixel in {(x + dx * step, y), (x, y + dy * step)}:
                image.putpixel(pixel, rgb(colour))


def round_inside(image, ring, border, given=None):
    """Softens the pixels tucked inside each rounded border corner: the diagonal one, the two beside
    it, the next diagonal one. given maps "top"/"bottom" to their colours; else the border is mixed in."""
    for (x, y), dx, dy, end in corners(ring, image.size):
        spots = [[(x, y)], [(x + dx, y), (x, y + dy)], [(x + dx, y + dy)]]
        colours = (given or {}).get(end)
        # These weights reproduce how much border the normal button's top corner blends hold.
        for index, pixels in enumerate(spots):
            for pixel in pixels:
                if colours:
                    colour = rgb(colours[index])
                else:
                    colour = mix(border, image.getpixel(pixel), (0.36, 0.8, 1)[index])
                image.putpixel(pixel, colour)


def fill_centre(image, inset, top, bottom):
    for y in range(inset, image.height - inset):
        colour = down(top, bottom, y, image.height)
        for x in range(inset, image.width - inset):
            image.putpixel((x, y), colour)


def raised_button(bevel, inner=None):
    image = Image.new("RGB", BUTTON_SIZE)
    paint_gradient_ring(image, 0, *HALO)
    paint_gradient_ring(image, 1, BLUE_BORDER, BLUE_BORDER)
    round_border(image, 1, BLUE_CORNERS)
    paint_bevel(image, 2, bevel)
    round_inside(image, 2, BLUE_BORDER, inner)
    fill_centre(image, 4, *bevel["left"])
    return image


def pressed_button():
    image = Image.new("RGB", BUTTON_SIZE)
    paint_gradient_ring(image, 0, MARGIN, MARGIN)
    paint_gradient_ring(image, 1, *HALO)
    paint_gradient_ring(image, 2, BLUE_BORDER, BLUE_BORDER)
    round_border(image, 2, BLUE_CORNERS)
    paint_bevel(image, 3, SUNKEN_BEVEL)
    round_inside(image, 3, BLUE_BORDER)
    fill_centre(image, 4, *SUNKEN_BEVEL["left"])
    return image


def disabled_button():
    image = Image.new("RGB", BUTTON_SIZE)
    paint_gradient_ring(image, 0, MARGIN, MARGIN)
    paint_gradient_ring(image, 1, GREY_BORDER, GREY_BORDER)
    round_border(image, 1, GREY_CORNERS)
    paint_bevel(image, 2, DISABLED_BEVEL)
    round_inside(image, 2, GREY_BORDER, {"top": DISABLED_INNER, "bottom": DISABLED_INNER})
    fill_centre(image, 4, "#F5F4EA", "#F5F4EA")
    return image


def button_images():
    highlight = raised_button(HIGHLIGHT_BEVEL)
    return {
        "normal.bmp": raised_button(NORMAL_BEVEL, {"top": NORMAL_TOP_INNER}),
        "highlight.bmp": highlight,
        "selected.bmp": raised_button(SELECTED_BEVEL),
        "pressed.bmp": pressed_button(),
        "highlightselect.bmp": highlight,
        "disable.bmp": disabled_button(),
    }


def radio_glyph(border, top, bottom):
    image = Image.new("RGB", (12, 12), rgb(border))
    for y in range(1, 11):
        colour = down(top, bottom, y, 12)
        for x in range(1, 11):
            image.putpixel((x, y), colour)
    return image


def smooth_noise(generator, width, height, cell):
    """Random lattice, smoothly interpolated; it wraps vertically so stacked tiles show no seam."""
    cell_width, cell_height = cell
    rows = height // cell_height
    lattice = [[generator.uniform(-1, 1) for _ in range(width // cell_width + 2)] for _ in range(rows)]
    field = []
    for y in range(height):
        row, ty = divmod(y / cell_height, 1)
        ty = ty * ty * (3 - 2 * ty)
        upper, lower = lattice[int(row) % rows], lattice[(int(row) + 1) % rows]
        line = []
        for x in range(width):
            column, tx = divmod(x / cell_width, 1)
            tx = tx * tx * (3 - 2 * tx)
            column = int(column)
            top = upper[column] + (upper[column + 1] - upper[column]) * tx
            bottom = lower[column] + (lower[column + 1] - lower[column]) * tx
            line.append(top + (bottom - top) * ty)
        field.append(line)
    return field


def stone_tile(width=556, height=20):
    generator = random.Random(1729)
    # Cell heights divide the tile's height so every layer repeats with it; the odd widths keep the
    # layers' lattices from lining up into a visible grid.
    layers = [(smooth_noise(generator, width, height, cell), amount) for cell, amount in
              (((19, 10), 10), ((11, 5), 7), ((6, 4), 5), ((3, 2), 4), ((1, 1), 4))]
    image = Image.new("RGB", (width, height))
    for y in range(height):
        for x in range(width):
            level = 192 + sum(field[y][x] * amount for field, amount in layers)
            speck = generator.random()
            level += -14 if speck < 0.03 else 10 if speck > 0.97 else 0
            # A faint warm cast lets the grey sit with the dialog's beige.
            pixel = (level + 2, level + 1, level - 2)
            image.putpixel((x, y), tuple(max(160, min(224, round(v))) for v in pixel))
    return image


HAND = """\
...........BBB..
..........BWWWB.
..........BWWWB.
..........BWWWB.
..........BWWWB.
..........BWWWBBBB
..........BWWWBWWWBBBB
..........BWWWBWWWBWWWBBB
....BB....BWWWBWWWBWWWBWWB
...BWWB...BWWWWWWWWWWWWWWB
...BWWWB..BWWWWWWWWWWWWWWB
....BWWWB.BWWWWWWWWWWWWWWB
....BWWWWBWWWWWWWWWWWWWWWB
.....BWWWWWWWWWWWWWWWWWWWB
......BWWWWWWWWWWWWWWWWWB
.......BWWWWWWWWWWWWWWWWB
........BWWWWWWWWWWWWWWB
.........BWWWWWWWWWWWWWB
.........BWWWWWWWWWWWWWB
.........BBBBBBBBBBBBBBB
"""
HAND_TOP = 10
HOT_SPOT = (12, 10)


def hand_rows():
    """32 rows of 32 characters: B black, W white, anything else transparent."""
    drawn = HAND.splitlines()
    rows = ["." * 32] * HAND_TOP + [row.ljust(32, ".") for row in drawn]
    return rows + ["." * 32] * (32 - len(rows))


def packed_bits(bits):
    return bytes(int("".join(bits[i:i + 8]), 2) for i in range(0, 32, 8))


def cursor_bytes():
    rows = hand_rows()
    xor = b"".join(packed_bits(["1" if c == "W" else "0" for c in row]) for row in reversed(rows))
    mask = b"".join(packed_bits(["0" if c in "BW" else "1" for c in row]) for row in reversed(rows))
    # The bitmap counts twice the height because the AND mask is stacked under the colour rows.
    header = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 1, 0, len(xor) + len(mask), 0, 0, 2, 2)
    palette = bytes([0, 0, 0, 0, 255, 255, 255, 0])
    image = header + palette + xor + mask
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", 32, 32, 2, 0, *HOT_SPOT, len(image), 22)
    return directory + entry + image


def sheets_icon(size):
    """Three tinted sheets on black, their light adding up where they overlap, each with a brighter rim."""
    sheets = [((3, 5, 19, 21), (200, 30, 25)), ((13, 3, 29, 19), (25, 180, 45)),
              ((8, 13, 24, 29), (205, 175, 20))]
    image = Image.new("RGB", (size, size))
    for y in range(size):
        for x in range(size):
            light = [6, 6, 10]
            for corners_of_sheet, tint in sheets:
                left, top, right, bottom = (round(v * size / 32) for v in corners_of_sheet)
                if left <= x < right and top <= y < bottom:
                    rim = x in (left, right - 1) or y in (top, bottom - 1)
                    light = [v + t * (1.3 if rim else 1) for v, t in zip(light, tint)]
            image.putpixel((x, y), tuple(min(255, round(v)) for v in light))
    return image


def write_all(button_dir, dialog_dir):
    button_dir.mkdir(parents=True, exist_ok=True)
    dialog_dir.mkdir(parents=True, exist_ok=True)
    written = []
    for name, image in button_images().items():
        image.save(button_dir / name, "BMP")
        written.append(button_dir / name)
    glyphs = {
        "radio_off.bmp": radio_glyph("#80807A", "#F4F4F0", "#DCDCD6"),
        "radio_on.bmp": radio_glyph("#0A2A66", "#5C9AF0", "#1E56C0"),
        "tile.bmp": stone_tile(),
    }
    for name, image in glyphs.items():
        image.save(dialog_dir / name, "BMP")
        written.append(dialog_dir / name)
    (dialog_dir / "hand.cur").write_bytes(cursor_bytes())
    written.append(dialog_dir / "hand.cur")
    icon = sheets_icon(32)
    icon.save(dialog_dir / "vitrelux.ico", sizes=[(32, 32), (16, 16)], append_images=[sheets_icon(16)],
              bitmap_format="bmp")
    written.append(dialog_dir / "vitrelux.ico")
    return written


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--out-button", type=Path, default=ROOT / "saver" / "button")
    parser.add_argument("--out-dialog", type=Path, default=ROOT / "saver" / "settings_dialog")
    args = parser.parse_args()
    for path in write_all(args.out_button, args.out_dialog):
        print(f"wrote {path} ({path.stat().st_size} bytes)")


if __name__ == "__main__":
    main()
