#include "preview/preview_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>

#include "app/failure.h"
#include "app/guarded.h"
#include "app/program.h"
#include "app/report_locations.h"
#include "preview/picture_box.h"
#include "preview/scroll_math.h"
#include "preview/zoom_math.h"
#include "ui/cursor_file.h"
#include "ui/desktop.h"
#include "ui/error_report_box.h"
#include "ui/hover_cursor_path.h"
#include "ui/twips.h"

namespace tallowby {

namespace {

void place(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(twipsRect(left, top, width, height));
}

QFont boldArial(double points) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}
}  // namespace

PreviewWindow::PreviewWindow(const QString& programFolder, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      programFolder_(programFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                             : programFolder),
      endProgram_([] { QCoreApplication::exit(0); }) {
    buildControls();
    load();
}

PreviewWindow::~PreviewWindow() = default;

void PreviewWindow::buildControls() {
    setObjectName(QStringLiteral("Form2"));
    setFont(boldArial(9));
    setFixedSize(twipsToPixels(9840), twipsToPixels(9360));
    setMouseTracking(true);
    buildViewport();
    buildScrollBars();
    buildCommandButtons();
    buildZoomOrigin();
    setFocusOrder();
    centreOnScreen();
}

// The viewport: a white box with a one-pixel flat border whose inner area
// clips the picture.
void PreviewWindow::buildViewport() {
    viewport_ = new QFrame(this);
    viewport_->setObjectName(QStringLiteral("Picture2"));
    place(viewport_, 120, 120, preview::kViewportOuterWidth, preview::kViewportOuterHeight);
    viewport_->setFrameStyle(QFrame::Box | QFrame::Plain);
    viewport_->setLineWidth(1);
    viewport_->setAutoFillBackground(true);
    QPalette white = viewport_->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    viewport_->setPalette(white);
    viewport_->setCursor(Qt::SizeAllCursor);
    viewportInner_ = new QWidget(viewport_);
    place(viewportInner_, preview::kViewportBorders / 2, preview::kViewportBorders / 2,
          preview::kViewportInnerWidth, preview::kViewportInnerHeight);

    picture_ = new preview::PictureBox(viewportInner_);
    picture_->setObjectName(QStringLiteral("Picture1"));
    picture_->setCursor(Qt::ArrowCursor);
    connect(picture_, &preview::PictureBox::mousePressed, this, &PreviewWindow::onPicturePressed);
    connect(picture_, &preview::PictureBox::mouseMoved, this, &PreviewWindow::onPictureMoved);
    connect(picture_, &preview::PictureBox::mouseReleased, this, &PreviewWindow::onPictureReleased);
}

void PreviewWindow::buildScrollBars() {
    auto makeBar = [this](Qt::Orientation orientation, const char* name) {
        auto* bar = new QScrollBar(orientation, this);
        bar->setObjectName(QLatin1String(name));
        bar->setRange(0, preview::kBarLimit);
        bar->setSingleStep(1);
        bar->setPageStep(1);
        // Only committed values count: nothing happens while the thumb is dragged.
        bar->setTracking(false);
        bar->setEnabled(false);
        bar->setFocusPolicy(Qt::StrongFocus);
        return bar;
    };
    vScroll_ = makeBar(Qt::Vertical, "VScroll1");
    place(vScroll_, 9450, 120, 255, 7425);
    hScroll_ = makeBar(Qt::Horizontal, "HScroll1");
    vScroll_->setCursor(Qt::ArrowCursor);
    hScroll_->setCursor(Qt::ArrowCursor);
    place(hScroll_, 120, 7545, 9330, 255);
    connect(hScroll_, &QScrollBar::valueChanged, this, [this] { onScrollChanged(Qt::Horizontal); });
    connect(vScroll_, &QScrollBar::valueChanged, this, [this] { onScrollChanged(Qt::Vertical); });
}

void PreviewWindow::buildCommandButtons() {
    commandBox_ = new QGroupBox(QStringLiteral("Zoom:"), this);
    commandBox_->setObjectName(QStringLiteral("Frame1"));
    place(commandBox_, 120, 7860, 9600, 855);
    commandBox_->setMouseTracking(true);

    auto makeButton = [this](QWidget* parent, const QString& caption, const char* name) {
        auto* button = new QPushButton(caption, parent);
        button->setObjectName(QLatin1String(name));
        button->setFont(boldArial(11.25));
        button->setAutoDefault(false);
        button->setMouseTracking(true);
        button->installEventFilter(this);
        return button;
    };
    zoomInButton_ = makeButton(commandBox_, QStringLiteral("Zoom In"), "PushButton1");
    place(zoomInButton_, 240, 300, 4440, 405);
    zoomOutButton_ = makeButton(commandBox_, QStringLiteral("Zoom Out"), "PushButton2");
    place(zoomOutButton_, 4800, 300, 4560, 405);
    backButton_ = makeButton(this, QStringLiteral("< Back"), "PushButton8");
    place(backButton_, 120, 8850, 4680, 405);
    saveButton_ = makeButton(this, QStringLiteral("Save Results To Excel File"), "PushButton6");
    place(saveButton_, 4920, 8850, 4800, 405);
    connect(zoomInButton_, &QPushButton::clicked, this, &PreviewWindow::onZoomInClicked);
    connect(zoomOutButton_, &QPushButton::clicked, this, &PreviewWindow::onZoomOutClicked);
    connect(saveButton_, &QPushButton::clicked, this, &PreviewWindow::onSaveClicked);
    connect(backButton_, &QPushButton::clicked, this, &PreviewWindow::onBackClicked);
    commandBox_->installEventFilter(this);
}

// The holder lies outside the client area and is never shown.
void PreviewWindow::buildZoomOrigin() {
    zoomOrigin_ = new QFrame(this);
    zoomOrigin_->setObjectName(QStringLiteral("Zoom_Ori"));
    zoomOrigin_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    zoomOrigin_->setLineWidth(2);
    place(zoomOrigin_, 10320, 480, 0, 0);
    zoomOrigin_->setVisible(false);
}

// The viewport's parts take the keys (and their events are watched for the
// wheel); Tab walks the controls in the window's own order.
void PreviewWindow::setFocusOrder() {
    viewport_->setFocusPolicy(Qt::StrongFocus);
    picture_->setFocusPolicy(Qt::StrongFocus);
    for (QWidget* viewportPart :
         {static_cast<QWidget*>(viewport_), viewportInner_, static_cast<QWidget*>(picture_)})
        viewportPart->installEventFilter(this);
    QWidget* order[] = {hScroll_,    vScroll_,      viewport_,      picture_,    commandBox_,
                        zoomOrigin_, zoomInButton_, zoomOutButton_, saveButton_, backButton_};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
}

void PreviewWindow::centreOnScreen() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
}

void PreviewWindow::load() {
    Guarded g(report_locations::kPreviewWindow, report_locations::kPreviewLoad,
              error_report_box::shownOver(this));
    g.run(100, [&] { preparationDue_ = true; });
    g.run(102, [&] { desktop::usePlainColours(this); });
    g.run(104, [&] {
        setWindowTitle(QStringLiteral("Tallowby"));
        setWindowIcon(QApplication::windowIcon());
    });
    const QString cursorFile = hoverCursorPath(programFolder_);
    if (!g.test(108, [&] { return program::fileExists(cursorFile); })) return;
    g.run(110, [&] { hoverCursor_ = cursor_file::load(cursorFile); });
}

void PreviewWindow::handOver(const QImage& picture, const QString& workbookFile) {
    picture_->setPicture(picture);
    preparationDue_ = true;
    resultFile_ = workbookFile;
    show();
    activateWindow();
    // Some platforms never report the activation; the show already prepared
    // a hidden window, this covers one that was still shown.
    if (preparationDue_) prepareForResult();
}

void PreviewWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (preparationDue_) prepareForResult();
}

void PreviewWindow::prepareForResult() {
    Guarded g(report_locations::kPreviewWindow, report_locations::kPreviewActivate,
              error_report_box::shownOver(this));
    if (!g.test(100, [&] { return !preparationDue_; })) {
        // The picture's drawing surface and the holder are always persistent.
        g.run(106, [&] { picture_->setAutoSize(true); });
        g.run(108, [&] { picture_->setBackground(Qt::white); });
        g.run(116, [&] { zoomOrigin_->setVisible(false); });
        g.run(118, [&] {
            holderWidth_ = picture_->widthTwips();
            zoomOrigin_->resize(twipsToPixels(holderWidth_), zoomOrigin_->height());
        });
        g.run(120, [&] {
            holderHeight_ = picture_->heightTwips();
            zoomOrigin_->resize(zoomOrigin_->width(), twipsToPixels(holderHeight_));
        });
        g.run(122, [&] { holderPicture_ = picture_->picture(); });
        resetZoom(g);
        g.run(134, [&] { redrawImage(); });
        g.run(136, [&] { setupScrollbars(); });
    }
    g.run(138, [&] { preparationDue_ = false; });
}

// Zoom 1.0 and the sizes that go with it, at the same statements in both
// procedures that start over from the untouched picture.
void PreviewWindow::resetZoom(Guarded& g) {
    g.run(124, [&] { zoom_ = 1.0f; });
    g.run(126, [&] { baseWidth_ = preview::baseSize(holderInnerWidth()); });
    g.run(128, [&] { baseHeight_ = preview::baseSize(holderInnerHeight()); });
    g.run(130, [&] { scaledWidth_ = preview::scaledSize(baseWidth_, 1.0f); });
    g.run(132, [&] { scaledHeight_ = preview::scaledSize(baseHeight_, 1.0f); });
}

int PreviewWindow::holderInnerWidth() const {
    return holderWidth_ - preview::kHolderBorders;
}
int PreviewWindow::holderInnerHeight() const {
    return holderHeight_ - preview::kHolderBorders;
}

bool PreviewWindow::redrawImage() {
    Guarded g(report_locations::kPreviewWindow, report_locations::kRedrawImage,
              error_report_box::shownOver(this));
    bool drew = false;
    g.run(100, [&] { scaledWidth_ = preview::scaledSize(baseWidth_, zoom_); });
    g.run(102, [&] { scaledHeight_ = preview::scaledSize(baseHeight_, zoom_); });
    if (g.test(104, [&] { return preview::withinDrawLimits(scaledWidth_, scaledHeight_); })) {
        g.run(106, [&] { picture_->clearPicture(); });
        g.run(108, [&] { picture_->setWidthTwips(scaledWidth_); });
        g.run(110, [&] { picture_->setHeightTwips(scaledHeight_); });
        drew = g.run(112, [&] {
            picture_->drawStretched(QRectF(0, 0, scaledWidth_, scaledHeight_), holderPicture_,
                                    QRectF(0, 0, baseWidth_, baseHeight_));
        });
        g.run(114, [&] { setCursor(Qt::ArrowCursor); });
        g.run(116, [&] { hScroll_->setValue(0); });
        g.run(118, [&] { vScroll_->setValue(0); });
        g.run(120, [&] { hScroll_->setEnabled(preview::kViewportInnerWidth < scaledWidth_); });
        g.run(122, [&] { vScroll_->setEnabled(preview::kViewportInnerHeight < scaledHeight_); });
        return drew;
    }
    // Too large: nothing is drawn and the next step starts again from 1.0.
    resetZoom(g);
    return false;
}

void PreviewWindow::setZoom(float zoom) {
    if (!preview::zoomAccepted(zoom)) return;
    zoom_ = zoom;
    // The bars are set up again for every new drawing, so that they and a
    // drag agree at every zoom level.
    if (redrawImage()) setupScrollbars();
}

void PreviewWindow::zoomStep(int out) {
    setZoom(preview::zoomCandidate(zoom_, out));
}

void PreviewWindow::setupScrollbars() {
    picture_->setTopTwips(0);
    picture_->setLeftTwips(0);
    auto setUp = [](QScrollBar* bar, int& step, int pictureSize, int viewportSize) {
        const preview::BarSetup setup = preview::setupBar(pictureSize, viewportSize);
        if (!setup.enabled) {
            bar->setEnabled(false);
            step = 0;
            return;
        }
        bar->setEnabled(true);
        bar->setMaximum(setup.maximum);
        step = setup.step;
        bar->setValue(0);
    };
    setUp(hScroll_, hStep_, picture_->widthTwips(), preview::kViewportOuterWidth);
    setUp(vScroll_, vStep_, picture_->heightTwips(), preview::kViewportOuterHeight);
}

void PreviewWindow::onZoomInClicked() {
    Guarded g(report_locations::kPreviewWindow, report_locations::kZoomInClicked,
              error_report_box::shownOver(this));
    g.run(100, [&] { zoomStep(0); });
}

void PreviewWindow::onZoomOutClicked() {
    Guarded g(report_locations::kPreviewWindow, report_locations::kZoomOutClicked,
              error_report_box::shownOver(this));
    g.run(100, [&] { zoomStep(1); });
}

void PreviewWindow::onBackClicked() {
    Guarded g(report_locations::kPreviewWindow, report_locations::kBackClicked,
              error_report_box::shownOver(this));
    g.run(102, [&] { program::removeFile(resultFile_); });
    g.run(104, [&] {
        if (!mainWindow_) throw Failure(QStringLiteral("The main window is not available"));
        mainWindow_->show();
    });
    g.run(106, [&] { hide(); });
}

void PreviewWindow::closeEvent(QCloseEvent* event) {
    // Ending here skips the main window's own closing, so its lists are
    // saved now or never; it may keep the program open.
    if (onClosing_ && !onClosing_()) {
        event->ignore();
        return;
    }
    beforeClose();
    event->accept();
    if (endProgram_) endProgram_();
}

void PreviewWindow::beforeClose() {
    Guarded g(report_locations::kPreviewWindow, report_locations::kPreviewClosing,
              error_report_box::shownOver(this));
    // No pending events run here: a queued click must not act on a window
    // that is half closed.
    g.run(100, [&] { program::removeFile(resultFile_); });
}

bool PreviewWindow::busyPointerShown() const {
    const QCursor* override = QGuiApplication::overrideCursor();
    if (override && override->shape() == Qt::WaitCursor) return true;
    return cursor().shape() == Qt::WaitCursor;
}

void PreviewWindow::pointerOverButton() {
    if (busyPointerShown()) return;
    if (hoverCursor_)
        setCursor(*hoverCursor_);
    else
        setCursor(Qt::ArrowCursor);
}

void PreviewWindow::pointerOverWindow() {
    if (busyPointerShown()) return;
    setCursor(Qt::ArrowCursor);
}

bool PreviewWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && preparationDue_) prepareForResult();
    if (event->type() == QEvent::MouseMove) {
        // Moves over the children arrive here too when they ignore them.
        const auto* move = static_cast<QMouseEvent*>(event);
        QWidget* under = childAt(move->position().toPoint());
        if (!under || under == commandBox_) pointerOverWindow();
    }
    return QWidget::event(event);
}

bool PreviewWindow::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == viewport_ || watched == viewportInner_ || watched == picture_) &&
        viewportEvent(event))
        return true;
    if (event->type() == QEvent::MouseMove) {
        if (watched == zoomInButton_ || watched == zoomOutButton_ || watched == saveButton_ ||
            watched == backButton_) {
            pointerOverButton();
        } else if (watched == commandBox_) {
            const auto* move = static_cast<QMouseEvent*>(event);
            if (!commandBox_->childAt(move->position().toPoint())) pointerOverWindow();
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace tallowby
