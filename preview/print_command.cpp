#include "preview/print_command.h"

#include <QDir>
#include <QLocale>
#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <algorithm>
#include <optional>

#include "app/failure.h"
#include "app/guarded.h"
#include "app/report_locations.h"
#include "timesheet/timesheet_pdf.h"
#include "ui/error_report_box.h"

namespace tallowby::preview {

namespace {

using automation::PaperSize;
using automation::PrintedWorkbook;

PrintDialogRunner& dialogRunner() {
    static PrintDialogRunner runner;
    return runner;
}

bool runDialog(QPrinter& printer, QWidget* parent) {
    if (dialogRunner()) return dialogRunner()(printer, parent);
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

QPageSize pageSizeOf(PaperSize paper) {
    return QPageSize(QSizeF(paper.widthPt, paper.heightPt), QPageSize::Point, QString(),
                     QPageSize::FuzzyMatch);
}

PaperSize paperOf(const QPageSize& size) {
    const QSizeF points = size.definitionSize().isEmpty() ? QSizeF() : size.size(QPageSize::Point);
    return {std::min(points.width(), points.height()), std::max(points.width(), points.height())};
}

// The file the dialog offers when the user prints to a file. Naming it turns
// the printer into a PDF writer, so a printer that was chosen is put back:
// the dialog still opens on it, with the file name ready for "Print to File".
void offerOutputFile(QPrinter& printer, const QString& file) {
    const QPrinter::OutputFormat format = printer.outputFormat();
    printer.setOutputFileName(file);
    if (format == QPrinter::NativeFormat) printer.setOutputFormat(QPrinter::NativeFormat);
}

}  // namespace

void setPrintDialogRunner(PrintDialogRunner runner) {
    dialogRunner() = std::move(runner);
}

void printTimesheet(QWidget* parent, const QString& workbookFile, RememberedFolder& fileFolder) {
    Guarded g(report_locations::kPreviewWindow, report_locations::kPrintClicked,
              error_report_box::shownOver(parent));
    std::optional<PrintedWorkbook> workbook;
    QPrinter printer(QPrinter::HighResolution);
    bool accepted = false;
    PaperSize paper;

    if (!g.run(100, [&] { workbook.emplace(workbookFile); })) return;  // nothing to print
    g.run(102, [&] {
        paper = workbook->setupPaper(QLocale());
        const bool landscape = workbook->landscapeOn(paper);
        printer.setFullPage(true);
        printer.setPageLayout(QPageLayout(
            pageSizeOf(paper), landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
            QMarginsF(0, 0, 0, 0)));
        printer.setDocName(timesheetPdfTitle(timesheetIdentity(*workbook)));
        printer.setCreator(QStringLiteral("Tallowby"));
        offerOutputFile(
            printer,
            QDir(fileFolder.start()).filePath(suggestedPdfFileName(timesheetIdentity(*workbook))));
    });
    g.run(104, [&] { accepted = runDialog(printer, parent); });
    if (g.test(106, [&] { return accepted; })) {
        g.run(108, [&] {
            // The paper chosen in the dialog decides the layout.
            const PaperSize chosen = paperOf(printer.pageLayout().pageSize());
            if (chosen.widthPt > 0) paper = chosen;
            printer.setPageOrientation(workbook->landscapeOn(paper) ? QPageLayout::Landscape
                                                                    : QPageLayout::Portrait);
        });
        g.run(110, [&] {
            QPainter painter;
            if (!painter.begin(&printer))
                throw Failure(QStringLiteral("The printer could not be started."));
            painter.scale(printer.resolution() / 72.0, printer.resolution() / 72.0);
            workbook->paintPage(painter, paper, QLocale());
            if (!painter.end()) throw Failure(QStringLiteral("The page could not be printed."));
            if (printer.outputFormat() == QPrinter::PdfFormat &&
                !printer.outputFileName().isEmpty())
                fileFolder.rememberFolderOf(printer.outputFileName());
        });
    }
}

}  // namespace tallowby::preview
