#include "SectionCache.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace chokusho {

namespace {

/** The record's points, segments and line kinds, within their counts; the rest as a new record has it. */
BlockData OutlineOf(const BlockData& data)
{
    BlockData outline;
    outline.PointCount = data.PointCount;
    outline.LineCount = data.LineCount;
    const auto points = static_cast<std::size_t>(std::clamp<int>(data.PointCount, 0, kMaxPoints)) + 1;
    const auto lines = static_cast<std::size_t>(std::clamp<int>(data.LineCount, 0, kMaxLines)) + 1;
    std::copy_n(data.PointX.begin(), points, outline.PointX.begin());
    std::copy_n(data.PointY.begin(), points, outline.PointY.begin());
    std::copy_n(data.LineStart.begin(), lines, outline.LineStart.begin());
    std::copy_n(data.LineEnd.begin(), lines, outline.LineEnd.begin());
    std::copy_n(data.LineKind.begin(), lines, outline.LineKind.begin());
    return outline;
}

}  // namespace

const SectionResult& SectionCache::Of(const BlockData& data)
{
    BlockData outline = OutlineOf(data);
    if (valid_ && outline == outline_)
        return result_;
    outline_ = std::move(outline);
    result_ = ComputeSection(outline_, {});
    valid_ = true;
    ++computations_;
    return result_;
}

}  // namespace chokusho
