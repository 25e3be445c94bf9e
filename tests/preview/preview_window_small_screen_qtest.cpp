// The preview on a 1280 x 1024 screen scaled 2x (QT_SCALE_FACTOR=2 and a
// virtual screen of the offscreen platform, both set before the application
// starts): 640 x 512 logical pixels, less than the window's designed height.
// The whole frame opens on screen and the buttons stay within reach.

#include <QFrame>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include "preview/preview_window.h"
#include "preview_window_harness.h"
#include "tests/support/small_screen.h"

using tallowby::preview::PreviewWindow;

class PreviewWindowSmallScreenTest : public QObject {
    Q_OBJECT

    harness::UnattendedRun run;

  private slots:

    void theWholeFrameOpensOnScreen() {
        PreviewWindow form(run.dir.path());
        form.handOver(harness::picture(616, 571), run.dir.filePath("result.xls"));
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QRect available = form.screen()->availableGeometry();
        QCOMPARE(available.size(), QSize(640, 512));
        QVERIFY2(available.contains(form.frameGeometry()),
                 qPrintable(QStringLiteral("frame %1,%2 %3x%4")
                                .arg(form.frameGeometry().x())
                                .arg(form.frameGeometry().y())
                                .arg(form.frameGeometry().width())
                                .arg(form.frameGeometry().height())));
        // Everything is inside the window: the bottom buttons too; the
        // viewport gave up the height.
        for (const char* name : {"PushButton1", "PushButton2", "PushButton6", "PushButton8"}) {
            auto* b = form.findChild<QPushButton*>(QLatin1String(name));
            const QRect r(b->mapTo(&form, QPoint(0, 0)), b->size());
            QVERIFY2(form.rect().contains(r), name);
        }
        QVERIFY(form.viewport()->height() < 495);
        QVERIFY(form.viewport()->height() >= 100);
        QVERIFY(form.vScrollBar()->isEnabled());  // the picture scrolls in the smaller view
    }
};

int main(int argc, char** argv) {
    const tallowby::testing::VirtualScreen screen(1280, 1024);
    QProcessEnvironment environment;
    screen.applyTo(environment, QStringLiteral("2"));
    for (const QString& name : environment.keys())
        qputenv(name.toLocal8Bit().constData(), environment.value(name).toLocal8Bit());
    QApplication app(argc, argv);
    PreviewWindowSmallScreenTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "preview_window_small_screen_qtest.moc"
