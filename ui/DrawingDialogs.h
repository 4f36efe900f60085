#pragma once

#include <QDialog>
#include <QWidget>
#include <functional>

#include "Drawing.h"
#include "DrawingOutput.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QSpinBox;

namespace chokusho {

/**
 * The choices of a drawing: scale, paper and its orientation, and what the drawing shows. The
 * scale is one of the standard series, the one that fits the paper, or any 1:N typed into the
 * box; a paper of its own size (chosen in the printer's page set-up) is offered beside the named
 * ones while it is the drawing's.
 */
class DrawingOptionsPanel : public QWidget {
    Q_OBJECT

public:
    /** In a row, as beside a preview, or as a form in a dialog. */
    enum class Arrangement { Row, Form };

    DrawingOptionsPanel(Arrangement arrangement, QWidget* parent = nullptr);

    DrawingOptions options() const;
    /** Shows `options` without signalling a change. */
    void setOptions(const DrawingOptions& options);

signals:
    void changed();

private:
    /** Takes the scale typed into the box, or shows the last one again when it names none. */
    void takeTypedScale();
    void showScale(double scale);
    void showOtherPaper(double shortMm, double longMm);

    QComboBox* scale_;
    QComboBox* paper_;
    QComboBox* orientation_;
    QCheckBox* numbers_;
    QCheckBox* grid_;
    QCheckBox* table_;
    QComboBox* dimensions_;
    double scaleValue_ = kFitToPaper;
    double otherShortMm_ = 0;
    double otherLongMm_ = 0;
};

/**
 * The options of an export to the file `fileName` of `format`: the drawing's, and a PNG's
 * resolution.
 */
class ExportOptionsDialog : public QDialog {
    Q_OBJECT

public:
    ExportOptionsDialog(ExportFormat format, const QString& fileName, const DrawingOptions& options, int dpi,
                        QWidget* parent = nullptr);

    DrawingOptions options() const;
    int dpi() const;

private:
    DrawingOptionsPanel* panel_;
    QSpinBox* dpi_ = nullptr;
};

/** What a drawing's output asks when the section does not fit the paper at the chosen scale. */
enum class FitAnswer { Fit, AsItIs, Cancel };

/**
 * Asks whether to fit a section that does not fit the paper at the chosen scale; `fitted` is
 * the drawing's scale when fitted, named in the question.
 */
FitAnswer AskToFit(QWidget* parent, const QString& caption, double fitted);

/** Builds the drawing of the block being edited with the given options. */
using DrawingSource = std::function<Drawing(const DrawingOptions&)>;

/**
 * The print preview, in which scale, paper and options are chosen, and printing from it through
 * the system's print dialog. `options` starts the panel and keeps what the user chose.
 */
void ShowPrintPreview(QWidget* parent, const DrawingSource& source, DrawingOptions& options);

}  // namespace chokusho
