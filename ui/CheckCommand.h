#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <variant>

namespace chokusho {

/**
 * "chokusho --check [--csv] FILE.csv...|FOLDER...": each block file's section figures and
 * problems, without a window. A folder stands for its "*.csv" files (any letter case), in the
 * order the picker lists them.
 */
struct CheckRequest {
    bool csv = false;
    QStringList inputs;  // files and folders, as named
};

/** Whether `arguments` (the first being the program's name) ask for a check. */
[[nodiscard]] bool AsksForCheck(const QStringList& arguments);

/** The check `arguments` ask for, or what is wrong with them, in Japanese. */
[[nodiscard]] std::variant<CheckRequest, QString> ParseCheckRequest(const QStringList& arguments);

/**
 * Checks every file of `request`: the report (or the CSV header and a row per file) to `out`,
 * and why a file could not be read to `err`. Returns kExportDone, or kExportFailed when a file
 * could not be read or has a problem that is more than a notice.
 */
int RunCheck(const CheckRequest& request, const std::function<void(const QString&)>& out,
             const std::function<void(const QString&)>& err);

/** The check's lines of the usage. */
extern const char* const kCheckUsageText;

}  // namespace chokusho
