#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <variant>

#include "DxfImport.h"

namespace chokusho {

/**
 * "chokusho --import IN.dxf OUT.csv [--unit mm|cm|m] [--layers A,B,…] [--tolerance MM] [--force]":
 * a block file made from a DXF drawing without a window. The block is named after OUT, has no
 * kind, dimensions or layers, and holds the points and segments of the layers chosen (every
 * layer without --layers). An existing OUT is left alone unless --force.
 */
struct ImportRequest {
    QString input;
    QString output;
    DxfImportOptions options;
    bool force = false;
};

/** Whether `arguments` (the first being the program's name) ask for an import. */
[[nodiscard]] bool AsksForImport(const QStringList& arguments);

/** The import `arguments` ask for, or what is wrong with them, in Japanese. */
[[nodiscard]] std::variant<ImportRequest, QString> ParseImportRequest(const QStringList& arguments);

/**
 * Carries out `request`: the block file written and one line of what it holds to `out` (points,
 * segments solid and dotted, chords, entities skipped, T-junctions), or why nothing was written
 * to `err`. Returns kExportDone or kExportFailed (ExportCommand.h).
 */
int RunImport(const ImportRequest& request, const std::function<void(const QString&)>& out,
              const std::function<void(const QString&)>& err);

/** The import's lines of the usage. */
extern const char* const kImportUsageText;

}  // namespace chokusho
