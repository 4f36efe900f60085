#pragma once

#include <QFileDialog>
#include <functional>
#include <string>

namespace chokusho {

/**
 * Qt's own save dialog, the same on every platform and one that tests can fill in, in
 * Japanese, with sizes and dates as a Japanese user reads them. Before it closes it asks about
 * the file that will really be written, which `targetOf` makes of the chosen name (the name
 * itself when empty): the program may add an extension or stand a proposed name for a file.
 */
class SaveFileDialog : public QFileDialog {
public:
    SaveFileDialog(QWidget* parent, const QString& caption, const QString& folder, const QString& filter,
                   std::function<std::string(const std::string&)> targetOf);

    /** The chosen file in the platform's spelling; empty when the dialog was cancelled. */
    [[nodiscard]] std::string run();

    void accept() override;

private:
    bool mayReplace(const std::string& target);

    std::function<std::string(const std::string&)> targetOf_;
};

}  // namespace chokusho
