#include "DxfImportDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <utility>

#include "DxfReader.h"
#include "FileDialogs.h"
#include "FileSystem.h"
#include "FramePort.h"
#include "MessageBox.h"
#include "Numbers.h"
#include "PickerPreviewWidget.h"
#include "QtText.h"

namespace chokusho {

namespace {

constexpr const char* kImportCaption = "DXF 読み込み";

/** The unit the file names for itself, as the first choice of the unit box says it. */
QString FileUnitText(const DxfDrawing& drawing)
{
    const double metres = DxfMetresPerUnit(drawing, {});
    const struct {
        double metres;
        const char* name;
    } known[] = {{0.001, "mm"}, {0.01, "cm"}, {1, "m"}, {0.0254, "インチ"}, {0.3048, "フィート"}};
    for (const auto& unit : known)
        if (std::abs(metres - unit.metres) <= unit.metres * 1e-9)
            return QStringLiteral("ファイルの単位 (%1)").arg(Utf8(unit.name));
    return QStringLiteral("ファイルの単位 (1 = %1 m)").arg(metres, 0, 'g', 6);
}

/** `block` with B and H the extent of its points, as the preview fits a block by them. */
BlockData FittedToItsPoints(BlockData block)
{
    block.B = 0;
    block.H = 0;
    for (int i = 1; i <= block.PointCount; ++i) {
        block.B = std::max(block.B, block.PointX[i]);
        block.H = std::max(block.H, block.PointY[i]);
    }
    return block;
}

}  // namespace

DxfImportDialog::DxfImportDialog(DxfDrawing drawing, const QString& fileName, QWidget* parent)
    : QDialog(parent), drawing_(std::move(drawing))
{
    setObjectName(QStringLiteral("DxfImport"));
    setWindowTitle(Utf8(kImportCaption) + QStringLiteral(" - ") + fileName);

    preview_ = new PickerPreviewWidget(this);
    preview_->setObjectName(QStringLiteral("ImportPreview"));
    preview_->setMinimumSize(360, 300);

    layers_ = new QListWidget(this);
    layers_->setObjectName(QStringLiteral("ImportLayers"));
    for (std::size_t i = 0; i < drawing_.layers.size(); ++i) {
        const DxfLayer& layer = drawing_.layers[i];
        // Layers that are hidden or bring nothing are no choice.
        if (layer.hidden() || layer.entities == 0)
            continue;
        auto* item = new QListWidgetItem(QStringLiteral("%1 (%2)").arg(Utf8(layer.name)).arg(layer.entities), layers_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
        layerOfRow_.push_back(static_cast<int>(i));
    }

    unit_ = new QComboBox(this);
    unit_->setObjectName(QStringLiteral("ImportUnit"));
    unit_->addItem(FileUnitText(drawing_));
    unit_->addItem(QStringLiteral("mm"), static_cast<int>(DxfUnit::Millimetre));
    unit_->addItem(QStringLiteral("cm"), static_cast<int>(DxfUnit::Centimetre));
    unit_->addItem(QStringLiteral("m"), static_cast<int>(DxfUnit::Metre));

    tolerance_ = new QDoubleSpinBox(this);
    tolerance_->setObjectName(QStringLiteral("ImportTolerance"));
    tolerance_->setDecimals(3);
    tolerance_->setRange(kMinDxfToleranceMm, kMaxDxfToleranceMm);
    tolerance_->setValue(kDefaultDxfToleranceMm);
    tolerance_->setSuffix(QStringLiteral(" mm"));

    counts_ = new QLabel(this);
    counts_->setObjectName(QStringLiteral("ImportCounts"));
    counts_->setWordWrap(true);
    problem_ = new QLabel(this);
    problem_->setObjectName(QStringLiteral("ImportProblem"));
    problem_->setWordWrap(true);
    problem_->setStyleSheet(QStringLiteral("color: #c00000"));

    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons_->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons_->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* choices = new QFormLayout;
    choices->addRow(QStringLiteral("単位:"), unit_);
    choices->addRow(QStringLiteral("許容差:"), tolerance_);
    auto* side = new QVBoxLayout;
    side->addWidget(new QLabel(QStringLiteral("レイヤー:"), this));
    side->addWidget(layers_, 1);
    side->addLayout(choices);
    auto* top = new QHBoxLayout;
    top->addWidget(preview_, 1);
    top->addLayout(side);
    auto* whole = new QVBoxLayout(this);
    whole->addLayout(top, 1);
    whole->addWidget(counts_);
    whole->addWidget(problem_);
    whole->addWidget(buttons_);

    connect(layers_, &QListWidget::itemChanged, this, &DxfImportDialog::reassemble);
    connect(unit_, &QComboBox::currentIndexChanged, this, &DxfImportDialog::reassemble);
    connect(tolerance_, &QDoubleSpinBox::valueChanged, this, &DxfImportDialog::reassemble);
    reassemble();
    buttons_->button(QDialogButtonBox::Ok)->setFocus();
}

DxfImportOptions DxfImportDialog::options() const
{
    DxfImportOptions options;
    if (const QVariant unit = unit_->currentData(); unit.isValid())
        options.unit = static_cast<DxfUnit>(unit.toInt());
    options.toleranceMm = tolerance_->value();
    std::vector<std::string> ticked;
    for (int row = 0; row < layers_->count(); ++row)
        if (layers_->item(row)->checkState() == Qt::Checked)
            ticked.push_back(
                drawing_.layers[static_cast<std::size_t>(layerOfRow_[static_cast<std::size_t>(row)])].name);
    options.layers = std::move(ticked);
    return options;
}

void DxfImportDialog::reassemble()
{
    import_ = AssembleBlock(drawing_, options());
    preview_->showBlock(import_.ok() ? FittedToItsPoints(import_.block) : BlockData{});
    counts_->setText(Utf8(DxfImportCountsText(import_.counts)));
    problem_->setText(import_.ok() ? QString() : Utf8(DxfImportFailureText(import_)));
    problem_->setVisible(!import_.ok());
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(import_.ok());
}

std::optional<BlockData> ImportDxfFile(QWidget* parent, const std::string& folder)
{
    OpenFileDialog chooser(parent, Utf8(kImportCaption), Utf8(folder), QStringLiteral("DXF ファイル (*.dxf *.DXF)"));
    const std::string path = chooser.run();
    if (path.empty())
        return std::nullopt;
    const auto refuse = [&](const std::string& reason) {
        ShowMessageBox(parent, ErrorMessage(path + "\r\n" + reason));
        return std::nullopt;
    };
    int readError = 0;
    const std::optional<std::string> bytes = ReadWholeFile(PathFromUtf8(path), kMaxDxfFileBytes, &readError);
    if (!bytes)
        return refuse(FileReadErrorText(readError));
    DxfReadResult read = ReadDxf(*bytes);
    if (!read)
        return refuse(DxfReadFailureText(read));
    // A file with nothing to import is said at once: no choice in the preview would change it.
    if (const DxfImport everything = AssembleBlock(read.drawing, {}); everything.failure == DxfFailure::EmptySelection)
        return refuse(DxfImportFailureText(everything));

    DxfImportDialog preview(std::move(read.drawing), Utf8(PathToUtf8(PathFromUtf8(path).filename())), parent);
    if (preview.exec() != QDialog::Accepted || !preview.import().ok())
        return std::nullopt;
    return preview.import().block;
}

}  // namespace chokusho
