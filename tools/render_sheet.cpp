// render_sheet <workbook> <picture.png> [--sample-week <filled.xls>] [--sheet N]
// render_sheet --trim <picture.png> <trimmed.png>
//
// Draws a sheet's used range with the engine. With --sample-week the
// workbook (the timesheet template) is first filled with a sample week,
// recalculated and saved as an .xls, and the saved file is drawn. --trim
// cuts the blank page margins off another program's page picture (flattened
// on white), keeping a small border, so the two can be compared side by side.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <exception>
#include <string>

#include "tests/support/sample_week.h"
#include "workbook/engine/biff/workbook_io.h"
#include "workbook/engine/formula/recalculate.h"
#include "workbook/engine/render/sheet_renderer.h"

using namespace tallowby::engine;

namespace {

int trimPicture(const QString& input, const QString& output) {
    QImage page(input);
    if (page.isNull()) {
        std::fprintf(stderr, "render_sheet: cannot read %s\n", qPrintable(input));
        return 1;
    }
    QImage flat(page.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    {
        QPainter painter(&flat);
        painter.drawImage(0, 0, page);
    }
    int left = flat.width(), top = flat.height(), right = -1, bottom = -1;
    for (int y = 0; y < flat.height(); ++y)
        for (int x = 0; x < flat.width(); ++x)
            if (flat.pixel(x, y) != qRgb(255, 255, 255)) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    if (right < 0) {
        std::fprintf(stderr, "render_sheet: %s is blank\n", qPrintable(input));
        return 1;
    }
    constexpr int kMargin = 4;
    const QRect box = QRect(QPoint(left, top), QPoint(right, bottom))
                          .adjusted(-kMargin, -kMargin, kMargin, kMargin);
    if (!flat.copy(box.intersected(flat.rect())).save(output, "PNG")) {
        std::fprintf(stderr, "render_sheet: cannot write %s\n", qPrintable(output));
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc == 4 && std::string(argv[1]) == "--trim") return trimPicture(argv[2], argv[3]);
    std::string input, output, filled;
    int sheet = -1;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--sample-week" && i + 1 < argc)
            filled = argv[++i];
        else if (arg == "--sheet" && i + 1 < argc)
            sheet = std::atoi(argv[++i]) - 1;
        else if (input.empty())
            input = arg;
        else if (output.empty())
            output = arg;
    }
    if (input.empty() || output.empty()) {
        std::fprintf(stderr,
                     "usage: render_sheet <workbook> <picture.png> [--sample-week <filled.xls>] "
                     "[--sheet N]\n");
        return 2;
    }
    try {
        Workbook workbook = readWorkbookFile(input);
        if (!filled.empty()) {
            testing::SampleWeek::fill(workbook);
            formula::recalculate(workbook);
            writeWorkbookFile(workbook, filled, WriteOptions{true});
            workbook = readWorkbookFile(filled);
        }
        const QImage picture = renderUsedRange(workbook, sheet >= 0 ? sheet : workbook.activeSheet,
                                               FormatLocale::english());
        if (picture.isNull()) {
            std::fprintf(stderr, "render_sheet: the sheet is empty\n");
            return 1;
        }
        if (!picture.save(QString::fromStdString(output), "PNG")) {
            std::fprintf(stderr, "render_sheet: cannot write %s\n", output.c_str());
            return 1;
        }
        std::printf("%s: %d x %d pixels\n", output.c_str(), picture.width(), picture.height());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "render_sheet: %s\n", e.what());
        return 1;
    }
}
