#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace chokusho {

/** The files a block's drawing is exported to. */
enum class ExportFormat { Pdf, Svg, Png, Dxf };

inline constexpr ExportFormat kExportFormats[] = {ExportFormat::Pdf, ExportFormat::Svg, ExportFormat::Png,
                                                  ExportFormat::Dxf};

/** The dots per inch of a PNG unless another is chosen, and the range offered. */
inline constexpr int kDefaultPngDpi = 300;
inline constexpr int kMinPngDpi = 50;
inline constexpr int kMaxPngDpi = 600;

/** "pdf", "svg", "png" or "dxf". */
std::string_view ExportSuffix(ExportFormat format);

/** The format a file name's extension names, without regard to ASCII case; nullopt for any other. */
std::optional<ExportFormat> ExportFormatOf(std::string_view path);

/** The file type as the export's file dialog offers it: "PDF 文書 (*.pdf)". */
std::string_view ExportFilter(ExportFormat format);

/** The format of a file type of the export's file dialog; nullopt for another text. */
std::optional<ExportFormat> FormatOfFilter(std::string_view filter);

/** The file an export of `type` writes for the name `chosen`: with the type's extension unless it has an export's. */
std::string ExportTarget(const std::string& chosen, ExportFormat type);

}  // namespace chokusho
