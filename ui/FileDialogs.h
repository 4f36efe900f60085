#pragma once

#include <QFileDialog>
#include <QLabel>
#include <functional>
#include <string>

namespace chokusho {

/**
 * Qt's own save dialog, the same on every platform and one that tests can fill in, in
 * Japanese, with sizes and dates as a Japanese user reads them. Before it closes it asks about
 * the file that will really be written, which `targetOf` makes of the chosen name (the name
 * itself when empty): the program may add an extension or stand a proposed name for a file.
 * A folder, or a name too long for its folder, is refused at once, with the reason.
 */
class SaveFileDialog : public QFileDialog {
public:
    SaveFileDialog(QWidget* parent, const QString& caption, const QString& folder, const QString& filter,
                   std::function<std::string(const std::string&)> targetOf);

    /** The chosen file in the platform's spelling; empty when the dialog was cancelled. */
    [[nodiscard]] std::string run();

    void accept() override;

private:
    /** The file a name chosen in the dialog writes. */
    std::string targetOfChosen(const QString& chosen) const;
    bool mayReplace(const std::string& target);
    void showNameProblem(const QString& typed);

    std::function<std::string(const std::string&)> targetOf_;
    QLabel* nameProblem_ = nullptr;
};

/** Qt's own dialog for choosing a file to read, in Japanese, with the save dialog's details. */
class OpenFileDialog : public QFileDialog {
public:
    OpenFileDialog(QWidget* parent, const QString& caption, const QString& folder, const QString& filter);

    /** The chosen file in the platform's spelling; empty when the dialog was cancelled. */
    [[nodiscard]] std::string run();
};

}  // namespace chokusho
