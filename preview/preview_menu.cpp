#include "preview/preview_menu.h"

#include <QAction>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>

#include "preview/pdf_export_command.h"
#include "preview/preview_window.h"
#include "preview/print_command.h"

namespace tallowby::preview {

PreviewMenu::PreviewMenu(PreviewWindow& form) : QObject(&form), form_(form) {
    bar_ = new QMenuBar(&form);
    bar_->setObjectName(QStringLiteral("MenuBar"));
    // The bar takes the window's font otherwise; menus read as the desktop's.
    bar_->setFont(QFont());

    QMenu* file = bar_->addMenu(QStringLiteral("&File"));
    save_ = file->addAction(QStringLiteral("&Save Results To Excel File\u2026"));
    save_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    exportPdf_ = file->addAction(QStringLiteral("&Export as PDF\u2026"));
    exportPdf_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    print_ = file->addAction(QStringLiteral("&Print\u2026"));
    print_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    file->addSeparator();
    close_ = file->addAction(QStringLiteral("&Close"));

    QMenu* view = bar_->addMenu(QStringLiteral("&View"));
    zoomIn_ = view->addAction(QStringLiteral("Zoom &In"));
    zoomIn_->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    zoomOut_ = view->addAction(QStringLiteral("Zoom &Out"));
    zoomOut_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    view->addSeparator();
    actualSize_ = view->addAction(QStringLiteral("&Actual Size"));
    actualSize_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    fitWidth_ = view->addAction(QStringLiteral("Fit &Width"));
    fitPage_ = view->addAction(QStringLiteral("Fit &Page"));

    connect(save_, &QAction::triggered, &form, [this] { form_.onSaveClicked(); });
    connect(exportPdf_, &QAction::triggered, &form,
            [this] { exportPdf(&form_, form_.resultFile_, form_.pdfFolder()); });
    connect(print_, &QAction::triggered, &form,
            [this] { printTimesheet(&form_, form_.resultFile_, form_.printFolder()); });
    connect(close_, &QAction::triggered, &form, [this] { form_.close(); });
    connect(zoomIn_, &QAction::triggered, &form, [this] { form_.onZoomInClicked(); });
    connect(zoomOut_, &QAction::triggered, &form, [this] { form_.onZoomOutClicked(); });
    connect(actualSize_, &QAction::triggered, &form, [this] { form_.onActualSize(); });
    connect(fitWidth_, &QAction::triggered, &form, [this] { form_.onFitWidth(); });
    connect(fitPage_, &QAction::triggered, &form, [this] { form_.onFitPage(); });

    // The bar sits above the window's layout; the window grows by its height
    // so that the viewport keeps its size.
    form.layout()->setMenuBar(bar_);
    form.resize(form.width(), form.height() + bar_->sizeHint().height());
}

}  // namespace tallowby::preview
