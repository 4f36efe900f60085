#include "RecordingCanvas.h"

#include <algorithm>
#include <iterator>

namespace chokusho {

RecordingCanvas::Op RecordingCanvas::Make(Kind kind) const
{
    Op op;
    op.kind = kind;
    op.style = style;
    op.mode = mode;
    return op;
}

void RecordingCanvas::Clear()
{
    Op op = Make(Kind::Clear);
    op.color = qb::kBlack;
    ops.push_back(op);
}

void RecordingCanvas::SetPenStyle(PenStyle s)
{
    style = s;
    ops.push_back(Make(Kind::SetPenStyle));
}

void RecordingCanvas::SetPenMode(PenMode m)
{
    mode = m;
    ops.push_back(Make(Kind::SetPenMode));
}

void RecordingCanvas::Line(int x1, int y1, int x2, int y2, PaletteColor color)
{
    Op op = Make(Kind::Line);
    op.x1 = x1, op.y1 = y1, op.x2 = x2, op.y2 = y2, op.color = color;
    ops.push_back(op);
}

void RecordingCanvas::Box(int x1, int y1, int x2, int y2, PaletteColor color)
{
    Op op = Make(Kind::Box);
    op.x1 = x1, op.y1 = y1, op.x2 = x2, op.y2 = y2, op.color = color;
    ops.push_back(op);
}

void RecordingCanvas::PSet(int x, int y, PaletteColor color)
{
    Op op = Make(Kind::PSet);
    op.x1 = x, op.y1 = y, op.color = color;
    ops.push_back(op);
    textX = x;
    textY = y;
}

void RecordingCanvas::SetTextPosition(int x, int y)
{
    Op op = Make(Kind::SetTextPosition);
    op.x1 = x, op.y1 = y;
    ops.push_back(op);
    textX = x;
    textY = y;
}

void RecordingCanvas::Print(std::string_view text, PaletteColor color)
{
    Op op = Make(Kind::Print);
    op.x1 = textX, op.y1 = textY, op.color = color;
    op.text = std::string(text);
    ops.push_back(op);
}

std::vector<RecordingCanvas::Op> RecordingCanvas::Of(Kind kind) const
{
    std::vector<Op> result;
    std::copy_if(ops.begin(), ops.end(), std::back_inserter(result), [kind](const Op& op) { return op.kind == kind; });
    return result;
}

std::size_t RecordingCanvas::Count(Kind kind) const
{
    return static_cast<std::size_t>(
        std::count_if(ops.begin(), ops.end(), [kind](const Op& op) { return op.kind == kind; }));
}

void RecordingCanvas::FillRings(const std::vector<PixelRing>& rings, PaletteColor color)
{
    Op op = Make(Kind::FillRings);
    op.color = color;
    ops.push_back(op);
    filledRings.push_back(rings);
}

std::size_t RecordingCanvas::MarkCount() const
{
    return Count(Kind::Line) + Count(Kind::Box) + Count(Kind::PSet) + Count(Kind::Print) + Count(Kind::FillRings);
}

}  // namespace chokusho
