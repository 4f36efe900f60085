#include "FrmEditPnt.h"

#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "FigureWidth.h"
#include "PointTable.h"
#include "QelGrid.h"
#include "MessageBox.h"
#include "QtText.h"
#include "ScreenFit.h"
#include "ZoomScroll.h"

namespace chokusho {

namespace {

// The client area and the controls' places, in twips.
constexpr int kClientWidth = 3600, kClientHeight = 6690;
constexpr int kGridLeft = 240, kGridTop = 240, kGridHeight = 5415;

void Place(QWidget* widget, int left, int top, int width, int height)
{
    widget->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height));
}

QPushButton* Button(const char* name, const char* text, QWidget* parent)
{
    auto* button = new QPushButton(Utf8(text), parent);
    button->setObjectName(Utf8(name));
    // Enter belongs to the grid, where it moves down; it must never confirm the table.
    button->setAutoDefault(false);
    return button;
}

}  // namespace

FrmEditPnt::FrmEditPnt(DocumentState& state, QWidget* parent) : FrmEditPnt(state, state.CurData, parent) {}

FrmEditPnt::FrmEditPnt(DocumentState& state, const BlockData& start, QWidget* parent)
    : QDialog(parent),
      state_(state),
      QelGP_(new QelGrid(QStringLiteral("QelGP"), this)),
      Label1_(new QLabel(Utf8(kPointTableHint), this)),
      CmdP_0_(Button("CmdP_0", "登  録", this)),
      CmdP_1_(Button("CmdP_1", "ｷｬﾝｾﾙ", this))
{
    setObjectName(QStringLiteral("FrmEditPnt"));
    setWindowTitle(Utf8(kPointTableCaption));
    setModal(true);

    QelGP_->place(kGridLeft, kGridTop, 0, kGridHeight);
    FillPointGrid(*QelGP_, start);
    // What the columns grow by widens the dialog; the controls below keep their place to its right edge.
    const int grown = fitColumnsToFigures();
    Label1_->setObjectName(QStringLiteral("Label1"));
    Label1_->setWordWrap(true);
    Label1_->setStyleSheet(QStringLiteral("color: #0000FF;"));
    Place(Label1_, 300, 5760, 3015 + grown, 375);
    Place(CmdP_0_, 1320 + grown, 6180, 915, 375);
    Place(CmdP_1_, 2400 + grown, 6180, 915, 375);
    // The hint's two lines in a taller font (Meiryo's line height, a larger scale) would be cut at
    // the twips' height: the label then grows to hold them, into the gap above the buttons first,
    // and what the gap cannot take moves the buttons down and makes the dialog taller.
    const int taller = std::max(0, Label1_->heightForWidth(Label1_->width()) - Label1_->height());
    const int gap = CmdP_0_->y() - Label1_->geometry().bottom() - 1;
    const int lower = std::max(0, taller - gap);
    Label1_->resize(Label1_->width(), Label1_->height() + taller);
    for (QPushButton* button : {CmdP_0_, CmdP_1_})
        button->move(button->x(), button->y() + lower);
    FixSizeOnScreen(*this, QSize(TwipsToPixels(kClientWidth + grown), TwipsToPixels(kClientHeight) + lower));

    connect(CmdP_0_, &QPushButton::clicked, this, [this] { CmdP_0_Click(); });
    connect(CmdP_1_, &QPushButton::clicked, this, &QDialog::reject);

    QelGP_->setCurrentCell(0, 1);
    QelGP_->setFocus();
}

int FrmEditPnt::fitColumnsToFigures()
{
    // In whole pixels, so that the grid, the controls and the dialog grow alike.
    const int needed = GridColumnWidthFor(*QelGP_, WidestFigure());
    int grown = 0;
    for (int col = 1; col < QelGP_->Cols(); ++col) {
        const int drawn = QelGP_->columnWidth(col);
        if (drawn >= needed)
            continue;
        QelGP_->SetColumnWidth(col, needed * kTwipsPerPixel);
        grown += needed - drawn;
    }
    QelGP_->SetWidth(QelGP_->Width() + grown * kTwipsPerPixel);
    return grown * kTwipsPerPixel;
}

void FrmEditPnt::CmdP_0_Click()
{
    QelGP_->commitPendingEdit();
    if (const std::optional<CellProblem> problem = CheckPointGrid(*QelGP_)) {
        ShowMessageBox(this, ErrorMessage(problem->message));
        QelGP_->SelectCell(problem->row, problem->col);
        return;
    }
    confirmed_ = ConfirmedPoints(*QelGP_, state_.CurData);
    accept();
}

}  // namespace chokusho
