#pragma once

#include <QDialog>

#include "DocumentState.h"

class QLabel;
class QPushButton;

namespace chokusho {

class QelGrid;

/**
 * The point table (構成点編集): the block's points in a grid, typed over and registered as a
 * whole. Accepted after 登  録, when CurData holds the new points (the segments are joined to
 * them by the caller); rejected by ｷｬﾝｾﾙ or the frame, with nothing changed.
 */
class FrmEditPnt : public QDialog {
    Q_OBJECT

public:
    explicit FrmEditPnt(DocumentState& state, QWidget* parent = nullptr);

    QelGrid& grid() { return *QelGP_; }

private:
    void CmdP_0_Click();

    DocumentState& state_;
    QelGrid* QelGP_;
    QLabel* Label1_;
    QPushButton* CmdP_0_;
    QPushButton* CmdP_1_;
};

}  // namespace chokusho
