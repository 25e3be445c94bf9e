#pragma once

#include <QObject>

class QAction;
class QMenuBar;

namespace tallowby::preview {

class PreviewWindow;

// The preview window's menu bar: File ("Save Results To Excel File…",
// "Export as PDF…", "Print…", "Close") and View ("Zoom In", "Zoom Out",
// "Actual Size", "Fit Width", "Fit Page"), each with its mnemonic. It sits
// above the window's layout: the window grows by the bar's height. Save and
// the zoom steps run the buttons' own commands.
class PreviewMenu : public QObject {
    Q_OBJECT
  public:
    explicit PreviewMenu(PreviewWindow& form);

    QMenuBar* menuBar() const { return bar_; }
    QAction* saveAction() const { return save_; }
    QAction* exportPdfAction() const { return exportPdf_; }
    QAction* printAction() const { return print_; }
    QAction* closeAction() const { return close_; }
    QAction* zoomInAction() const { return zoomIn_; }
    QAction* zoomOutAction() const { return zoomOut_; }
    QAction* actualSizeAction() const { return actualSize_; }
    QAction* fitWidthAction() const { return fitWidth_; }
    QAction* fitPageAction() const { return fitPage_; }

  private:
    PreviewWindow& form_;
    QMenuBar* bar_ = nullptr;
    QAction* save_ = nullptr;
    QAction* exportPdf_ = nullptr;
    QAction* print_ = nullptr;
    QAction* close_ = nullptr;
    QAction* zoomIn_ = nullptr;
    QAction* zoomOut_ = nullptr;
    QAction* actualSize_ = nullptr;
    QAction* fitWidth_ = nullptr;
    QAction* fitPage_ = nullptr;
};

}  // namespace tallowby::preview
