// Writes the DXF files of a few blocks into a folder, each X.dxf with X.expected beside it: what
// check_dxf.py must find in it, one item a line, fields split by tabs, lengths in millimetres.
//
//   SCALE    n
//   LINE     layer  x1 y1 x2 y2
//   CIRCLE   layer  x y radius
//   TEXT     layer  align(0 left, 1 centre, 2 right)  x y height  text (UTF-8, to the line's end)
//   DIMENSION  axis(X or Y)  length  text
//
// The positions are worked out here from the drawing, apart from the writer; the dimensions from
// the record's outline, apart from the drawing.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "Drawing.h"
#include "DxfWriter.h"
#include "TestBlocks.h"

namespace {

using namespace chokusho;

/** The expectations of a drawing's file, worked out apart from the writer. */
std::string Expectations(const Drawing& drawing)
{
    std::ostringstream out;
    out.precision(17);
    out << "SCALE\t" << drawing.scale << '\n';
    const double s = drawing.scale;
    const auto sx = [&](double paperX) { return (paperX - drawing.originXMm) * s; };
    const auto sy = [&](double paperY) { return (drawing.originYMm - paperY) * s; };
    const auto line = [&](DrawingLayer layer, double x1, double y1, double x2, double y2) {
        out << "LINE\t" << DxfLayerName(layer) << '\t' << x1 << '\t' << y1 << '\t' << x2 << '\t' << y2 << '\n';
    };
    const auto text = [&](DrawingLayer layer, TextAlign align, double x, double y, double height,
                          const std::string& value) {
        if (value.find_first_of("\r\n") != std::string::npos)
            throw std::runtime_error("a sample's text holds a line break");
        if (!value.empty())  // no entity
            out << "TEXT\t" << DxfLayerName(layer) << '\t' << static_cast<int>(align) << '\t' << x << '\t' << y << '\t'
                << height << '\t' << value << '\n';
    };

    for (const auto& l : drawing.modelLines)
        line(l.layer, l.x1 * 1000, l.y1 * 1000, l.x2 * 1000, l.y2 * 1000);
    for (const auto& m : drawing.marks) {
        const double x = m.x * 1000, y = m.y * 1000, r = m.sizeMm * s;
        if (m.shape == ModelMark::Shape::Circle) {
            out << "CIRCLE\t" << DxfLayerName(m.layer) << '\t' << x << '\t' << y << '\t' << r << '\n';
        } else {
            line(m.layer, x - r, y, x + r, y);
            line(m.layer, x, y - r, x, y + r);
        }
    }
    for (const auto& t : drawing.modelTexts)
        text(t.layer, TextAlign::Left, t.x * 1000 + t.dxMm * s, t.y * 1000 - t.dyMm * s, t.heightMm * s, t.text);
    for (const auto& l : drawing.sheetLines)
        line(l.layer, sx(l.x1), sy(l.y1), sx(l.x2), sy(l.y2));
    for (const auto& t : drawing.sheetTexts)
        text(t.layer, t.align, sx(t.x), sy(t.y), t.heightMm * s, t.text);
    return out.str();
}

/** The overall width and height of the record's outline (the ends of its solid segments), in whole millimetres. */
std::string OverallDimensions(const BlockData& record)
{
    double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
    for (int k = 1; k <= record.LineCount; ++k) {
        if (record.LineKind[k] != kSolidLine)
            continue;
        for (const int n : {record.LineStart[k], record.LineEnd[k]}) {
            minX = std::min(minX, record.PointX[n]);
            maxX = std::max(maxX, record.PointX[n]);
            minY = std::min(minY, record.PointY[n]);
            maxY = std::max(maxY, record.PointY[n]);
        }
    }
    std::ostringstream out;
    out.precision(17);
    for (const auto& [axis, length] : {std::pair{'X', (maxX - minX) * 1000}, std::pair{'Y', (maxY - minY) * 1000}}) {
        if (length > 0)
            out << "DIMENSION\t" << axis << '\t' << length << '\t' << std::llround(length) << '\n';
    }
    return out.str();
}

void WriteSample(const std::filesystem::path& folder, const std::string& name, const BlockData& record,
                 const DrawingOptions& options)
{
    const Drawing drawing = BuildDrawing(record, options, name + ".csv", "2026/12/07");
    WriteDxf(drawing, (folder / (name + ".dxf")).string());
    std::ofstream expected(folder / (name + ".expected"), std::ios::binary);
    expected << Expectations(drawing);
    if (options.dimensions != DimensionStyle::None)
        expected << OverallDimensions(record);
    if (!expected.flush())
        throw std::runtime_error("cannot write " + name + ".expected");
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: dxf_samples FOLDER\n");
        return 2;
    }
    try {
        const std::filesystem::path folder = argv[1];
        std::filesystem::create_directories(folder);

        DrawingOptions plain;
        plain.scale = 50;
        WriteSample(folder, "sample", test::SampleBlock(), plain);

        DrawingOptions everything;
        everything.paper = PaperSize::A3;
        everything.landscape = true;
        everything.pointNumbers = true;
        everything.grid = true;
        everything.layerTable = true;
        WriteSample(folder, "full", test::FullRecord(), everything);

        DrawingOptions table = everything;
        table.paper = PaperSize::A4;
        table.grid = false;
        table.scale = 25;
        WriteSample(folder, "table", test::SampleBlock(), table);

        // Second bytes 0x5C (ソ, 表) and 0x5E (タ); percent signs alone and in runs; a caret.
        const BlockData japanese = test::BlockBuilder()
                                       .named("ソ表タ^ブロック", "50%型 100%%d")
                                       .size(3, 2)
                                       .rectangle(3, 2)
                                       .segment(1, 3, kDottedLine)
                                       .centroid(1.5, 1);
        DrawingOptions numbered;
        numbered.scale = 25;
        numbered.pointNumbers = true;
        WriteSample(folder, "japanese", japanese, numbered);

        // Chains of widths and heights through every point, beside the overall ones, at 1:7.5.
        const BlockData stepped = test::Section({{0, 0}, {1.2, 0}, {1.2, 0.4}, {0.8, 0.4}, {0.8, 1}, {0, 1}},
                                                {{1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 6}, {6, 1}});
        DrawingOptions chains;
        chains.scale = 7.5;
        chains.paper = PaperSize::B4;
        chains.dimensions = DimensionStyle::EveryPoint;
        WriteSample(folder, "chains", stepped, chains);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "dxf_samples: %s\n", error.what());
        return 1;
    }
    return 0;
}
