#include "preview/print_command.h"

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
#include "ui/error_report_box.h"
#include "workbook/engine/biff/workbook_io.h"
#include "workbook/engine/print/locale_paper.h"
#include "workbook/engine/print/sheet_page.h"
#include "timesheet/timesheet_pdf.h"

namespace tallowby::preview {

namespace {

using engine::print::PaperSize;

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

}  // namespace

void setPrintDialogRunner(PrintDialogRunner runner) {
    dialogRunner() = std::move(runner);
}

void printTimesheet(QWidget* parent, const QString& excelFile) {
    Guarded g(report_locations::kPreviewWindow, report_locations::kPrintClicked,
              error_report::shownOver(parent));
    std::optional<engine::Workbook> workbook;
    QPrinter printer(QPrinter::HighResolution);
    bool accepted = false;
    engine::print::PageLayout layout;

    if (!g.run(100, [&] { workbook = engine::readWorkbookFile(excelFile.toStdString()); }))
        return;  // nothing to print
    const int sheet = workbook->activeSheet;
    g.run(102, [&] {
        const auto& setup = workbook->sheets.at(sheet).pageSetup.setup;
        const PaperSize paper = setup ? engine::print::paperForCode(setup->paperSize)
                                            .value_or(engine::print::paperForLocale(QLocale()))
                                      : engine::print::paperForLocale(QLocale());
        layout = engine::print::layoutSheet(*workbook, sheet, paper);
        printer.setFullPage(true);
        printer.setPageLayout(QPageLayout(
            pageSizeOf(paper), layout.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
            QMarginsF(0, 0, 0, 0)));
        printer.setDocName(timesheetPdfTitle(timesheetIdentity(*workbook)));
        printer.setCreator(QStringLiteral("Tallowby"));
    });
    g.run(104, [&] { accepted = runDialog(printer, parent); });
    if (g.test(106, [&] { return accepted; })) {
        g.run(108, [&] {
            // The paper chosen in the dialog decides the layout.
            const PaperSize paper = paperOf(printer.pageLayout().pageSize());
            if (paper.widthPt > 0) layout = engine::print::layoutSheet(*workbook, sheet, paper);
            printer.setPageOrientation(layout.landscape ? QPageLayout::Landscape
                                                        : QPageLayout::Portrait);
        });
        g.run(110, [&] {
            QPainter painter;
            if (!painter.begin(&printer))
                throw Failure(QStringLiteral("The printer could not be started."));
            painter.scale(printer.resolution() / 72.0, printer.resolution() / 72.0);
            engine::print::paintSheetPage(painter, *workbook, sheet,
                                          engine::FormatLocale::fromQLocale(QLocale()), layout);
            if (!painter.end()) throw Failure(QStringLiteral("The page could not be printed."));
        });
    }
}

}  // namespace tallowby::preview
