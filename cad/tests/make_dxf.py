#!/usr/bin/python3
"""Writes the DXF files that cad_generated_tests reads, with ezdxf (Debian's python3-ezdxf): the
same drawing in every version from R12 to R2018, so that the reader meets each version as a CAD
program other than this one writes it.

    make_dxf.py FOLDER

Each VERSION.dxf holds, in millimetres:
  - layer LINE: lines (0,0)-(2000,0)-(2000,1000), and a text;
  - layer LWPOLY: a closed rectangle 3000 x 2000 (a 2D POLYLINE in R12, which has no LWPOLYLINE);
  - layer POLY2D: an open 2D POLYLINE (0,0)-(1000,500)-(2000,0);
  - layer ARC: an arc about (0,0) of radius 1000 from 0 to 90 degrees;
  - layer CIRCLE: a circle about (500,500) of radius 500;
  - layer BULGE: a polyline from (0,0) to (2000,0) with bulge 1, a half circle above the line (clockwise);
  - layer 外形 (cp932 up to R2004, UTF-8 after): a line (0,0)-(500,0);
  - layers FROZEN (frozen) and OFF (off): a line each; a line in paper space;
  - layer A: the block NEST inserted at (10000,5000) turned 90 degrees and mirrored (x scale -1)
    with the line type DASHED; NEST holds the block SQ twice, at (0,0) and at (2000,0) scaled 2,
    both BYBLOCK; SQ is a square of 1000 about its base point (100,0), on layer 0, three sides
    BYLAYER and its top BYBLOCK;
  - layer HID (line type HIDDEN): NEST inserted at (20000,0);
  - layer M: a MINSERT of the block TICK, a line (0,0)-(100,0), 3 columns 1000 apart and 2 rows 500 apart.
UNITS-N.dxf (R2000, $INSUNITS N for N in 0 1 5 6) each hold a line (0,0)-(100,0) on layer U.
ESCAPED.dxf (R2000, ANSI_1252) holds a line on the layer 外形, which that code page cannot hold.
"""

import os
import sys

import ezdxf

VERSIONS = ["R12", "R2000", "R2004", "R2007", "R2010", "R2013", "R2018"]


def polyline(msp, version, points, layer, closed=False):
    if version == "R12":
        msp.add_polyline2d(points, format="xyb", close=closed, dxfattribs={"layer": layer})
    else:
        msp.add_lwpolyline(points, format="xyb", close=closed, dxfattribs={"layer": layer})


def kinds(version, path):
    doc = ezdxf.new(version, setup=True)
    if version in ("R12", "R2000", "R2004"):
        doc.encoding = "cp932"
        doc.header["$DWGCODEPAGE"] = "ANSI_932"
    if version != "R12":
        doc.header["$INSUNITS"] = 4
    for name in ["LINE", "LWPOLY", "POLY2D", "ARC", "CIRCLE", "BULGE", "外形", "A", "M"]:
        doc.layers.add(name)
    doc.layers.add("HID", linetype="HIDDEN")
    doc.layers.add("FROZEN").freeze()
    doc.layers.add("OFF").off()

    msp = doc.modelspace()
    msp.add_line((0, 0), (2000, 0), dxfattribs={"layer": "LINE"})
    msp.add_line((2000, 0), (2000, 1000), dxfattribs={"layer": "LINE"})
    msp.add_text("not a line", dxfattribs={"layer": "LINE", "height": 100})
    polyline(msp, version, [(0, 0, 0), (3000, 0, 0), (3000, 2000, 0), (0, 2000, 0)], "LWPOLY", closed=True)
    msp.add_polyline2d([(0, 0), (1000, 500), (2000, 0)], dxfattribs={"layer": "POLY2D"})
    msp.add_arc((0, 0), 1000, 0, 90, dxfattribs={"layer": "ARC"})
    msp.add_circle((500, 500), 500, dxfattribs={"layer": "CIRCLE"})
    polyline(msp, version, [(0, 0, -1), (2000, 0, 0)], "BULGE")
    msp.add_line((0, 0), (500, 0), dxfattribs={"layer": "外形"})
    msp.add_line((0, 0), (1, 0), dxfattribs={"layer": "FROZEN"})
    msp.add_line((0, 0), (1, 0), dxfattribs={"layer": "OFF"})
    doc.layout("Layout1").add_line((0, 0), (1, 0), dxfattribs={"layer": "LINE"})

    sq = doc.blocks.new("SQ", base_point=(100, 0))
    sq.add_line((100, 0), (1100, 0), dxfattribs={"layer": "0"})
    sq.add_line((1100, 0), (1100, 1000), dxfattribs={"layer": "0"})
    sq.add_line((1100, 1000), (100, 1000), dxfattribs={"layer": "0", "linetype": "BYBLOCK"})
    sq.add_line((100, 1000), (100, 0), dxfattribs={"layer": "0"})
    nest = doc.blocks.new("NEST")
    nest.add_blockref("SQ", (0, 0), dxfattribs={"layer": "0", "linetype": "BYBLOCK"})
    nest.add_blockref("SQ", (2000, 0), dxfattribs={"layer": "0", "linetype": "BYBLOCK", "xscale": 2, "yscale": 2})
    msp.add_blockref("NEST", (10000, 5000),
                     dxfattribs={"layer": "A", "linetype": "DASHED", "rotation": 90, "xscale": -1})
    msp.add_blockref("NEST", (20000, 0), dxfattribs={"layer": "HID"})
    tick = doc.blocks.new("TICK")
    tick.add_line((0, 0), (100, 0))
    msp.add_blockref("TICK", (0, 0), dxfattribs={"layer": "M"}).grid(size=(2, 3), spacing=(500, 1000))
    doc.saveas(path)


def units(folder):
    for n in (0, 1, 5, 6):
        doc = ezdxf.new("R2000")
        doc.header["$INSUNITS"] = n
        doc.modelspace().add_line((0, 0), (100, 0), dxfattribs={"layer": "U"})
        doc.saveas(os.path.join(folder, f"UNITS-{n}.dxf"))


def escaped(folder):
    doc = ezdxf.new("R2000")
    doc.layers.add("外形")
    doc.modelspace().add_line((0, 0), (100, 0), dxfattribs={"layer": "外形"})
    doc.saveas(os.path.join(folder, "ESCAPED.dxf"))


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    for version in VERSIONS:
        kinds(version, os.path.join(folder, f"{version}.dxf"))
    units(folder)
    escaped(folder)
    return 0


if __name__ == "__main__":
    sys.exit(main())
