#include "ExportFormat.h"

#include <algorithm>

namespace chokusho {

namespace {

struct FormatNames {
    ExportFormat format;
    std::string_view suffix;
    std::string_view filter;
};
constexpr FormatNames kNames[] = {
    {ExportFormat::Pdf, "pdf", "PDF 文書 (*.pdf)"},
    {ExportFormat::Svg, "svg", "SVG 画像 (*.svg)"},
    {ExportFormat::Png, "png", "PNG 画像 (*.png)"},
    {ExportFormat::Dxf, "dxf", "DXF 図面 (*.dxf)"},
};

const FormatNames& NamesOf(ExportFormat format)
{
    return *std::find_if(std::begin(kNames), std::end(kNames), [format](const auto& n) { return n.format == format; });
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::string_view ExportSuffix(ExportFormat format) { return NamesOf(format).suffix; }

std::optional<ExportFormat> ExportFormatOf(std::string_view path)
{
    for (const FormatNames& names : kNames) {
        const std::size_t length = names.suffix.size() + 1;
        if (path.size() < length || path[path.size() - length] != '.')
            continue;
        const std::string_view extension = path.substr(path.size() - names.suffix.size());
        if (std::equal(extension.begin(), extension.end(), names.suffix.begin(),
                       [](char a, char b) { return Lower(a) == b; }))
            return names.format;
    }
    return std::nullopt;
}

std::string_view ExportFilter(ExportFormat format) { return NamesOf(format).filter; }

std::optional<ExportFormat> FormatOfFilter(std::string_view filter)
{
    for (const FormatNames& names : kNames) {
        if (names.filter == filter)
            return names.format;
    }
    return std::nullopt;
}

std::string ExportTarget(const std::string& chosen, ExportFormat type)
{
    if (ExportFormatOf(chosen))
        return chosen;
    return chosen + "." + std::string(ExportSuffix(type));
}

}  // namespace chokusho
