# Facts the tests share with the programs, read from the programs' own C++ sources: a named string
# or number, and the settings dialog's layout table.
import re
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
CONTRACT = "common/contract.h"
TEXTS = "saver/texts.h"
LITERAL = r'(?:u8|[LuU])?"(?:[^"\\]|\\.)*"'
PIECE = re.compile(r'(u8|[LuU])?"((?:[^"\\]|\\.)*)"')
ESCAPE = re.compile(r"\\(?:x([0-9A-Fa-f]+)|([0-7]{1,3})|(.))|([^\\]+)")
SIMPLE = {"n": 10, "r": 13, "t": 9, "a": 7, "b": 8, "f": 12, "v": 11}


def decode(prefix, body):
    """A literal's text. An escape is a code unit in a wide literal and a byte in a narrow one, where
    with the source's UTF-8 around it it makes UTF-8, or else Shift-JIS (the stored keys)."""
    wide = prefix in ("L", "u", "U")
    text = "" if wide else b""
    for hexa, octal, char, plain in ESCAPE.findall(body):
        if plain:
            text += plain if wide else plain.encode()
        else:
            unit = int(hexa, 16) if hexa else int(octal, 8) if octal else SIMPLE.get(char, ord(char))
            text += chr(unit) if wide else bytes([unit])
    if wide:
        return text
    try:
        return text.decode("utf-8")
    except UnicodeDecodeError:
        if prefix == "u8":
            raise
        return text.decode("cp932")


def constant(path, name):
    """The value a declaration or a #define gives name in the source file: its adjacent string
    literals joined, also in braces (a typed text), a number, or the leading numbers of a brace
    initializer."""
    text = (ROOT / path).read_text(encoding="utf-8")
    found = re.search(rf"\b{name}(?:\[\])?\s*=?\s*(?:\{{((?:\s*{LITERAL})+)\s*\}}|((?:\s*{LITERAL})+|-?\d+|\{{[^}}]*\}}))\s*[;\n]", text)
    assert found, f"no {name} in {path}"
    value = found.group(1) or found.group(2)
    if value.startswith("{"):
        return tuple(map(int, re.findall(r"-?\d+", re.match(r"[{\s\d,-]*", value).group())))
    if value.lstrip("-").isdigit():
        return int(value)
    return "".join(decode(*piece) for piece in PIECE.findall(value))


def layout(path="saver/settings_dialog/dialog_layout.cpp", edge=2):
    """Each part's (left, top, right, bottom) in the dialog's client area. The parts on the panel lie
    inside its sunken edge (WS_EX_CLIENTEDGE, 2 pixels)."""
    rows = re.findall(r"\{Part::(\w+), Kind::\w+, Surface::(\w+), \{(-?\d+), (-?\d+), (-?\d+), (-?\d+)\}",
                      (ROOT / path).read_text(encoding="utf-8"))
    panel = next(tuple(map(int, rect)) for part, _, *rect in rows if part == "Panel")
    inside = {"Window": (0, 0), "Panel": (panel[0] + edge, panel[1] + edge)}
    return {part: tuple(int(n) + inside[surface][i % 2] for i, n in enumerate(rect))
            for part, surface, *rect in rows}
