#include "FakeGrid.h"

#include <algorithm>

namespace chokusho::test {

void FakeGrid::SetDrawEnabled(bool enabled) { drawing = enabled; }

void FakeGrid::noteWrite()
{
    if (drawing)
        writtenWhileDrawing = true;
}

void FakeGrid::ClearGrid()
{
    noteWrite();
    cells_.clear();
    rowColors.clear();
}

std::string FakeGrid::CellText(int row, int col) const
{
    const auto found = cells_.find({row, col});
    return found == cells_.end() ? std::string() : found->second;
}

void FakeGrid::SetCellText(int row, int col, const std::string& text)
{
    noteWrite();
    if (row < 0 || col < 0 || col >= cols_)
        return;
    rows_ = std::max(rows_, row + 1);
    if (text.empty())
        cells_.erase({row, col});
    else
        cells_[{row, col}] = text;
}

void FakeGrid::SetRowText(int row, const std::string& line)
{
    int col = 0;
    std::string::size_type start = 0;
    for (;;) {
        const auto tab = line.find('\t', start);
        SetCellText(row, col++, line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos)
            break;
        start = tab + 1;
    }
}

int FakeGrid::ColumnWidth(int col) const
{
    const auto found = widths_.find(col);
    return found == widths_.end() ? 0 : found->second;
}

int FakeGrid::DataRows() const
{
    int last = 0;
    for (const auto& [at, text] : cells_)
        if (at.first >= 1)
            last = std::max(last, at.first);
    return last;
}

void FakeGrid::SetRowPosition(int position)
{
    position = std::clamp(position, 0, maxRowPosition);
    if (position == rowPosition_)
        return;
    rowPosition_ = position;
    if (RowPositionChanged)
        RowPositionChanged(position);
}

std::vector<std::string> FakeGrid::DataLines(int firstCol) const
{
    std::vector<std::string> lines;
    for (int row = 1; row <= DataRows(); ++row) {
        std::string line;
        for (int col = firstCol; col < cols_; ++col)
            line += (col > firstCol ? "\t" : "") + CellText(row, col);
        lines.push_back(line);
    }
    return lines;
}

}  // namespace chokusho::test
