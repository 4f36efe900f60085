#include "GridClipboard.h"

#include <algorithm>
#include <utility>

#include "Numbers.h"

namespace chokusho {

namespace {

constexpr std::string_view kIdeographicSpace = "\u3000";

std::string_view TrimBlanks(std::string_view field)
{
    for (;;) {
        if (field.starts_with(' '))
            field.remove_prefix(1);
        else if (field.starts_with(kIdeographicSpace))
            field.remove_prefix(kIdeographicSpace.size());
        else if (field.ends_with(' ') || field.ends_with('\t'))
            field.remove_suffix(1);
        else if (field.ends_with(kIdeographicSpace))
            field.remove_suffix(kIdeographicSpace.size());
        else
            return field;
    }
}

std::string CleanField(std::string_view field)
{
    field = TrimBlanks(field);
    if (field.size() >= 2 && field.front() == '"' && field.back() == '"')
        field = TrimBlanks(field.substr(1, field.size() - 2));
    return std::string(field);
}

std::vector<std::string_view> Lines(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        lines.push_back(text.substr(0, end));
        if (end == std::string_view::npos)
            break;
        const std::size_t next = text.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1;
        text.remove_prefix(next);
    }
    return lines;
}

std::vector<std::string> SplitAt(std::string_view line, char separator)
{
    std::vector<std::string> fields;
    for (;;) {
        const std::size_t end = line.find(separator);
        fields.push_back(CleanField(line.substr(0, end)));
        if (end == std::string_view::npos)
            return fields;
        line.remove_prefix(end + 1);
    }
}

std::vector<std::string> SplitAtBlanks(std::string_view line)
{
    std::vector<std::string> fields;
    for (;;) {
        line = TrimBlanks(line);
        if (line.empty())
            return fields;
        std::size_t end = 0;
        while (end < line.size() && line[end] != ' ' && line.substr(end, kIdeographicSpace.size()) != kIdeographicSpace)
            ++end;
        fields.push_back(CleanField(line.substr(0, end)));
        line.remove_prefix(end);
    }
}

bool IsPastableNumber(const std::string& field)
{
    return IsWholeNumber(TypedNumber(field)) && ReadTypedReal(field).has_value();
}

}  // namespace

CellBlock SplitCellText(std::string_view text)
{
    const bool tabs = text.find('\t') != std::string_view::npos;
    const bool commas = !tabs && text.find(',') != std::string_view::npos;
    CellBlock rows;
    std::size_t width = 0;
    for (const std::string_view line : Lines(text)) {
        rows.push_back(tabs ? SplitAt(line, '\t') : commas ? SplitAt(line, ',') : SplitAtBlanks(line));
        width = std::max(width, rows.back().size());
    }
    for (auto& row : rows)
        row.resize(width);
    return rows;
}

std::optional<std::string> PasteCells(Grid& grid, int row, const std::vector<int>& columns, std::string_view text)
{
    const CellBlock cells = SplitCellText(text);
    if (cells.empty() || cells.front().empty())
        return std::nullopt;
    const int rowsThatFit = std::max(grid.Rows() - row, 0);
    if (std::cmp_greater(cells.size(), rowsThatFit))
        return "貼り付ける行が多すぎます (" + FormatInteger(static_cast<long long>(cells.size())) +
               " 行)。ここからは " + FormatInteger(rowsThatFit) + " 行まで貼り付けられます。";
    if (cells.front().size() > columns.size())
        return "貼り付ける列が多すぎます (" + FormatInteger(static_cast<long long>(cells.front().size())) +
               " 列)。ここからは " + FormatInteger(static_cast<long long>(columns.size())) +
               " 列まで貼り付けられます。";

    for (std::size_t r = 0; r < cells.size(); ++r)
        for (std::size_t c = 0; c < cells[r].size(); ++c) {
            const std::string& field = cells[r][c];
            if (!field.empty() && !IsPastableNumber(field))
                return "No." + FormatInteger(row + static_cast<int>(r)) + " の " + grid.CellText(0, columns[c]) +
                       " に貼り付ける「" + field + "」は数値ではありません。何も貼り付けていません。";
        }

    grid.SetDrawEnabled(false);
    for (std::size_t r = 0; r < cells.size(); ++r)
        for (std::size_t c = 0; c < cells[r].size(); ++c)
            grid.SetCellText(row + static_cast<int>(r), columns[c], cells[r][c].empty() ? "" : TypedNumber(cells[r][c]));
    grid.SetDrawEnabled(true);
    return std::nullopt;
}

std::string CopyCells(const Grid& grid, int firstRow, int lastRow, const std::vector<int>& columns)
{
    std::string text;
    for (int row = firstRow; row <= lastRow; ++row) {
        for (std::size_t c = 0; c < columns.size(); ++c) {
            if (c > 0)
                text += '\t';
            text += grid.CellText(row, columns[c]);
        }
        text += '\n';
    }
    return text;
}

std::string CopyTable(const Grid& grid, const std::vector<int>& columns)
{
    int last = grid.Rows() - 1;
    while (last >= 1 && std::ranges::all_of(columns, [&](int col) { return grid.CellText(last, col).empty(); }))
        --last;
    return CopyCells(grid, 1, last, columns);
}

}  // namespace chokusho
