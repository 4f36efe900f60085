#pragma once

#include <QDialog>

#include "DocumentState.h"

class QLabel;
class QPushButton;

namespace chokusho {

class QelGrid;

/**
 * The point table (構成点編集): the block's points in a grid, typed over and registered as a
 * whole. Accepted after 登  録, when Confirmed() holds the document with the new points (the
 * caller takes them and joins the segments to them); rejected by ｷｬﾝｾﾙ or the frame. The dialog
 * itself never changes the document. Every row it holds shows its number, and its value columns
 * are wide enough for the widest figure in the dialog's font.
 */
class FrmEditPnt : public QDialog {
    Q_OBJECT

public:
    /** The table over the document's points. */
    explicit FrmEditPnt(DocumentState& state, QWidget* parent = nullptr);
    /** The table over `start`'s points: what the user typed, when they come back to the table. */
    FrmEditPnt(DocumentState& state, const BlockData& start, QWidget* parent = nullptr);

    QelGrid& grid() { return *QelGP_; }
    /** The document with the table's points, once 登  録 has accepted the dialog. */
    const BlockData& Confirmed() const { return confirmed_; }

private:
    void CmdP_0_Click();
    /**
     * Widens the value columns, the grid and the dialog when the font needs more room than they
     * were drawn with to show every figure whole; the twips added to the dialog's width.
     */
    int fitColumnsToFigures();

    DocumentState& state_;
    QelGrid* QelGP_;
    QLabel* Label1_;
    QPushButton* CmdP_0_;
    QPushButton* CmdP_1_;
    BlockData confirmed_;
};

}  // namespace chokusho
