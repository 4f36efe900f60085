#pragma once

#include <QDialog>
#include <array>

#include "DocumentState.h"
#include "PointMoveDialog.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace chokusho {

/**
 * The point-move dialog (構成点移動量指定): the X and Y amounts by which the selected points
 * move. It reads and writes MoveDX, MoveDY and MoveOK; closing it by its frame stores nothing.
 */
class FrmEditPntMov : public QDialog {
    Q_OBJECT

public:
    explicit FrmEditPntMov(DocumentState& state, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buttonClicked(int index);

    PointMoveDialog logic_;
    std::array<QLabel*, 2> label1_{};
    std::array<QLineEdit*, 2> text1_{};
    std::array<QPushButton*, 2> command1_{};
};

}  // namespace chokusho
