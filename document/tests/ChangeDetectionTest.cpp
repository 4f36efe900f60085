#include <gtest/gtest.h>

#include <functional>

#include "ChangeDetection.h"

namespace chokusho {
namespace {

BlockData Sample()
{
    BlockData r;
    r.Name = "A";
    r.LayerCount = 2;
    r.LayerH = {1, 2};
    r.PointCount = 3;
    r.PointX = {0, 1, 2, 3};
    r.LineCount = 2;
    r.LineStart = {0, 1, 2};
    r.LineEnd = {0, 2, 3};
    return r;
}

TEST(IsModified, SeesEveryStoredFieldAndNothingElse)
{
    const struct {
        const char* what;
        std::function<void(BlockData&)> change;
        bool modified;
    } cases[] = {
        {"name", [](BlockData& r) { r.Name = "B"; }, true},
        {"kind", [](BlockData& r) { r.Kind = "K"; }, true},
        {"volume", [](BlockData& r) { r.V = 1; }, true},
        {"centroid mode", [](BlockData& r) { r.GxMode = 1; }, true},
        {"layer height", [](BlockData& r) { r.LayerH[1] = 5; }, true},
        {"cumulative volume", [](BlockData& r) { r.LayerV[0] = 5; }, true},
        {"layer centroid", [](BlockData& r) { r.LayerGx[1] = 5; }, true},
        {"point", [](BlockData& r) { r.PointY[3] = 5; }, true},
        {"segment end", [](BlockData& r) { r.LineEnd[2] = 1; }, true},
        {"line kind", [](BlockData& r) { r.LineKind[1] = 1; }, true},
        {"layer slot above the count", [](BlockData& r) { r.LayerGx[2] = 5; }, false},
        {"point slot above the count", [](BlockData& r) { r.PointX[4] = 5; }, false},
        {"kind slot above the count", [](BlockData& r) { r.LineKind[3] = 1; }, false},
    };
    const BlockData saved = Sample();
    for (const auto& c : cases) {
        BlockData current = saved;
        c.change(current);
        EXPECT_EQ(IsModified(current, saved), c.modified) << c.what;
    }
    EXPECT_FALSE(IsModified(saved, saved));
}

}  // namespace
}  // namespace chokusho
