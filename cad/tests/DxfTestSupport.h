#pragma once

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>

#include "BlockData.h"

namespace chokusho::test {

/** A point of a block in millimetres, rounded to whole ones: what the import keeps of it. */
using Place = std::pair<long long, long long>;
/** A segment by the places of its ends (the lesser first) and its kind. */
using Join = std::tuple<Place, Place, int>;

inline Place PlaceOf(double xMetres, double yMetres)
{
    return {std::llround(xMetres * 1000), std::llround(yMetres * 1000)};
}

inline std::set<Place> PlacesOf(const BlockData& block)
{
    std::set<Place> places;
    for (int i = 1; i <= block.PointCount; ++i)
        places.insert(PlaceOf(block.PointX[i], block.PointY[i]));
    return places;
}

inline Join JoinOf(Place a, Place b, int kind) { return a < b ? Join{a, b, kind} : Join{b, a, kind}; }

inline std::set<Join> JoinsOf(const BlockData& block)
{
    std::set<Join> joins;
    for (int k = 1; k <= block.LineCount; ++k) {
        const int s = block.LineStart[k], e = block.LineEnd[k];
        joins.insert(JoinOf(PlaceOf(block.PointX[s], block.PointY[s]), PlaceOf(block.PointX[e], block.PointY[e]),
                            block.LineKind[k]));
    }
    return joins;
}

/** The pairs of a DXF file, one "code value" a line of `pairs`, written as two lines each with `eol`. */
inline std::string DxfFrom(std::string_view pairs, std::string_view eol = "\n")
{
    std::string out;
    while (!pairs.empty()) {
        const std::size_t end = std::min(pairs.find('\n'), pairs.size());
        const std::string_view line = pairs.substr(0, end);
        pairs.remove_prefix(std::min(end + 1, pairs.size()));
        if (line.empty())
            continue;
        const std::size_t space = line.find(' ');
        out += line.substr(0, space);
        out += eol;
        out += space == std::string_view::npos ? std::string_view() : line.substr(space + 1);
        out += eol;
    }
    return out;
}

/** A whole file whose ENTITIES section holds `entities` (pairs as DxfFrom takes them), after `before` sections. */
inline std::string DxfWithEntities(std::string_view entities, std::string_view before = "")
{
    return DxfFrom(std::string(before) + "\n0 SECTION\n2 ENTITIES\n" + std::string(entities) + "\n0 ENDSEC\n0 EOF\n");
}

}  // namespace chokusho::test
