#include "preview/preview_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFont>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QVBoxLayout>
#include <algorithm>

#include "app/failure.h"
#include "app/guarded.h"
#include "app/plain_file.h"
#include "app/report_locations.h"
#include "app/settings_store.h"
#include "app/window_placement.h"
#include "preview/picture_box.h"
#include "preview/scroll_math.h"
#include "preview/zoom_math.h"
#include "ui/button_pair.h"
#include "ui/cursor_file.h"
#include "ui/desktop.h"
#include "ui/error_report_box.h"
#include "ui/hover_cursor_path.h"
#include "ui/twips.h"
#include "ui/window_geometry.h"

namespace tallowby::preview {

namespace {

QFont boldArial(double points) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

// Spaces of the designed layout in pixels (from its twips).
constexpr int kEdge = 8;           // 120
constexpr int kButtonHeight = 27;  // 405

}  // namespace

PreviewWindow::PreviewWindow(const QString& programFolder, QWidget* parent)
    : QWidget(parent, Qt::Window),
      programFolder_(programFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                             : programFolder),
      endProgram_([] { QCoreApplication::exit(0); }) {
    buildControls();
    load();
}

PreviewWindow::~PreviewWindow() = default;

void PreviewWindow::setPlaceStore(SettingsStore* store) {
    placeStore_ = store;
    saveFolder_.setStore(store);
    pdfFolder_.setStore(store);
    printFolder_.setStore(store);
}

QSize PreviewWindow::designedClientSize() {
    return {twipsToPixels(9840), twipsToPixels(9360)};
}

void PreviewWindow::buildControls() {
    setObjectName(QStringLiteral("Form2"));
    setFont(boldArial(9));
    setMouseTracking(true);
    buildViewport();
    buildScrollBars();
    buildCommandButtons();
    buildZoomOrigin();

    // The viewport and its bars take every pixel the window gains; the zoom
    // frame, the buttons and the status line keep their height.
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kEdge, kEdge, kEdge, 0);
    column->setSpacing(0);
    auto* view = new QGridLayout;
    view->setSpacing(0);
    view->setContentsMargins(0, 0, 1, 0);  // the bar ends 1 short of the zoom frame
    view->addWidget(viewport_, 0, 0);
    view->addWidget(vScroll_, 0, 1);
    view->addWidget(hScroll_, 1, 0);
    view->setRowStretch(0, 1);
    view->setColumnStretch(0, 1);
    column->addLayout(view, 1);
    column->addSpacing(4);  // 60
    column->addWidget(commandBox_);
    column->addSpacing(9);  // 135
    column->addLayout(buttonPair(backButton_, 4680, saveButton_, 4800, kEdge));
    column->addSpacing(4);
    statusLine_ = new QLabel(this);
    statusLine_->setObjectName(QStringLiteral("StatusLine"));
    statusLine_->setFont(QFont());
    statusLine_->setMinimumHeight(statusLine_->sizeHint().height());
    // A long text is cut at the window's edge, never widens the window.
    statusLine_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    statusLine_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(statusLine_);
    column->addSpacing(2);

    setFocusOrder();
    // The designed client area, whose last 7 pixels under the buttons now
    // hold the status line's spacing and the line itself.
    resize(designedClientSize().width(),
           designedClientSize().height() - 7 + 4 + statusLine_->minimumHeight() + 2);
    layout()->activate();
}

// The viewport: a white box with a one-pixel flat border whose inner area
// clips the picture. It starts at the designed size and grows with the window.
void PreviewWindow::buildViewport() {
    viewport_ = new QFrame(this);
    viewport_->setObjectName(QStringLiteral("Picture2"));
    viewport_->setFrameStyle(QFrame::Box | QFrame::Plain);
    viewport_->setLineWidth(1);
    viewport_->setAutoFillBackground(true);
    viewport_->setMinimumSize(twipsToPixels(kViewportOuterWidth) / 4,
                              twipsToPixels(kViewportOuterHeight) / 4);
    viewport_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    QPalette white = viewport_->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    viewport_->setPalette(white);
    viewport_->setCursor(Qt::SizeAllCursor);
    viewportInner_ = new QWidget(viewport_);
    auto* inner = new QVBoxLayout(viewport_);
    inner->setContentsMargins(0, 0, 0, 0);
    inner->addWidget(viewportInner_);

    picture_ = new PictureBox(viewportInner_);
    picture_->setObjectName(QStringLiteral("Picture1"));
    picture_->setCursor(Qt::ArrowCursor);
    connect(picture_, &PictureBox::mousePressed, this, &PreviewWindow::onPicturePressed);
    connect(picture_, &PictureBox::mouseMoved, this, &PreviewWindow::onPictureMoved);
    connect(picture_, &PictureBox::mouseReleased, this, &PreviewWindow::onPictureReleased);
}

void PreviewWindow::buildScrollBars() {
    auto makeBar = [this](Qt::Orientation orientation, const char* name) {
        auto* bar = new QScrollBar(orientation, this);
        bar->setObjectName(QLatin1String(name));
        bar->setRange(0, kBarLimit);
        bar->setSingleStep(1);
        bar->setPageStep(1);
        // Only committed values count: nothing happens while the thumb is dragged.
        bar->setTracking(false);
        bar->setEnabled(false);
        bar->setFocusPolicy(Qt::StrongFocus);
        bar->setCursor(Qt::ArrowCursor);
        return bar;
    };
    vScroll_ = makeBar(Qt::Vertical, "VScroll1");
    vScroll_->setFixedWidth(twipsToPixels(255));
    hScroll_ = makeBar(Qt::Horizontal, "HScroll1");
    hScroll_->setFixedHeight(twipsToPixels(255));
    connect(hScroll_, &QScrollBar::valueChanged, this, [this] { onScrollChanged(Qt::Horizontal); });
    connect(vScroll_, &QScrollBar::valueChanged, this, [this] { onScrollChanged(Qt::Vertical); });
}

void PreviewWindow::buildCommandButtons() {
    commandBox_ = new QGroupBox(QStringLiteral("Zoom:"), this);
    commandBox_->setObjectName(QStringLiteral("Frame1"));
    commandBox_->setMouseTracking(true);

    auto makeButton = [this](QWidget* parent, const QString& caption, const char* name) {
        auto* button = new QPushButton(caption, parent);
        button->setObjectName(QLatin1String(name));
        button->setFont(boldArial(11.25));
        button->setMinimumHeight(kButtonHeight);
        button->setAutoDefault(false);
        button->setMouseTracking(true);
        button->installEventFilter(this);
        return button;
    };
    zoomInButton_ = makeButton(commandBox_, QStringLiteral("Zoom &In"), "PushButton1");
    zoomOutButton_ = makeButton(commandBox_, QStringLiteral("Zoom &Out"), "PushButton2");
    // The factor of the picture as shown, beside the buttons that change it.
    zoomFactor_ = new QLabel(commandBox_);
    zoomFactor_->setObjectName(QStringLiteral("ZoomFactor"));
    zoomFactor_->setFont(boldArial(11.25));
    zoomFactor_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    zoomFactor_->setMinimumWidth(QFontMetrics(zoomFactor_->font()).horizontalAdvance("8888 %"));
    zoomFactor_->setText(zoomFactorText(1.0f));
    QHBoxLayout* row = buttonPair(zoomInButton_, 4440, zoomOutButton_, 4560, kEdge);
    row->addWidget(zoomFactor_);
    row->setContentsMargins(13, 0, 13, 7);  // buttons from 240 twips inside the frame
    commandBox_->setLayout(row);
    commandBox_->setFixedHeight(std::max(twipsToPixels(855), commandBox_->sizeHint().height()));

    backButton_ = makeButton(this, QStringLiteral("< &Back"), "PushButton8");
    saveButton_ = makeButton(this, QStringLiteral("&Save Results To Excel File"), "PushButton6");
    connect(zoomInButton_, &QPushButton::clicked, this, &PreviewWindow::onZoomInClicked);
    connect(zoomOutButton_, &QPushButton::clicked, this, &PreviewWindow::onZoomOutClicked);
    connect(saveButton_, &QPushButton::clicked, this, &PreviewWindow::onSaveClicked);
    connect(backButton_, &QPushButton::clicked, this, &PreviewWindow::onBackClicked);
    commandBox_->installEventFilter(this);
    // Escape goes back, as the button does.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &PreviewWindow::onBackClicked);
}

// The holder lies outside the client area and is never shown.
void PreviewWindow::buildZoomOrigin() {
    zoomOrigin_ = new QFrame(this);
    zoomOrigin_->setObjectName(QStringLiteral("Zoom_Ori"));
    zoomOrigin_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    zoomOrigin_->setLineWidth(2);
    zoomOrigin_->setGeometry(twipsRect(10320, 480, 0, 0));
    zoomOrigin_->setVisible(false);
}

// The viewport's parts take the keys (and their events are watched for the
// wheel); Tab walks the controls top to bottom, left to right.
void PreviewWindow::setFocusOrder() {
    viewport_->setFocusPolicy(Qt::StrongFocus);
    picture_->setFocusPolicy(Qt::StrongFocus);
    for (QWidget* viewportPart :
         {static_cast<QWidget*>(viewport_), viewportInner_, static_cast<QWidget*>(picture_)})
        viewportPart->installEventFilter(this);
    QWidget* order[] = {viewport_,     picture_,       vScroll_,    hScroll_,
                        zoomInButton_, zoomOutButton_, backButton_, saveButton_};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
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
    if (!g.test(108, [&] { return fileExists(cursorFile); })) return;
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
    if (!placed_) {
        placed_ = true;
        window_geometry::place(this, placeStore_
                                         ? placeStore_->value(window_placement::kPreviewWindowKey)
                                         : QString());
    }
    QWidget::showEvent(event);
    if (preparationDue_) prepareForResult();
}

// Back and closing both hide the window: its place is kept for the next start.
void PreviewWindow::hideEvent(QHideEvent* event) {
    if (placeStore_) {
        const QString place = window_geometry::currentPlace(this);
        if (placeStore_->value(window_placement::kPreviewWindowKey) != place)
            placeStore_->setValue(window_placement::kPreviewWindowKey, place);
    }
    QWidget::hideEvent(event);
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
        shownZoom_ = 1.0f;  // the picture as handed over is the picture at 1.0
        g.run(134, [&] { redrawImage(); });
        // A picture too large to draw at 1.0 is simply shown as handed over.
        statusLine_->clear();
        g.run(136, [&] { setupScrollbars(); });
    }
    g.run(138, [&] { preparationDue_ = false; });
    showZoom();
}

// Zoom 1.0 and the sizes that go with it, at the same statements in both
// procedures that start over from the untouched picture.
void PreviewWindow::resetZoom(Guarded& g) {
    g.run(124, [&] { zoom_ = 1.0f; });
    g.run(126, [&] { baseWidth_ = preview::baseSize(holderInnerWidth()); });
    g.run(128, [&] { baseHeight_ = preview::baseSize(holderInnerHeight()); });
    g.run(130, [&] { scaledWidth_ = scaledSize(baseWidth_, 1.0f); });
    g.run(132, [&] { scaledHeight_ = scaledSize(baseHeight_, 1.0f); });
}

int PreviewWindow::holderInnerWidth() const {
    return holderWidth_ - kHolderBorders;
}
int PreviewWindow::holderInnerHeight() const {
    return holderHeight_ - kHolderBorders;
}

int PreviewWindow::viewportOuterWidth() const {
    return viewport_->width() * kTwipsPerPixel;
}
int PreviewWindow::viewportOuterHeight() const {
    return viewport_->height() * kTwipsPerPixel;
}
int PreviewWindow::viewportInnerWidth() const {
    return viewportOuterWidth() - kViewportBorders;
}
int PreviewWindow::viewportInnerHeight() const {
    return viewportOuterHeight() - kViewportBorders;
}

bool PreviewWindow::redrawImage() {
    Guarded g(report_locations::kPreviewWindow, report_locations::kRedrawImage,
              error_report_box::shownOver(this));
    bool drew = false;
    const DrawLimits limits = drawLimitsFor(viewportInnerWidth(), viewportInnerHeight());
    g.run(100, [&] { scaledWidth_ = scaledSize(baseWidth_, zoom_); });
    g.run(102, [&] { scaledHeight_ = scaledSize(baseHeight_, zoom_); });
    if (g.test(104, [&] { return withinDrawLimits(scaledWidth_, scaledHeight_, limits); })) {
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
        g.run(120, [&] { hScroll_->setEnabled(viewportInnerWidth() < scaledWidth_); });
        g.run(122, [&] { vScroll_->setEnabled(viewportInnerHeight() < scaledHeight_); });
        if (drew) {
            shownZoom_ = zoom_;
            statusLine_->clear();
        }
        showZoom();
        return drew;
    }
    // Too large: nothing is drawn and the next step starts again from 1.0.
    // The user is told why nothing changed.
    statusLine_->setText(
        QStringLiteral("Zoom to %1 refused: the picture would be larger than this window can "
                       "show. Make the window larger to zoom further.")
            .arg(zoomFactorText(zoom_)));
    resetZoom(g);
    return false;
}

void PreviewWindow::showZoom() {
    zoomFactor_->setText(shownZoomText());
}

QString PreviewWindow::shownZoomText() const {
    return zoomFactorText(shownZoom_);
}

QString PreviewWindow::statusText() const {
    return statusLine_->text();
}

void PreviewWindow::setZoom(float zoom) {
    if (!zoomAccepted(zoom)) {
        statusLine_->setText(
            zoom > kMaxZoom
                ? QStringLiteral("%1 is the largest zoom.").arg(zoomFactorText(kMaxZoom))
                : QStringLiteral("%1 is the smallest zoom.").arg(zoomFactorText(kMinZoom)));
        return;
    }
    zoom_ = zoom;
    // The bars are set up again for every new drawing, so that they and a
    // drag agree at every zoom level.
    if (redrawImage()) setupScrollbars();
}

void PreviewWindow::zoomStep(int out) {
    setZoom(zoomCandidate(zoom_, out));
}

// A fitted factor is also held below the drawing limits, so that a fit is
// always drawn (a tall picture fitted to the width stops at the height limit).
void PreviewWindow::onFitWidth() {
    const DrawLimits limits = drawLimitsFor(viewportInnerWidth(), viewportInnerHeight());
    setZoom(std::min(fitZoom(baseWidth_, viewportInnerWidth()),
                     fitZoom(baseHeight_, limits.height - 1)));
}

void PreviewWindow::onFitPage() {
    setZoom(std::min(fitZoom(baseWidth_, viewportInnerWidth()),
                     fitZoom(baseHeight_, viewportInnerHeight())));
}

void PreviewWindow::onActualSize() {
    setZoom(1.0f);
}

// A viewport of a new size: the bars measure the picture against it again
// and keep the view where it was as far as the new range allows.
void PreviewWindow::viewportResized() {
    if (preparationDue_ || baseWidth_ <= 0) return;
    const float left = picture_->leftTwips();
    const float top = picture_->topTwips();
    setupScrollbars();
    if (hStep_ != 0) hScroll_->setValue(static_cast<int>(-left) / hStep_);
    if (vStep_ != 0) vScroll_->setValue(static_cast<int>(-top) / vStep_);
}

void PreviewWindow::setupScrollbars() {
    picture_->setTopTwips(0);
    picture_->setLeftTwips(0);
    auto setUp = [](QScrollBar* bar, int& step, int pictureSize, int viewportSize) {
        const BarSetup setup = setupBar(pictureSize, viewportSize);
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
    setUp(hScroll_, hStep_, picture_->widthTwips(), viewportOuterWidth());
    setUp(vScroll_, vStep_, picture_->heightTwips(), viewportOuterHeight());
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
    g.run(102, [&] { removeFile(resultFile_); });
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
    g.run(100, [&] { removeFile(resultFile_); });
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
    if (watched == viewport_ && event->type() == QEvent::Resize) viewportResized();
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

}  // namespace tallowby::preview
