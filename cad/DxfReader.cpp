#include "DxfReader.h"

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>
#include <unordered_map>
#include <utility>

#include "DxfPairs.h"
#include "DxfRaw.h"

namespace chokusho {

namespace dxf {
namespace {

constexpr std::string_view kBinarySentinel = "AutoCAD Binary DXF";

std::string UpperAscii(std::string_view text)
{
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

/** Kinds of entity by their names, as they stand in the file. */
Kind KindNamed(std::string_view name)
{
    static const std::unordered_map<std::string_view, Kind> kinds = {
        {"LINE", Kind::Line},           {"ARC", Kind::Arc},           {"CIRCLE", Kind::Circle},
        {"LWPOLYLINE", Kind::Polyline}, {"POLYLINE", Kind::Polyline}, {"INSERT", Kind::Insert},
        {"TEXT", Kind::Text},           {"MTEXT", Kind::Text},        {"DIMENSION", Kind::Text},
        {"ATTRIB", Kind::Text},         {"ATTDEF", Kind::Text},       {"LEADER", Kind::Text},
        {"MULTILEADER", Kind::Text},    {"MLEADER", Kind::Text},      {"TOLERANCE", Kind::Text},
        {"ARCALIGNEDTEXT", Kind::Text}, {"RTEXT", Kind::Text},        {"SEQEND", Kind::Ignored},
        {"VERTEX", Kind::Ignored},
    };
    const auto found = kinds.find(name);
    return found == kinds.end() ? Kind::Other : found->second;
}

/** Reads the sections of a file into a File; throws Refusal. */
class Reader {
public:
    explicit Reader(std::string_view bytes) : pairs_(bytes) {}

    File read()
    {
        if (pairs_.next() != DxfPairs::Next::Pair || !pairs_.is(0, "SECTION"))
            throw Refusal{DxfFailure::NotDxf};
        pairs_.putBack();
        while (nextPair()) {
            if (pairs_.is(0, "EOF"))
                return std::move(file_);
            if (!pairs_.is(0, "SECTION"))
                throw Refusal{DxfFailure::NotDxf, pairs_.line()};
            requirePair();
            const std::string_view name = pairs_.value();
            if (name == "HEADER")
                header();
            else if (name == "TABLES")
                tables();
            else if (name == "BLOCKS")
                blocks();
            else if (name == "ENTITIES")
                entities(file_.entities, "ENDSEC");
            else
                skipSection();
        }
        throw Refusal{DxfFailure::Truncated};
    }

private:
    /** The next pair; false at the end of the bytes. */
    bool nextPair()
    {
        const DxfPairs::Next next = pairs_.next();
        if (next == DxfPairs::Next::BadCode)
            throw Refusal{DxfFailure::NotDxf, pairs_.line()};
        return next == DxfPairs::Next::Pair;
    }

    /** The next pair inside a section, which must not end before its ENDSEC. */
    void requirePair()
    {
        if (!nextPair())
            throw Refusal{DxfFailure::Truncated};
    }

    /** The next pair of an entity or table entry; false when it is the next one's code 0. */
    bool nextOfEntry()
    {
        requirePair();
        return pairs_.code() != 0;
    }

    double real()
    {
        std::string_view text = pairs_.value();
        if (!text.empty() && text.front() == '+')
            text.remove_prefix(1);
        double value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc() || end != text.data() + text.size() || text.empty() || !std::isfinite(value))
            throw Refusal{DxfFailure::BadNumber, pairs_.line()};
        return value;
    }

    /** An integer value; a real one (some writers put "1.0") is cut to its whole part. */
    int integer()
    {
        const double value = real();
        if (std::fabs(value) > 2e9)
            throw Refusal{DxfFailure::BadNumber, pairs_.line()};
        return static_cast<int>(value);
    }

    int indexOf(std::unordered_map<std::string, int>& index, std::string_view name, int size)
    {
        const auto [at, added] = index.try_emplace(UpperAscii(name), size);
        (void)added;
        return at->second;
    }

    int layerOf(std::string_view name)
    {
        if (name.empty())
            name = "0";
        if (lastLayer_ >= 0 && file_.layers[static_cast<std::size_t>(lastLayer_)].bytes == name)
            return lastLayer_;
        const int index = indexOf(layerIndex_, name, static_cast<int>(file_.layers.size()));
        if (index == static_cast<int>(file_.layers.size()))
            file_.layers.push_back(Layer{std::string(name)});
        return lastLayer_ = index;
    }

    int lineTypeOf(std::string_view name)
    {
        const std::string key = UpperAscii(name);
        if (key == "BYLAYER" || key.empty())
            return kByLayer;
        if (key == "BYBLOCK")
            return kByBlock;
        const int index = indexOf(lineTypeIndex_, key, static_cast<int>(file_.lineTypes.size()));
        if (index == static_cast<int>(file_.lineTypes.size()))
            file_.lineTypes.push_back(LineType{key});
        return index;
    }

    int blockOf(std::string_view name)
    {
        const int index = indexOf(blockIndex_, name, static_cast<int>(file_.blocks.size()));
        if (index == static_cast<int>(file_.blocks.size()))
            file_.blocks.emplace_back();
        return index;
    }

    void header()
    {
        std::string variable;
        for (requirePair(); !pairs_.is(0, "ENDSEC"); requirePair()) {
            const int code = pairs_.code();
            if (code == 9)
                variable = pairs_.value();
            else if (variable == "$ACADVER" && code == 1)
                file_.version = pairs_.value();
            else if (variable == "$DWGCODEPAGE" && code == 3)
                file_.codePage = UpperAscii(pairs_.value());
            else if (variable == "$INSUNITS" && code == 70)
                file_.insUnits = integer();
        }
    }

    void tables()
    {
        requirePair();
        while (!pairs_.is(0, "ENDSEC")) {
            if (pairs_.is(0, "LAYER"))
                layerEntry();
            else if (pairs_.is(0, "LTYPE"))
                lineTypeEntry();
            else
                requirePair();
        }
    }

    void layerEntry()
    {
        std::string name;
        int flags = 0, colour = 1, lineType = kByLayer;
        while (nextOfEntry()) {
            switch (pairs_.code()) {
            case 2: name = pairs_.value(); break;
            case 70: flags = integer(); break;
            case 62: colour = integer(); break;
            case 6: lineType = lineTypeOf(pairs_.value()); break;
            default: break;
            }
        }
        Layer& layer = file_.layers[static_cast<std::size_t>(layerOf(name))];
        layer.frozen = (flags & 1) != 0;
        layer.off = colour < 0;
        layer.lineType = lineType;
    }

    void lineTypeEntry()
    {
        std::string name;
        bool gapped = false;
        while (nextOfEntry()) {
            if (pairs_.code() == 2)
                name = pairs_.value();
            else if (pairs_.code() == 49)
                gapped = gapped || real() < 0;
        }
        const int index = lineTypeOf(name);
        if (index >= 0)
            file_.lineTypes[static_cast<std::size_t>(index)].gapped = gapped;
    }

    void blocks()
    {
        requirePair();
        while (!pairs_.is(0, "ENDSEC")) {
            if (!pairs_.is(0, "BLOCK")) {
                requirePair();
                continue;
            }
            std::string name;
            double baseX = 0, baseY = 0;
            while (nextOfEntry()) {
                switch (pairs_.code()) {
                case 2: name = pairs_.value(); break;
                case 10: baseX = real(); break;
                case 20: baseY = real(); break;
                default: break;
                }
            }
            std::vector<Entity> entitiesOfBlock;
            pairs_.putBack();
            entities(entitiesOfBlock, "ENDBLK");
            Block& block = file_.blocks[static_cast<std::size_t>(blockOf(name))];
            block = Block{baseX, baseY, std::move(entitiesOfBlock)};
        }
    }

    void skipSection()
    {
        do
            requirePair();
        while (!pairs_.is(0, "ENDSEC"));
    }

    /**
     * The entities up to the pair 0 `end` and the pairs that end has; the pair after them is the
     * current one then. A block not closed before its section ends ends with the section.
     */
    void entities(std::vector<Entity>& into, std::string_view end)
    {
        requirePair();
        while (true) {
            if (pairs_.code() != 0) {
                requirePair();
                continue;
            }
            if (pairs_.value() == end) {
                if (end == "ENDSEC")
                    return;
                while (nextOfEntry()) {
                }
                return;
            }
            if (pairs_.value() == "ENDSEC")
                return;
            if (pairs_.value() == "EOF")
                throw Refusal{DxfFailure::Truncated};
            Entity entity = this->entity(KindNamed(pairs_.value()), pairs_.value() == "POLYLINE");
            if (entity.kind != Kind::Ignored)
                into.push_back(entity);
        }
    }

    /** One entity from its kind's pair to the next entity's (a POLYLINE with its vertices). */
    Entity entity(Kind kind, bool heavyPolyline)
    {
        Entity e;
        e.kind = kind;
        if (layerZero_ < 0)
            layerZero_ = layerOf("0");
        e.layer = layerZero_;
        if (kind == Kind::Insert) {
            e.v[2] = e.v[3] = 1;
        }
        e.firstVertex = static_cast<std::uint32_t>(file_.vertices.size());
        int flags = 0;
        while (nextOfEntry()) {
            const int code = pairs_.code();
            switch (code) {
            case 8: e.layer = layerOf(pairs_.value()); continue;
            case 6: e.lineType = lineTypeOf(pairs_.value()); continue;
            case 67: e.paperSpace = integer() != 0; continue;
            case 230: e.mirrored = real() < 0; continue;
            case 70: flags = integer(); break;
            default: break;
            }
            // A POLYLINE's own point is only its elevation: its VERTEX entities follow.
            if (!heavyPolyline)
                geometry(e, code);
        }
        if (kind == Kind::Polyline) {
            e.closed = (flags & 1) != 0;
            // 3D polylines and meshes: not a section's outline.
            if (heavyPolyline && (flags & (8 | 16 | 64)) != 0)
                e.kind = Kind::Other;
        }
        if (heavyPolyline)
            vertices();
        e.vertexCount = static_cast<std::uint32_t>(file_.vertices.size()) - e.firstVertex;
        return e;
    }

    void geometry(Entity& e, int code)
    {
        switch (e.kind) {
        case Kind::Line:
        case Kind::Arc:
        case Kind::Circle: {
            // LINE 10 20 11 21; ARC and CIRCLE 10 20 40 50 51.
            constexpr int kLineCodes[] = {10, 20, 11, 21};
            constexpr int kArcCodes[] = {10, 20, 40, 50, 51};
            const int* codes = e.kind == Kind::Line ? kLineCodes : kArcCodes;
            const int count = e.kind == Kind::Line ? 4 : 5;
            for (int i = 0; i < count; ++i) {
                if (codes[i] == code)
                    e.v[i] = real();
            }
            break;
        }
        case Kind::Polyline:
            // LWPOLYLINE: each 10 starts a vertex.
            if (code == 10 || code == 20 || code == 42)
                polylinePoint(e, code);
            break;
        case Kind::Insert: insertValue(e, code); break;
        default: break;
        }
    }

    void polylinePoint(Entity& e, int code)
    {
        if (code == 10) {
            file_.vertices.push_back(Vertex{real(), 0, 0});
            return;
        }
        if (file_.vertices.size() == e.firstVertex)
            return;
        Vertex& last = file_.vertices.back();
        (code == 20 ? last.y : last.bulge) = real();
    }

    void insertValue(Entity& e, int code)
    {
        switch (code) {
        case 2: e.block = blockOf(pairs_.value()); break;
        case 10: e.v[0] = real(); break;
        case 20: e.v[1] = real(); break;
        case 41: e.v[2] = real(); break;
        case 42: e.v[3] = real(); break;
        case 50: e.v[4] = real(); break;
        case 44: e.v[5] = real(); break;
        case 45: e.v[6] = real(); break;
        case 70: e.columns = integer(); break;
        case 71: e.rows = integer(); break;
        default: break;
        }
    }

    /** A POLYLINE's VERTEX entities and its SEQEND; the current pair is the one after them. */
    void vertices()
    {
        while (pairs_.is(0, "VERTEX")) {
            Vertex vertex;
            int flags = 0;
            while (nextOfEntry()) {
                switch (pairs_.code()) {
                case 10: vertex.x = real(); break;
                case 20: vertex.y = real(); break;
                case 42: vertex.bulge = real(); break;
                case 70: flags = integer(); break;
                default: break;
                }
            }
            // A spline's frame holds control points, which the curve does not pass through.
            if ((flags & 16) == 0)
                file_.vertices.push_back(vertex);
        }
        if (pairs_.is(0, "SEQEND")) {
            while (nextOfEntry()) {
            }
        }
    }

    DxfPairs pairs_;
    File file_;
    std::unordered_map<std::string, int> layerIndex_;
    std::unordered_map<std::string, int> lineTypeIndex_;
    std::unordered_map<std::string, int> blockIndex_;
    int lastLayer_ = -1;
    int layerZero_ = -1;
};

}  // namespace
}  // namespace dxf

DxfReadResult ReadDxf(std::string_view bytes)
{
    DxfReadResult result;
    if (bytes.substr(0, dxf::kBinarySentinel.size()) == dxf::kBinarySentinel) {
        result.failure = DxfFailure::Binary;
        return result;
    }
    if (bytes.substr(0, 4) == "AC10") {
        result.failure = DxfFailure::Dwg;
        return result;
    }
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    try {
        const dxf::File file = dxf::Reader(bytes).read();
        dxf::Unfold(file, result.drawing);
    } catch (const dxf::Refusal& refusal) {
        result.failure = refusal.failure;
        result.line = refusal.line;
        result.drawing = DxfDrawing{};
    }
    return result;
}

}  // namespace chokusho
