#include "SectionPanel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "QtText.h"

namespace chokusho {

namespace {

QTableWidgetItem* Cell(const std::string& text, bool red, Qt::Alignment alignment)
{
    auto* item = new QTableWidgetItem(Utf8(text));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setTextAlignment(alignment | Qt::AlignVCenter);
    if (red)
        item->setForeground(QColor(0xFF, 0x00, 0x00));
    return item;
}

}  // namespace

SectionPanel::SectionPanel(const SectionPanelContent& content, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("SectionPanel"));
    setWindowTitle(QStringLiteral("断面から計算"));
    setModal(true);

    auto* table = new QTableWidget(static_cast<int>(content.figures.size()), 3, this);
    table->setObjectName(QStringLiteral("SectionFigures"));
    table->setHorizontalHeaderLabels({QStringLiteral("項目"), QStringLiteral("入力値"), QStringLiteral("計算値")});
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setFocusPolicy(Qt::NoFocus);
    for (int row = 0; row < table->rowCount(); ++row) {
        const SectionFigureRow& figure = content.figures[static_cast<std::size_t>(row)];
        table->setItem(row, 0, Cell(figure.label, false, Qt::AlignLeft));
        table->setItem(row, 1, Cell(figure.entered, figure.differs, Qt::AlignRight));
        table->setItem(row, 2, Cell(figure.computed, figure.differs, Qt::AlignRight));
    }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    table->setMinimumWidth(table->horizontalHeader()->length() + table->frameWidth() * 2 + 40);

    QStringList problems;
    for (const std::string& problem : content.problems)
        problems << Utf8(problem);
    auto* told = new QLabel(problems.join(u'\n'), this);
    told->setObjectName(QStringLiteral("SectionProblems"));
    told->setWordWrap(true);
    told->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* take = new QPushButton(QStringLiteral("計算値を入れる"), this);
    take->setObjectName(QStringLiteral("CmdTake"));
    take->setEnabled(content.canTake);
    take->setAutoDefault(false);
    auto* close = new QPushButton(QStringLiteral("閉じる"), this);
    close->setObjectName(QStringLiteral("CmdClose"));
    close->setAutoDefault(false);
    connect(take, &QPushButton::clicked, this, &QDialog::accept);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(take);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table, 1);
    layout->addWidget(told);
    layout->addLayout(buttons);
    resize(qMax(sizeHint().width(), 420), 460);
}

}  // namespace chokusho
