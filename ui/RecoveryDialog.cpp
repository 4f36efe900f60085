#include "RecoveryDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <utility>

#include "FileNames.h"
#include "MessageBox.h"
#include "QtText.h"

namespace chokusho {

namespace {

/** The file a pair's block belongs to as the user reads it; a new block has none. */
QString FileText(const RecoveryInfo& info)
{
    if (info.blkFile.empty())
        return Utf8(kUntitledName);
    return Utf8(DisplayFileName(info.blkFolder + info.blkFile));
}

}  // namespace

RecoveryDialog::RecoveryDialog(std::vector<LeftRecovery> left, std::function<bool(const std::string&)> discard,
                               QWidget* parent)
    : QDialog(parent), left_(std::move(left)), discard_(std::move(discard))
{
    setWindowTitle(QStringLiteral("前回の作業を復元"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("前回、保存されずに終わった作業があります。"), this));
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("recoveryList"));
    list_->setRootIsDecorated(false);
    list_->setHeaderLabels({QStringLiteral("ブロック名"), QStringLiteral("ファイル"), QStringLiteral("最終変更")});
    list_->header()->setStretchLastSection(false);
    list_->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    layout->addWidget(list_);

    auto* buttons = new QDialogButtonBox(this);
    restore_ = buttons->addButton(QStringLiteral("復元"), QDialogButtonBox::AcceptRole);
    restore_->setObjectName(QStringLiteral("restoreButton"));
    discardButton_ = buttons->addButton(QStringLiteral("破棄"), QDialogButtonBox::DestructiveRole);
    discardButton_->setObjectName(QStringLiteral("discardButton"));
    QPushButton* later = buttons->addButton(QStringLiteral("後で"), QDialogButtonBox::RejectRole);
    later->setObjectName(QStringLiteral("laterButton"));
    layout->addWidget(buttons);
    connect(restore_, &QPushButton::clicked, this, &RecoveryDialog::restore);
    connect(discardButton_, &QPushButton::clicked, this, &RecoveryDialog::discardCurrent);
    connect(later, &QPushButton::clicked, this, &QDialog::reject);
    connect(list_, &QTreeWidget::currentItemChanged, this, &RecoveryDialog::updateButtons);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, &RecoveryDialog::restore);
    restore_->setDefault(true);

    fill();
    resize(640, 280);
}

void RecoveryDialog::fill()
{
    list_->clear();
    for (const LeftRecovery& left : left_) {
        const RecoveryRead& content = left.content;
        QStringList columns;
        if (content.ok)
            columns << Utf8(content.record.Name.empty() ? content.info.blkName : content.record.Name)
                    << FileText(content.info) << Utf8(content.info.changed);
        else
            columns << Utf8(left.name) << QStringLiteral("読み込めません: ") + Utf8(content.problem) << QString();
        list_->addTopLevelItem(new QTreeWidgetItem(columns));
    }
    if (list_->topLevelItemCount() > 0)
        list_->setCurrentItem(list_->topLevelItem(0));
    for (int column = 0; column < 3; column += 2)
        list_->resizeColumnToContents(column);
    updateButtons();
}

const LeftRecovery* RecoveryDialog::current() const
{
    QTreeWidgetItem* item = list_->currentItem();
    if (item == nullptr)
        return nullptr;
    const int row = list_->indexOfTopLevelItem(item);
    return row >= 0 && static_cast<std::size_t>(row) < left_.size() ? &left_[static_cast<std::size_t>(row)] : nullptr;
}

void RecoveryDialog::updateButtons()
{
    const LeftRecovery* left = current();
    restore_->setEnabled(left != nullptr && left->content.ok);
    discardButton_->setEnabled(left != nullptr);
}

void RecoveryDialog::restore()
{
    const LeftRecovery* left = current();
    if (left == nullptr || !left->content.ok)
        return;
    chosen_ = *left;
    accept();
}

void RecoveryDialog::discardCurrent()
{
    const LeftRecovery* left = current();
    if (left == nullptr)
        return;
    const QString name = list_->currentItem()->text(0);
    if (ShowMessageBox(this, Confirmation("「" + ToUtf8(name) + "」の作業を削除します。よろしいですか?")) != MsgAnswer::Ok)
        return;
    if (!discard_(left->name)) {
        ShowMessageBox(this, ErrorMessage("「" + ToUtf8(name) + "」の作業を削除できませんでした。"));
        return;
    }
    left_.erase(left_.begin() + (left - left_.data()));
    if (left_.empty()) {
        reject();
        return;
    }
    fill();
}

}  // namespace chokusho
