# Screenshot statistics for the end-to-end tests (PIL only): lit area, blue level, change
# between frames, orientation of the two-tone picture, uniform sheets and additive overlaps.
import itertools
import re

from PIL import Image, ImageChops, ImageMath

LIT = 24            # a channel above this is drawn content, not black background
BLACK = 8           # every channel at most this: black
DOMINANT = 40       # how much one channel must exceed the other to call a pixel red or green
ORDER_REACH = 3     # rows over which a filtered edge between the halves may be spread
SAME = 3            # channel difference still counted as the same colour
JUMP_TOLERANCE = 8  # channel difference allowed between two jumps across one sheet edge
SATURATED = 250     # a channel this bright may have been clipped
BACKGROUND_STEP = 40  # backgrounds this far apart would give visibly different alpha-blended jumps
LIT_FRAME = 0.01    # share of lit pixels above which a frame shows sheets
WHITE = 235         # every channel at least this: a white pixel
UNIFORM = 0.95      # share of lit pixels that match their neighbours on plain sheets
CHANGE = re.compile(b"[^\x00]")


def largest_channel(image):
    red, green, blue = image.split()
    return ImageChops.lighter(ImageChops.lighter(red, green), blue)


def above(channel, threshold):
    """L-mode 0/255 mask of pixels brighter than threshold."""
    return channel.point(lambda v: 255 if v > threshold else 0)


def count(mask):
    return mask.histogram()[255]


def share(mask):
    return count(mask) / (mask.width * mask.height)


def lit_mask(image, threshold=LIT):
    return above(largest_channel(image), threshold)


def lit_fraction(image, threshold=LIT):
    return share(lit_mask(image, threshold))


def white_fraction(image):
    red, green, blue = image.split()
    darkest = ImageChops.darker(ImageChops.darker(red, green), blue)
    return share(above(darkest, WHITE - 1))


def lit_frames(frames):
    return [frame for frame in frames if lit_fraction(frame) > LIT_FRAME]


def totals(frames, measure):
    """Sums of measure's (first, second) counts over the frames."""
    first = second = 0
    for frame in frames:
        frame_first, frame_second = measure(frame)
        first += frame_first
        second += frame_second
    return first, second


def brightest(image, rect):
    return largest_channel(image.crop(rect)).getextrema()[1]


def max_blue(image):
    return image.getchannel("B").getextrema()[1]


def changed_fraction(before, after):
    return lit_fraction(ImageChops.difference(before, after))


def differs(first, second):
    return above(largest_channel(ImageChops.difference(first, second)), SAME)


def uniform_fraction(image):
    """Share of lit pixels whose right and lower neighbours have the same colour."""
    right = ImageChops.offset(image, -1, 0)
    below = ImageChops.offset(image, 0, -1)
    changing = ImageChops.lighter(differs(image, right), differs(image, below))
    lit = lit_mask(image)
    lit_count = count(lit)
    return 1 - count(ImageChops.multiply(lit, changing)) / lit_count if lit_count else 0.0


def dominance_masks(image):
    """(red-only, green-only) masks: one channel lit and clearly above the other."""
    red, green, _ = image.split()
    red_only = ImageMath.eval(f"(r > {LIT}) & (r > g + {DOMINANT})", r=red, g=green)
    green_only = ImageMath.eval(f"(g > {LIT}) & (g > r + {DOMINANT})", r=red, g=green)
    return _binary(red_only), _binary(green_only)


def dominance_counts(image):
    """(red-only, green-only) pixel counts, as dominance_masks marks them."""
    red_only, green_only = dominance_masks(image)
    return count(red_only), count(green_only)


def _binary(flags):
    """ImageMath comparisons give 0/1 integer images; masks here are L-mode 0/255."""
    return flags.convert("L").point(lambda v: 255 if v else 0)


def within_rows_below(mask, reach):
    """Marks each pixel that has a set pixel of the mask 1..reach rows below it."""
    result = Image.new("L", mask.size, 0)
    for rows in range(1, reach + 1):
        shifted = ImageChops.offset(mask, 0, -rows)
        shifted.paste(0, (0, mask.height - rows, mask.width, mask.height))
        result = ImageChops.lighter(result, shifted)
    return result


def vertical_order(image):
    """(red above green, green above red) pixel counts across nearby rows."""
    red_only, green_only = dominance_masks(image)
    red_over_green = ImageChops.multiply(red_only, within_rows_below(green_only, ORDER_REACH))
    green_over_red = ImageChops.multiply(green_only, within_rows_below(red_only, ORDER_REACH))
    return count(red_over_green), count(green_over_red)


def edge_jumps_both_ways(image):
    """edge_jumps over vertical and (through the transposed image) horizontal edges."""
    vertical = edge_jumps(image)
    horizontal = edge_jumps(image.transpose(Image.Transpose.TRANSPOSE))
    return vertical[0] + horizontal[0], vertical[1] + horizontal[1]


def edge_jumps(image, row_step=2):
    """Counts (equal, unequal) colour jumps across one vertical sheet edge over different
    backgrounds, channel by channel.

    Additive blending adds a sheet's colour to whatever lies below, so the jump across its edge
    is the same over black and over other sheets; blending by alpha would make it depend on
    the background. Saturated channels say nothing and are skipped.
    """
    edges = {}
    for y in range(0, image.height, row_step):
        for x, outside, inside in row_edges(image, y):
            # Entering and leaving edges are told apart: a sheet's left edge may share its
            # column with another sheet's right edge.
            entering = sum(inside) > sum(outside)
            edges.setdefault((x, entering), {}).setdefault(outside, inside)
    equal = unequal = 0
    for crossings in edges.values():
        for first, second in itertools.combinations(crossings.items(), 2):
            for verdict in compare_jumps(first, second):
                equal += verdict
                unequal += not verdict
    return equal, unequal


def row_edges(image, y):
    """(x, colour left of the edge, colour right of it) between adjacent runs of one colour
    in a row; left of the edge is taken as outside the sheet, so right edges give negative
    jumps."""
    runs = row_runs(image, y)
    return [(right_start, left_colour, right_colour)
            for (left_colour, _, left_end), (right_colour, right_start, _) in zip(runs, runs[1:])
            if right_start - left_end <= 2]


def row_runs(image, y, min_length=4):
    """Runs of one colour along row y as (colour, start, end), dropping short edge runs."""
    row = image.crop((0, y, image.width, y + 1))
    changes = differs(row, ImageChops.offset(row, -1, 0)).tobytes()[:-1]
    cuts = [0] + [match.start() + 1 for match in CHANGE.finditer(changes)] + [image.width]
    pixels = row.tobytes()
    return [(tuple(pixels[3 * start:3 * start + 3]), start, end)
            for start, end in zip(cuts, cuts[1:]) if end - start >= min_length]


def compare_jumps(first, second):
    """Per informative channel: are the jumps of two (outside, inside) crossings equal?"""
    verdicts = []
    for outside_1, inside_1, outside_2, inside_2 in zip(*first, *second):
        if max(outside_1, inside_1, outside_2, inside_2) >= SATURATED:
            continue
        if abs(outside_1 - outside_2) < BACKGROUND_STEP:
            continue
        verdicts.append(abs((inside_1 - outside_1) - (inside_2 - outside_2)) <= JUMP_TOLERANCE)
    return verdicts
