#!/usr/bin/env python3
"""Generates the code page tables in src/documents/codepages/ from glibc's iconv.

Usage: scripts/generate-code-pages.py [OUTPUT_DIR]

Every byte, and for the double-byte code pages every lead byte followed by every second byte,
is converted to UTF-16 by glibc's iconv (called through ctypes, so the result does not depend
on Python's own codecs or on the locale). The program reads the committed tables at build
time and never calls iconv, so every build (WebAssembly too) decodes the same way.

The data of a code page is written in three parts:
  kLinear  ranges of codes whose characters are consecutive: {first code, last code, character
           of the first code};
  kListed  the other codes that have a character, in ranges of consecutive codes: {first code,
           last code, index in kChars of the first code's character};
  kChars   the characters of the listed ranges, in code order.
A code below 0x100 is a single byte; a two-byte code is lead byte * 256 + second byte. A
double-byte code page also lists its lead bytes (kLeadBytes). Codes not in a range have no
character.
"""

import ctypes
import errno
import os
import sys

# (number, glibc name, description)
CODE_PAGES = [
    (874, "CP874", "Thai"),
    (1250, "CP1250", "Central European"),
    (1251, "CP1251", "Cyrillic"),
    (1252, "CP1252", "Western"),
    (1253, "CP1253", "Greek"),
    (1254, "CP1254", "Turkish"),
    (1255, "CP1255", "Hebrew"),
    (1256, "CP1256", "Arabic"),
    (1257, "CP1257", "Baltic"),
    (1258, "CP1258", "Vietnamese"),
    (10000, "MACINTOSH", "Mac Roman"),
    (932, "CP932", "Japanese, Shift JIS"),
    (936, "CP936", "Simplified Chinese, GBK"),
    (949, "CP949", "Korean, Unified Hangul Code"),
    (950, "CP950", "Traditional Chinese, Big5"),
]

# Consecutive characters over at least this many codes are written as one linear range.
MIN_LINEAR_RUN = 6

libc = ctypes.CDLL("libc.so.6", use_errno=True)
libc.gnu_get_libc_version.restype = ctypes.c_char_p
libc.iconv_open.restype = ctypes.c_void_p
libc.iconv_open.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
libc.iconv.restype = ctypes.c_size_t
libc.iconv.argtypes = [
    ctypes.c_void_p,
    ctypes.POINTER(ctypes.c_char_p),
    ctypes.POINTER(ctypes.c_size_t),
    ctypes.POINTER(ctypes.c_char_p),
    ctypes.POINTER(ctypes.c_size_t),
]
libc.iconv_close.argtypes = [ctypes.c_void_p]
FAILED = ctypes.c_size_t(-1).value

OK, INCOMPLETE, INVALID = "ok", "incomplete", "invalid"


class Decoder:
    """One glibc iconv conversion from a code page to UTF-16LE."""

    def __init__(self, name):
        self.name = name
        self.cd = libc.iconv_open(b"UTF-16LE", name.encode("ascii"))
        if self.cd is None or self.cd == FAILED:
            sys.exit(f"glibc iconv does not know {name}")

    def close(self):
        libc.iconv_close(self.cd)

    def decode(self, data):
        """Returns (OK, [UTF-16 units]), (INCOMPLETE, None) or (INVALID, None)."""
        libc.iconv(self.cd, None, None, None, None)  # back to the initial state
        source = ctypes.create_string_buffer(data, len(data))
        in_ptr = ctypes.c_char_p(ctypes.addressof(source))
        in_left = ctypes.c_size_t(len(data))
        target = ctypes.create_string_buffer(64)
        out_ptr = ctypes.c_char_p(ctypes.addressof(target))
        out_left = ctypes.c_size_t(len(target))
        result = libc.iconv(self.cd, ctypes.byref(in_ptr), ctypes.byref(in_left),
                            ctypes.byref(out_ptr), ctypes.byref(out_left))
        if result == FAILED:
            error = ctypes.get_errno()
            if error == errno.EINVAL:
                return INCOMPLETE, None
            if error == errno.EILSEQ:
                return INVALID, None
            sys.exit(f"{self.name}: iconv failed on {data.hex()}: {os.strerror(error)}")
        # Flush: CP1255 and CP1258 hold a character back until they know that no combining
        # mark follows.
        if libc.iconv(self.cd, None, None, ctypes.byref(out_ptr), ctypes.byref(out_left)) == FAILED:
            sys.exit(f"{self.name}: iconv could not flush after {data.hex()}")
        raw = target.raw[: len(target) - out_left.value]
        return OK, [int.from_bytes(raw[i : i + 2], "little") for i in range(0, len(raw), 2)]


def one_character(name, code, units):
    if len(units) != 1 or 0xD800 <= units[0] <= 0xDFFF or units[0] >= 0xFFFE:
        sys.exit(f"{name}: code {code:#x} gives {units}, not one BMP character")
    return units[0]


def read_code_page(glibc_name):
    """Returns (characters by code, lead bytes) as glibc decodes the code page."""
    decoder = Decoder(glibc_name)
    characters = {}
    lead_bytes = []
    for byte in range(256):
        status, units = decoder.decode(bytes([byte]))
        if status == OK:
            characters[byte] = one_character(glibc_name, byte, units)
        elif status == INCOMPLETE:
            lead_bytes.append(byte)
    for byte in range(128):
        if characters.get(byte) != byte:
            sys.exit(f"{glibc_name}: byte {byte:#x} is not ASCII")
    # A lead byte may have no character at all (932: rows 0x85 and 0x86 are empty); it is
    # still a lead byte.
    for lead in lead_bytes:
        for second in range(256):
            code = lead << 8 | second
            status, units = decoder.decode(bytes([lead, second]))
            if status == OK:
                characters[code] = one_character(glibc_name, code, units)
            elif status == INCOMPLETE:
                sys.exit(f"{glibc_name}: {code:#x} is the start of a longer sequence")
    decoder.close()
    return characters, lead_bytes


def split_ranges(characters):
    """Splits the codes into linear ranges and listed ranges (see the module text)."""
    runs = []  # [first code, count, first character]
    for code in sorted(characters):
        c = characters[code]
        if runs and code == runs[-1][0] + runs[-1][1] and c == runs[-1][2] + runs[-1][1]:
            runs[-1][1] += 1
        else:
            runs.append([code, 1, c])
    linear, listed, chars = [], [], []
    for first, count, c in runs:
        if count >= MIN_LINEAR_RUN:
            linear.append((first, first + count - 1, c))
            continue
        if listed and listed[-1][1] + 1 == first:
            listed[-1][1] = first + count - 1
        else:
            listed.append([first, first + count - 1, len(chars)])
        chars.extend(range(c, c + count))
    if len(chars) > 0xFFFF:
        sys.exit("too many listed characters for a 16-bit index")
    return linear, listed, chars


def byte_ranges(values):
    ranges = []
    for v in values:
        if ranges and ranges[-1][1] + 1 == v:
            ranges[-1][1] = v
        else:
            ranges.append([v, v])
    return ranges


def hex4(value):
    return f"0x{value:04X}"


def wrap(items, indent="    ", width=100):
    lines, line = [], indent
    for item in items:
        piece = item + ","
        if len(line) + len(piece) + 1 > width and line.strip():
            lines.append(line.rstrip())
            line = indent
        line += piece + " "
    if line.strip():
        lines.append(line.rstrip())
    return "\n".join(lines)


def write_code_page(out_dir, number, glibc_name, description, version):
    characters, lead_bytes = read_code_page(glibc_name)
    linear, listed, chars = split_ranges(characters)
    singles = sum(1 for code in characters if code < 0x100)
    pairs = len(characters) - singles
    undefined = [b for b in range(256) if b not in characters and b not in lead_bytes]

    text = [
        f"// Code page {number} ({description}) as glibc {version} iconv decodes it ({glibc_name}).",
        "// Generated by scripts/generate-code-pages.py: do not edit.",
    ]
    summary = f"// {singles} single bytes"
    if lead_bytes:
        summary += f", {len(lead_bytes)} lead bytes, {pairs} two-byte codes"
    text.append(summary + f"; {len(linear)} linear ranges, {len(listed)} listed ranges.")
    if undefined:
        text.append("// Bytes without a character: " + " ".join(f"{b:02X}" for b in undefined) + ".")
    text.append(f"namespace cp{number} {{")
    if lead_bytes:
        items = [f"{{0x{a:02X}, 0x{b:02X}}}" for a, b in byte_ranges(lead_bytes)]
        text.append("inline constexpr ByteRange kLeadBytes[] = {")
        text.append(wrap(items))
        text.append("};")
    text.append("inline constexpr LinearRange kLinear[] = {")
    text.append(wrap([f"{{{hex4(a)}, {hex4(b)}, {hex4(c)}}}" for a, b, c in linear]))
    text.append("};")
    text.append("inline constexpr ListedRange kListed[] = {")
    text.append(wrap([f"{{{hex4(a)}, {hex4(b)}, {i}}}" for a, b, i in listed]))
    text.append("};")
    text.append("inline constexpr char16_t kChars[] = {")
    text.append(wrap([hex4(c) for c in chars]))
    text.append("};")
    text.append(f"}} // namespace cp{number}")
    path = os.path.join(out_dir, f"cp{number}.inc")
    with open(path, "w", encoding="ascii", newline="\n") as f:
        f.write("\n".join(text) + "\n")
    print(f"{path}: {singles} bytes, {pairs} two-byte codes, {len(linear)} linear and "
          f"{len(listed)} listed ranges, {len(chars)} listed characters")


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "src", "documents",
                                                                    "codepages")
    os.makedirs(out_dir, exist_ok=True)
    version = libc.gnu_get_libc_version().decode("ascii")
    for number, glibc_name, description in CODE_PAGES:
        write_code_page(out_dir, number, glibc_name, description, version)


if __name__ == "__main__":
    main()
