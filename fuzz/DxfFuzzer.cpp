// Feeds arbitrary bytes to the DXF reader and assembles a block from whatever it reads. Neither
// may fail on any input but by its result, and a block it makes must be one the rest of the
// program can rely on: within the document's rules, with no point twice, no segment twice or of
// no length, and the same after a save and a read as the import made it.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string_view>
#include <utility>

#include "BlockFile.h"
#include "DocumentInvariants.h"
#include "DxfImport.h"
#include "DxfReader.h"

namespace chokusho {
namespace {

/** Stops the run, leaving the input to libFuzzer, when a promise does not hold. */
void Require(bool holds, const char* what)
{
    if (holds)
        return;
    std::fprintf(stderr, "DXF import: %s\n", what);
    std::abort();
}

void RequireDrawingSound(const DxfDrawing& drawing, std::size_t fileSize)
{
    const auto layers = static_cast<int>(drawing.layers.size());
    for (const DxfLine& line : drawing.lines)
        Require(line.layer >= 0 && line.layer < layers, "a line names no layer");
    for (const DxfArc& arc : drawing.arcs)
        Require(arc.layer >= 0 && arc.layer < layers && arc.r > 0, "an arc names no layer or has no radius");
    // Model space holds no more pieces than it has bytes; the blocks add what the reader allows.
    Require(drawing.lines.size() + drawing.arcs.size() <= static_cast<std::size_t>(kMaxDxfPieces) + fileSize,
            "more pieces than the reader takes");
}

void RequireBlockSound(const DxfImport& import)
{
    const BlockData& block = import.block;
    Require(CheckDocumentInvariants(block).empty(), "an imported block breaks the document's rules");
    Require(import.counts.points == block.PointCount && import.counts.segments() == block.LineCount,
            "the counts are not the block's");
    std::set<std::pair<double, double>> places;
    for (int i = 1; i <= block.PointCount; ++i)
        places.insert({block.PointX[i], block.PointY[i]});
    Require(places.size() == static_cast<std::size_t>(block.PointCount), "two points at one place");
    std::set<std::pair<int, int>> joins;
    int dotted = 0;
    for (int k = 1; k <= block.LineCount; ++k) {
        const int a = block.LineStart[k], b = block.LineEnd[k];
        Require(a != b, "a segment of no length");
        joins.insert({std::min(a, b), std::max(a, b)});
        dotted += block.LineKind[k] == kDottedLine;
    }
    Require(joins.size() == static_cast<std::size_t>(block.LineCount), "a segment twice");
    Require(dotted == import.counts.dottedSegments, "the dotted count is not the block's");

    BlockData saved = block;
    saved.Name = "import";
    BlockData read;
    Require(ParseBlockFile(read, FormatBlockFile(saved)).ok(), "the imported block's file does not read");
    Require(read == saved, "the imported block changed in its file");
}

void Assemble(const DxfDrawing& drawing, const DxfImportOptions& options)
{
    const DxfImport import = AssembleBlock(drawing, options);
    if (import.ok())
        RequireBlockSound(import);
    else
        Require(!DxfImportFailureText(import).empty(), "a refusal without a reason");
}

}  // namespace
}  // namespace chokusho

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace chokusho;
    const DxfReadResult read = ReadDxf(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!read.ok()) {
        Require(!DxfReadFailureText(read).empty(), "a file refused without a reason");
        return 0;
    }
    RequireDrawingSound(read.drawing, size);
    Assemble(read.drawing, DxfImportOptions{});
    DxfImportOptions coarse;
    coarse.unit = DxfUnit::Metre;
    coarse.toleranceMm = kMaxDxfToleranceMm;
    if (!read.drawing.layers.empty())
        coarse.layers = std::vector<std::string>{read.drawing.layers.back().name};
    Assemble(read.drawing, coarse);
    return 0;
}
