#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Recovery.h"

class QPushButton;
class QTreeWidget;

namespace chokusho {

/**
 * 前回の作業を復元: the work that ended instances left, each with its block's name, its file and
 * the time of its last change. 「復元」 accepts with the chosen one, 「破棄」 deletes the chosen
 * one after a question, 「後で」 keeps them all for the next start. A pair that cannot be read is
 * listed with the reason and cannot be restored; it goes only when the user discards it.
 */
class RecoveryDialog : public QDialog {
    Q_OBJECT

public:
    /** `discard` removes a pair; false when it could not be removed. */
    RecoveryDialog(std::vector<LeftRecovery> left, std::function<bool(const std::string& name)> discard,
                   QWidget* parent = nullptr);

    /** The pair chosen with 「復元」; none after 「後で」. */
    const std::optional<LeftRecovery>& chosen() const { return chosen_; }

private:
    void fill();
    /** The pair of the current row; null when none is chosen. */
    const LeftRecovery* current() const;
    void restore();
    void discardCurrent();
    void updateButtons();

    std::vector<LeftRecovery> left_;
    std::function<bool(const std::string&)> discard_;
    std::optional<LeftRecovery> chosen_;
    QTreeWidget* list_ = nullptr;
    QPushButton* restore_ = nullptr;
    QPushButton* discardButton_ = nullptr;
};

}  // namespace chokusho
