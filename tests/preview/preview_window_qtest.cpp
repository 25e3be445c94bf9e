// The preview window: layout, hand-over and preparation, zoom, Back, closing
// and the hover pointer, driven through the real widgets.

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "preview/picture_box.h"
#include "preview/preview_window.h"
#include "preview_window_harness.h"
#include "tests/support/test_paths.h"

using tallowby::preview::PreviewWindow;

namespace {
// Base size at zoom 1.0 for a picture of this many pixels: the holder's
// borders (60 twips) and 2 twips more are left off.
int base(int pixels) {
    return pixels * 15 - 62;
}

QPushButton* button(PreviewWindow& form, const char* name) {
    return form.findChild<QPushButton*>(QLatin1String(name));
}
}  // namespace

class PreviewWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        prompter = std::make_unique<harness::ScriptedPrompter>();
        QVERIFY(dir.isValid());
        folder = dir.path();
    }
    void cleanup() { prompter.reset(); }

    void layoutAsDesigned() {
        PreviewWindow form(folder);
        QCOMPARE(form.windowTitle(), QStringLiteral("Tallowby"));
        // Opens 9840 twips wide and 9360 high plus its status line; can be
        // resized and maximised, its minimum no larger than that.
        const int statusHeight = form.findChild<QLabel*>("StatusLine")->height();
        QCOMPARE(form.size(), QSize(656, 624 - 7 + 4 + statusHeight + 2));
        QVERIFY(form.minimumWidth() <= 656 && form.minimumHeight() <= 643);
        QVERIFY(form.maximumWidth() > 2000 && form.maximumHeight() > 2000);
        QVERIFY(form.windowFlags() & Qt::WindowMaximizeButtonHint);
        QVERIFY(form.windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(form.font().bold());
        QCOMPARE(form.font().pointSizeF(), 9.0);

        const auto geometry = [&](const char* name) {
            return form.findChild<QWidget*>(QLatin1String(name))->geometry();
        };
        QCOMPARE(geometry("Picture2"), QRect(8, 8, 622, 495));
        QCOMPARE(geometry("VScroll1"), QRect(630, 8, 17, 495));
        QCOMPARE(geometry("HScroll1"), QRect(8, 503, 622, 17));
        QCOMPARE(geometry("Frame1"), QRect(8, 524, 640, 57));
        QCOMPARE(geometry("PushButton8"), QRect(8, 590, 312, 27));
        QCOMPARE(geometry("PushButton6"), QRect(328, 590, 320, 27));
        QCOMPARE(geometry("Zoom_Ori").topLeft(), QPoint(688, 32));
        // Inside the zoom frame: the two buttons in their designed
        // proportion (4440 : 4560 twips), then the factor shown.
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QRect zoomIn = geometry("PushButton1");
        const QRect zoomOut = geometry("PushButton2");
        const QRect factor = geometry("ZoomFactor");
        QCOMPARE(zoomIn.topLeft(), QPoint(16, 20));
        QCOMPARE(zoomIn.height(), 27);
        QCOMPARE(zoomOut.top(), 20);
        QVERIFY(zoomIn.right() < zoomOut.left() && zoomOut.right() < factor.left());
        QVERIFY(factor.right() <= 640 - 8);
        QVERIFY(qAbs(zoomIn.width() * 4560 - zoomOut.width() * 4440) <= 4560);
        QCOMPARE(form.shownZoomText(), QStringLiteral("100 %"));
        QCOMPARE(form.findChild<QLabel*>("ZoomFactor")->text(), QStringLiteral("100 %"));

        // Captions with their mnemonics (Alt+I, Alt+O, Alt+B, Alt+S).
        QCOMPARE(button(form, "PushButton1")->text(), QStringLiteral("Zoom &In"));
        QCOMPARE(button(form, "PushButton2")->text(), QStringLiteral("Zoom &Out"));
        QCOMPARE(button(form, "PushButton8")->text(), QStringLiteral("< &Back"));
        QCOMPARE(button(form, "PushButton6")->text(),
                 QStringLiteral("&Save Results To Excel File"));
        QCOMPARE(button(form, "PushButton6")->font().pointSizeF(), 11.25);
        QVERIFY(button(form, "PushButton6")->font().bold());
        QCOMPARE(form.findChild<QGroupBox*>("Frame1")->title(), QStringLiteral("Zoom:"));
        QVERIFY(!form.hScrollBar()->isEnabled());
        QVERIFY(!form.vScrollBar()->isEnabled());
        QCOMPARE(form.hScrollBar()->maximum(), 32767);
    }

    void tabOrderSkipsWhatCannotTakeFocus() {
        PreviewWindow form(folder);
        form.handOver(harness::picture(800, 700), "/tmp/result.xls");  // both bars enabled
        QStringList order;
        QWidget* at = form.viewport();
        for (int i = 0; i < 16; ++i) {
            const bool takesFocus = (at->focusPolicy() & Qt::TabFocus) && at->isVisible() &&
                                    at->isEnabled() && !at->objectName().isEmpty();
            if (takesFocus && !order.contains(at->objectName())) order << at->objectName();
            at = at->nextInFocusChain();
        }
        // Top to bottom, left to right.
        const QStringList expected{"Picture2",    "Picture1",    "VScroll1",    "HScroll1",
                                   "PushButton1", "PushButton2", "PushButton8", "PushButton6"};
        QCOMPARE(order, expected);
    }

    void handOverPreparesThePicture() {
        PreviewWindow form(folder);
        form.handOver(harness::picture(370, 330), "/tmp/result.xls");
        QVERIFY(form.isVisible());
        QVERIFY(!form.preparationDue());
        QCOMPARE(form.resultFile_, QStringLiteral("/tmp/result.xls"));
        QCOMPARE(form.zoom(), 1.0f);
        QCOMPARE(form.baseWidth(), base(370));
        QCOMPARE(form.baseHeight(), base(330));
        QCOMPARE(form.picture()->widthTwips(), base(370));
        QCOMPARE(form.picture()->heightTwips(), base(330));
        QCOMPARE(form.picture()->leftTwips(), 0.0f);
        QVERIFY(form.picture()->picture().isNull());  // replaced by the drawing
        QCOMPARE(form.hStep(), 0);
        QVERIFY(prompter->reports().isEmpty());
    }

    void zoomsInAndOutWithinTheLimits() {
        PreviewWindow form(folder);
        form.handOver(harness::picture(370, 330), "/tmp/result.xls");
        const float in[] = {1.25f, 1.5f, 1.75f, 2.0f, 2.25f, 2.25f};
        for (float expected : in) {
            QTest::mouseClick(button(form, "PushButton1"), Qt::LeftButton);
            QCOMPARE(form.zoom(), expected);
            QCOMPARE(form.scaledWidth(), static_cast<int>(base(370) * double(expected)));
            QCOMPARE(form.picture()->widthTwips(), form.scaledWidth());
            QCOMPARE(form.picture()->heightTwips(), form.scaledHeight());
        }
        const float out[] = {2.0f, 1.75f, 1.5f, 1.25f, 1.0f, 0.75f, 0.5f, 0.25f, 0.25f};
        for (float expected : out) {
            QTest::mouseClick(button(form, "PushButton2"), Qt::LeftButton);
            QCOMPARE(form.zoom(), expected);
            QCOMPARE(form.picture()->widthTwips(), static_cast<int>(base(370) * double(expected)));
        }
        QCOMPARE(form.picture()->size(), QSize(91, 81));  // 1372 x 1222 twips
        QVERIFY(prompter->reports().isEmpty());
    }

    void everyDrawingStartsFromTheUntouchedPicture() {
        PreviewWindow form(folder);
        form.handOver(harness::picture(300, 200), "/tmp/result.xls");
        const QImage first = form.picture()->surface();
        for (int i = 0; i < 3; ++i) form.onZoomOutClicked();
        for (int i = 0; i < 8; ++i) form.onZoomInClicked();
        QCOMPARE(form.zoom(), 2.25f);
        for (int i = 0; i < 5; ++i) form.onZoomOutClicked();
        QCOMPARE(form.zoom(), 1.0f);
        QCOMPARE(form.picture()->surface(), first);
        // The drawn region's corner is the picture's dark frame.
        QCOMPARE(QColor(first.pixel(0, 0)), QColor(Qt::black));
    }

    void tooLargeAStepFallsBackToOne() {
        // Base 8008 x 5998: 1.25 and 1.5 are drawn, 1.75 (14014 wide) is not.
        PreviewWindow form(folder);
        form.handOver(harness::picture(538, 404), "/tmp/result.xls");
        form.onZoomInClicked();
        form.onZoomInClicked();
        QCOMPARE(form.zoom(), 1.5f);
        QCOMPARE(form.picture()->widthTwips(), 12012);
        const QImage drawing = form.picture()->surface();
        const int hMax = form.hScrollBar()->maximum();

        form.onZoomInClicked();
        QCOMPARE(form.zoom(), 1.0f);
        QCOMPARE(form.scaledWidth(), 8008);
        QCOMPARE(form.picture()->widthTwips(), 12012);  // the 1.5 drawing stays
        QCOMPARE(form.picture()->surface(), drawing);
        QCOMPARE(form.hScrollBar()->maximum(), hMax);

        form.onZoomOutClicked();
        QCOMPARE(form.zoom(), 0.75f);
        QCOMPARE(form.picture()->widthTwips(), 6006);
        form.onZoomInClicked();
        form.onZoomInClicked();
        QCOMPARE(form.zoom(), 1.25f);
        QCOMPARE(form.picture()->widthTwips(), 10010);
        QVERIFY(prompter->reports().isEmpty());
    }

    void tooLargeAtPreparationIsShownAsAssigned() {
        PreviewWindow form(folder);
        form.handOver(harness::picture(850, 100), "/tmp/result.xls");  // base 12688
        QCOMPARE(form.picture()->widthTwips(), 850 * 15);
        QVERIFY(!form.picture()->picture().isNull());
        QCOMPARE(form.hStep(), 10);
        QCOMPARE(form.hScrollBar()->maximum(), 342);  // (12750 - 9330) / 10

        form.onZoomInClicked();
        QCOMPARE(form.zoom(), 1.0f);
        QCOMPARE(form.picture()->widthTwips(), 850 * 15);
        form.onZoomOutClicked();
        QCOMPARE(form.zoom(), 0.75f);
        QCOMPARE(form.picture()->widthTwips(), 9516);
        QVERIFY(form.picture()->picture().isNull());
    }

    void barsFollowEveryZoom() {
        PreviewWindow form(folder);
        form.handOver(harness::picture(370, 330), "/tmp/result.xls");  // base 5488 x 4888
        QVERIFY(!form.hScrollBar()->isEnabled());
        QCOMPARE(form.hStep(), 0);

        for (int i = 0; i < 3; ++i) form.onZoomInClicked();  // 1.75: 9604 x 8554
        QVERIFY(form.hScrollBar()->isEnabled());
        QCOMPARE(form.hStep(), 10);
        QCOMPARE(form.hScrollBar()->maximum(), 27);  // 27.4
        QCOMPARE(form.vStep(), 10);
        QCOMPARE(form.vScrollBar()->maximum(), 113);  // 112.9

        form.onZoomInClicked();
        form.onZoomInClicked();  // 2.25: 12348 x 10998
        QCOMPARE(form.hScrollBar()->maximum(), 302);
        QCOMPARE(form.vScrollBar()->maximum(), 357);
        form.hScrollBar()->setValue(100);
        QCOMPARE(form.picture()->leftTwips(), -1000.0f);
        form.vScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(form.picture()->topTwips(), -10.0f);

        // Back to a size the viewport holds: picture at the corner, bars off.
        form.onZoomOutClicked();
        form.onZoomOutClicked();
        form.onZoomOutClicked();  // 1.5: 8232 x 7332
        QCOMPARE(form.picture()->leftTwips(), 0.0f);
        QCOMPARE(form.picture()->topTwips(), 0.0f);
        QVERIFY(!form.hScrollBar()->isEnabled());
        QVERIFY(!form.vScrollBar()->isEnabled());
        QCOMPARE(form.hStep(), 0);
    }

    void aMissingPictureIsHarmless() {
        PreviewWindow form(folder);
        form.handOver(QImage(), "/tmp/result.xls");
        form.onZoomInClicked();
        form.onZoomOutClicked();
        form.onZoomOutClicked();
        QCOMPARE(form.picture()->widthTwips(), 0);
        QVERIFY(!form.hScrollBar()->isEnabled());
    }

    void backDeletesTheResultAndShowsTheMainWindow() {
        QWidget mainWindow;
        PreviewWindow form(folder);
        form.setMainWindow(&mainWindow);
        const QString result = dir.filePath("kovlar11111111.xls");
        harness::writeFile(result, "workbook");
        form.handOver(harness::picture(600, 500), result);  // base 8938 x 7438
        form.onZoomInClicked();
        form.hScrollBar()->setValue(5);
        QCOMPARE(form.picture()->leftTwips(), -50.0f);

        QTest::mouseClick(button(form, "PushButton8"), Qt::LeftButton);
        QVERIFY(!QFile::exists(result));
        QVERIFY(mainWindow.isVisible());
        QVERIFY(!form.isVisible());
        QCOMPARE(form.zoom(), 1.25f);  // kept until the next hand-over

        // The next result is prepared afresh.
        mainWindow.hide();
        const QString second = dir.filePath("kovlar22222222.xls");
        harness::writeFile(second, "workbook 2");
        form.handOver(harness::picture(640, 520), second);
        QVERIFY(form.isVisible());
        QCOMPARE(form.resultFile_, second);
        QCOMPARE(form.zoom(), 1.0f);
        QCOMPARE(form.baseWidth(), base(640));
        QCOMPARE(form.baseHeight(), base(520));
        QCOMPARE(form.picture()->widthTwips(), base(640));
        QCOMPARE(form.picture()->leftTwips(), 0.0f);
        QCOMPARE(form.picture()->topTwips(), 0.0f);
        QCOMPARE(form.hScrollBar()->value(), 0);
        QCOMPARE(form.hScrollBar()->maximum(), 21);  // (9538 - 9330) / 10 = 20.8
        QCOMPARE(form.vScrollBar()->maximum(), 31);  // (7738 - 7425) / 10 = 31.3
        QVERIFY(QFile::exists(second));
        QVERIFY(prompter->reports().isEmpty());
    }

    void aHandOverToTheShownWindowIsPreparedToo() {
        PreviewWindow form(folder);
        form.handOver(harness::picture(300, 200), "/tmp/first.xls");
        form.onZoomInClicked();
        form.handOver(harness::picture(320, 210), "/tmp/second.xls");
        QVERIFY(!form.preparationDue());
        QCOMPARE(form.zoom(), 1.0f);
        QCOMPARE(form.baseWidth(), base(320));
    }

    void closingDeletesSavesListsAndEnds() {
        PreviewWindow form(folder);
        const QString result = dir.filePath("kovlar33333333.xls");
        harness::writeFile(result, "workbook");
        int listsSaved = 0;
        int ended = 0;
        bool mayClose = false;
        form.setOnClosing([&] {
            ++listsSaved;
            return mayClose;
        });
        form.handOver(harness::picture(300, 200), result);
        // Kept open by the main window: the result workbook stays, nothing ends.
        QVERIFY(!form.close());
        QVERIFY(QFile::exists(result));
        QCOMPARE(ended, 0);
        mayClose = true;
        // The close lets no queued events in before the program ends.
        bool queuedRan = false;
        bool queuedRanBeforeEnd = false;
        QMetaObject::invokeMethod(
            &form, [&] { queuedRan = true; }, Qt::QueuedConnection);
        form.setEndProgram([&] {
            queuedRanBeforeEnd = queuedRan;
            ++ended;
        });
        QVERIFY(form.close());
        QVERIFY(!queuedRanBeforeEnd);
        QVERIFY(!QFile::exists(result));
        QCOMPARE(listsSaved, 2);
        QCOMPARE(ended, 1);
        QVERIFY(prompter->reports().isEmpty());
    }

    void hoverPointerWithoutCursorFileIsTheArrow() {
        PreviewWindow form(folder);
        QVERIFY(!form.hasHoverCursor());
        form.handOver(harness::picture(300, 200), "/tmp/result.xls");
        harness::mouse(button(form, "PushButton6"), QEvent::MouseMove, {5, 5}, Qt::NoButton,
                       Qt::NoButton);
        QCOMPARE(form.cursor().shape(), Qt::ArrowCursor);
    }

    void hoverPointerFollowsTheMouse() {
        const QString source = QString::fromUtf8(tallowby::test_paths::kHandCursorFile);
        if (!QFile::exists(source)) QSKIP("no hover cursor file in the source tree");
        QVERIFY(QFile::copy(source, folder + "/HAND-M.CUR"));
        PreviewWindow form(folder);
        QVERIFY(form.hasHoverCursor());
        QVERIFY(prompter->reports().isEmpty());
        form.handOver(harness::picture(300, 200), "/tmp/result.xls");

        harness::mouse(button(form, "PushButton1"), QEvent::MouseMove, {5, 5}, Qt::NoButton,
                       Qt::NoButton);
        QCOMPARE(form.cursor().shape(), Qt::BitmapCursor);
        harness::mouse(&form, QEvent::MouseMove, {3, 3}, Qt::NoButton, Qt::NoButton);
        QCOMPARE(form.cursor().shape(), Qt::ArrowCursor);
        harness::mouse(button(form, "PushButton8"), QEvent::MouseMove, {5, 5}, Qt::NoButton,
                       Qt::NoButton);
        QCOMPARE(form.cursor().shape(), Qt::BitmapCursor);
        harness::mouse(form.findChild<QWidget*>("Frame1"), QEvent::MouseMove, {2, 50}, Qt::NoButton,
                       Qt::NoButton);
        QCOMPARE(form.cursor().shape(), Qt::ArrowCursor);

        // Not while the hourglass shows.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        harness::mouse(button(form, "PushButton2"), QEvent::MouseMove, {5, 5}, Qt::NoButton,
                       Qt::NoButton);
        QApplication::restoreOverrideCursor();
        QCOMPARE(form.cursor().shape(), Qt::ArrowCursor);
    }

    void aBrokenCursorFileIsReportedAtLoad() {
        harness::writeFile(folder + "/HAND-M.CUR", "not a cursor");
        PreviewWindow form(folder);
        QVERIFY(!form.hasHoverCursor());
        QCOMPARE(prompter->reports().size(), 1);
        QVERIFY(
            prompter->reports()[0].contains("in Tallowby2021/08/31.Form2.Form_Load at line 110"));
    }

  private:
    std::unique_ptr<harness::ScriptedPrompter> prompter;
    QTemporaryDir dir;
    QString folder;
};

QTEST_MAIN(PreviewWindowTest)
#include "preview_window_qtest.moc"
