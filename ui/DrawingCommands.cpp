#include "DrawingCommands.h"

#include <QApplication>
#include <QDate>
#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <exception>
#include <limits>
#include <memory>
#include <optional>

#include "DrawingDialogs.h"
#include "DrawingOutput.h"
#include "FileDialogs.h"
#include "FileMessages.h"
#include "FileNames.h"
#include "FileSystem.h"
#include "MessageBox.h"
#include "QtText.h"

namespace chokusho {

namespace {

constexpr const char* kExportCaption = "エクスポート";
// How long an export runs before its progress shows: PDF, SVG and DXF are written well before.
constexpr int kShowProgressAfterMs = 400;

/** The wait cursor for as long as it lives, whichever way the work ends. */
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

QString SuffixOf(ExportFormat format) { return Utf8(ExportSuffix(format)); }

}  // namespace

bool RunWithProgress(QWidget* parent, const std::function<bool(const ExportProgress&)>& work)
{
    QProgressDialog dialog(QStringLiteral("図を書き出しています…"), QStringLiteral("キャンセル"), 0, 100, parent);
    dialog.setObjectName(QStringLiteral("ExportProgress"));
    dialog.setWindowTitle(Utf8(kExportCaption));
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setAutoReset(false);
    dialog.setAutoClose(false);
    // Shown by the timer below, never by the dialog's own guess of the time left.
    dialog.setMinimumDuration(std::numeric_limits<int>::max());
    dialog.setValue(0);

    QEventLoop loop;
    std::atomic<bool> cancelled = false;
    const auto cancel = [&cancelled, &loop] {
        cancelled = true;
        loop.quit();
    };
    QObject::connect(&dialog, &QProgressDialog::canceled, &loop, cancel);
    QObject::connect(&dialog, &QDialog::rejected, &loop, cancel);

    // On the worker: each percent gained is posted to the dialog.
    int shownPercent = 0;
    const ExportProgress progress = [&](double done) {
        const int percent = static_cast<int>(done * 100);
        if (percent != shownPercent) {
            shownPercent = percent;
            QMetaObject::invokeMethod(
                &dialog, [&dialog, percent] { dialog.setValue(percent); }, Qt::QueuedConnection);
        }
        return !cancelled;
    };
    bool result = false;
    std::exception_ptr failure;
    const std::unique_ptr<QThread> worker(QThread::create([&] {
        try {
            result = work(progress);
        } catch (...) {
            failure = std::current_exception();
        }
    }));
    bool ended = false;
    QObject::connect(worker.get(), &QThread::finished, &loop, [&ended, &loop] {
        ended = true;
        loop.quit();
    });

    std::optional<WaitCursor> waiting(std::in_place);
    QTimer showing;
    showing.setSingleShot(true);
    QObject::connect(&showing, &QTimer::timeout, &loop, [&] {
        if (ended)
            return;
        waiting.reset();
        dialog.show();
        loop.quit();
    });
    worker->start();
    showing.start(kShowProgressAfterMs);
    // Input waits while no dialog is up: the window would take it as though nothing were running.
    // Once the dialog is up, the window behind it refuses input of its own accord.
    while (!ended)
        loop.exec(dialog.isVisible() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    worker->wait();
    if (failure)
        std::rethrow_exception(failure);
    return result;
}

Drawing DrawingCommands::drawingOf(const DrawingOptions& options) const
{
    const std::string file = state_.BlkFile.empty() ? std::string() : DisplayFileName(state_.BlkFile);
    return BuildDrawing(state_.CurData, options, file,
                        ToUtf8(QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd"))));
}

void DrawingCommands::print()
{
    ShowPrintPreview(
        &window_, [this](const DrawingOptions& options) { return drawingOf(options); }, options_);
}

void DrawingCommands::exportToFile()
{
    // The file first: its type decides what the options offer.
    ExportFormat type = format_;
    QStringList filters;
    for (const ExportFormat format : kExportFormats)
        filters << Utf8(ExportFilter(format));
    SaveFileDialog dialog(&window_, Utf8(kExportCaption), Utf8(state_.DataPath), filters.join(QStringLiteral(";;")),
                          [&type](const std::string& chosen) { return ExportTarget(chosen, type); });
    dialog.setObjectName(QStringLiteral("ExportDialog"));
    dialog.selectNameFilter(Utf8(ExportFilter(type)));
    dialog.setDefaultSuffix(SuffixOf(type));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, &type](const QString& filter) {
        type = FormatOfFilter(ToUtf8(filter)).value_or(ExportFormat::Pdf);
        dialog.setDefaultSuffix(SuffixOf(type));
    });
    // The block's name as the window's caption shows it, whatever bytes its file name holds.
    dialog.selectFile(Utf8(DisplayFileName(state_.BlkName)) + QLatin1Char('.') + SuffixOf(type));
    const std::string chosen = dialog.run();
    if (chosen.empty())
        return;
    const std::string path = ExportTarget(chosen, type);
    const ExportFormat format = ExportFormatOf(path).value_or(type);

    const QString name = Utf8(DisplayFileName(PathToUtf8(PathFromUtf8(path).filename())));
    ExportOptionsDialog options(format, name, options_, dpi_, &window_);
    if (options.exec() != QDialog::Accepted)
        return;
    options_ = options.options();
    dpi_ = options.dpi();
    format_ = format;

    DrawingOptions chosenOptions = options_;
    Drawing drawing = drawingOf(chosenOptions);
    if (!drawing.fits) {
        chosenOptions.scale = kFitToPaper;
        Drawing fitted = drawingOf(chosenOptions);
        switch (AskToFit(&window_, Utf8(kExportCaption), fitted.scale)) {
        case FitAnswer::Fit: drawing = std::move(fitted); break;
        case FitAnswer::AsItIs: break;
        case FitAnswer::Cancel: return;
        }
    }

    try {
        // Cancelled, it has written nothing and has nothing to say.
        RunWithProgress(&window_, [&](const ExportProgress& progress) {
            return ExportDrawing(drawing, path, format, dpi_, progress);
        });
    } catch (const FileWriteError& error) {
        ShowMessageBox(&window_, FailedWriteMessage(path, error.reason()));
    }
}

}  // namespace chokusho
