#include "DrawingDialogs.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QToolBar>
#include <algorithm>
#include <cmath>
#include <optional>

#include "QtText.h"
#include "ScreenFit.h"
#include "StatusPanel.h"

namespace chokusho {

namespace {

QComboBox* ComboOf(QWidget* parent, const char* name, std::initializer_list<std::pair<QString, int>> items)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(Utf8(name));
    for (const auto& [text, value] : items)
        box->addItem(text, value);
    return box;
}

void Select(QComboBox* box, int value)
{
    const int index = box->findData(value);
    if (index >= 0)
        box->setCurrentIndex(index);
}

/**
 * The print preview's row of the drawing's choices, with a word and a way out when the section
 * does not fit the paper at the chosen scale. The word stands beside the choices where the row
 * has room for it, in a font down to 80 %, else on a line of its own under them, cut with "…"
 * only when even that line is too short; the button's place is kept while it is hidden. Neither
 * coming nor going moves the choices or widens the dialog.
 */
class FitRow : public QWidget {
public:
    FitRow(DrawingOptionsPanel* panel, QWidget* parent)
        : QWidget(parent),
          line_(new QHBoxLayout),
          under_(new QHBoxLayout),
          panel_(panel),
          warning_(new StatusPanel(this)),
          fit_(new QPushButton(QStringLiteral("用紙に合わせる(&F)"), this))
    {
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        warning_->setObjectName(QStringLiteral("FitWarning"));
        warning_->setFrameStyle(QFrame::NoFrame);
        warning_->setStyleSheet(QStringLiteral("color: #c00000;"));
        warning_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        warning_->setPanelText(QStringLiteral("この縮尺では図が用紙に収まりません。"));
        fit_->setObjectName(QStringLiteral("FitButton"));
        QSizePolicy kept = fit_->sizePolicy();
        kept.setRetainSizeWhenHidden(true);
        fit_->setSizePolicy(kept);
        auto* lines = new QVBoxLayout(this);
        lines->addLayout(line_);
        lines->addLayout(under_);
        line_->addWidget(panel_);
        line_->addStretch();
        line_->addWidget(fit_);
        setFits(true);
    }

    QPushButton* fitButton() const { return fit_; }

    void setFits(bool fits)
    {
        warning_->setVisible(!fits);
        fit_->setVisible(!fits);
        arrange();
    }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QWidget::resizeEvent(event);
        arrange();
    }

private:
    /** The word beside the choices, before the button, or on the line under them. */
    void arrange()
    {
        const QMargins margins = layout()->contentsMargins();
        const int spacing = line_->spacing();
        const int oneLine = margins.left() + panel_->sizeHint().width() + spacing + warning_->smallestWidth() + spacing +
                            fit_->sizeHint().width() + margins.right();
        QBoxLayout* wanted = !warning_->isHidden() && width() < oneLine ? under_ : line_;
        if (wanted->indexOf(warning_) >= 0)
            return;
        line_->removeWidget(warning_);
        under_->removeWidget(warning_);
        if (wanted == line_)
            line_->insertWidget(line_->indexOf(fit_), warning_, 1);
        else
            under_->addWidget(warning_);
        updateGeometry();
    }

    QHBoxLayout* line_;
    QHBoxLayout* under_;
    DrawingOptionsPanel* panel_;
    StatusPanel* warning_;
    QPushButton* fit_;
};

/** The printer's page for the options' paper: the named ones by their ids (JIS B4 and B5), another by its size. */
QPageLayout PageLayoutFor(const DrawingOptions& options)
{
    QPageSize size;
    switch (options.paper) {
    case PaperSize::A4: size = QPageSize(QPageSize::A4); break;
    case PaperSize::A3: size = QPageSize(QPageSize::A3); break;
    case PaperSize::B4: size = QPageSize(QPageSize::JisB4); break;
    case PaperSize::B5: size = QPageSize(QPageSize::JisB5); break;
    case PaperSize::Other:
        size = QPageSize(QSizeF(options.otherShortMm, options.otherLongMm), QPageSize::Millimeter);
        break;
    }
    return QPageLayout(size, options.landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
}

/** "216 × 279 mm": a paper of its own size, as the paper box names it. */
QString OtherPaperName(double shortMm, double longMm)
{
    return QStringLiteral("%1 × %2 mm").arg(std::lround(shortMm)).arg(std::lround(longMm));
}

QString ScaleName(double scale)
{
    return scale == kFitToPaper ? QStringLiteral("用紙に合わせる") : Utf8(ScaleText(scale));
}

}  // namespace

// --- DrawingOptionsPanel

DrawingOptionsPanel::DrawingOptionsPanel(Arrangement arrangement, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("DrawingOptions"));
    // The series and the fit to offer; any 1:N the user types stands in the box's own line.
    scale_ = new QComboBox(this);
    scale_->setObjectName(QStringLiteral("Scale"));
    scale_->setEditable(true);
    scale_->setInsertPolicy(QComboBox::NoInsert);
    for (const double scale : kDrawingScales)
        scale_->addItem(ScaleName(scale), scale);
    scale_->addItem(ScaleName(kFitToPaper), kFitToPaper);
    paper_ = ComboOf(this, "Paper",
                     {{QStringLiteral("A4"), static_cast<int>(PaperSize::A4)},
                      {QStringLiteral("A3"), static_cast<int>(PaperSize::A3)},
                      {QStringLiteral("B4"), static_cast<int>(PaperSize::B4)},
                      {QStringLiteral("B5"), static_cast<int>(PaperSize::B5)}});
    orientation_ = ComboOf(this, "Orientation", {{QStringLiteral("縦"), 0}, {QStringLiteral("横"), 1}});
    numbers_ = new QCheckBox(QStringLiteral("点番号(&N)"), this);
    numbers_->setObjectName(QStringLiteral("PointNumbers"));
    grid_ = new QCheckBox(QStringLiteral("グリッド(&G)"), this);
    grid_->setObjectName(QStringLiteral("Grid"));
    table_ = new QCheckBox(QStringLiteral("層別体積表(&T)"), this);
    table_->setObjectName(QStringLiteral("LayerTable"));
    dimensions_ = ComboOf(this, "Dimensions",
                          {{QStringLiteral("なし"), static_cast<int>(DimensionStyle::None)},
                           {QStringLiteral("全体"), static_cast<int>(DimensionStyle::Overall)},
                           {QStringLiteral("全点"), static_cast<int>(DimensionStyle::EveryPoint)}});
    Select(dimensions_, static_cast<int>(DimensionStyle::Overall));

    const auto labelFor = [this](const QString& text, QWidget* buddy) {
        auto* label = new QLabel(text, this);
        label->setBuddy(buddy);
        return label;
    };
    if (arrangement == Arrangement::Form) {
        auto* form = new QFormLayout(this);
        form->addRow(labelFor(QStringLiteral("縮尺(&S):"), scale_), scale_);
        form->addRow(labelFor(QStringLiteral("用紙(&P):"), paper_), paper_);
        form->addRow(labelFor(QStringLiteral("向き(&O):"), orientation_), orientation_);
        form->addRow(labelFor(QStringLiteral("寸法(&D):"), dimensions_), dimensions_);
        form->addRow(numbers_);
        form->addRow(grid_);
        form->addRow(table_);
    } else {
        auto* row = new QHBoxLayout(this);
        row->setContentsMargins(0, 0, 0, 0);
        row->addWidget(labelFor(QStringLiteral("縮尺(&S):"), scale_));
        row->addWidget(scale_);
        row->addSpacing(8);
        row->addWidget(labelFor(QStringLiteral("用紙(&P):"), paper_));
        row->addWidget(paper_);
        row->addWidget(orientation_);
        row->addSpacing(8);
        row->addWidget(labelFor(QStringLiteral("寸法(&D):"), dimensions_));
        row->addWidget(dimensions_);
        row->addSpacing(8);
        row->addWidget(numbers_);
        row->addWidget(grid_);
        row->addWidget(table_);
    }

    connect(scale_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index < 0)
            return;
        scaleValue_ = scale_->itemData(index).toDouble();
        emit changed();
    });
    connect(scale_->lineEdit(), &QLineEdit::editingFinished, this, &DrawingOptionsPanel::takeTypedScale);
    for (QComboBox* box : {paper_, orientation_, dimensions_})
        connect(box, &QComboBox::currentIndexChanged, this, &DrawingOptionsPanel::changed);
    for (QCheckBox* box : {numbers_, grid_, table_})
        connect(box, &QCheckBox::toggled, this, &DrawingOptionsPanel::changed);
}

void DrawingOptionsPanel::takeTypedScale()
{
    const QString typed = scale_->currentText();
    const int listed = scale_->findText(typed);
    const std::optional<double> scale =
        listed >= 0 ? std::optional<double>(scale_->itemData(listed).toDouble()) : ReadScale(ToUtf8(typed));
    if (!scale) {
        showScale(scaleValue_);
        return;
    }
    const bool change = *scale != scaleValue_;
    showScale(*scale);
    if (change)
        emit changed();
}

void DrawingOptionsPanel::showScale(double scale)
{
    const QSignalBlocker blocker(scale_);
    scaleValue_ = scale;
    const int index = scale_->findData(scale);
    scale_->setCurrentIndex(index);
    if (index < 0)
        scale_->setEditText(ScaleName(scale));
}

void DrawingOptionsPanel::showOtherPaper(double shortMm, double longMm)
{
    otherShortMm_ = shortMm;
    otherLongMm_ = longMm;
    const int index = paper_->findData(static_cast<int>(PaperSize::Other));
    if (index >= 0)
        paper_->setItemText(index, OtherPaperName(shortMm, longMm));
    else
        paper_->addItem(OtherPaperName(shortMm, longMm), static_cast<int>(PaperSize::Other));
}

DrawingOptions DrawingOptionsPanel::options() const
{
    DrawingOptions options;
    options.scale = scaleValue_;
    options.paper = static_cast<PaperSize>(paper_->currentData().toInt());
    options.otherShortMm = otherShortMm_;
    options.otherLongMm = otherLongMm_;
    options.landscape = orientation_->currentData().toInt() == 1;
    options.pointNumbers = numbers_->isChecked();
    options.grid = grid_->isChecked();
    options.layerTable = table_->isChecked();
    options.dimensions = static_cast<DimensionStyle>(dimensions_->currentData().toInt());
    return options;
}

void DrawingOptionsPanel::setOptions(const DrawingOptions& options)
{
    // The children still signal; the panel passes nothing on.
    const QSignalBlocker blocker(this);
    showScale(options.scale);
    if (options.paper == PaperSize::Other)
        showOtherPaper(options.otherShortMm, options.otherLongMm);
    Select(paper_, static_cast<int>(options.paper));
    Select(orientation_, options.landscape ? 1 : 0);
    numbers_->setChecked(options.pointNumbers);
    grid_->setChecked(options.grid);
    table_->setChecked(options.layerTable);
    Select(dimensions_, static_cast<int>(options.dimensions));
}

// --- ExportOptionsDialog

ExportOptionsDialog::ExportOptionsDialog(ExportFormat format, const QString& fileName, const DrawingOptions& options,
                                         int dpi, QWidget* parent)
    : QDialog(parent), panel_(new DrawingOptionsPanel(DrawingOptionsPanel::Arrangement::Form, this))
{
    setObjectName(QStringLiteral("ExportOptions"));
    setWindowTitle(QStringLiteral("エクスポート - ") + fileName);
    panel_->setOptions(options);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel_);
    if (format == ExportFormat::Png) {
        dpi_ = new QSpinBox(this);
        dpi_->setObjectName(QStringLiteral("Dpi"));
        dpi_->setRange(kMinPngDpi, kMaxPngDpi);
        dpi_->setSingleStep(50);
        dpi_->setSuffix(QStringLiteral(" dpi"));
        dpi_->setValue(dpi);
        auto* form = new QFormLayout;
        auto* label = new QLabel(QStringLiteral("解像度(&R):"), this);
        label->setBuddy(dpi_);
        form->addRow(label, dpi_);
        layout->addLayout(form);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("出力"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    // Wide enough for its caption, which names the file, as far as the screen allows.
    setMinimumWidth(std::max(sizeHint().width(), fontMetrics().horizontalAdvance(windowTitle()) + 120));
    ResizeOnScreen(*this, minimumSize().expandedTo(sizeHint()));
}

DrawingOptions ExportOptionsDialog::options() const { return panel_->options(); }

int ExportOptionsDialog::dpi() const { return dpi_ != nullptr ? dpi_->value() : kDefaultPngDpi; }

// --- Fitting and the print preview

FitAnswer AskToFit(QWidget* parent, const QString& caption, double fitted)
{
    QMessageBox box(QMessageBox::Question, caption,
                    QStringLiteral("この縮尺では図が用紙に収まりません。\n用紙に合わせた縮尺 (%1) で出力しますか?")
                        .arg(Utf8(ScaleText(fitted))),
                    QMessageBox::NoButton, parent);
    box.setObjectName(QStringLiteral("FitQuestion"));
    QPushButton* fit = box.addButton(QStringLiteral("用紙に合わせる"), QMessageBox::YesRole);
    QPushButton* asItIs = box.addButton(QStringLiteral("このまま出力"), QMessageBox::NoRole);
    box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
    box.setDefaultButton(fit);
    box.exec();
    if (box.clickedButton() == fit)
        return FitAnswer::Fit;
    if (box.clickedButton() == asItIs)
        return FitAnswer::AsItIs;
    return FitAnswer::Cancel;
}

void ShowPrintPreview(QWidget* parent, const DrawingSource& source, DrawingOptions& options)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(PageLayoutFor(options));
    printer.setDocName(Utf8(source(options).title));
    QPrintPreviewDialog preview(&printer, parent);
    preview.setObjectName(QStringLiteral("PrintPreview"));
    preview.setWindowTitle(QStringLiteral("印刷プレビュー"));

    auto* panel = new DrawingOptionsPanel(DrawingOptionsPanel::Arrangement::Row);
    panel->setOptions(options);
    auto* row = new FitRow(panel, &preview);
    QPushButton* fit = row->fitButton();
    // A second row of tools under the preview's own, which live in a main window of their own.
    if (auto* tools = preview.findChild<QMainWindow*>()) {
        tools->addToolBarBreak();
        QToolBar* bar = tools->addToolBar(QStringLiteral("DrawingTools"));
        bar->setObjectName(QStringLiteral("DrawingTools"));
        bar->setMovable(false);
        bar->setFloatable(false);
        bar->toggleViewAction()->setVisible(false);
        bar->addWidget(row);
    } else if (auto* layout = qobject_cast<QBoxLayout*>(preview.layout())) {
        layout->insertWidget(0, row);
    }

    auto* view = preview.findChild<QPrintPreviewWidget*>();
    QObject::connect(panel, &DrawingOptionsPanel::changed, &preview, [&printer, panel, view] {
        const DrawingOptions chosen = panel->options();
        printer.setPageLayout(PageLayoutFor(chosen));
        if (view != nullptr)
            view->updatePreview();
    });
    QObject::connect(fit, &QPushButton::clicked, &preview, [panel] {
        DrawingOptions fitted = panel->options();
        fitted.scale = kFitToPaper;
        panel->setOptions(fitted);
        emit panel->changed();
    });
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&](QPrinter* target) {
        // The preview's own buttons and page set-up may have turned or changed the paper.
        DrawingOptions chosen = panel->options();
        const QRectF page = target->pageLayout().fullRect(QPageLayout::Millimeter);
        SetPaper(chosen, page.width(), page.height());
        panel->setOptions(chosen);
        options = chosen;
        const Drawing drawing = source(chosen);
        row->setFits(drawing.fits);
        PrintDrawing(*target, drawing);
    });
    // Qt sizes the preview as it shows it, once the pages are laid out; what its tool rows need
    // never pushes it beyond the screen.
    KeepOnScreenWhenShown(preview);
    preview.exec();
}

}  // namespace chokusho
