#include "DxfWriter.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <initializer_list>
#include <string_view>
#include <utility>

#include "Bounds.h"
#include "Cp932.h"
#include "FileSystem.h"

namespace chokusho {

namespace {

struct LayerStyle {
    DrawingLayer layer;
    const char* name;
    int colour;  // AutoCAD's colour index: 7 black on paper and white on screen, 8 grey
};

constexpr std::array<LayerStyle, 10> kLayers = {{
    {DrawingLayer::Outline, "OUTLINE", 7},
    {DrawingLayer::Dotted, "DOTTED", 7},
    {DrawingLayer::Points, "POINTS", 7},
    {DrawingLayer::PointNumbers, "NUMBERS", 7},
    {DrawingLayer::Centroid, "CENTROID", 7},
    {DrawingLayer::Grid, "GRID", 8},
    {DrawingLayer::Frame, "FRAME", 7},
    {DrawingLayer::Title, "TITLE", 7},
    {DrawingLayer::Table, "TABLE", 7},
    {DrawingLayer::Dimensions, "DIMENSIONS", 7},
}};

constexpr const char* kSolidLineType = "CONTINUOUS";
constexpr const char* kDashedLineType = "DASHED";

// One style for every text: AutoCAD's own txt.shx for half-width characters with the big font
// extfont2.shx (JIS levels 1 and 2) for the full-width ones. Both come with every AutoCAD and
// AutoCAD LT, and the other CAD programs that read DWG and DXF carry fonts of the same names;
// those that do not (Jw_cad) draw texts in their own font anyway.
constexpr const char* kFont = "txt";
constexpr const char* kBigFont = "extfont2.shx";
// txt.shx advances one text height per character, as wide as a full-width character of the
// big font: every character is counted one height wide when a text is fitted to its cell and
// when a centred or right-aligned text's start is worked out. Fonts whose half-width characters
// are narrower (Jw_cad's, MS Gothic) then draw it a little narrow. ezdxf estimates a text's width
// the same way when it has no font to measure (its monospace font: one height a character).
constexpr double kCharacterWidth = 1.0;

/** The most bytes a text holds in Release 12. */
constexpr std::size_t kMaxTextBytes = 255;

/**
 * A number as DXF holds it: fixed-point rounded to 1e-6, trailing zeros trimmed, never "-0"
 * or an exponent. Entities with non-finite values are left out before they get here; should
 * one come anyway, it is written as 0 rather than as text that no reader takes for a number.
 */
std::string Number(double value)
{
    if (!std::isfinite(value))
        return "0";
    // The largest double takes 309 digits before the point.
    std::array<char, 400> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, 6);
    std::string text(buffer.data(), result.ptr);
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.')
            text.pop_back();
    }
    if (text == "-0")
        text = "0";
    return text;
}

bool Finite(std::initializer_list<double> values)
{
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

/** The length of the UTF-8 character at the front of `text`; 1 for a byte that starts none. */
std::size_t CharacterLength(std::string_view text)
{
    const auto lead = static_cast<unsigned char>(text[0]);
    const std::size_t length = lead > 0xF4 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 1;
    if (length == 1 || text.size() < length)
        return 1;
    for (std::size_t i = 1; i < length; ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
            return 1;
    }
    return length;
}

struct DxfText {
    std::string bytes;  // cp932
    double widthInHeights = 0;
};

/**
 * A text as group 1 holds it: cp932, cut at a character to kMaxTextBytes. Control characters
 * become blanks, since a line break would end the value. In a text "^" followed by a character
 * is a control character, so a caret is written "^ "; "%%" starts a control code (%%d, %%p…),
 * so a percent sign next to another is written "%%%", the code of a percent sign. A lone one
 * stays as it is and reads the same in programs that know no control codes.
 */
DxfText ToDxfText(std::string_view utf8)
{
    DxfText text;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t length = CharacterLength(utf8.substr(i));
        const auto c = static_cast<unsigned char>(utf8[i]);
        const bool percentRun = c == '%' &&
                                ((i > 0 && utf8[i - 1] == '%') || (i + 1 < utf8.size() && utf8[i + 1] == '%'));
        std::string piece;
        if (c < 0x20 || c == 0x7F)
            piece = " ";
        else if (c == '^')
            piece = "^ ";
        else if (percentRun)
            piece = "%%%";
        else
            piece = EncodeCp932(utf8.substr(i, length));
        if (text.bytes.size() + piece.size() > kMaxTextBytes)
            break;
        text.bytes += piece;
        text.widthInHeights += kCharacterWidth;
        i += length;
    }
    return text;
}

/** Code and value pairs, each code right-aligned in three characters. */
class DxfOut {
public:
    void pair(int code, std::string_view value)
    {
        std::array<char, 8> digits{};
        const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), code);
        const auto length = static_cast<std::size_t>(result.ptr - digits.data());
        if (length < 3)
            bytes_.append(3 - length, ' ');
        bytes_.append(digits.data(), length);
        bytes_ += "\r\n";
        bytes_ += value;
        bytes_ += "\r\n";
    }
    void integer(int code, int value) { pair(code, std::to_string(value)); }
    void real(int code, double value) { pair(code, Number(value)); }
    /** Numeric pairs in a row; whole numbers, as integer codes want them, come out without a point. */
    void numbers(std::initializer_list<std::pair<int, double>> pairs)
    {
        for (const auto& [code, value] : pairs)
            real(code, value);
    }
    /** A point of the XY plane: codes `code`, `code` + 10 and `code` + 20 for Z. */
    void point(int code, double x, double y) { numbers({{code, x}, {code + 10, y}, {code + 20, 0}}); }
    void append(const DxfOut& other) { bytes_ += other.bytes_; }
    std::string take() { return std::move(bytes_); }

private:
    std::string bytes_;
};

/** The entities of a drawing in millimetres at real size. */
class EntityWriter {
public:
    explicit EntityWriter(const Drawing& drawing) : drawing_(drawing) {}

    double sheetX(double paperX) const { return (paperX - drawing_.originXMm) * drawing_.scale; }
    double sheetY(double paperY) const { return (drawing_.originYMm - paperY) * drawing_.scale; }
    double size(double paperMm) const { return paperMm * drawing_.scale; }

    void line(DrawingLayer layer, double x1, double y1, double x2, double y2)
    {
        if (!Finite({x1, y1, x2, y2}))
            return;
        out_.pair(0, "LINE");
        out_.pair(8, DxfLayerName(layer));
        out_.point(10, x1, y1);
        out_.point(11, x2, y2);
        bounds_.add(x1, y1);
        bounds_.add(x2, y2);
    }

    void mark(const ModelMark& mark)
    {
        const double x = mark.x * 1000, y = mark.y * 1000, r = size(mark.sizeMm);
        if (!Finite({x, y, r}) || r <= 0)
            return;
        if (mark.shape == ModelMark::Shape::Cross) {
            line(mark.layer, x - r, y, x + r, y);
            line(mark.layer, x, y - r, x, y + r);
            return;
        }
        out_.pair(0, "CIRCLE");
        out_.pair(8, DxfLayerName(mark.layer));
        out_.point(10, x, y);
        out_.real(40, r);
        bounds_.add(x - r, y - r);
        bounds_.add(x + r, y + r);
    }

    /**
     * A text whose baseline starts, is centred or ends at (x, y), condensed to `maxWidth` if any.
     * An empty one (an empty cell of the title block) is no entity.
     *
     * A centred or right-aligned text has (x, y) as its alignment point (group 11, with group 72)
     * and its start (group 10) where the text of its estimated width then begins: CAD programs
     * work the start out again from the alignment, while readers that know no alignment (Inkscape's)
     * draw from group 10 and so still place the text in its cell.
     */
    void text(DrawingLayer layer, double x, double y, const std::string& utf8, double height, TextAlign align,
              double maxWidth)
    {
        if (!Finite({x, y, height}) || height <= 0 || utf8.empty())
            return;
        const DxfText dxfText = ToDxfText(utf8);
        const double natural = dxfText.widthInHeights * height;
        const bool condensed = std::isfinite(maxWidth) && maxWidth > 0 && natural > maxWidth;
        const double width = condensed ? maxWidth : natural;
        const double start = align == TextAlign::Center ? x - width / 2 : align == TextAlign::Right ? x - width : x;
        out_.pair(0, "TEXT");
        out_.pair(8, DxfLayerName(layer));
        out_.point(10, start, y);
        out_.real(40, height);
        out_.pair(1, dxfText.bytes);
        if (condensed)
            out_.real(41, maxWidth / natural);
        if (align != TextAlign::Left) {
            out_.integer(72, align == TextAlign::Center ? 1 : 2);
            out_.point(11, x, y);
        }
        bounds_.add(start, y);
        bounds_.add(x, y);
    }

    void writeAll()
    {
        for (const auto& l : drawing_.modelLines)
            line(l.layer, l.x1 * 1000, l.y1 * 1000, l.x2 * 1000, l.y2 * 1000);
        for (const auto& m : drawing_.marks)
            mark(m);
        for (const auto& t : drawing_.modelTexts)
            text(t.layer, t.x * 1000 + size(t.dxMm), t.y * 1000 - size(t.dyMm), t.text, size(t.heightMm),
                 TextAlign::Left, 0);
        for (const auto& l : drawing_.sheetLines)
            line(l.layer, sheetX(l.x1), sheetY(l.y1), sheetX(l.x2), sheetY(l.y2));
        for (const auto& t : drawing_.sheetTexts)
            text(t.layer, sheetX(t.x), sheetY(t.y), t.text, size(t.heightMm), t.align, size(t.maxWidthMm));
    }

    DxfOut& out() { return out_; }
    Bounds& bounds() { return bounds_; }

private:
    const Drawing& drawing_;
    DxfOut out_;
    Bounds bounds_;
};

void BeginSection(DxfOut& out, const char* name)
{
    out.pair(0, "SECTION");
    out.pair(2, name);
}

void BeginTable(DxfOut& out, const char* name, int entries)
{
    out.pair(0, "TABLE");
    out.pair(2, name);
    out.integer(70, entries);
}

void BeginTableEntry(DxfOut& out, const char* type, const char* name)
{
    out.pair(0, type);
    out.pair(2, name);
    out.integer(70, 0);
}

void WriteHeader(DxfOut& out, const Bounds& extents, const Bounds& limits)
{
    BeginSection(out, "HEADER");
    out.pair(9, "$ACADVER");
    out.pair(1, "AC1009");
    out.pair(9, "$DWGCODEPAGE");
    out.pair(3, "ANSI_932");
    out.pair(9, "$INSBASE");
    out.point(10, 0, 0);
    out.pair(9, "$EXTMIN");
    out.point(10, extents.minX, extents.minY);
    out.pair(9, "$EXTMAX");
    out.point(10, extents.maxX, extents.maxY);
    out.pair(9, "$LIMMIN");
    out.numbers({{10, limits.minX}, {20, limits.minY}});
    out.pair(9, "$LIMMAX");
    out.numbers({{10, limits.maxX}, {20, limits.maxY}});
    out.pair(9, "$LTSCALE");
    out.real(40, 1);
    out.pair(9, "$TEXTSTYLE");
    out.pair(7, "STANDARD");
    out.pair(9, "$CLAYER");
    out.pair(8, "0");
    out.pair(0, "ENDSEC");
}

void WriteTables(DxfOut& out, const Drawing& drawing, const Bounds& extents)
{
    BeginSection(out, "TABLES");

    // The view a CAD program opens with: everything, the whole sheet at least.
    BeginTable(out, "VPORT", 1);
    BeginTableEntry(out, "VPORT", "*ACTIVE");
    out.numbers({{10, 0}, {20, 0}, {11, 1}, {21, 1}});
    out.numbers({{12, (extents.minX + extents.maxX) / 2}, {22, (extents.minY + extents.maxY) / 2}});
    out.numbers({{40, extents.height() * 1.05}, {41, extents.height() > 0 ? extents.width() / extents.height() : 1}});
    out.pair(0, "ENDTAB");

    // Dashes as on paper: with LTSCALE 1 the pattern is in drawing units, the sheet's scale up.
    const double scale = std::isfinite(drawing.scale) && drawing.scale > 0 ? drawing.scale : 1;
    BeginTable(out, "LTYPE", 2);
    BeginTableEntry(out, "LTYPE", kSolidLineType);
    out.pair(3, "Solid line");
    out.numbers({{72, 65}, {73, 0}, {40, 0}});
    BeginTableEntry(out, "LTYPE", kDashedLineType);
    out.pair(3, "__ __ __ __ __");
    out.numbers({{72, 65}, {73, 2}, {40, (kDashMm + kDashGapMm) * scale}});
    out.numbers({{49, kDashMm * scale}, {49, -kDashGapMm * scale}});
    out.pair(0, "ENDTAB");

    BeginTable(out, "LAYER", static_cast<int>(kLayers.size()) + 1);
    BeginTableEntry(out, "LAYER", "0");
    out.integer(62, 7);
    out.pair(6, kSolidLineType);
    for (const auto& layer : kLayers) {
        BeginTableEntry(out, "LAYER", layer.name);
        out.integer(62, layer.colour);
        out.pair(6, IsDashed(layer.layer) ? kDashedLineType : kSolidLineType);
    }
    out.pair(0, "ENDTAB");

    BeginTable(out, "STYLE", 1);
    BeginTableEntry(out, "STYLE", "STANDARD");
    out.numbers({{40, 0}, {41, 1}, {50, 0}, {71, 0}, {42, 2.5}});
    out.pair(3, kFont);
    out.pair(4, kBigFont);
    out.pair(0, "ENDTAB");

    out.pair(0, "ENDSEC");
}

}  // namespace

const char* DxfLayerName(DrawingLayer layer)
{
    for (const auto& style : kLayers) {
        if (style.layer == layer)
            return style.name;
    }
    return "0";
}

std::string FormatDxf(const Drawing& drawing)
{
    EntityWriter entities(drawing);
    entities.writeAll();

    // The limits are the sheet's corners; the extents also take in what lies beyond the sheet.
    Bounds limits;
    limits.add(entities.sheetX(0), entities.sheetY(drawing.paperHeightMm));
    limits.add(entities.sheetX(drawing.paperWidthMm), entities.sheetY(0));
    Bounds& extents = entities.bounds();
    if (Finite({limits.minX, limits.minY, limits.maxX, limits.maxY})) {
        extents.add(limits.minX, limits.minY);
        extents.add(limits.maxX, limits.maxY);
    } else {
        limits = extents;
    }
    if (extents.empty())
        extents = limits = Bounds{0, 0, 0, 0};

    DxfOut out;
    WriteHeader(out, extents, limits);
    WriteTables(out, drawing, extents);
    BeginSection(out, "BLOCKS");
    out.pair(0, "ENDSEC");

    BeginSection(out, "ENTITIES");
    out.append(entities.out());
    out.pair(0, "ENDSEC");
    out.pair(0, "EOF");
    return out.take();
}

void WriteDxf(const Drawing& drawing, const std::string& path) { WriteFileAtomically(path, FormatDxf(drawing)); }

}  // namespace chokusho
