// The preview on a screen scaled 2x (QT_SCALE_FACTOR=2, set before the
// application starts): pictures drawn for that screen keep their fine pixels,
// while every twip and every size counts logical pixels as on a plain screen.

#include <QFrame>
#include <QPushButton>
#include <QTest>

#include "preview/picture_box.h"
#include "preview/preview_window.h"
#include "preview_window_harness.h"

using tallowby::preview::PreviewWindow;

namespace {

// A picture of `logical` pixels drawn at twice the pixels: a checkerboard of
// single device pixels, which survives only if nothing is drawn coarser.
QImage finePicture(QSize logical) {
    QImage image(logical * 2, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, (x + y) % 2 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    image.setDevicePixelRatio(2.0);
    return image;
}

}  // namespace

class PreviewWindowScaledScreenTest : public QObject {
    Q_OBJECT

    harness::UnattendedRun run;

  private slots:

    void theScreenIsScaled() {
        PreviewWindow form(run.dir.path());
        QCOMPARE(form.devicePixelRatioF(), 2.0);
        // The window keeps its logical size: its viewport is 9330 x 7425 twips.
        QCOMPARE(form.width(), 656);
        QCOMPARE(form.viewport()->size(), QSize(622, 495));
    }

    void aFinePictureIsMeasuredByItsLogicalSize() {
        PreviewWindow form(run.dir.path());
        form.handOver(finePicture(QSize(400, 300)), run.dir.filePath("result.xls"));
        // 400 x 300 logical pixels: 6000 x 4500 twips, less the holder's 62.
        QCOMPARE(form.baseWidth(), 5938);
        QCOMPARE(form.baseHeight(), 4438);
        QCOMPARE(form.picture()->widthTwips(), 5938);
        QCOMPARE(form.picture()->size(), QSize(396, 296));  // 5938 / 15, 4438 / 15
    }

    void theDrawnPixmapHasTwiceThePixelsAndTheSameLogicalSize() {
        PreviewWindow form(run.dir.path());
        form.handOver(finePicture(QSize(400, 300)), run.dir.filePath("result.xls"));
        const QImage surface = form.picture()->surface();
        QCOMPARE(surface.devicePixelRatio(), 2.0);
        QCOMPARE(surface.deviceIndependentSize().toSize(), form.picture()->size());
        QCOMPARE(surface.size(), form.picture()->size() * 2);
        // Drawn one to one in device pixels: the checkerboard is intact.
        int kept = 0;
        for (int y = 10; y < 100; ++y)
            for (int x = 10; x < 100; ++x)
                if (qGray(surface.pixel(x, y)) == ((x + y) % 2 ? 0 : 255)) ++kept;
        QCOMPARE(kept, 90 * 90);

        form.onZoomInClicked();  // Zoom In
        QCOMPARE(form.zoom(), 1.25f);
        QCOMPARE(form.scaledWidth(), 7422);  // floor(5938 x 1.25)
        const QImage zoomed = form.picture()->surface();
        QCOMPARE(zoomed.deviceIndependentSize().toSize(), form.picture()->size());
        QCOMPARE(zoomed.size(), form.picture()->size() * 2);
    }

    void aPlainPictureTakesTheSameTwipsAndIsShownAtTheScreensRatio() {
        PreviewWindow form(run.dir.path());
        form.handOver(harness::picture(400, 300), run.dir.filePath("result.xls"));
        QCOMPARE(form.baseWidth(), 5938);
        QCOMPARE(form.baseHeight(), 4438);
        QCOMPARE(form.picture()->surface().size(), form.picture()->size() * 2);
    }

    void theDrawingLimitsCountLogicalPixels() {
        PreviewWindow form(run.dir.path());
        // 800 x 700 logical: 11938 wide at 1.0, 14922 at 1.25, past 12500.
        form.handOver(finePicture(QSize(800, 700)), run.dir.filePath("result.xls"));
        QCOMPARE(form.scaledWidth(), 11938);
        form.onZoomInClicked();
        QCOMPARE(form.zoom(), 1.0f);
        form.onZoomOutClicked();
        QCOMPARE(form.zoom(), 0.75f);
        QCOMPARE(form.scaledWidth(), 8953);  // floor(11938 x 0.75)
        QCOMPARE(form.picture()->surface().size(), form.picture()->size() * 2);
    }
};

int main(int argc, char** argv) {
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    PreviewWindowScaledScreenTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "preview_window_scaled_screen_qtest.moc"
