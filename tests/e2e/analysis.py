# Screenshot statistics for the end-to-end tests (PIL only): lit area, blue level, change
# between frames, orientation of the two-tone picture, uniform sheets and additive overlaps.
from PIL import Image, ImageChops, ImageMath

LIT = 24            # a channel above this is drawn content, not black background
DOMINANT = 40       # how much one channel must exceed the other to call a pixel red or green
ORDER_REACH = 8     # rows over which a filtered edge between the halves may be spread
SAME = 3            # channel difference still counted as the same colour
SUM_TOLERANCE = 8   # channel difference allowed between two jumps across one sheet edge
BACKGROUND_STEP = 40  # backgrounds this far apart would give visibly different alpha-blended jumps


def mask_fraction(mask):
    """Share of set pixels in an L-mode 0/255 mask."""
    histogram = mask.histogram()
    return histogram[255] / (mask.width * mask.height)


def lit_mask(image):
    red, green, blue = image.split()
    brightest = ImageChops.lighter(ImageChops.lighter(red, green), blue)
    return brightest.point(lambda v: 255 if v > LIT else 0)


def lit_fraction(image):
    return mask_fraction(lit_mask(image))


def max_blue(image):
    return image.getchannel("B").getextrema()[1]


def changed_fraction(before, after):
    difference = ImageChops.difference(before, after)
    red, green, blue = difference.split()
    largest = ImageChops.lighter(ImageChops.lighter(red, green), blue)
    return mask_fraction(largest.point(lambda v: 255 if v > LIT else 0))


def dominance_masks(image):
    """(red-only, green-only) masks: one channel lit and clearly above the other."""
    red, green, _ = image.split()
    red_only = ImageMath.eval(f"(r > {LIT}) & (r > g + {DOMINANT})", r=red, g=green)
    green_only = ImageMath.eval(f"(g > {LIT}) & (g > r + {DOMINANT})", r=red, g=green)
    return _binary(red_only), _binary(green_only)


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
    return red_over_green.histogram()[255], green_over_red.histogram()[255]


def uniform_fraction(image):
    """Share of lit pixels whose right and lower neighbours have the same colour."""
    right = ImageChops.offset(image, -1, 0)
    below = ImageChops.offset(image, 0, -1)
    same = ImageChops.lighter(_differs(image, right), _differs(image, below))
    lit = lit_mask(image)
    lit_count = lit.histogram()[255]
    differing_lit = ImageChops.multiply(lit, same).histogram()[255]
    return 1 - differing_lit / lit_count if lit_count else 0.0


def _differs(first, second):
    difference = ImageChops.difference(first, second)
    red, green, blue = difference.split()
    largest = ImageChops.lighter(ImageChops.lighter(red, green), blue)
    return largest.point(lambda v: 255 if v > SAME else 0)


def row_runs(pixels, min_length=4):
    """Runs of one colour along a row as (colour, start, end), dropping short edge runs."""
    runs = []
    start = 0
    for index in range(1, len(pixels) + 1):
        if index == len(pixels) or not _same(pixels[index], pixels[start]):
            if index - start >= min_length:
                runs.append((pixels[start], start, index))
            start = index
    return runs


def _same(first, second):
    return all(abs(a - b) <= SAME for a, b in zip(first, second))


def edge_jumps(image, row_step=4):
    """Counts (equal, unequal) colour jumps across one vertical sheet edge over different
    backgrounds.

    Additive blending adds a sheet's colour to whatever lies below, so the jump across its edge
    is the same over black and over other sheets; blending by alpha would make it depend on
    the background.
    """
    edges = {}
    for y in range(0, image.height, row_step):
        for x, outside, inside in _row_edges(image, y):
            edges.setdefault(x, {}).setdefault(outside, inside)
    equal = unequal = 0
    for crossings in edges.values():
        verdicts = _compare_jumps(list(crossings.items()))
        equal += verdicts.count(True)
        unequal += verdicts.count(False)
    return equal, unequal


def _row_edges(image, y):
    """(x, colour left of the edge, colour right of it) for adjacent runs in one row."""
    pixels = [image.getpixel((x, y)) for x in range(image.width)]
    runs = row_runs(pixels)
    return [(right_start, left_colour, right_colour)
            for (left_colour, _, left_end), (right_colour, right_start, _) in zip(runs, runs[1:])
            if right_start - left_end <= 2 and _unsaturated(left_colour, right_colour)]


def _unsaturated(*colours):
    return all(max(colour) < 250 for colour in colours)


def _compare_jumps(crossings):
    """Compares each crossing's jump with the first one whose background clearly differs."""
    verdicts = []
    (first_outside, first_inside) = crossings[0]
    first_jump = _jump(first_outside, first_inside)
    for outside, inside in crossings[1:]:
        if max(abs(a - b) for a, b in zip(outside, first_outside)) < BACKGROUND_STEP:
            continue
        jump = _jump(outside, inside)
        verdicts.append(all(abs(a - b) <= SUM_TOLERANCE for a, b in zip(jump, first_jump)))
    return verdicts


def _jump(outside, inside):
    return tuple(b - a for a, b in zip(outside, inside))
