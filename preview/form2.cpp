#include "preview/form2.h"

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

#include "app/cursor_file.h"
#include "app/failure.h"
#include "app/guarded.h"
#include "app/hover_cursor_path.h"
#include "app/main_module.h"
#include "preview/picture_box.h"
#include "preview/scroll_math.h"
#include "preview/zoom_math.h"

namespace tallowby {

using preview::twipsToPixels;

namespace {
const QString kModule = QStringLiteral("Form2");

void place(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                        twipsToPixels(height));
}

QFont boldArial(double points) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}
}  // namespace

Form2::Form2(const QString& programFolder, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      programFolder_(programFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                             : programFolder),
      endProgram_([] { QCoreApplication::exit(0); }) {
    buildControls();
    Form_Load();
}

Form2::~Form2() = default;

void Form2::buildControls() {
    setObjectName(QStringLiteral("Form2"));
    setFont(boldArial(9));
    setFixedSize(twipsToPixels(9840), twipsToPixels(9360));
    setMouseTracking(true);

    // The viewport: a white box with a one-pixel flat border whose inner area
    // clips the picture.
    Picture2 = new QFrame(this);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    place(Picture2, 120, 120, preview::kViewportOuterWidth, preview::kViewportOuterHeight);
    Picture2->setFrameStyle(QFrame::Box | QFrame::Plain);
    Picture2->setLineWidth(1);
    Picture2->setAutoFillBackground(true);
    QPalette white = Picture2->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    Picture2->setPalette(white);
    Picture2->setCursor(Qt::SizeAllCursor);
    viewportInner_ = new QWidget(Picture2);
    place(viewportInner_, preview::kViewportBorders / 2, preview::kViewportBorders / 2,
          preview::kViewportInnerWidth, preview::kViewportInnerHeight);

    Picture1 = new preview::PictureBox(viewportInner_);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setCursor(Qt::ArrowCursor);
    connect(Picture1, &preview::PictureBox::mousePressed, this, &Form2::picture1_MouseDown);
    connect(Picture1, &preview::PictureBox::mouseMoved, this, &Form2::picture1_MouseMove);
    connect(Picture1, &preview::PictureBox::mouseReleased, this, &Form2::Picture1_MouseUp);

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
    VScroll1 = makeBar(Qt::Vertical, "VScroll1");
    place(VScroll1, 9450, 120, 255, 7425);
    HScroll1 = makeBar(Qt::Horizontal, "HScroll1");
    VScroll1->setCursor(Qt::ArrowCursor);
    HScroll1->setCursor(Qt::ArrowCursor);
    place(HScroll1, 120, 7545, 9330, 255);
    connect(HScroll1, &QScrollBar::valueChanged, this, &Form2::HScroll1_Change);
    connect(VScroll1, &QScrollBar::valueChanged, this, &Form2::VScroll1_Change);

    Frame1 = new QGroupBox(QStringLiteral("Zoom:"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    place(Frame1, 120, 7860, 9600, 855);
    Frame1->setMouseTracking(true);

    auto makeButton = [this](QWidget* parent, const QString& caption, const char* name) {
        auto* button = new QPushButton(caption, parent);
        button->setObjectName(QLatin1String(name));
        button->setFont(boldArial(11.25));
        button->setAutoDefault(false);
        button->setMouseTracking(true);
        button->installEventFilter(this);
        return button;
    };
    PushButton1 = makeButton(Frame1, QStringLiteral("Zoom In"), "PushButton1");
    place(PushButton1, 240, 300, 4440, 405);
    PushButton2 = makeButton(Frame1, QStringLiteral("Zoom Out"), "PushButton2");
    place(PushButton2, 4800, 300, 4560, 405);
    PushButton8 = makeButton(this, QStringLiteral("< Back"), "PushButton8");
    place(PushButton8, 120, 8850, 4680, 405);
    PushButton6 = makeButton(this, QStringLiteral("Save Results To Excel File"), "PushButton6");
    place(PushButton6, 4920, 8850, 4800, 405);
    connect(PushButton1, &QPushButton::clicked, this, &Form2::PushButton1_Click);
    connect(PushButton2, &QPushButton::clicked, this, &Form2::PushButton2_Click);
    connect(PushButton6, &QPushButton::clicked, this, &Form2::PushButton6_Click);
    connect(PushButton8, &QPushButton::clicked, this, &Form2::PushButton8_Click);
    Frame1->installEventFilter(this);

    // The holder lies outside the client area and is never shown.
    Zoom_Ori = new QFrame(this);
    Zoom_Ori->setObjectName(QStringLiteral("Zoom_Ori"));
    Zoom_Ori->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Zoom_Ori->setLineWidth(2);
    place(Zoom_Ori, 10320, 480, 0, 0);
    Zoom_Ori->setVisible(false);

    Picture2->setFocusPolicy(Qt::StrongFocus);
    Picture1->setFocusPolicy(Qt::StrongFocus);
    for (QWidget* viewportPart :
         {static_cast<QWidget*>(Picture2), viewportInner_, static_cast<QWidget*>(Picture1)})
        viewportPart->installEventFilter(this);
    QWidget* order[] = {HScroll1, VScroll1,    Picture2,    Picture1,    Frame1,
                        Zoom_Ori, PushButton1, PushButton2, PushButton6, PushButton8};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
}

void Form2::Form_Load() {
    Guarded g(kModule, QStringLiteral("Form_Load"), this);
    g.run(100, [&] { mFirstActivate = true; });
    g.run(102, [&] { Main::UsePlainColours(this); });
    g.run(104, [&] {
        setWindowTitle(QStringLiteral("Tallowby"));
        setWindowIcon(QApplication::windowIcon());
    });
    const QString cursorFile = hoverCursorPath(programFolder_);
    if (!g.test(108, [&] { return Main::FileExists(cursorFile); })) return;
    g.run(110, [&] { hoverCursor_ = cursor_file::load(cursorFile); });
}

void Form2::handOver(const QImage& picture, const QString& excelFile) {
    Picture1->setPicture(picture);
    mFirstActivate = true;
    mExcelFile = excelFile;
    show();
    activateWindow();
    // Some platforms never report the activation; the show already prepared
    // a hidden window, this covers one that was still shown.
    if (mFirstActivate) Form_Activate();
}

void Form2::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (mFirstActivate) Form_Activate();
}

void Form2::Form_Activate() {
    Guarded g(kModule, QStringLiteral("Form_Activate"), this);
    if (!g.test(100, [&] { return !mFirstActivate; })) {
        // Picture1's drawing surface and the holder are always persistent.
        g.run(106, [&] { Picture1->setAutoSize(true); });
        g.run(108, [&] { Picture1->setBackground(Qt::white); });
        g.run(116, [&] { Zoom_Ori->setVisible(false); });
        g.run(118, [&] {
            holderWidth_ = Picture1->widthTwips();
            Zoom_Ori->resize(twipsToPixels(holderWidth_), Zoom_Ori->height());
        });
        g.run(120, [&] {
            holderHeight_ = Picture1->heightTwips();
            Zoom_Ori->resize(Zoom_Ori->width(), twipsToPixels(holderHeight_));
        });
        g.run(122, [&] { holderPicture_ = Picture1->picture(); });
        g.run(124, [&] { mZoom = 1.0f; });
        g.run(126, [&] { mBaseWidth = preview::baseSize(holderInnerWidth()); });
        g.run(128, [&] { mBaseHeight = preview::baseSize(holderInnerHeight()); });
        g.run(130, [&] { mScaledWidth = preview::scaledSize(mBaseWidth, 1.0f); });
        g.run(132, [&] { mScaledHeight = preview::scaledSize(mBaseHeight, 1.0f); });
        g.run(134, [&] { RedrawImage(); });
        g.run(136, [&] { SetupScrollbars(); });
    }
    g.run(138, [&] { mFirstActivate = false; });
}

int Form2::holderInnerWidth() const {
    return holderWidth_ - preview::kHolderBorders;
}
int Form2::holderInnerHeight() const {
    return holderHeight_ - preview::kHolderBorders;
}

bool Form2::RedrawImage() {
    Guarded g(kModule, QStringLiteral("RedrawImage"), this);
    bool drew = false;
    g.run(100, [&] { mScaledWidth = preview::scaledSize(mBaseWidth, mZoom); });
    g.run(102, [&] { mScaledHeight = preview::scaledSize(mBaseHeight, mZoom); });
    if (g.test(104, [&] { return preview::withinDrawLimits(mScaledWidth, mScaledHeight); })) {
        g.run(106, [&] { Picture1->clearPicture(); });
        g.run(108, [&] { Picture1->setWidthTwips(mScaledWidth); });
        g.run(110, [&] { Picture1->setHeightTwips(mScaledHeight); });
        drew = g.run(112, [&] {
            Picture1->drawStretched(QRectF(0, 0, mScaledWidth, mScaledHeight), holderPicture_,
                                    QRectF(0, 0, mBaseWidth, mBaseHeight));
        });
        g.run(114, [&] { setCursor(Qt::ArrowCursor); });
        g.run(116, [&] { HScroll1->setValue(0); });
        g.run(118, [&] { VScroll1->setValue(0); });
        g.run(120, [&] { HScroll1->setEnabled(preview::kViewportInnerWidth < mScaledWidth); });
        g.run(122, [&] { VScroll1->setEnabled(preview::kViewportInnerHeight < mScaledHeight); });
        return drew;
    }
    // Too large: nothing is drawn and the next step starts again from 1.0.
    g.run(124, [&] { mZoom = 1.0f; });
    g.run(126, [&] { mBaseWidth = preview::baseSize(holderInnerWidth()); });
    g.run(128, [&] { mBaseHeight = preview::baseSize(holderInnerHeight()); });
    g.run(130, [&] { mScaledWidth = preview::scaledSize(mBaseWidth, 1.0f); });
    g.run(132, [&] { mScaledHeight = preview::scaledSize(mBaseHeight, 1.0f); });
    return false;
}

void Form2::SetZoom(float zoom) {
    if (!preview::zoomAccepted(zoom)) return;
    mZoom = zoom;
    // The bars are set up again for every new drawing, so that they and a
    // drag agree at every zoom level.
    if (RedrawImage()) SetupScrollbars();
}

void Form2::ZoomStep(int out) {
    SetZoom(preview::zoomCandidate(mZoom, out));
}

void Form2::SetupScrollbars() {
    Picture1->setTopTwips(0);
    Picture1->setLeftTwips(0);
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
    setUp(HScroll1, mHStep, Picture1->widthTwips(), preview::kViewportOuterWidth);
    setUp(VScroll1, mVStep, Picture1->heightTwips(), preview::kViewportOuterHeight);
}

void Form2::PushButton1_Click() {
    Guarded g(kModule, QStringLiteral("PushButton1_Click"), this);
    g.run(100, [&] { ZoomStep(0); });
}

void Form2::PushButton2_Click() {
    Guarded g(kModule, QStringLiteral("PushButton2_Click"), this);
    g.run(100, [&] { ZoomStep(1); });
}

void Form2::PushButton8_Click() {
    Guarded g(kModule, QStringLiteral("PushButton8_Click"), this);
    g.run(102, [&] { Main::RemoveFile(mExcelFile); });
    g.run(104, [&] {
        if (!mainWindow_) throw Failure(QStringLiteral("The main window is not available"));
        mainWindow_->show();
    });
    g.run(106, [&] { hide(); });
}

void Form2::closeEvent(QCloseEvent* event) {
    Form_QueryUnload();
    event->accept();
    if (endProgram_) endProgram_();
}

void Form2::Form_QueryUnload() {
    Guarded g(kModule, QStringLiteral("Form_QueryUnload"), this);
    g.run(100, [&] { Main::RemoveFile(mExcelFile); });
    g.run(102, [&] { QCoreApplication::processEvents(); });
    g.run(104, [&] { QCoreApplication::processEvents(); });
    // Ending here skips the main window's own closing, so its lists are
    // saved now or never.
    g.run(106, [&] {
        if (onClosing_) onClosing_();
    });
}

bool Form2::busyPointerShown() const {
    const QCursor* override = QGuiApplication::overrideCursor();
    if (override && override->shape() == Qt::WaitCursor) return true;
    return cursor().shape() == Qt::WaitCursor;
}

void Form2::pointerOverButton() {
    if (busyPointerShown()) return;
    if (hoverCursor_)
        setCursor(*hoverCursor_);
    else
        setCursor(Qt::ArrowCursor);
}

void Form2::pointerOverWindow() {
    if (busyPointerShown()) return;
    setCursor(Qt::ArrowCursor);
}

bool Form2::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && mFirstActivate) Form_Activate();
    if (event->type() == QEvent::MouseMove) {
        // Moves over the children arrive here too when they ignore them.
        const auto* move = static_cast<QMouseEvent*>(event);
        QWidget* under = childAt(move->position().toPoint());
        if (!under || under == Frame1) pointerOverWindow();
    }
    return QWidget::event(event);
}

bool Form2::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == Picture2 || watched == viewportInner_ || watched == Picture1) &&
        viewportEvent(event))
        return true;
    if (event->type() == QEvent::MouseMove) {
        if (watched == PushButton1 || watched == PushButton2 || watched == PushButton6 ||
            watched == PushButton8) {
            pointerOverButton();
        } else if (watched == Frame1) {
            const auto* move = static_cast<QMouseEvent*>(event);
            if (!Frame1->childAt(move->position().toPoint())) pointerOverWindow();
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace tallowby
