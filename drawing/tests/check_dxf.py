#!/usr/bin/python3
"""Reads DXF files with ezdxf (Debian's python3-ezdxf) and fails on what a CAD program would not take.

    check_dxf.py [--any] PATH...

PATH is a .dxf file or a folder of them. Every file: ezdxf reads it, its audit finds nothing to
fix or report, no layer has an undefined line type. Unless --any, also the form this program
writes: ASCII DXF R12 (AC1009) in cp932 (ANSI_932), CR LF line ends, group codes right-aligned in
three characters, reals in plain fixed-point, texts of at most 255 bytes, only LINE, TEXT and
CIRCLE on the ten layers, the layer DOTTED of the line type DASHED (a dash and a gap), and every
centred or right-aligned TEXT starting (group 10) where its width puts it before its alignment point
(group 11), for readers that ignore the alignment. Beside
NAME.dxf, NAME.expected (written by DxfSamples.cpp) lists every line, circle and text the file must
hold and nothing else: positions to 1e-6 mm, layers, texts as UTF-8, and the drawing's scale, at
which DASHED must be a 3 mm dash and a 1.5 mm gap; and the overall dimensions of the section's
outline, each a text on the layer DIMENSIONS between two extension lines that length apart.

Exit status 0 when every file passes, 1 when one does not (its problems on stderr), 2 on a wrong
command line.
"""

import argparse
import math
import os
import re
import sys

import ezdxf

try:  # where ezdxf 1.1 and later keep it
    from ezdxf.fonts.fonts import MonospaceFont
except ImportError:
    from ezdxf.tools.fonts import MonospaceFont

LAYERS = ["OUTLINE", "DOTTED", "POINTS", "NUMBERS", "CENTROID", "GRID", "FRAME", "TITLE", "TABLE", "DIMENSIONS"]
MAX_TEXT_BYTES = 255


def check_bytes(data, problems):
    if re.search(rb"\r(?!\n)|(?<!\r)\n", data):
        problems.append("a line does not end in CR LF")
    lines = data.split(b"\r\n")[:-1]
    pairs = list(zip(lines[0::2], lines[1::2]))
    if len(lines) % 2 or not pairs or pairs[-1] != (b"  0", b"EOF"):
        problems.append("the file does not end with the pair 0 EOF")
    for index, (code, value) in enumerate(pairs):
        where = f"line {2 * index + 1}"
        if not re.fullmatch(rb" {0,2}\d+", code) or len(code) < 3:
            problems.append(f"{where}: group code {code!r} is not right-aligned in three characters")
            continue
        number = int(code)
        real = 10 <= number <= 59 or 140 <= number <= 147 or 210 <= number <= 239
        if real and (not re.fullmatch(rb"-?\d+(\.\d*[1-9])?", value) or value == b"-0"):
            problems.append(f"{where}: code {number} has the real {value!r}, not in plain fixed-point")
        if number == 1 and len(value) > MAX_TEXT_BYTES:
            problems.append(f"{where}: a text of {len(value)} bytes, more than R12 holds")


def dashed_pattern(doc):
    """[total length, element, ...] of the line type DASHED."""
    tags = doc.linetypes.get("DASHED").pattern_tags.tags
    return [float(tags.get_first_value(40, 0))] + [float(tag.value) for tag in tags if tag.code == 49]


def check_form(doc, problems):
    if doc.header.get("$ACADVER") != "AC1009":
        problems.append(f"$ACADVER is {doc.header.get('$ACADVER')!r}, not AC1009")
    if doc.header.get("$DWGCODEPAGE") != "ANSI_932" or doc.encoding != "cp932":
        problems.append(f"$DWGCODEPAGE is {doc.header.get('$DWGCODEPAGE')!r}, read as {doc.encoding}")
    problems += [f"no layer {name}" for name in LAYERS if name not in doc.layers]
    if "DASHED" not in doc.linetypes:
        problems.append("no line type DASHED")
    elif len(dashed_pattern(doc)) != 3 or not dashed_pattern(doc)[1] > 0 > dashed_pattern(doc)[2]:
        problems.append(f"DASHED is not a dash and a gap: {dashed_pattern(doc)}")
    if "DOTTED" in doc.layers and doc.layers.get("DOTTED").dxf.linetype != "DASHED":
        problems.append("the layer DOTTED is not drawn DASHED")
    for entity in doc.modelspace():
        if entity.dxftype() not in ("LINE", "TEXT", "CIRCLE") or entity.dxf.layer not in LAYERS:
            problems.append(f"{entity.dxftype()} on the layer {entity.dxf.layer}")


CONTROL_CODES = {"%": "%", "c": "\u00d8", "d": "\u00b0", "p": "\u00b1", "o": "", "u": "", "k": ""}


def drawn_text(text):
    """What AutoCAD draws for a TEXT's value: "^" and a character is a control character ("^ " a caret),
    "%%" and a character a control code ("%%%" a percent sign, "%%d" a degree sign...)."""
    def decode(match):
        caret, code = match.groups()
        if caret is not None:
            return "^" if caret == " " else chr((ord(caret) - 64) % 128)
        return chr(int(code)) if code.isdigit() else CONTROL_CODES.get(code.lower(), match.group(0))
    return re.sub(r"\^(.)|%%(\d{3}|.)", decode, text)


def check_aligned_starts(doc, problems):
    """A centred (72 = 1) or right-aligned (72 = 2) TEXT starts its width before its alignment point, on
    its baseline. The width is ezdxf's estimate without a font to measure, the one text_size() makes
    without Matplotlib: each character one height wide, times the width factor (group 41); the
    characters are those AutoCAD draws."""
    for e in doc.modelspace().query("TEXT"):
        align = e.dxf.get("halign", 0)
        if align not in (1, 2):
            continue
        if not e.dxf.hasattr("align_point"):
            problems.append(f"the aligned text {e.dxf.text!r} has no alignment point")
            continue
        drawn = drawn_text(e.dxf.text)
        width = MonospaceFont(e.dxf.height, e.dxf.get("width", 1)).text_width(drawn)
        end = e.dxf.align_point
        start = (end.x - width * (0.5 if align == 1 else 1), end.y)
        # Positions keep six decimals, and so does the width factor, whose rounding grows with the text.
        tolerance = 1e-5 + 1e-6 * len(drawn) * e.dxf.height
        if not close([e.dxf.insert.x, e.dxf.insert.y], start, tolerance):
            problems.append(f"the text {e.dxf.text!r} aligned {align} at ({end.x:g}, {end.y:g}) starts at "
                            f"({e.dxf.insert.x:g}, {e.dxf.insert.y:g}), not at ({start[0]:g}, {start[1]:g})")


def fitting_part(text):
    """The front of `text` that a TEXT of MAX_TEXT_BYTES holds, with carets and runs of "%" escaped."""
    size = 0
    for i, c in enumerate(text):
        run = c == "%" and "%%" in text[max(i - 1, 0):i + 2]
        size += 2 if c == "^" else 3 if run else len(c.encode("cp932", "replace"))
        if size > MAX_TEXT_BYTES:
            return text[:i]
    return text


def read_expectations(path):
    scale, items, dimensions = None, [], []
    with open(path, encoding="utf-8") as f:
        for line in f.read().splitlines():
            fields = line.split("\t", 6 if line.startswith("TEXT") else -1)
            if fields[0] == "SCALE":
                scale = float(fields[1])
            elif fields[0] == "DIMENSION":
                dimensions.append((fields[1], float(fields[2]), fields[3]))
            elif fields[0] in ("LINE", "CIRCLE"):
                items.append((fields[0], fields[1], [float(v) for v in fields[2:]], None))
            elif fields[0] == "TEXT":
                items.append(("TEXT", fields[1], [float(v) for v in fields[2:6]], fitting_part(fields[6])))
    return scale, items, dimensions


def items_of(doc):
    """The file's entities in the shape of the expectations."""
    items = []
    for e in doc.modelspace():
        kind, layer = e.dxftype(), e.dxf.layer
        if kind == "LINE":
            items.append((kind, layer, [e.dxf.start.x, e.dxf.start.y, e.dxf.end.x, e.dxf.end.y], None))
        elif kind == "CIRCLE":
            items.append((kind, layer, [e.dxf.center.x, e.dxf.center.y, e.dxf.radius], None))
        elif kind == "TEXT":
            align = e.dxf.get("halign", 0)
            at = e.dxf.insert if align == 0 else e.dxf.align_point
            items.append((kind, layer, [align, at.x, at.y, e.dxf.height], drawn_text(e.dxf.text)))
    return items


def close(a, b, tolerance=1e-6):
    return len(a) == len(b) and all(math.isclose(x, y, rel_tol=0, abs_tol=tolerance) for x, y in zip(a, b))


def check_dimension(doc, axis, length, text, problems):
    """A TEXT `text` on DIMENSIONS, between two of its extension lines across `axis` that lie `length` apart."""
    across = 0 if axis == "X" else 1
    lines = [e for e in doc.modelspace().query("LINE") if e.dxf.layer == "DIMENSIONS"]
    # Extension lines of widths run up and down, of heights left and right.
    places = sorted({round((e.dxf.start.x, e.dxf.start.y)[across], 6) for e in lines
                     if math.isclose((e.dxf.start.x, e.dxf.start.y)[across], (e.dxf.end.x, e.dxf.end.y)[across],
                                     abs_tol=1e-9)})
    texts = [e for e in doc.modelspace().query("TEXT") if e.dxf.layer == "DIMENSIONS" and e.dxf.text == text]
    for e in texts:
        at = e.dxf.align_point if e.dxf.get("halign", 0) else e.dxf.insert
        where = (at.x, at.y)[across]
        if any(a <= where <= b and math.isclose(b - a, length, abs_tol=1e-6) for a in places for b in places):
            return
    problems.append(f"no dimension {text} of {length:g} mm along {axis} on the layer DIMENSIONS")


def check_expectations(doc, path, problems):
    scale, expected, dimensions = read_expectations(path)
    for axis, length, text in dimensions:
        check_dimension(doc, axis, length, text, problems)
    dashes = [4.5 * scale, 3 * scale, -1.5 * scale] if scale is not None else None
    if dashes and "DASHED" in doc.linetypes and not close(dashed_pattern(doc), dashes):
        problems.append(f"DASHED is {dashed_pattern(doc)}, not a 3 mm dash and a 1.5 mm gap at 1:{scale:g}")
    unmatched = items_of(doc)
    for want in expected:
        match = next((i for i, got in enumerate(unmatched)
                      if got[:2] == want[:2] and got[3] == want[3] and close(got[2], want[2])), None)
        if match is None:
            problems.append(f"no {want}")
        else:
            del unmatched[match]
    problems += [f"an unexpected {got}" for got in unmatched]


def check_file(path, strict):
    try:
        with open(path, "rb") as f:
            data = f.read()
    except OSError as error:
        return [f"cannot be read: {error.strerror}"]
    problems = []
    if strict:
        check_bytes(data, problems)
    try:
        doc = ezdxf.readfile(path)
    except Exception as error:  # ezdxf's own errors and the system's
        return problems + [f"ezdxf cannot read it: {type(error).__name__}: {error}"]
    # AutoCAD refuses a layer of an undefined line type, which ezdxf's audit lets pass.
    problems += [f"layer {layer.dxf.name} has the undefined line type {layer.dxf.linetype}"
                 for layer in doc.layers if layer.dxf.linetype not in doc.linetypes]
    auditor = doc.audit()
    problems += [f"audit error: {entry.message}" for entry in auditor.errors]
    problems += [f"audit had to fix: {entry.message}" for entry in auditor.fixes]
    if strict:
        check_form(doc, problems)
        check_aligned_starts(doc, problems)
        expectations = os.path.splitext(path)[0] + ".expected"
        if os.path.exists(expectations):
            check_expectations(doc, expectations, problems)
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--any", action="store_true", help="a DXF file from anywhere: only read and audit it")
    parser.add_argument("paths", nargs="+", metavar="PATH")
    args = parser.parse_args()
    files = []
    for path in args.paths:
        if os.path.isdir(path):
            files += sorted(os.path.join(path, name) for name in os.listdir(path) if name.lower().endswith(".dxf"))
        else:
            files.append(path)
    if not files:
        parser.error("no DXF file to check")
    failed = False
    for path in files:
        problems = check_file(path, not args.any)
        for problem in problems[:50]:
            print(f"{path}: {problem}", file=sys.stderr)
        if len(problems) > 50:
            print(f"{path}: and {len(problems) - 50} more problems", file=sys.stderr)
        print(f"{path}: {'FAILED' if problems else 'ok'}", flush=True)
        failed = failed or bool(problems)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
