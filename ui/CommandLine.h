#pragma once

#include <QString>
#include <QStringList>
#include <filesystem>
#include <optional>
#include <variant>

namespace chokusho {

/**
 * Whether `arguments` ask for an answer on the terminal ("--version", "--help") instead of the
 * editor's window. Checked before any window system is opened, so that the answer needs no display.
 */
[[nodiscard]] bool AsksForTerminalAnswer(const QStringList& arguments);

/**
 * The answer to `arguments` on the terminal: the version read from SYSVER.DAT in `filesFolder`
 * for "--version", the usage for "--help"; nullopt when they ask for neither.
 */
[[nodiscard]] std::optional<QString> TerminalAnswer(const QStringList& arguments,
                                                    const std::filesystem::path& filesFolder);

/**
 * What is wrong with `arguments` (the first being the program's name), checked before any window
 * opens: an option the program does not know, or an option given without its value; nullopt when
 * nothing is. Qt's own options (-platform NAME, -style NAME, -reverse, …), which QApplication
 * takes out of the arguments, are known; "--" ends the options, so that a file name may start with
 * a dash. "--export", "--import" and "--check" have their own options, and their parsers say
 * what is wrong with them.
 */
[[nodiscard]] std::optional<QString> ArgumentProblem(const QStringList& arguments);

/** The block file "chokusho FILE.csv" names, in the platform's spelling; nullopt when none. */
[[nodiscard]] std::optional<QString> FileToOpen(const QStringList& arguments);

enum class TerminalStream { Output, Error };

/**
 * Writes `text` to the standard output or error. A Windows program without a console writes it
 * to the console it was started from, or shows it in a message box when there is none.
 */
void WriteToTerminal(const QString& text, TerminalStream stream = TerminalStream::Output);

/** Writes `problem` on the standard error as the program's complaint; returns the usage exit code. */
[[nodiscard]] int ReportWrongArguments(const QString& problem);

/**
 * `inputs` with each one whose file-name part holds "*" or "?" replaced by the files of its
 * folder that fit it (WildcardMatches), in the picker's order, each written with the folder as
 * typed; or the message naming a pattern that no file fits. On Windows the shells pass such
 * patterns on as typed and the program expands them itself; elsewhere the shell has expanded
 * them, and a "*" left in a name is the file's own.
 */
[[nodiscard]] std::variant<QStringList, QString> ExpandWildcards(const QStringList& inputs);

/**
 * Carries out "--export" (see ExportCommand.h): the drawings written, one line per file on the
 * standard output, and what went wrong on the standard error. Returns the exit code.
 */
[[nodiscard]] int ExportFromCommandLine(const QStringList& arguments);

/** Carries out "--import" (see ImportCommand.h) as ExportFromCommandLine carries out "--export". */
[[nodiscard]] int ImportFromCommandLine(const QStringList& arguments);

/** Carries out "--check" (see CheckCommand.h): the report on the standard output. Returns the exit code. */
[[nodiscard]] int CheckFromCommandLine(const QStringList& arguments);

}  // namespace chokusho
