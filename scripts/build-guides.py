#!/usr/bin/env python3
"""Builds the teacher's guides that the Help box names.

docs/guides/afr.md -> data/guides/Afr Tikmeter.doc
docs/guides/eng.md -> data/guides/Eng Tikmeter.doc

The guides are written in a small part of Markdown: "#", "##" and "###" headings,
paragraphs, numbered items ("1. "), bullets ("- "), **bold**, `code`, and pictures alone on
a line: ![caption](path "crop=X,Y,W,H width=N colors=N"), path relative to the .md file.
An item goes on over the following lines that are indented.

The output is RTF (Word and LibreOffice open it whatever the extension) with the pictures
embedded as PNG: scaled down to `width` pixels (default 800), cropped first when `crop` is
given, and reduced to a palette of `colors` colours (default 16) so that the files stay
small. Only the standard library is used; the output does not depend on the time or the
machine, so a rebuild of unchanged sources gives the same bytes.

Usage: scripts/build-guides.py [--check]
  --check  build in memory and fail when a committed .doc differs from its source.
"""

import re
import struct
import sys
import zlib
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
GUIDES = [
    (ROOT / "docs/guides/afr.md", ROOT / "data/guides/Afr Tikmeter.doc", 1078),  # af-ZA
    (ROOT / "docs/guides/eng.md", ROOT / "data/guides/Eng Tikmeter.doc", 7177),  # en-ZA
]

# A4 with margins of 2.2 cm left and right, 2 cm top and bottom, in twips (1/1440 inch).
PAPER_W, PAPER_H = 11906, 16838
MARGIN_LR, MARGIN_TB = 1247, 1134
TEXT_W = PAPER_W - 2 * MARGIN_LR
TWIPS_PER_PIXEL = 15  # a screen pixel at 96 dpi
MAX_PICTURE_H = 9600  # about 17 cm: a picture and its caption fit on a page


# --- PNG --------------------------------------------------------------------------------


class Image:
    """An RGB picture: rows of bytes, three per pixel."""

    def __init__(self, width, height, rows):
        self.width, self.height, self.rows = width, height, rows


def read_png(path):
    data = path.read_bytes()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path}: not a PNG file")
    pos, header, idat = 8, None, []
    while pos + 8 <= len(data):
        (length,) = struct.unpack(">I", data[pos : pos + 4])
        kind, body = data[pos + 4 : pos + 8], data[pos + 8 : pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat.append(body)
        elif kind == b"IEND":
            break
    width, height, depth, colour_type, _, _, interlace = header
    if depth != 8 or colour_type not in (2, 6) or interlace != 0:
        raise ValueError(f"{path}: only 8-bit RGB or RGBA PNG without interlace is read")
    bpp = 3 if colour_type == 2 else 4
    raw = zlib.decompress(b"".join(idat))
    stride = width * bpp
    rows, prev = [], bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1 : start + 1 + stride])
        if kind == 1:  # Sub
            for i in range(bpp, stride):
                line[i] = (line[i] + line[i - bpp]) & 255
        elif kind == 2:  # Up
            line = bytearray((a + b) & 255 for a, b in zip(line, prev))
        elif kind == 3:  # Average
            for i in range(stride):
                left = line[i - bpp] if i >= bpp else 0
                line[i] = (line[i] + ((left + prev[i]) >> 1)) & 255
        elif kind == 4:  # Paeth
            for i in range(stride):
                a = line[i - bpp] if i >= bpp else 0
                b = prev[i]
                c = prev[i - bpp] if i >= bpp else 0
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(line)
        prev = line
    if bpp == 4:  # on white paper
        rows = [
            bytearray(
                (v * row[i - i % 4 + 3] + 255 * (255 - row[i - i % 4 + 3])) // 255
                for i, v in enumerate(row)
                if i % 4 != 3
            )
            for row in rows
        ]
    return Image(width, height, rows)


def crop(image, x, y, w, h):
    w, h = min(w, image.width - x), min(h, image.height - y)
    if x < 0 or y < 0 or w <= 0 or h <= 0:
        raise ValueError("crop outside the picture")
    return Image(w, h, [row[3 * x : 3 * (x + w)] for row in image.rows[y : y + h]])


def taps(n_in, n_out):
    """Area-average weights: for every output sample, (source index, weight) pairs."""
    ratio = n_in / n_out
    out = []
    for x in range(n_out):
        a, b = x * ratio, (x + 1) * ratio
        pairs, i = [], int(a)
        while i < b and i < n_in:
            weight = min(b, i + 1) - max(a, i)
            if weight > 1e-9:
                pairs.append((i, weight / ratio))
            i += 1
        out.append(pairs)
    return out


def as_slots(pairs):
    """Per tap slot: (indices, weights) lists, padded with weight 0, for list comprehensions."""
    k = max(len(p) for p in pairs)
    return [([p[s][0] if s < len(p) else 0 for p in pairs],
             [p[s][1] if s < len(p) else 0.0 for p in pairs]) for s in range(k)]


def scale(image, width):
    if width >= image.width:
        return image
    height = max(1, round(image.height * width / image.width))
    # Horizontal pass on the interleaved bytes: byte 3x+c comes from bytes 3i+c.
    across = []
    for indices, weights in as_slots(taps(image.width, width)):
        across.append(([3 * i + c for i in indices for c in range(3)],
                       [w for w in weights for _ in range(3)]))
    wide = []
    for row in image.rows:
        acc = [0.0] * (3 * width)
        for indices, weights in across:
            acc = [s + row[i] * w for s, i, w in zip(acc, indices, weights)]
        wide.append(acc)
    rows = []
    for pairs in taps(image.height, height):
        acc = [0.0] * (3 * width)
        for i, w in pairs:
            acc = [s + v * w for s, v in zip(acc, wide[i])]
        rows.append(bytearray(min(255, int(v + 0.5)) for v in acc))
    return Image(width, height, rows)


def median_cut(counts, n):
    """A palette of at most n colours for the colour counts, by weighted median cut."""
    boxes = [list(counts.items())]
    while len(boxes) < n:
        best, best_score, axis = None, 0, 0
        for index, box in enumerate(boxes):
            if len(box) < 2:
                continue
            spans = [max(c[a] for c, _ in box) - min(c[a] for c, _ in box) for a in range(3)]
            a = max(range(3), key=lambda k: spans[k])
            score = spans[a] * sum(m for _, m in box) ** 0.5
            if score > best_score:
                best, best_score, axis = index, score, a
        if best is None:
            break
        box = sorted(boxes.pop(best), key=lambda item: item[0][axis])
        half, seen, cut = sum(m for _, m in box) / 2, 0, 1
        for cut in range(1, len(box)):
            seen += box[cut - 1][1]
            if seen >= half:
                break
        boxes += [box[:cut], box[cut:]]
    palette = []
    for box in boxes:
        total = sum(m for _, m in box)
        palette.append(tuple(round(sum(c[a] * m for c, m in box) / total) for a in range(3)))
    return palette


def png_with_palette(image, colours):
    counts = {}
    for row in image.rows:
        for i in range(0, len(row), 3):
            key = bytes(row[i : i + 3])
            counts[key] = counts.get(key, 0) + 1
    palette = median_cut(counts, colours)
    index = {}
    for c in counts:
        index[c] = min(
            range(len(palette)),
            key=lambda k: 3 * (palette[k][0] - c[0]) ** 2
            + 4 * (palette[k][1] - c[1]) ** 2
            + 2 * (palette[k][2] - c[2]) ** 2,
        )
    # Up to 16 colours take four bits a pixel, two pixels a byte.
    depth = 4 if len(palette) <= 16 else 8
    raw = bytearray()
    for row in image.rows:
        indices = [index[bytes(row[i : i + 3])] for i in range(0, len(row), 3)]
        if depth == 4:
            indices.append(0)
            indices = [indices[i] << 4 | indices[i + 1] for i in range(0, len(indices) - 1, 2)]
        raw.append(0)  # no filter: the best for a palette picture
        raw += bytes(indices)

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body
                + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    header = struct.pack(">IIBBBBB", image.width, image.height, depth, 3, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"PLTE", b"".join(bytes(c) for c in palette))
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


_pictures = {}


def picture(path, options):
    """The picture as (png bytes, width, height), prepared once per run."""
    key = (path, options)
    if key not in _pictures:
        settings = dict(item.split("=", 1) for item in options.split())
        unknown = set(settings) - {"crop", "width", "colors"}
        if unknown:
            raise ValueError(f"{path}: unknown picture options {sorted(unknown)}")
        image = read_png(path)
        if "crop" in settings:
            image = crop(image, *(int(v) for v in settings["crop"].split(",")))
        image = scale(image, int(settings.get("width", 800)))
        data = png_with_palette(image, int(settings.get("colors", 16)))
        _pictures[key] = (data, image.width, image.height)
    return _pictures[key]


# --- RTF --------------------------------------------------------------------------------


def rtf_text(text):
    out = []
    for ch in text:
        code = ord(ch)
        if ch in "\\{}":
            out.append("\\" + ch)
        elif 32 <= code < 128:
            out.append(ch)
        else:
            try:
                out.append("\\'%02x" % ch.encode("cp1252")[0])
            except UnicodeEncodeError:
                if code > 0xFFFF:
                    raise ValueError(f"character U+{code:X} is not supported")
                out.append("\\u%d?" % (code - 65536 if code > 32767 else code))
    return "".join(out)


def inline(text):
    """**bold** and `code` inside a line of text."""
    out = []
    for part in re.split(r"(\*\*.+?\*\*|`[^`]+`)", text):
        if part.startswith("**") and part.endswith("**") and len(part) > 4:
            out.append("{\\b " + rtf_text(part[2:-2]) + "}")
        elif part.startswith("`") and part.endswith("`") and len(part) > 2:
            out.append("{\\f1\\fs20 " + rtf_text(part[1:-1]) + "}")
        else:
            out.append(rtf_text(part))
    return "".join(out)


PARAGRAPH = "\\pard\\plain\\lang{lang}\\f0\\fs22\\sl276\\slmult1"
STYLES = {
    "h1": "\\qc\\keepn\\sb0\\sa360\\fs40\\b\\cf2 ",
    "h2": "\\keepn\\sb360\\sa120\\fs30\\b\\cf2 ",
    "h3": "\\keepn\\sb240\\sa80\\fs24\\b\\cf2 ",
    "p": "\\sa140 ",
    "ol": "\\fi-400\\li760\\sa100\\tx760 ",
    "ul": "\\fi-300\\li660\\sa80\\tx660 ",
    "pic": "\\qc\\keepn\\sb120\\sa60 ",
    "caption": "\\qc\\sa280\\fs18\\i\\cf3 ",
}


def blocks(markdown):
    """Splits the Markdown into (kind, text, extra) blocks."""
    out = []
    lines = markdown.splitlines()
    i = 0
    while i < len(lines):
        line = lines[i].rstrip()
        i += 1
        if not line.strip():
            continue
        if m := re.match(r"(#{1,3}) (.*)", line):
            out.append(("h%d" % len(m.group(1)), m.group(2).strip(), None))
            continue
        if m := re.match(r'!\[(.*)\]\(([^ )]+)(?: "([^"]*)")?\)$', line.strip()):
            out.append(("pic", m.group(1), (m.group(2), m.group(3) or "")))
            continue
        item = re.match(r"(\d+)\. (.*)", line) or re.match(r"(-) (.*)", line)
        text = item.group(2) if item else line.strip()
        while i < len(lines) and lines[i].strip():
            nxt = lines[i]
            if item and not nxt.startswith(" "):
                break
            if not item and (re.match(r"(\d+\. |- |#{1,3} |!\[)", nxt)):
                break
            text += " " + nxt.strip()
            i += 1
        if item:
            marker = item.group(1)
            out.append(("ul" if marker == "-" else "ol", text, marker))
        else:
            out.append(("p", text, None))
    return out


def build_rtf(source, language):
    markdown = source.read_text(encoding="utf-8")
    title = next((text for kind, text, _ in blocks(markdown) if kind == "h1"), "Edu Tikmeter")
    out = [
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\\deflang%d" % language,
        "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\fmodern\\fcharset0 Courier New;}}",
        "{\\colortbl;\\red0\\green0\\blue0;\\red31\\green73\\blue125;\\red89\\green89\\blue89;}",
        "{\\info{\\title " + rtf_text(title) + "}{\\author Edu Tikmeter}}",
        "\\paperw%d\\paperh%d\\margl%d\\margr%d\\margt%d\\margb%d\\widowctrl"
        % (PAPER_W, PAPER_H, MARGIN_LR, MARGIN_LR, MARGIN_TB, MARGIN_TB),
    ]
    start = PARAGRAPH.format(lang=language)
    for kind, text, extra in blocks(markdown):
        if kind == "pic":
            path, options = extra
            data, width, height = picture((source.parent / path).resolve(), options)
            goal_w = min(TEXT_W, width * TWIPS_PER_PIXEL)
            goal_h = round(goal_w * height / width)
            if goal_h > MAX_PICTURE_H:
                goal_w, goal_h = round(goal_w * MAX_PICTURE_H / goal_h), MAX_PICTURE_H
            hexed = data.hex()
            out.append(start + STYLES["pic"]
                       + "{\\pict\\pngblip\\picw%d\\pich%d\\picwgoal%d\\pichgoal%d"
                       % (width, height, goal_w, goal_h))
            out += [hexed[k : k + 128] for k in range(0, len(hexed), 128)]
            out.append("}\\par")
            if text:
                out.append(start + STYLES["caption"] + inline(text) + "\\par")
        elif kind == "ol":
            out.append(start + STYLES["ol"] + rtf_text(extra) + ".\\tab " + inline(text) + "\\par")
        elif kind == "ul":
            out.append(start + STYLES["ul"] + "\\'95\\tab " + inline(text) + "\\par")
        else:
            out.append(start + STYLES[kind] + inline(text) + "\\par")
    out.append("}")
    return ("\r\n".join(out) + "\r\n").encode("ascii")


def main(argv):
    check = argv[1:] == ["--check"]
    if argv[1:] and not check:
        print("usage: scripts/build-guides.py [--check]", file=sys.stderr)
        return 2
    stale = []
    for source, target, language in GUIDES:
        data = build_rtf(source, language)
        if check:
            if not target.exists() or target.read_bytes() != data:
                stale.append(target)
            continue
        target.parent.mkdir(parents=True, exist_ok=True)
        temporary = target.with_name(target.name + ".tmp")
        temporary.write_bytes(data)
        temporary.replace(target)
        print(f"{target.relative_to(ROOT)}: {len(data) // 1024} kB")
    for target in stale:
        print(f"{target.relative_to(ROOT)} is out of date: run scripts/build-guides.py",
              file=sys.stderr)
    return 1 if stale else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
