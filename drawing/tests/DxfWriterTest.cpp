#include "DxfWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "BlockFile.h"
#include "Cp932.h"
#include "FileSystem.h"
#include "TestBlocks.h"
#include "TestFiles.h"

namespace chokusho {
namespace {

using Pair = std::pair<int, std::string>;

/** An entity, a table entry, a header variable: a code 0 or 9 and the pairs up to the next. */
struct Entry {
    std::string type;
    std::vector<Pair> values;

    std::string text(int code) const
    {
        const auto found = std::find_if(values.begin(), values.end(),
                                        [code](const Pair& p) { return p.first == code; });
        return found == values.end() ? "(none)" : found->second;
    }
    std::vector<double> reals(std::initializer_list<int> codes) const
    {
        std::vector<double> result;
        for (const int code : codes)
            result.push_back(std::stod(text(code)));
        return result;
    }
};

/** The file's entries of `type` ("" for all), its pairs checked to be well-formed on the way. */
std::vector<Entry> Entries(const std::string& dxf, const std::string& type = "")
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = dxf.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(dxf.substr(start, end - start));
    EXPECT_EQ(start, dxf.size()) << "the last line ends in CR LF";
    EXPECT_EQ(lines.size() % 2, 0u);
    const std::regex code("[ 0-9]{2}[0-9]");
    std::vector<Entry> entries;
    for (std::size_t i = 0; i + 1 < lines.size(); i += 2) {
        EXPECT_TRUE(std::regex_match(lines[i], code)) << "line " << i + 1 << ": " << lines[i];
        EXPECT_EQ(lines[i + 1].find_first_of("\r\n"), std::string::npos) << lines[i + 1];
        const int c = std::stoi(lines[i]);
        if (c == 0 || c == 9)
            entries.push_back({lines[i + 1], {}});
        else if (!entries.empty())
            entries.back().values.emplace_back(c, lines[i + 1]);
    }
    std::erase_if(entries, [&](const Entry& e) { return !type.empty() && e.type != type; });
    return entries;
}

Drawing SampleDrawing(int scale, bool everything = false)
{
    DrawingOptions options;
    options.scale = scale;
    options.pointNumbers = true;
    options.grid = everything;
    options.layerTable = everything;
    return BuildDrawing(test::SampleBlock(), options, "消波A.csv", "2026/12/07");
}

Drawing SheetTextsOnly(const std::vector<SheetText>& texts)
{
    Drawing drawing;
    drawing.paperWidthMm = 297;
    drawing.paperHeightMm = 210;
    drawing.sheetTexts = texts;
    return drawing;
}

TEST(DxfWriter, WellFormedPairsAndTheHeaderOfAnR12FileInCp932)
{
    const std::string dxf = FormatDxf(SampleDrawing(50, true));
    EXPECT_EQ(dxf.find('\n'), dxf.find("\r\n") + 1) << "no bare line feed";
    EXPECT_TRUE(dxf.ends_with("  0\r\nEOF\r\n"));
    std::vector<std::string> sections;
    for (const auto& section : Entries(dxf, "SECTION"))
        sections.push_back(section.text(2));
    EXPECT_EQ(sections, (std::vector<std::string>{"HEADER", "TABLES", "BLOCKS", "ENTITIES"}));
    EXPECT_EQ(Entries(dxf, "$ACADVER").at(0).values, (std::vector<Pair>{{1, "AC1009"}}));
    EXPECT_EQ(Entries(dxf, "$DWGCODEPAGE").at(0).values, (std::vector<Pair>{{3, "ANSI_932"}}));
    EXPECT_EQ(Entries(dxf, "$LTSCALE").at(0).values, (std::vector<Pair>{{40, "1"}}));

    // Every real is plain fixed-point: no exponent, no trailing zeros, no "-0".
    const std::regex number("-?[0-9]+(\\.[0-9]*[1-9])?");
    for (const auto& entry : Entries(dxf)) {
        for (const auto& [code, value] : entry.values) {
            if (code >= 10 && code <= 59) {
                EXPECT_TRUE(std::regex_match(value, number) && value != "-0") << code << ": " << value;
            }
        }
    }

    // Layer 0 and the ten layers, the dotted one dashed and the grid grey.
    std::vector<std::string> names;
    for (const auto& layer : Entries(dxf, "LAYER")) {
        names.push_back(layer.text(2));
        EXPECT_EQ(layer.text(6), layer.text(2) == "DOTTED" ? "DASHED" : "CONTINUOUS") << layer.text(2);
        EXPECT_EQ(layer.text(62), layer.text(2) == "GRID" ? "8" : "7") << layer.text(2);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"0", "OUTLINE", "DOTTED", "POINTS", "NUMBERS", "CENTROID", "GRID",
                                               "FRAME", "TITLE", "TABLE", "DIMENSIONS"}));
    const auto styles = Entries(dxf, "STYLE");
    ASSERT_EQ(styles.size(), 1u);
    EXPECT_EQ(styles[0].text(2), "STANDARD");
    EXPECT_EQ(styles[0].text(4), "extfont2.shx");
}

TEST(DxfWriter, TheSectionAtRealSizeAndTheSheetAroundItAtTheScale)
{
    for (const int scale : {20, 50}) {
        SCOPED_TRACE(scale);
        const Drawing drawing = SampleDrawing(scale);
        const std::string dxf = FormatDxf(drawing);
        const auto lines = Entries(dxf, "LINE");
        const auto on = [&](const std::string& layer) {
            std::vector<std::vector<double>> found;
            for (const auto& line : lines) {
                if (line.text(8) == layer)
                    found.push_back(line.reals({10, 20, 11, 21}));
            }
            return found;
        };
        // The segments in millimetres whatever the scale.
        EXPECT_EQ(on("OUTLINE"), (std::vector<std::vector<double>>{{0, 0, 4000, 0}}));
        EXPECT_EQ(on("DOTTED"), (std::vector<std::vector<double>>{{4000, 0, 4000, 3000}}));
        // Point 2's cross: 1 mm on paper each way.
        EXPECT_EQ(on("POINTS").at(2), (std::vector<double>{4000.0 - scale, 0, 4000.0 + scale, 0}));

        // The frame's top edge, 15 mm inside the paper, lies where the paper puts it.
        const auto frame = on("FRAME").at(0);
        const double x0 = (15 - drawing.originXMm) * scale, y0 = (drawing.originYMm - 15) * scale;
        EXPECT_NEAR(frame[0], x0, 1e-6);
        EXPECT_NEAR(frame[1], y0, 1e-6);
        EXPECT_NEAR(frame[2] - frame[0], (210 - 30) * scale, 1e-6);
        const auto limMin = Entries(dxf, "$LIMMIN").at(0).reals({10, 20});
        const auto limMax = Entries(dxf, "$LIMMAX").at(0).reals({10, 20});
        EXPECT_NEAR(limMin[0], x0 - 15 * scale, 1e-6);
        EXPECT_NEAR(limMax[1], y0 + 15 * scale, 1e-6);
        EXPECT_NEAR(limMax[0] - limMin[0], 210 * scale, 1e-6);
        EXPECT_NEAR(limMax[1] - limMin[1], 297 * scale, 1e-6);
        // Everything lies on the sheet: the extents are its corners.
        EXPECT_EQ(Entries(dxf, "$EXTMIN").at(0).reals({10, 20}), limMin);
        EXPECT_EQ(Entries(dxf, "$EXTMAX").at(0).reals({10, 20}), limMax);

        // Marks, texts and dashes keep their paper sizes.
        const auto circles = Entries(dxf, "CIRCLE");
        ASSERT_EQ(circles.size(), 1u);
        EXPECT_EQ(circles[0].reals({10, 20, 40}), (std::vector<double>{2000, 1500, 1.5 * scale}));
        const ModelText& one = drawing.modelTexts.at(0);
        for (const auto& text : Entries(dxf, "TEXT")) {
            if (text.text(1) == "1") {
                EXPECT_EQ(text.text(8), "NUMBERS");
                const std::vector<double> at = text.reals({10, 20, 40});
                EXPECT_NEAR(at[0], one.dxMm * scale, 1e-6);
                EXPECT_NEAR(at[1], -one.dyMm * scale, 1e-6);
                EXPECT_EQ(at[2], 2.5 * scale);
            }
            if (text.text(8) == "TITLE") {
                EXPECT_EQ(text.reals({40}), std::vector<double>{3.5 * scale});
            }
        }
        const auto dashed = Entries(dxf, "LTYPE").at(1);
        EXPECT_EQ(dashed.text(2), "DASHED");
        EXPECT_EQ(dashed.reals({40, 73}), (std::vector<double>{4.5 * scale, 2}));
        EXPECT_EQ(std::vector<Pair>(dashed.values.end() - 2, dashed.values.end()),
                  (std::vector<Pair>{{49, std::to_string(3 * scale)}, {49, std::to_string(-3 * scale / 2)}}));
    }
}

TEST(DxfWriter, TextsInCp932WithControlCharactersCaretsAndPercentSignsKeptFromCodes)
{
    std::string hiragana;
    for (int i = 0; i < 300; ++i)
        hiragana += "あ";
    const Drawing drawing = SheetTextsOnly({
        {10, 10, "ソ表タ", 3.5},
        {10, 20, "50%型", 3.5},
        {10, 30, "100%%d", 3.5},
        {10, 40, "a\tb\r\nc\x7F", 3.5},
        {10, 50, "x^y^", 3.5},
        {10, 60, hiragana, 3.5},
        {10, 70, "中央", 3.5, TextAlign::Center},
        {10, 80, "右", 3.5, TextAlign::Right},
        {10, 90, "", 3.5},
        // Every character counts one height wide: 10 characters of 2 mm in 10 mm, half as wide.
        {10, 100, "ABCDEFGHIJ", 2, TextAlign::Left, DrawingLayer::Title, 10},
        {10, 110, "名称", 2, TextAlign::Left, DrawingLayer::Title, 4},
    });
    std::vector<std::string> texts;
    std::vector<std::string> alignments;
    std::vector<std::string> widths;
    for (const auto& text : Entries(FormatDxf(drawing), "TEXT")) {
        texts.push_back(text.text(1));
        alignments.push_back(text.text(72));
        widths.push_back(text.text(41));
    }
    ASSERT_EQ(texts.size(), 10u) << "an empty text is no entity";
    // Second bytes 0x5C and 0x5E stay as they are: the whole is cp932, not bytes of ASCII.
    EXPECT_EQ(texts[0], "\x83\x5C\x95\x5C\x83\x5E");
    EXPECT_EQ(texts[1], "50%" + EncodeCp932("型")) << "a lone percent sign draws as itself";
    EXPECT_EQ(texts[2], "100%%%%%%d") << "each of two percent signs as the code %%%, not %%d (a degree sign)";
    EXPECT_EQ(texts[3], "a b  c ");
    EXPECT_EQ(texts[4], "x^ y^ ");
    // At most 255 bytes, cut between characters.
    EXPECT_EQ(texts[5], EncodeCp932(hiragana.substr(0, 127 * 3)));
    const std::string none = "(none)";
    EXPECT_EQ(alignments, (std::vector<std::string>{none, none, none, none, none, none, "1", "2", none, none}));
    EXPECT_EQ(widths, (std::vector<std::string>{none, none, none, none, none, none, none, none, "0.5", none}));
}

TEST(DxfWriter, AnAlignedTextStartsWhereItsWidthPutsItAndAlignsOnItsPoint)
{
    // Every character one height wide; a condensed text as wide as its room.
    const struct {
        SheetText text;
        double start;
    } cases[] = {
        {{10, 70, "中央", 3.5, TextAlign::Center}, 10 - 3.5},
        {{10, 80, "右", 3.5, TextAlign::Right}, 10 - 3.5},
        {{30, 90, "1:50", 2, TextAlign::Right}, 30 - 8},
        {{20, 100, "ABCDEFGHIJ", 2, TextAlign::Center, DrawingLayer::Title, 10}, 20 - 5},
        {{10, 110, "左", 3.5}, 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.text);
        const auto texts = Entries(FormatDxf(SheetTextsOnly({c.text})), "TEXT");
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0].reals({10, 20}), (std::vector<double>{c.start, -c.text.y}));
        if (c.text.align == TextAlign::Left)
            EXPECT_EQ(texts[0].text(11), "(none)");
        else
            EXPECT_EQ(texts[0].reals({11, 21}), (std::vector<double>{c.text.x, -c.text.y}));
    }
}

TEST(DxfWriter, NumbersInPlainFixedPointAndNonFiniteEntitiesLeftOut)
{
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    constexpr double inf = std::numeric_limits<double>::infinity();
    Drawing drawing;
    drawing.modelLines = {{0.1234567891, -1e-12, 1e17, 1.0 / 3}, {nan, 0, 1, 1}, {0, 0, 1, inf}};
    drawing.marks = {{nan, 0}, {0, 0, ModelMark::Shape::Circle, inf}};
    drawing.modelTexts = {{0, 0, nan, 0, "x", 1}};
    drawing.sheetTexts = {{0, 0, "y", nan}};
    const auto lines = Entries(FormatDxf(drawing), "LINE");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text(10), "123.456789");
    EXPECT_EQ(lines[0].text(20), "0");
    EXPECT_EQ(lines[0].text(11), "100000000000000000000");
    EXPECT_EQ(lines[0].text(21), "333.333333");
    EXPECT_EQ(Entries(FormatDxf(drawing), "TEXT").size(), 0u);

    // A scale that is no number spoils the sheet, not the file.
    drawing = SampleDrawing(50);
    drawing.scale = nan;
    const std::string dxf = FormatDxf(drawing);
    for (const char* bad : {"nan", "inf", "NAN", "INF"})
        EXPECT_EQ(dxf.find(bad), std::string::npos) << bad;
    const auto drawn = Entries(dxf, "LINE");
    EXPECT_EQ(std::count_if(drawn.begin(), drawn.end(),
                            [](const Entry& line) { return line.text(8) == "OUTLINE" || line.text(8) == "DOTTED"; }),
              2)
        << "the segments stay";
}

TEST(DxfWriter, WritesTheFileOrSaysWhyNot)
{
    const test::TempFolder folder;
    const Drawing drawing = SampleDrawing(50);
    WriteDxf(drawing, PathToUtf8(folder.path() / "drawing.dxf"));
    EXPECT_EQ(folder.read("drawing.dxf"), FormatDxf(drawing));

    const std::string missing = PathToUtf8(folder.path() / "missing" / "drawing.dxf");
    EXPECT_THROW(WriteDxf(drawing, missing), FileWriteError);
}

}  // namespace
}  // namespace chokusho
