#pragma once

#include <QByteArray>
#include <QDate>
#include <QLocale>
#include <QString>
#include <memory>

#include "workbook/engine/model/workbook_model.h"
#include "workbook/engine/print/page_layout.h"

class QPainter;

namespace tallowby::automation {

using PaperSize = engine::print::PaperSize;  // in points, portrait

// A saved workbook read back to be printed or turned into a PDF: the cells of
// its first sheet by position, and its active sheet laid out on paper as its
// page setup says. The one way the windows and the command line reach the
// engine's print layer.
class PrintedWorkbook {
  public:
    // Reads the file; throws with a description when it cannot be read.
    explicit PrintedWorkbook(const QString& path);

    // The text a cell of the first sheet shows in General (trimmed), empty
    // for a blank or a cell that holds neither text nor a number. 1-based.
    QString cellText(int row, int column) const;
    // The date a cell of the first sheet holds, invalid when it holds none.
    QDate cellDate(int row, int column) const;

    // The paper of the active sheet's page setup, else the locale's.
    PaperSize setupPaper(const QLocale& locale) const;
    static PaperSize localePaper(const QLocale& locale);

    // Whether the active sheet's page is turned sideways on this paper.
    bool landscapeOn(PaperSize paper) const;
    // Draws the active sheet's page on a painter that measures in points.
    void paintPage(QPainter& painter, PaperSize paper, const QLocale& locale) const;
    // The one-page PDF of the active sheet, its numbers shown in the locale.
    QByteArray pdf(PaperSize paper, const QLocale& locale, const QString& title) const;

  private:
    std::shared_ptr<const engine::Workbook> model_;
};

}  // namespace tallowby::automation
