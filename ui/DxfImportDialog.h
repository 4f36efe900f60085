#pragma once

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "BlockData.h"
#include "DxfImport.h"

class QComboBox;
class QDialogButtonBox;
class QDoubleSpinBox;
class QLabel;
class QListWidget;

namespace chokusho {

class PickerPreviewWidget;

/**
 * The preview of a DXF import: the section as it will be drawn, what the import counts, the
 * file's layers with check boxes (all ticked at first), the unit and the tolerance. Every change
 * assembles the block again from the file read once. OK stays off while the choice makes no
 * block, and the reason shows under the counts.
 */
class DxfImportDialog : public QDialog {
    Q_OBJECT

public:
    DxfImportDialog(DxfDrawing drawing, const QString& fileName, QWidget* parent);

    /** What the current choice makes. */
    const DxfImport& import() const { return import_; }

private:
    void reassemble();
    DxfImportOptions options() const;

    DxfDrawing drawing_;
    DxfImport import_;
    /** The file's layer of each row of the list. */
    std::vector<int> layerOfRow_;
    PickerPreviewWidget* preview_ = nullptr;
    QListWidget* layers_ = nullptr;
    QComboBox* unit_ = nullptr;
    QDoubleSpinBox* tolerance_ = nullptr;
    QLabel* counts_ = nullptr;
    QLabel* problem_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
};

/**
 * DXF 読み込み: asks for a DXF file in `folder`, reads it and shows its preview. The block of
 * the points and segments to import, or nullopt when the user cancelled or the file could not
 * be read (which is said then).
 */
std::optional<BlockData> ImportDxfFile(QWidget* parent, const std::string& folder);

}  // namespace chokusho
