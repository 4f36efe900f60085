#include "QelGrid.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <algorithm>

#include "GridClipboard.h"
#include "MessageBox.h"
#include "QtText.h"
#include "ZoomScroll.h"

namespace chokusho {

namespace {

/**
 * The cell editor's keys: Enter and Tab store the text and move on instead of staying put or
 * opening the next cell's editor; a text of blanks is stored as an empty cell.
 */
class GridDelegate : public QStyledItemDelegate {
public:
    explicit GridDelegate(QelGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            model->setData(index, line->text().trimmed(), Qt::EditRole);
            return;
        }
        QStyledItemDelegate::setModelData(editor, model, index);
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab || key == Qt::Key_Backtab) {
                auto* editor = qobject_cast<QWidget*>(object);
                emit commitData(editor);
                emit closeEditor(editor, QAbstractItemDelegate::NoHint);
                grid_->moveAfterEntry(key);
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    QelGrid* grid_;
};

QColor FromBgr(std::uint32_t bgr)
{
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

}  // namespace

QelGrid::QelGrid(const QString& objectName, QWidget* parent) : QTableWidget(parent)
{
    setObjectName(objectName);
    setItemDelegate(new GridDelegate(this));
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    // The dialogs size each grid for its columns and a vertical bar; what lies beyond the width
    // is out of reach on purpose.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setTabKeyNavigation(true);
    setWordWrap(false);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (RowPositionChanged)
            RowPositionChanged(value);
    });
}

void QelGrid::place(int left, int top, int width, int height)
{
    widthTwips_ = width;
    leftTwips_ = left;
    setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height));
}

void QelGrid::commitPendingEdit()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void QelGrid::SetDrawEnabled(bool enabled) { setUpdatesEnabled(enabled); }

void QelGrid::ClearGrid()
{
    commitPendingEdit();
    for (int col = 0; col < columnCount(); ++col)
        setHorizontalHeaderItem(col, new QTableWidgetItem);
    for (int row = 0; row < rowCount(); ++row)
        for (int col = 0; col < columnCount(); ++col)
            if (QTableWidgetItem* cell = item(row, col))
                cell->setText(QString());
    rowColors_.clear();
    refreshCells();
}

void QelGrid::SetRows(int rows)
{
    setRowCount(std::max(rows - 1, 0));
    refreshCells();
}

void QelGrid::SetCols(int cols)
{
    setColumnCount(std::max(cols, 0));
    widthsTwips_.resize(static_cast<std::size_t>(columnCount()), 0);
    for (int col = 0; col < columnCount(); ++col)
        if (horizontalHeaderItem(col) == nullptr)
            setHorizontalHeaderItem(col, new QTableWidgetItem);
    refreshCells();
}

void QelGrid::SetFixedColCount(int cols)
{
    fixedCols_ = cols;
    refreshCells();
}

bool QelGrid::isLabelColumn(int col) const
{
    const auto found = labelColumns_.find(col);
    return col < fixedCols_ || (found != labelColumns_.end() && found->second);
}

bool QelGrid::isEditable(int col) const
{
    const auto found = editable_.find(col);
    return !isLabelColumn(col) && (found == editable_.end() || found->second);
}

void QelGrid::refreshCells()
{
    const QColor labelColor = palette().color(QPalette::Button);
    for (int col = 0; col < columnCount(); ++col) {
        const bool label = isLabelColumn(col);
        Qt::ItemFlags flags = Qt::ItemIsEnabled;
        if (!label)
            flags |= Qt::ItemIsSelectable;
        if (isEditable(col))
            flags |= Qt::ItemIsEditable;
        const Qt::Alignment alignment = label ? Qt::Alignment(Qt::AlignCenter) : (Qt::AlignRight | Qt::AlignVCenter);
        for (int row = 0; row < rowCount(); ++row) {
            QTableWidgetItem* cell = item(row, col);
            if (cell == nullptr) {
                cell = new QTableWidgetItem;
                setItem(row, col, cell);
            }
            if (cell->flags() != flags)
                cell->setFlags(flags);
            if (cell->textAlignment() != static_cast<int>(alignment))
                cell->setTextAlignment(alignment);
            const auto tint = rowColors_.find(row + 1);
            const QBrush background = label                      ? QBrush(labelColor)
                                      : tint != rowColors_.end() ? QBrush(tint->second)
                                                                 : QBrush();
            if (cell->background() != background)
                cell->setBackground(background);
        }
    }
}

void QelGrid::SelectCell(int row, int col)
{
    if (row < 1 || row > rowCount() || col < 0 || col >= columnCount())
        return;
    setCurrentCell(row - 1, col);
    if (QTableWidgetItem* cell = item(row - 1, col))
        scrollToItem(cell);
    setFocus(Qt::OtherFocusReason);
}

std::string QelGrid::CellText(int row, int col) const
{
    if (col < 0 || col >= columnCount())
        return {};
    const QTableWidgetItem* cell = row == 0 ? horizontalHeaderItem(col) : item(row - 1, col);
    return cell == nullptr ? std::string() : ToUtf8(cell->text());
}

void QelGrid::SetCellText(int row, int col, const std::string& text)
{
    if (row < 0 || col < 0 || col >= columnCount())
        return;
    if (row == 0) {
        setHorizontalHeaderItem(col, new QTableWidgetItem(Utf8(text)));
        return;
    }
    if (row > rowCount()) {
        setRowCount(row);
        refreshCells();
    }
    item(row - 1, col)->setText(Utf8(text));
}

void QelGrid::SetRowText(int row, const std::string& line)
{
    const QStringList fields = Utf8(line).split(u'\t');
    for (int col = 0; col < static_cast<int>(fields.size()) && col < columnCount(); ++col)
        SetCellText(row, col, ToUtf8(fields[col]));
}

int QelGrid::ColumnWidth(int col) const
{
    return col >= 0 && col < static_cast<int>(widthsTwips_.size()) ? widthsTwips_[col] : 0;
}

void QelGrid::SetColumnWidth(int col, int twips)
{
    if (col < 0 || col >= columnCount())
        return;
    widthsTwips_[col] = twips;
    setColumnWidth(col, TwipsToPixels(twips));
}

void QelGrid::SetRowHeight(int twips)
{
    const int pixels = TwipsToPixels(twips);
    verticalHeader()->setDefaultSectionSize(pixels);
    for (int row = 0; row < rowCount(); ++row)
        setRowHeight(row, pixels);
    // A taller font (Meiryo's line height, a larger scale) would be cut at the bottom of the row
    // the twips give: the header then grows to hold a line of its text and its rules.
    const int textHeight = horizontalHeader()->fontMetrics().height() + 2;
    horizontalHeader()->setFixedHeight(std::max(pixels, textHeight));
}

void QelGrid::ConfigureColumn(bool labels, int col)
{
    labelColumns_[col] = labels;
    refreshCells();
}

void QelGrid::SetColumnEditable(int col, bool editable)
{
    editable_[col] = editable;
    refreshCells();
}

void QelGrid::SetRowBackColor(int row, std::uint32_t bgr)
{
    rowColors_[row] = FromBgr(bgr);
    if (row < 1 || row > rowCount())
        return;
    for (int col = 0; col < columnCount(); ++col)
        if (QTableWidgetItem* cell = item(row - 1, col); cell != nullptr && !isLabelColumn(col))
            cell->setBackground(rowColors_[row]);
}

int QelGrid::DataRows() const
{
    for (int row = rowCount(); row >= 1; --row)
        for (int col = 0; col < columnCount(); ++col)
            if (const QTableWidgetItem* cell = item(row - 1, col); cell != nullptr && !cell->text().isEmpty())
                return row;
    return 0;
}

int QelGrid::RowPosition() const { return verticalScrollBar()->value(); }

void QelGrid::SetRowPosition(int position) { verticalScrollBar()->setValue(position); }

void QelGrid::SetWidth(int twips)
{
    widthTwips_ = twips;
    resize(TwipsToPixels(twips), height());
}

void QelGrid::SetLeft(int twips)
{
    leftTwips_ = twips;
    move(TwipsToPixels(twips), y());
}

void QelGrid::moveAfterEntry(int key)
{
    const int rows = rowCount();
    const int cols = columnCount();
    int row = std::max(currentRow(), 0);
    int col = std::max(currentColumn(), 0);
    if (rows == 0 || cols == 0)
        return;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        row = std::min(row + 1, rows - 1);
    } else {
        const int step = key == Qt::Key_Backtab ? -1 : 1;
        // The next editable cell in reading order; staying put when there is none.
        for (int at = row * cols + col + step; at >= 0 && at < rows * cols; at += step) {
            if (isEditable(at % cols)) {
                row = at / cols;
                col = at % cols;
                break;
            }
        }
    }
    setCurrentCell(row, col);
}

void QelGrid::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    // The grid never scrolls sideways: a column the dialog left beyond the right edge stays
    // there even when the arrow keys reach it.
    QTableWidget::scrollTo(index, hint);
    horizontalScrollBar()->setValue(0);
}

void QelGrid::clearSelectedCells()
{
    for (QTableWidgetItem* cell : selectedItems())
        if (isEditable(cell->column()))
            cell->setText(QString());
}

std::vector<int> QelGrid::pasteColumns(int col) const
{
    while (col < columnCount() && isLabelColumn(col))
        ++col;
    std::vector<int> columns;
    for (; col < columnCount() && isEditable(col); ++col)
        columns.push_back(col);
    return columns;
}

void QelGrid::copyCells() const
{
    std::vector<int> columns;
    std::string text;
    const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    if (ranges.isEmpty()) {
        columns = pasteColumns(0);
        for (int col = 0; columns.empty() && col < columnCount(); ++col)
            if (!isLabelColumn(col))
                columns.push_back(col);
        text = CopyTable(*this, columns);
    } else {
        // Of several selected blocks, the rectangle around them, as one block of rows.
        int top = rowCount(), bottom = -1, left = columnCount(), right = -1;
        for (const QTableWidgetSelectionRange& range : ranges) {
            top = std::min(top, range.topRow());
            bottom = std::max(bottom, range.bottomRow());
            left = std::min(left, range.leftColumn());
            right = std::max(right, range.rightColumn());
        }
        for (int col = left; col <= right; ++col)
            if (!isLabelColumn(col))
                columns.push_back(col);
        text = CopyCells(*this, top + 1, bottom + 1, columns);
    }
    if (!columns.empty())
        QApplication::clipboard()->setText(Utf8(text));
}

void QelGrid::pasteCells()
{
    const int row = std::max(currentRow(), 0) + 1;
    const std::vector<int> columns = pasteColumns(std::max(currentColumn(), 0));
    const std::string text = QApplication::clipboard()->text().toStdString();
    const CellBlock pasted = SplitCellText(text);
    if (columns.empty() || pasted.empty() || pasted.front().empty())
        return;
    if (const auto problem = PasteCells(*this, row, columns, text)) {
        ShowMessageBox(this, ErrorMessage(*problem));
        return;
    }
    // What was pasted is selected, as a spreadsheet shows it.
    clearSelection();
    setRangeSelected(QTableWidgetSelectionRange(row - 1, columns.front(), row - 2 + static_cast<int>(pasted.size()),
                                                columns[pasted.front().size() - 1]),
                     true);
}

void QelGrid::keyPressEvent(QKeyEvent* event)
{
    if (state() != QAbstractItemView::EditingState) {
        if (event->matches(QKeySequence::Copy)) {
            copyCells();
            event->accept();
            return;
        }
        if (event->matches(QKeySequence::Paste)) {
            pasteCells();
            event->accept();
            return;
        }
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            moveAfterEntry(event->key());
            event->accept();
            return;
        case Qt::Key_Delete:
            clearSelectedCells();
            event->accept();
            return;
        default: break;
        }
    }
    QTableWidget::keyPressEvent(event);
}

}  // namespace chokusho
