#include "FileDialogs.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QStyle>
#include <QTreeView>
#include <cerrno>
#include <filesystem>
#include <system_error>
#include <utility>

#include "FileIconProvider.h"
#include "FileMessages.h"
#include "FileNames.h"
#include "FileSystem.h"
#include "MessageBox.h"
#include "QtText.h"

namespace chokusho {

namespace {

/** Columns of the file system model, as the dialog's details view shows them. */
constexpr int kSizeColumn = 1;
constexpr int kTypeColumn = 2;
constexpr int kDateColumn = 3;

/**
 * Sizes and dates of the dialog's details view as Windows shows them to a Japanese user
 * ("12 KB", "2026/12/07 15:25"), whatever the language of the machine: the model would write
 * them in the system's language ("332 bytes", "7 Dec").
 */
class JapaneseDetails : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override
    {
        auto* files = qobject_cast<QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || files == nullptr ||
            (index.column() != kSizeColumn && index.column() != kDateColumn))
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        if (index.column() == kDateColumn) {
            const QDateTime modified = files->lastModified(source);
            return modified.isValid() ? modified.toString(QStringLiteral("yyyy/MM/dd HH:mm")) : QString();
        }
        if (files->isDir(source))
            return QString();
        // Kilobytes rounded up, grouped by thousands: an empty file is 0 KB, one byte 1 KB.
        const qint64 kilobytes = (files->size(source) + 1023) / 1024;
        return QLocale(QLocale::Japanese, QLocale::Japan).toString(kilobytes) + QStringLiteral(" KB");
    }
};

/** True when something, even a link that leads nowhere, has the name `path`. */
bool Exists(const std::string& path)
{
    std::error_code error;
    const auto status = std::filesystem::symlink_status(PathFromUtf8(path), error);
    return !error && status.type() != std::filesystem::file_type::not_found;
}

/** What the program's file dialogs share: Qt's own dialog in Japanese, its details as a Japanese user reads them. */
void SetUpFileDialog(QFileDialog& dialog)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setIconProvider(&FolderViewIcons());
    // Qt's own words are English unless a translation is loaded; the ones in sight are set here.
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("ファイル名:"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("ファイルの種類:"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("キャンセル"));
    // The type column would only repeat the extension: it is hidden, and named by FileIconProvider.
    dialog.setProxyModel(new JapaneseDetails(&dialog));
    if (auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        view->hideColumn(kTypeColumn);
        const int dateWidth = view->fontMetrics().horizontalAdvance(QStringLiteral("0000/00/00 00:00"));
        view->header()->resizeSection(kDateColumn, dateWidth + view->style()->pixelMetric(QStyle::PM_HeaderMargin) * 4);
    }
}

/** Shows `dialog` modally: the chosen file in the platform's spelling; empty when cancelled. */
std::string RunFileDialog(QFileDialog& dialog)
{
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.first().isEmpty())
        return {};
    return ToUtf8(QDir::toNativeSeparators(chosen.first()));
}

}  // namespace

SaveFileDialog::SaveFileDialog(QWidget* parent, const QString& caption, const QString& folder, const QString& filter,
                               std::function<std::string(const std::string&)> targetOf)
    : QFileDialog(parent, caption, folder, filter), targetOf_(std::move(targetOf))
{
    SetUpFileDialog(*this);
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    // The dialog's own question would be about the name in the box; accept() asks about the
    // file that will be written.
    setOption(QFileDialog::DontConfirmOverwrite, true);
    setLabelText(QFileDialog::LookIn, QStringLiteral("保存する場所:"));
    setLabelText(QFileDialog::Accept, QStringLiteral("保存(&S)"));
    // Says why 保存 is off while the name typed is too long for the folder.
    nameProblem_ = new QLabel(this);
    nameProblem_->setObjectName(QStringLiteral("NameProblem"));
    nameProblem_->setWordWrap(true);
    nameProblem_->hide();
    if (auto* grid = qobject_cast<QGridLayout*>(layout()))
        grid->addWidget(nameProblem_, grid->rowCount(), 0, 1, grid->columnCount());
    if (auto* name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
        connect(name, &QLineEdit::textChanged, this, &SaveFileDialog::showNameProblem);
}

OpenFileDialog::OpenFileDialog(QWidget* parent, const QString& caption, const QString& folder, const QString& filter)
    : QFileDialog(parent, caption, folder, filter)
{
    SetUpFileDialog(*this);
    setAcceptMode(QFileDialog::AcceptOpen);
    setFileMode(QFileDialog::ExistingFile);
    setLabelText(QFileDialog::LookIn, QStringLiteral("ファイルの場所:"));
    setLabelText(QFileDialog::Accept, QStringLiteral("開く(&O)"));
}

std::string OpenFileDialog::run() { return RunFileDialog(*this); }

std::string SaveFileDialog::run() { return RunFileDialog(*this); }

std::string SaveFileDialog::targetOfChosen(const QString& chosen) const
{
    const std::string path = ToUtf8(QDir::toNativeSeparators(chosen));
    return targetOf_ ? targetOf_(path) : path;
}

void SaveFileDialog::accept()
{
    const QStringList files = selectedFiles();
    // A folder's name opens the folder; that is the dialog's own business.
    if (files.size() == 1 && !files.first().isEmpty() && !QFileInfo(files.first()).isDir()) {
        const std::string target = targetOfChosen(files.first());
        const auto path = PathFromUtf8(target);
        // Neither can be written: no question about replacing comes first.
        std::string refusal = FileNameLengthProblem(path.parent_path(), PathToUtf8(path.filename()));
        if (refusal.empty() && QFileInfo(Utf8(target)).isDir())
            refusal = FileErrorText(EISDIR);
        if (!refusal.empty()) {
            ShowMessageBox(this, FailedWriteMessage(target, refusal));
            return;
        }
        if (Exists(target) && !mayReplace(target))
            return;
    }
    QFileDialog::accept();
}

void SaveFileDialog::showNameProblem(const QString& typed)
{
    // Qt's dialog turns 保存 off, without a word, for a name longer than the folder allows.
    QString problem;
    if (!typed.isEmpty()) {
        const std::string target = targetOfChosen(QDir(directory()).absoluteFilePath(typed));
        const auto path = PathFromUtf8(target);
        problem = Utf8(FileNameLengthProblem(path.parent_path(), PathToUtf8(path.filename())));
    }
    nameProblem_->setText(problem);
    nameProblem_->setVisible(!problem.isEmpty());
}

bool SaveFileDialog::mayReplace(const std::string& target)
{
    const QString name = Utf8(DisplayFileName(PathToUtf8(PathFromUtf8(target).filename())));
    QMessageBox box(QMessageBox::Warning, windowTitle(), name + QStringLiteral(" は既に存在します。\n上書きしますか?"),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setObjectName(QStringLiteral("OverwriteQuestion"));
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace chokusho
