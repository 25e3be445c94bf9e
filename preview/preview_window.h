#pragma once

#include <QCursor>
#include <QImage>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

#include "app/dialog_folder.h"
#include "preview/wheel_math.h"

class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QScrollBar;
class QWheelEvent;

namespace tallowby {

class Guarded;
class SettingsStore;

namespace preview {

class PictureBox;

// The preview window: shows the picture of the filled timesheet, zooms it,
// pans it, saves the result workbook, goes back or ends the program.
// Lengths are twips (15 to the pixel).
class PreviewWindow : public QWidget {
    Q_OBJECT
  public:
    // `programFolder` is where the hover cursor file is looked for (then
    // ../share/tallowby beside it); empty means the folder of the running
    // executable. Construction runs the load.
    explicit PreviewWindow(const QString& programFolder = {}, QWidget* parent = nullptr);
    ~PreviewWindow() override;

    // The hand-over from the generation run: the picture, the result
    // workbook's path, then the window is shown (not modal). The preparation
    // for the new result runs when the window is shown or becomes active,
    // whichever comes first.
    void handOver(const QImage& picture, const QString& workbookFile);

    // The window that Back shows again.
    void setMainWindow(QWidget* mainWindow) { mainWindow_ = mainWindow; }
    // Asked first when the window closes, before the program ends: the main
    // window saves its lists there, and answers false to keep the program
    // open (then nothing of the close happens).
    void setOnClosing(std::function<bool()> onClosing) { onClosing_ = std::move(onClosing); }
    // Where the window's size and place and the folders its save, export and
    // print dialogs last used are kept across starts; none by default (the
    // folders are then remembered while the window lives).
    void setPlaceStore(SettingsStore* store);
    RememberedFolder& saveFolder() { return saveFolder_; }
    RememberedFolder& pdfFolder() { return pdfFolder_; }
    RememberedFolder& printFolder() { return printFolder_; }
    // The designed client area (9840 x 9360 twips); the window opens that
    // wide and as much higher as its status line needs, unless it remembers
    // a size of its own.
    static QSize designedClientSize();
    // Ends the program once the window has closed; by default the
    // application quits at once.
    void setEndProgram(std::function<void()> endProgram) { endProgram_ = std::move(endProgram); }

    // The result workbook handed over by the generation run.
    QString resultFile_;

    // State, for checks.
    float zoom() const { return zoom_; }
    int baseWidth() const { return baseWidth_; }
    int baseHeight() const { return baseHeight_; }
    int scaledWidth() const { return scaledWidth_; }
    int scaledHeight() const { return scaledHeight_; }
    int hStep() const { return hStep_; }
    int vStep() const { return vStep_; }
    bool preparationDue() const { return preparationDue_; }
    bool hasHoverCursor() const { return hoverCursor_.has_value(); }
    PictureBox* picture() const { return picture_; }
    QScrollBar* hScrollBar() const { return hScroll_; }
    QScrollBar* vScrollBar() const { return vScroll_; }
    QFrame* viewport() const { return viewport_; }
    // The factor of the picture as shown, and the status line's text (why a
    // zoom step was refused).
    QString shownZoomText() const;
    QString statusText() const;

    // The user's commands, as the buttons run them.
    void onZoomInClicked();   // Zoom In
    void onZoomOutClicked();  // Zoom Out
    void onSaveClicked();     // Save Results To Excel File
    void onBackClicked();     // < Back
    // The View menu's commands beyond the buttons'.
    void onFitWidth();
    void onFitPage();
    void onActualSize();

  protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    void buildViewport();
    void buildScrollBars();
    void buildCommandButtons();
    void buildZoomOrigin();
    void setFocusOrder();
    void load();
    void prepareForResult();
    void beforeClose();
    bool redrawImage();  // true when it drew
    void resetZoom(Guarded& g);
    void setZoom(float zoom);
    void zoomStep(int out);
    void setupScrollbars();
    void showZoom();
    void viewportResized();
    // The viewport's size in twips as it is now, with and without its border.
    int viewportOuterWidth() const;
    int viewportOuterHeight() const;
    int viewportInnerWidth() const;
    int viewportInnerHeight() const;
    int holderInnerWidth() const;
    int holderInnerHeight() const;

    // Panning.
    void onPicturePressed(Qt::MouseButtons buttons, float x, float y);
    void onPictureMoved(Qt::MouseButtons buttons, float x, float y);
    void onPictureReleased(Qt::MouseButtons buttons, float x, float y);
    // One axis of the picture: where a drag puts its near edge, and that
    // edge as a percentage of the bar's range.
    float dragPositionAlong(Qt::Orientation axis, float grab, float pointer) const;
    std::optional<int> releasePercentAlong(Qt::Orientation axis) const;
    static void setBarByPercent(QScrollBar* bar, int percent);
    // A bar's committed value moves the picture along the bar's axis.
    void onScrollChanged(Qt::Orientation axis);

    // The wheel and the keys over the viewport; true when the event was used.
    bool viewportEvent(QEvent* event);
    void viewportWheel(QWheelEvent* event);
    void scrollViewBy(bool horizontal, int twips);

    // The hover pointer rule: buttons show the hover cursor, the window and
    // its frame the arrow; neither while the hourglass shows.
    void pointerOverButton();
    void pointerOverWindow();
    bool busyPointerShown() const;

    float downX_ = 0;
    float downY_ = 0;
    int hStep_ = 0;
    int vStep_ = 0;
    int baseWidth_ = 0;
    int baseHeight_ = 0;
    int scaledWidth_ = 0;
    int scaledHeight_ = 0;
    float zoom_ = 1.0f;
    float shownZoom_ = 1.0f;  // of the picture as drawn; a refused step keeps it
    bool placed_ = false;
    SettingsStore* placeStore_ = nullptr;
    RememberedFolder saveFolder_{dialog_folder::kSaveCopyKey};
    RememberedFolder pdfFolder_{dialog_folder::kPdfExportKey};
    RememberedFolder printFolder_{dialog_folder::kPrintToFileKey};
    bool preparationDue_ = true;
    NotchCounter zoomNotches_;

    QString programFolder_;
    QWidget* mainWindow_ = nullptr;
    std::function<bool()> onClosing_;
    std::function<void()> endProgram_;
    std::optional<QCursor> hoverCursor_;

    // The holder: an invisible copy of the untouched picture that every
    // redraw starts from.
    QImage holderPicture_;
    int holderWidth_ = 0;
    int holderHeight_ = 0;

    // The save dialog's settings.
    struct SaveDialog {
        QString fileName;
        QString title;
        QStringList filters;
    } saveDialog_;

    QFrame* viewport_ = nullptr;
    QWidget* viewportInner_ = nullptr;
    PictureBox* picture_ = nullptr;
    QScrollBar* vScroll_ = nullptr;
    QScrollBar* hScroll_ = nullptr;
    QGroupBox* commandBox_ = nullptr;
    QPushButton* zoomInButton_ = nullptr;
    QPushButton* zoomOutButton_ = nullptr;
    QPushButton* backButton_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QFrame* zoomOrigin_ = nullptr;
    QLabel* zoomFactor_ = nullptr;
    QLabel* statusLine_ = nullptr;
};

}  // namespace preview
}  // namespace tallowby
