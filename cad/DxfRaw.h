#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "DxfDrawing.h"

namespace chokusho::dxf {

/** The reader's own view of a file's entities, before blocks are placed (DxfReader.cpp, DxfUnfold.cpp). */

enum class Kind : std::uint8_t { Line, Arc, Circle, Polyline, Insert, Text, Other, Ignored };

/** An entity's line type: one of the table's (index), or one of these. */
inline constexpr int kByLayer = -1;
inline constexpr int kByBlock = -2;

struct Vertex {
    double x = 0, y = 0, bulge = 0;
};

struct Entity {
    Kind kind = Kind::Other;
    bool paperSpace = false;
    /** Its extrusion points down: its own X axis runs to the drawing's -X (arcs, polylines, inserts). */
    bool mirrored = false;
    bool closed = false;
    int layer = 0;
    int lineType = kByLayer;
    int block = -1;  // an INSERT's block
    std::uint32_t firstVertex = 0;
    std::uint32_t vertexCount = 0;
    int columns = 1, rows = 1;
    /**
     * LINE x1 y1 x2 y2; ARC cx cy r start end (degrees); CIRCLE cx cy r; INSERT x y xscale
     * yscale rotation column-spacing row-spacing.
     */
    double v[7] = {0, 0, 0, 0, 0, 0, 0};
};

struct Layer {
    std::string bytes;  // the name as the file holds it
    bool frozen = false;
    bool off = false;
    int lineType = kByLayer;
};

struct LineType {
    std::string key;  // upper case
    bool gapped = false;
};

struct Block {
    double baseX = 0, baseY = 0;
    std::vector<Entity> entities;
};

/** Everything the sections said, as read. */
struct File {
    std::string version;   // $ACADVER
    std::string codePage;  // $DWGCODEPAGE
    int insUnits = 0;
    std::vector<Layer> layers;
    std::vector<LineType> lineTypes;
    std::vector<Block> blocks;
    std::vector<Entity> entities;  // ENTITIES
    std::vector<Vertex> vertices;  // every polyline's, by range
};

/** A failure found while reading, carried to ReadDxf's one handler. */
struct Refusal {
    DxfFailure failure;
    int line = 0;
};

/** Places the file's entities into `drawing` (lines, arcs, layers' counts, skips). Throws Refusal. */
void Unfold(const File& file, DxfDrawing& drawing);

/** The layer names as UTF-8, by the file's version and code page. */
std::string DecodeName(const File& file, std::string_view bytes);

/** Whether a line type of that name (upper case) is drawn with gaps whatever its table says. */
bool IsDottedLineTypeName(std::string_view key);

}  // namespace chokusho::dxf
