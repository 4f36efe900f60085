#include <gtest/gtest.h>

#include <functional>

#include "ChangeDetection.h"

namespace chokusho {
namespace {

/** Every field set, every slot of every table too, and no two values alike. */
BlockData Filled()
{
    BlockData r;
    r.Name = "A";
    r.Kind = "K";
    r.B = 1;
    r.L = 2;
    r.H = 3;
    r.Gx = 4;
    r.Gy = 5;
    r.V = 6;
    r.GxMode = 1;
    r.LayerCount = 3;
    for (int row = 0; row < kMaxLayers; ++row) {
        r.LayerH[row] = 100 + row;
        r.LayerDV[row] = 200 + row;
        r.LayerV[row] = 300 + row;
        r.LayerGx[row] = 400 + row;
    }
    r.PointCount = 4;
    for (int i = 0; i <= kMaxPoints; ++i) {
        r.PointX[i] = 500 + i;
        r.PointY[i] = 600 + i;
    }
    r.LineCount = 3;
    for (int k = 0; k <= kMaxLines; ++k) {
        r.LineStart[k] = static_cast<std::int16_t>(1 + k % 4);
        r.LineEnd[k] = static_cast<std::int16_t>(1 + (k + 1) % 4);
        r.LineKind[k] = static_cast<std::int16_t>(k % 2);
    }
    return r;
}

using R = BlockData;
using Restore = std::function<void(R&, const R&)>;

/** Copies the field `member`, every slot of it, from the second record to the first. */
template <class T>
Restore Field(T R::*member)
{
    return [member](R& r, const R& from) { r.*member = from.*member; };
}

TEST(IsModified, SeesEveryStoredFieldAndNothingElse)
{
    // Table rows are changed in the last used slot, where a range one short would miss them,
    // and a few in the first.
    const struct {
        const char* what;
        Restore field;  // the one field that `change` changes
        std::function<void(R&)> change;
        bool modified;
    } cases[] = {
        {"name", Field(&R::Name), [](R& r) { r.Name = "B"; }, true},
        {"kind", Field(&R::Kind), [](R& r) { r.Kind = "L"; }, true},
        {"width", Field(&R::B), [](R& r) { r.B = -1; }, true},
        {"length", Field(&R::L), [](R& r) { r.L = -1; }, true},
        {"height", Field(&R::H), [](R& r) { r.H = -1; }, true},
        {"centroid x", Field(&R::Gx), [](R& r) { r.Gx = -1; }, true},
        {"centroid y", Field(&R::Gy), [](R& r) { r.Gy = -1; }, true},
        {"volume", Field(&R::V), [](R& r) { r.V = -1; }, true},
        {"centroid mode", Field(&R::GxMode), [](R& r) { r.GxMode = 0; }, true},
        {"one layer row fewer", Field(&R::LayerCount), [](R& r) { r.LayerCount = 2; }, true},
        {"last layer height", Field(&R::LayerH), [](R& r) { r.LayerH[2] = -1; }, true},
        {"first layer height", Field(&R::LayerH), [](R& r) { r.LayerH[0] = -1; }, true},
        {"last layer volume", Field(&R::LayerDV), [](R& r) { r.LayerDV[2] = -1; }, true},
        {"last cumulative volume", Field(&R::LayerV), [](R& r) { r.LayerV[2] = -1; }, true},
        {"last layer centroid", Field(&R::LayerGx), [](R& r) { r.LayerGx[2] = -1; }, true},
        {"one point fewer", Field(&R::PointCount), [](R& r) { r.PointCount = 3; }, true},
        {"last point x", Field(&R::PointX), [](R& r) { r.PointX[4] = -1; }, true},
        {"first point x", Field(&R::PointX), [](R& r) { r.PointX[1] = -1; }, true},
        {"last point y", Field(&R::PointY), [](R& r) { r.PointY[4] = -1; }, true},
        {"one segment fewer", Field(&R::LineCount), [](R& r) { r.LineCount = 2; }, true},
        {"last segment start", Field(&R::LineStart), [](R& r) { r.LineStart[3] = 9; }, true},
        {"first segment start", Field(&R::LineStart), [](R& r) { r.LineStart[1] = 9; }, true},
        {"last segment end", Field(&R::LineEnd), [](R& r) { r.LineEnd[3] = 9; }, true},
        {"last line kind", Field(&R::LineKind), [](R& r) { r.LineKind[3] = 7; }, true},
        {"layer height above the count", Field(&R::LayerH), [](R& r) { r.LayerH[3] = -1; }, false},
        {"layer volume above the count", Field(&R::LayerDV), [](R& r) { r.LayerDV[3] = -1; }, false},
        {"cumulative volume above the count", Field(&R::LayerV), [](R& r) { r.LayerV[kMaxLayers - 1] = -1; }, false},
        {"layer centroid above the count", Field(&R::LayerGx), [](R& r) { r.LayerGx[3] = -1; }, false},
        {"point x above the count", Field(&R::PointX), [](R& r) { r.PointX[5] = -1; }, false},
        {"point x in the unused slot 0", Field(&R::PointX), [](R& r) { r.PointX[0] = -1; }, false},
        {"point y above the count", Field(&R::PointY), [](R& r) { r.PointY[kMaxPoints] = -1; }, false},
        {"segment start above the count", Field(&R::LineStart), [](R& r) { r.LineStart[4] = 9; }, false},
        {"segment end in the unused slot 0", Field(&R::LineEnd), [](R& r) { r.LineEnd[0] = 9; }, false},
        {"line kind above the count", Field(&R::LineKind), [](R& r) { r.LineKind[kMaxLines] = 7; }, false},
    };
    const BlockData saved = Filled();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        BlockData current = saved;
        c.change(current);
        BlockData restored = current;
        c.field(restored, saved);
        if (current == saved || restored != saved) {
            ADD_FAILURE() << "the row does not change its field, or changes another one";
            continue;
        }
        EXPECT_EQ(IsModified(current, saved), c.modified);
        EXPECT_EQ(IsModified(saved, current), c.modified);
    }
    EXPECT_FALSE(IsModified(saved, saved));
}

}  // namespace
}  // namespace chokusho
