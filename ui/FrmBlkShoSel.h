#pragma once

#include <QDialog>
#include <QString>
#include <filesystem>
#include <string>

#include "BlockData.h"
#include "BlockPicker.h"
#include "DocumentState.h"
#include "PickerPreviewWidget.h"

class QComboBox;
class QFileSystemModel;
class QGroupBox;
class QLabel;
class QListWidget;
class QModelIndex;
class QPushButton;
class QTreeView;

namespace chokusho {

/**
 * The block picker "FrmBlkShoSel", modal over the main window: a volume box and a folder tree
 * on the left, the block files of the chosen folder as lines under a heading, the selected
 * block's outline and name, and 選択 / 取消. What it lists and selects is decided by
 * BlockPicker; the widgets only pass their events on and show its state.
 *
 * The folder tree fills in the background; nothing here waits for it, so a slow or unreadable
 * folder never holds the dialog up.
 */
class FrmBlkShoSel : public QDialog {
    Q_OBJECT

public:
    /**
     * Opens on the document's DataPath, or on `programFolder` when DataPath is not a folder that
     * can be shown; moving through folders moves DataPath for good, even if the picker is then
     * cancelled.
     */
    FrmBlkShoSel(DocumentState& state, std::filesystem::path programFolder, QWidget* parent = nullptr);
    ~FrmBlkShoSel() override;

    /** The chosen block's base name once the dialog has closed; empty when it was cancelled. */
    const std::string& BlkNm() const { return picker_.BlkNm(); }
    /** The chosen block's file name as listed, extension included; empty when it was cancelled. */
    const std::string& FileName() const { return picker_.FileName(); }

    /** The font of the heading and the list: fixed pitch, a full-width character two half-width ones. */
    static QFont ListFont();

public slots:
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    /** Places the controls on the page, grown with it beyond the size they were drawn for. */
    void placeControls();
    void fillDrives();
    /** The entry of Drive1 whose folder holds `folder` most closely; added when none does. */
    int driveIndexFor(const QString& folder);
    /** Shows `folder` (an existing folder) in Drive1 and Dir1 without telling the picker. */
    void showFolder(const QString& folder);
    void setTreeRoot(const QString& root);
    void bringIntoSight(const QModelIndex& index);

    void driveChosen(int index);
    void treeFolderChosen(const QModelIndex& current);
    void rowChosen(int row);
    void selectClicked();
    void treeRowsChanged();

    /** Refills the list from the picker and shows its selection. */
    void showList();
    /** Shows the picker's selected name and block. */
    void showChoice();

    BlockPicker picker_;
    QString programFolder_;

    /** The page in a scroll area that holds every control and follows the dialog's size. */
    QWidget* page_ = nullptr;
    QComboBox* drive_ = nullptr;
    QTreeView* tree_ = nullptr;
    QFileSystemModel* model_ = nullptr;
    QLabel* heading_ = nullptr;
    QListWidget* list_ = nullptr;
    PickerPreviewWidget* preview_ = nullptr;
    QGroupBox* frame_ = nullptr;
    QLabel* chosenName_ = nullptr;
    /** What the user should know of the folder's files: a block file not listed, and why. */
    QLabel* status_ = nullptr;
    QPushButton* selectButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;

    int shownDrive_ = -1;
    /** The tree keeps its folder in sight while the rows above it are still loading. */
    bool keepInSight_ = false;
    bool sightPending_ = false;
    /** Set while the tree is moved by the dialog itself, whose moves are not the user's. */
    bool moving_ = false;
};

}  // namespace chokusho
