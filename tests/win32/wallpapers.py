"""Writes the wallpapers the Win32 tests decode into the given folder: the same picture as a JPEG
named as Windows keeps one (no extension), a PNG and a BMP; and a file that is no picture. Four upright bands of 16 columns: blue,
red, green, blue; 32 rows, the lower half a darker shade of each."""
import sys
from pathlib import Path

from PIL import Image

BANDS = [(0, 0, 255), (255, 0, 0), (0, 255, 0), (0, 0, 255)]


def picture():
    image = Image.new("RGB", (64, 32))
    for band, colour in enumerate(BANDS):
        darker = tuple(c // 2 for c in colour)
        image.paste(colour, (16 * band, 0, 16 * band + 16, 16))
        image.paste(darker, (16 * band, 16, 16 * band + 16, 32))
    return image


folder = Path(sys.argv[1])
folder.mkdir(parents=True, exist_ok=True)
image = picture()
image.save(folder / "TranscodedWallpaper", "JPEG", quality=95, subsampling=0)
image.save(folder / "wallpaper.png", "PNG")
image.save(folder / "wallpaper.bmp", "BMP")
(folder / "not-a-picture").write_text("text, not a picture\n")
