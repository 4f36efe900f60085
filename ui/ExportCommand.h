#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <variant>

#include "Drawing.h"
#include "DrawingOutput.h"

namespace chokusho {

/**
 * "chokusho --export OUT [options] FILE.csv...": the drawings of block files written without a
 * window, for a whole folder of blocks at once. OUT is
 *  - a file such as "report.pdf", for one block file;
 *  - an extension alone, ".pdf", or with a folder, "out/.pdf": each block's own name with that
 *    extension, beside the block file or in that folder;
 *  - a folder (one that exists, or a name ending in a separator): each block's own name there,
 *    as "--format" says (PDF unless it says otherwise).
 */
struct ExportRequest {
    QString output;
    std::optional<ExportFormat> format;
    DrawingOptions options;
    int dpi = kDefaultPngDpi;
    QStringList files;
};

/** Whether `arguments` (the first being the program's name) ask for an export. */
[[nodiscard]] bool AsksForExport(const QStringList& arguments);

/** The export `arguments` ask for, or what is wrong with them, in Japanese. */
[[nodiscard]] std::variant<ExportRequest, QString> ParseExportRequest(const QStringList& arguments);

/**
 * What the program says of an option it does not know, and of an option given without the value
 * it takes: the option, and where the usage is.
 */
[[nodiscard]] QString UnknownOptionMessage(const QString& option);
[[nodiscard]] QString MissingValueMessage(const QString& option);

/** Exit codes: every file written; some file not read or not written; the arguments wrong. */
inline constexpr int kExportDone = 0;
inline constexpr int kExportFailed = 1;
inline constexpr int kExportUsage = 2;

/**
 * Writes the drawing of every file of `request`, dated `date`: one line per file written to
 * `out`, and what went wrong to `err`. A file that fails leaves the others to be written. So does
 * a drawing that does not fit its paper at the scale asked for, which is not written: its line
 * names the scale at which it fits. Returns kExportDone or kExportFailed.
 */
int RunExport(const ExportRequest& request, const QString& date, const std::function<void(const QString&)>& out,
              const std::function<void(const QString&)>& err);

/** The options' lines of the usage. */
extern const char* const kExportUsageText;

}  // namespace chokusho
