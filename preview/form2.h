#pragma once

#include <QCursor>
#include <QImage>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

#include "preview/wheel_math.h"

class QFrame;
class QGroupBox;
class QPushButton;
class QScrollBar;
class QWheelEvent;

namespace tallowby {

namespace preview {
class PictureBox;
}

// The preview window: shows the picture of the filled timesheet, zooms it,
// pans it, saves the result workbook, goes back or ends the program.
// Lengths are twips (15 to the pixel).
class Form2 : public QWidget {
    Q_OBJECT
  public:
    // `programFolder` is where the hover cursor file is looked for (then
    // ../share/tallowby beside it); empty means the folder of the running
    // executable. Construction runs the load.
    explicit Form2(const QString& programFolder = {}, QWidget* parent = nullptr);
    ~Form2() override;

    // The hand-over from the generation run: the picture, the result
    // workbook's path, then the window is shown (not modal). The preparation
    // for the new result runs when the window is shown or becomes active,
    // whichever comes first.
    void handOver(const QImage& picture, const QString& excelFile);

    // The window that Back shows again.
    void setMainWindow(QWidget* mainWindow) { mainWindow_ = mainWindow; }
    // Runs while the window closes, before the program ends: the main window
    // saves its lists there.
    void setOnClosing(std::function<void()> onClosing) { onClosing_ = std::move(onClosing); }
    // Ends the program once the window has closed; by default the
    // application quits at once.
    void setEndProgram(std::function<void()> endProgram) { endProgram_ = std::move(endProgram); }

    // The result workbook handed over by the generation run.
    QString mExcelFile;

    // State, for checks.
    float zoom() const { return mZoom; }
    int baseWidth() const { return mBaseWidth; }
    int baseHeight() const { return mBaseHeight; }
    int scaledWidth() const { return mScaledWidth; }
    int scaledHeight() const { return mScaledHeight; }
    int hStep() const { return mHStep; }
    int vStep() const { return mVStep; }
    bool preparationDue() const { return mFirstActivate; }
    bool hasHoverCursor() const { return hoverCursor_.has_value(); }
    preview::PictureBox* picture1() const { return Picture1; }
    QScrollBar* hScroll1() const { return HScroll1; }
    QScrollBar* vScroll1() const { return VScroll1; }

    // The user's commands, as the buttons run them.
    void PushButton1_Click();  // Zoom In
    void PushButton2_Click();  // Zoom Out
    void PushButton6_Click();  // Save Results To Excel File
    void PushButton8_Click();  // < Back

  protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    void Form_Load();
    void Form_Activate();
    void Form_QueryUnload();
    bool RedrawImage();  // true when it drew
    void SetZoom(float zoom);
    void ZoomStep(int out);
    void SetupScrollbars();
    int holderInnerWidth() const;
    int holderInnerHeight() const;

    // Panning.
    void picture1_MouseDown(Qt::MouseButtons buttons, float x, float y);
    void picture1_MouseMove(Qt::MouseButtons buttons, float x, float y);
    void Picture1_MouseUp(Qt::MouseButtons buttons, float x, float y);
    void HScroll1_Change();
    void VScroll1_Change();
    static void SetHScrollbarByPercent(QScrollBar* HScrollbar, int percent);
    static void SetVScrollbarByPercent(QScrollBar* VScrollbar, int percent);

    // The wheel and the keys over the viewport; true when the event was used.
    bool viewportEvent(QEvent* event);
    void viewportWheel(QWheelEvent* event);
    void scrollViewBy(bool horizontal, int twips);

    // The hover pointer rule: buttons show the hover cursor, the window and
    // its frame the arrow; neither while the hourglass shows.
    void pointerOverButton();
    void pointerOverWindow();
    bool busyPointerShown() const;

    float mDownX = 0;
    float mDownY = 0;
    int mHStep = 0;
    int mVStep = 0;
    int mBaseWidth = 0;
    int mBaseHeight = 0;
    int mScaledWidth = 0;
    int mScaledHeight = 0;
    float mZoom = 1.0f;
    bool mFirstActivate = true;
    preview::NotchCounter zoomNotches_;

    QString programFolder_;
    QWidget* mainWindow_ = nullptr;
    std::function<void()> onClosing_;
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
        QString filter;
        QString initDir;  // the folder of the last save, empty before the first
    } CommonDialog1;

    QFrame* Picture2 = nullptr;
    QWidget* viewportInner_ = nullptr;
    preview::PictureBox* Picture1 = nullptr;
    QScrollBar* VScroll1 = nullptr;
    QScrollBar* HScroll1 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QPushButton* PushButton1 = nullptr;
    QPushButton* PushButton2 = nullptr;
    QPushButton* PushButton8 = nullptr;
    QPushButton* PushButton6 = nullptr;
    QFrame* Zoom_Ori = nullptr;
};

}  // namespace tallowby
