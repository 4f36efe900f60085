#include "FrmBlkShoSel.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QStorageInfo>
#include <QStyle>
#include <QTimer>
#include <QToolTip>
#include <QTreeView>
#include <algorithm>
#include <utility>

#include "FileIconProvider.h"
#include "FileSystem.h"
#include "MessageBox.h"
#include "QtText.h"
#include "ScreenFit.h"
#include "ZoomScroll.h"

namespace chokusho {

namespace {

constexpr int kClientWidthTwips = 11160;
constexpr int kClientHeightTwips = 6090;
constexpr int kFontPoints = 9;

/** The highest a combo box may be before it would overlap the folder tree below it. */
constexpr int kDriveBoxMaxHeight = 24;

constexpr const char* kDeviceNotReady = "デバイスが準備されていません。";

/** What a control gains, in pixels, where the dialog is larger than it was drawn. */
struct Growth {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

void Place(QWidget* widget, int left, int top, int width, int height, Growth grown = {})
{
    widget->setGeometry(TwipsToPixels(left) + grown.x, TwipsToPixels(top) + grown.y,
                        TwipsToPixels(width) + grown.width, TwipsToPixels(height) + grown.height);
}

/**
 * The folder tree: names run on to the right, where a scroll bar reaches them and a tooltip
 * shows a name the tree cuts. Its own moves to a folder scroll sideways only as far as brings
 * that folder's name into sight, so that the shallow folders stay in sight as long as they can.
 */
class FolderTree : public QTreeView {
public:
    using QTreeView::QTreeView;

    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override
    {
        QScrollBar* sideways = horizontalScrollBar();
        const int kept = sideways->value();
        QTreeView::scrollTo(index, hint);
        sideways->setValue(kept);
        const QRect row = visualRect(index);
        if (row.isValid() && (row.left() < 0 || row.left() + indentation() > viewport()->width()))
            sideways->setValue(kept + row.left() - indentation());
    }

protected:
    bool viewportEvent(QEvent* event) override
    {
        if (event->type() != QEvent::ToolTip)
            return QTreeView::viewportEvent(event);
        const auto* help = static_cast<QHelpEvent*>(event);
        const QModelIndex index = indexAt(help->pos());
        const QRect row = visualRect(index);
        // The name as the tree shows it: nothing is read from the folder for it.
        const bool cut = index.isValid() && (row.left() < 0 || row.left() + sizeHintForIndex(index).width() >
                                                                   viewport()->width());
        if (cut)
            QToolTip::showText(help->globalPos(), index.data(Qt::DisplayRole).toString(), viewport(), row);
        else
            QToolTip::hideText();
        return true;
    }
};

/** A folder as the model and the comparisons here spell it: absolute, '/' separators, no trailing one. */
QString CleanFolder(const QString& folder)
{
    if (folder.isEmpty())
        return folder;
    return QDir::cleanPath(QDir(QDir::fromNativeSeparators(folder)).absolutePath());
}

#ifdef Q_OS_WIN
constexpr Qt::CaseSensitivity kPathCase = Qt::CaseInsensitive;
#else
constexpr Qt::CaseSensitivity kPathCase = Qt::CaseSensitive;
#endif

/** True when `folder` is `root` or lies inside it; both spelled as CleanFolder spells them. */
bool IsInside(const QString& folder, const QString& root)
{
    if (folder.compare(root, kPathCase) == 0)
        return true;
    const QString prefix = root.endsWith(u'/') ? root : root + u'/';
    return folder.startsWith(prefix, kPathCase);
}

/** A volume can be shown when its folder is there to be read; a removed medium's is not. */
bool VolumeReady(const QString& root)
{
    const QFileInfo info(root);
    if (!info.isDir())
        return false;
    const QStorageInfo storage(root);
    return storage.isValid() && storage.isReady();
}

/** The picker's text of a folder: native separators, as DataPath is kept. */
std::string FolderText(const QString& folder) { return ToUtf8(QDir::toNativeSeparators(folder)); }

}  // namespace

// --- FrmBlkShoSel

QFont FrmBlkShoSel::ListFont()
{
    // Lines are padded in cp932 bytes, so only a font whose full-width characters are exactly two
    // half-width ones keeps the columns under the heading.
    // Windows has one of its own, which its users know; elsewhere IPAGothic comes first.
#ifdef Q_OS_WIN
    const auto family = FirstInstalledFamily(
        {"MS Gothic", "ＭＳ ゴシック", "IPAGothic", "IPAゴシック", "Noto Sans Mono CJK JP"});
#else
    const auto family = FirstInstalledFamily(
        {"IPAGothic", "IPAゴシック", "MS Gothic", "ＭＳ ゴシック", "Noto Sans Mono CJK JP"});
#endif
    QFont font = family ? QFont(*family) : QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(kFontPoints);
    // At this size IPAGothic carries a bitmap of its own in which the decimal point has a tail
    // and "4.000" reads as "4,000"; drawn from its outline, unhinted, the point is a point. The
    // advances stay whole pixels, a full-width character two half-width ones.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setKerning(false);
    return font;
}

FrmBlkShoSel::FrmBlkShoSel(DocumentState& state, std::filesystem::path programFolder, QWidget* parent)
    : QDialog(parent), picker_(state), programFolder_(Utf8(PathToUtf8(programFolder)))
{
    setObjectName(QStringLiteral("FrmBlkShoSel"));
    setWindowTitle(Utf8(kPickerCaption));
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    buildControls();
    // The size it was drawn with is where it starts and the least it takes; on a screen too
    // small for that it starts smaller, and the controls scroll.
    const QSize drawn(TwipsToPixels(kClientWidthTwips), TwipsToPixels(kClientHeightTwips));
    page_ = PutOnScrollPage(*this, drawn, PageSize::Grows);
    page_->installEventFilter(this);
    setMinimumSize(drawn);
    ResizeOnScreen(*this, drawn);
    placeControls();
    fillDrives();

    // The tree is put on the folder before it reports changes, so that opening is one listing.
    const QString dataPath = Utf8(state.DataPath);
    const bool dataPathShown = !dataPath.isEmpty() && QFileInfo(dataPath).isDir();
    showFolder(CleanFolder(dataPathShown ? dataPath : programFolder_));

    connect(drive_, &QComboBox::currentIndexChanged, this, &FrmBlkShoSel::driveChosen);
    connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { treeFolderChosen(current); });
    connect(model_, &QFileSystemModel::rowsInserted, this, &FrmBlkShoSel::treeRowsChanged);
    connect(model_, &QFileSystemModel::layoutChanged, this, &FrmBlkShoSel::treeRowsChanged);
    connect(tree_->verticalScrollBar(), &QScrollBar::actionTriggered, this, [this] { keepInSight_ = false; });
    connect(list_, &QListWidget::currentRowChanged, this, &FrmBlkShoSel::rowChosen);
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] { selectClicked(); });
    connect(selectButton_, &QPushButton::clicked, this, &FrmBlkShoSel::selectClicked);
    connect(cancelButton_, &QPushButton::clicked, this, &FrmBlkShoSel::reject);

    if (dataPathShown)
        picker_.Load();
    else
        picker_.DirChange(FolderText(programFolder_));
    showList();
    list_->setFocus();
}

FrmBlkShoSel::~FrmBlkShoSel()
{
    // The model's loader may still report; nothing of this dialog is to hear it while it goes.
    model_->disconnect(this);
    tree_->selectionModel()->disconnect(this);
}

void FrmBlkShoSel::buildControls()
{
    const QFont listFont = ListFont();

    drive_ = new QComboBox(this);
    drive_->setObjectName(QStringLiteral("Drive1"));

    model_ = new QFileSystemModel(this);
    model_->setObjectName(QStringLiteral("Dir1Model"));
    model_->setIconProvider(&FolderViewIcons());
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    model_->setReadOnly(true);

    tree_ = new FolderTree(this);
    tree_->setObjectName(QStringLiteral("Dir1"));
    tree_->setModel(model_);
    for (int column = 1; column < model_->columnCount(); ++column)
        tree_->hideColumn(column);
    tree_->setHeaderHidden(true);
    // The names column is as wide as the names the tree has shown, and scrolls sideways: a long
    // Japanese name is read whole there or in its tooltip.
    tree_->header()->setStretchLastSection(false);
    tree_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    tree_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    tree_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    tree_->setIndentation(12);
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree_->setUniformRowHeights(true);

    heading_ = new QLabel(Utf8(kPickerHeading), this);
    heading_->setObjectName(QStringLiteral("Label1"));
    heading_->setFont(listFont);
    heading_->setTextFormat(Qt::PlainText);

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("List1"));
    list_->setFont(listFont);
    list_->setSortingEnabled(false);
    list_->setUniformItemSizes(true);
    // A line is drawn only as far as the list is wide; one that runs on shows it with "…" and
    // holds the whole line as its tooltip.
    list_->setTextElideMode(Qt::ElideRight);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);

    preview_ = new PickerPreviewWidget(this);
    preview_->setObjectName(QStringLiteral("Picture1"));

    frame_ = new QGroupBox(QStringLiteral("選択ファイル"), this);
    frame_->setObjectName(QStringLiteral("Frame1"));
    chosenName_ = new QLabel(frame_);
    chosenName_->setObjectName(QStringLiteral("Label3"));
    chosenName_->setTextFormat(Qt::PlainText);
    Place(chosenName_, 120, 300, 2595 - 240, 675 - 300 - 60);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("StatusLabel"));
    status_->setTextFormat(Qt::PlainText);
    status_->setWordWrap(true);
    status_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    selectButton_ = new QPushButton(Utf8(kPickerSelectCaption), this);
    selectButton_->setObjectName(QStringLiteral("Command1_0"));
    selectButton_->setDefault(true);

    cancelButton_ = new QPushButton(Utf8(kPickerCancelCaption), this);
    cancelButton_->setObjectName(QStringLiteral("Command1_1"));
    cancelButton_->setAutoDefault(false);

    setTabOrder(drive_, tree_);
    setTabOrder(tree_, list_);
    setTabOrder(list_, selectButton_);
    setTabOrder(selectButton_, cancelButton_);
}

void FrmBlkShoSel::placeControls()
{
    // Drawn for kClientWidthTwips x kClientHeightTwips; what the page has beyond that goes half
    // to the folder tree and half to the list and the preview, whose height the list and the
    // preview share; the chosen name and the buttons keep to the bottom right corner.
    const int wider = std::max(0, page_->width() - TwipsToPixels(kClientWidthTwips));
    const int taller = std::max(0, page_->height() - TwipsToPixels(kClientHeightTwips));
    const int treeWider = wider / 2;
    const int rightWider = wider - treeWider;
    const int listTaller = taller / 2;

    drive_->setGeometry(TwipsToPixels(180), TwipsToPixels(360), TwipsToPixels(2415) + treeWider,
                        std::min(drive_->sizeHint().height(), kDriveBoxMaxHeight));
    Place(tree_, 180, 720, 2415, 5130, {0, 0, treeWider, taller});
    Place(heading_, 2790, 120, 8175, 360 - 120, {treeWider, 0, rightWider, 0});
    Place(list_, 2820, 360, 8175, 3300, {treeWider, 0, rightWider, listTaller});
    Place(preview_, 2820, 3780, 4155, 2175, {treeWider, listTaller, rightWider, taller - listTaller});
    // Below the list, beside the preview, above the chosen name; the whole text is its tooltip.
    Place(status_, 7200, 3690, 3795, 480, {wider, listTaller, 0, 0});
    Place(frame_, 7200, 4200, 2595, 675, {wider, taller, 0, 0});
    Place(selectButton_, 7320, 5400, 1035, 495, {wider, taller, 0, 0});
    Place(cancelButton_, 8700, 5400, 1035, 495, {wider, taller, 0, 0});
}

bool FrmBlkShoSel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == page_ && event->type() == QEvent::Resize)
        placeControls();
    return QDialog::eventFilter(watched, event);
}

void FrmBlkShoSel::fillDrives()
{
#ifdef Q_OS_WIN
    for (const QFileInfo& drive : QDir::drives()) {
        const QString root = drive.absoluteFilePath();
        const QString label = QStorageInfo(root).name();
        QString text = QDir::toNativeSeparators(root).left(2).toLower();
        if (!label.isEmpty())
            text += QStringLiteral(" [") + label + u']';
        // A drive without a medium is listed all the same; choosing it says so.
        if (drive_->findData(CleanFolder(root)) < 0)
            drive_->addItem(text, CleanFolder(root));
    }
#else
    const auto add = [this](const QString& root, const QString& text) {
        const QString clean = CleanFolder(root);
        // Bind-mounted single files are volumes too, but no folder to browse.
        if (clean.isEmpty() || drive_->findData(clean) >= 0 || !QFileInfo(clean).isDir())
            return;
        drive_->addItem(text, clean);
    };
    add(QDir::rootPath(), QDir::rootPath());
    add(QDir::homePath(), QDir::homePath());
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady())
            continue;
        QString text = volume.rootPath();
        const QString name = volume.displayName();
        if (!name.isEmpty() && name != volume.rootPath())
            text += QStringLiteral(" [") + name + u']';
        add(volume.rootPath(), text);
    }
#endif
}

int FrmBlkShoSel::driveIndexFor(const QString& folder)
{
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < drive_->count(); ++i) {
        const QString root = drive_->itemData(i).toString();
        if (IsInside(folder, root) && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    if (best >= 0)
        return best;
    // A folder on no listed volume, such as a network share: its own volume is added for it.
    QString root = QStorageInfo(folder).rootPath();
    if (root.isEmpty() || !IsInside(folder, CleanFolder(root)))
        root = folder;
    drive_->addItem(QDir::toNativeSeparators(CleanFolder(root)), CleanFolder(root));
    return drive_->count() - 1;
}

void FrmBlkShoSel::setTreeRoot(const QString& root)
{
    model_->setRootPath(root);
    tree_->setRootIndex(model_->index(root));
}

void FrmBlkShoSel::showFolder(const QString& folder)
{
    moving_ = true;
    const int drive = driveIndexFor(folder);
    {
        const QSignalBlocker blocker(drive_);
        drive_->setCurrentIndex(drive);
    }
    shownDrive_ = drive;
    const QString root = drive_->itemData(drive).toString();
    setTreeRoot(root);
    const QModelIndex index = model_->index(folder);
    if (index.isValid() && index != tree_->rootIndex()) {
        tree_->setCurrentIndex(index);
        tree_->expand(index);
        keepInSight_ = true;
        bringIntoSight(index);
    } else {
        tree_->setCurrentIndex(QModelIndex());
        keepInSight_ = false;
    }
    moving_ = false;
}

void FrmBlkShoSel::treeRowsChanged()
{
    // The folders above the shown one arrive a level at a time and are sorted afterwards, and
    // every arrival can push it out of sight; once the user scrolls or chooses, it is left alone.
    if (!keepInSight_ || sightPending_)
        return;
    sightPending_ = true;
    QTimer::singleShot(0, this, [this] {
        sightPending_ = false;
        const QModelIndex current = tree_->currentIndex();
        if (keepInSight_ && current.isValid())
            bringIntoSight(current);
    });
}

void FrmBlkShoSel::bringIntoSight(const QModelIndex& index)
{
    // Centred, so that the folder's own subfolders below it show as well.
    tree_->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void FrmBlkShoSel::driveChosen(int index)
{
    if (index < 0 || index == shownDrive_)
        return;
    const QString root = drive_->itemData(index).toString();
    if (!VolumeReady(root)) {
        {
            const QSignalBlocker blocker(drive_);
            drive_->setCurrentIndex(shownDrive_);
        }
        ShowMessageBox(this, ErrorMessage(kDeviceNotReady));
        return;
    }
    shownDrive_ = index;
    keepInSight_ = false;
    moving_ = true;
    setTreeRoot(root);
    tree_->setCurrentIndex(QModelIndex());
    moving_ = false;
    picker_.DirChange(FolderText(root));
    showList();
}

void FrmBlkShoSel::treeFolderChosen(const QModelIndex& current)
{
    if (moving_ || !current.isValid())
        return;
    keepInSight_ = false;
    const QString folder = model_->filePath(current);
    if (folder.isEmpty())
        return;
    picker_.DirChange(FolderText(folder));
    showList();
}

void FrmBlkShoSel::rowChosen(int row)
{
    const QListWidgetItem* item = list_->item(row);
    if (item == nullptr)
        return;
    if (picker_.ListClick(item->data(Qt::UserRole).toInt()))
        showChoice();
}

void FrmBlkShoSel::selectClicked()
{
    if (picker_.Select())
        accept();
}

void FrmBlkShoSel::reject()
{
    picker_.Cancel();
    QDialog::reject();
}

void FrmBlkShoSel::showList()
{
    {
        const QSignalBlocker blocker(list_);
        list_->clear();
        const auto& lines = picker_.Lines();
        const QFontMetrics metrics(list_->font());
        // The viewport is sized only once the dialog is shown; a scroll bar may take its share.
        const int room = list_->contentsRect().width() - list_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            auto* item = new QListWidgetItem(Utf8(lines[i]));
            item->setData(Qt::UserRole, static_cast<int>(i));
            if (metrics.horizontalAdvance(item->text()) > room)
                item->setToolTip(item->text());
            list_->addItem(item);
        }
        list_->setCurrentRow(picker_.SelectedIndex());
    }
    if (list_->currentItem() != nullptr)
        list_->scrollToItem(list_->currentItem());
    showChoice();
}

void FrmBlkShoSel::showChoice()
{
    chosenName_->setText(Utf8(picker_.Label3()));
    status_->setText(Utf8(picker_.Status()));
    status_->setToolTip(status_->text());
    preview_->showBlock(picker_.ShownData());
    // 選択 has something to choose only while a line is selected.
    selectButton_->setEnabled(picker_.SelectedIndex() >= 0);
}

}  // namespace chokusho
