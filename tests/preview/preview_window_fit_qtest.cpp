// The preview window at other sizes than its own: the viewport grows with
// the window, Fit Width, Fit Page and Actual Size, the factor shown, zoom
// limits that grow with the viewport, refused steps told in the status
// line, Escape, and the window's place kept in the store.

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include "app/settings_store.h"
#include "preview/picture_box.h"
#include "preview/preview_window.h"
#include "preview/zoom_math.h"
#include "preview_window_harness.h"

using tallowby::preview::PreviewWindow;
namespace preview = tallowby::preview;

namespace {

QPushButton* button(PreviewWindow& form, const char* name) {
    return form.findChild<QPushButton*>(QLatin1String(name));
}

QRect inWindow(const PreviewWindow& form, const char* name) {
    const auto* w = form.findChild<QWidget*>(QLatin1String(name));
    return QRect(w->mapTo(&form, QPoint(0, 0)), w->size());
}

void settle(PreviewWindow& form) {
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QApplication::processEvents();
}

}  // namespace

class PreviewWindowFitTest : public QObject {
    Q_OBJECT

    harness::UnattendedRun run;

  private slots:

    void theViewportTakesTheRoomTheWindowGains() {
        auto form = harness::plainWindow();
        form->handOver(harness::picture(900, 700), run.dir.filePath("result.xls"));
        settle(*form);
        QCOMPARE(form->viewport()->size(), QSize(622, 495));
        const QSize before = form->size();
        const int frameHeight = inWindow(*form, "Frame1").height();
        form->resize(before + QSize(300, 200));
        QApplication::processEvents();
        QCOMPARE(form->viewport()->size(), QSize(922, 695));
        QCOMPARE(inWindow(*form, "Frame1").height(), frameHeight);
        QCOMPARE(inWindow(*form, "PushButton8").height(), 27);
        // Order kept: bars beside and under the viewport, the zoom frame,
        // then Back left of Save, sharing the row as 4680 : 4800 twips.
        const QRect view = inWindow(*form, "Picture2");
        QCOMPARE(inWindow(*form, "VScroll1").left(), view.right() + 1);
        QCOMPARE(inWindow(*form, "HScroll1").top(), view.bottom() + 1);
        QVERIFY(inWindow(*form, "HScroll1").bottom() < inWindow(*form, "Frame1").top());
        const QRect back = inWindow(*form, "PushButton8");
        const QRect save = inWindow(*form, "PushButton6");
        QVERIFY(inWindow(*form, "Frame1").bottom() < back.top());
        QCOMPARE(back.top(), save.top());
        QVERIFY(back.right() < save.left());
        QVERIFY(qAbs(back.width() * 4800 - save.width() * 4680) <= 4800);
        // The bars measure the picture (13438 x 10438 twips) against the
        // larger viewport (13800 x 10395 inside): only the vertical one is needed.
        QVERIFY(!form->hScrollBar()->isEnabled());
        QVERIFY(form->vScrollBar()->isEnabled());

        // The minimum is no larger than the designed 656 x 643; there the
        // viewport still shows a part of the picture.
        QVERIFY(form->minimumWidth() <= 656 && form->minimumHeight() <= 643);
        form->resize(form->minimumSize());
        QApplication::processEvents();
        QVERIFY(form->viewport()->width() >= 100 && form->viewport()->height() >= 100);
        QVERIFY(inWindow(*form, "PushButton6").bottom() < form->height());
    }

    void fitWidthAndFitPageFillTheViewport() {
        auto form = harness::plainWindow();
        form->handOver(harness::picture(1071, 600), run.dir.filePath("result.xls"));
        settle(*form);
        const int innerWidth = form->viewport()->width() * 15 - 30;
        const int innerHeight = form->viewport()->height() * 15 - 30;
        QCOMPARE(form->shownZoomText(), QStringLiteral("100 %"));

        form->onFitWidth();
        QVERIFY(form->scaledWidth() <= innerWidth && form->scaledWidth() >= innerWidth - 1);
        QCOMPARE(form->picture()->widthTwips(), form->scaledWidth());
        QVERIFY(!form->hScrollBar()->isEnabled());  // the whole width is in view
        QCOMPARE(form->shownZoomText(), preview::zoomFactorText(form->zoom()));
        QCOMPARE(form->findChild<QLabel*>("ZoomFactor")->text(), form->shownZoomText());
        QCOMPARE(form->shownZoomText(), QStringLiteral("58 %"));  // 9300 / 16003

        // This wide picture fills the width at Fit Page too.
        form->onFitPage();
        QVERIFY(form->scaledWidth() <= innerWidth && form->scaledWidth() >= innerWidth - 1);
        QVERIFY(form->scaledHeight() <= innerHeight);
        QVERIFY(!form->vScrollBar()->isEnabled() && !form->hScrollBar()->isEnabled());
        const float fitted = form->zoom();

        // From a fitted factor the buttons go on to the next quarter step.
        QTest::mouseClick(button(*form, "PushButton1"), Qt::LeftButton);
        QCOMPARE(form->zoom(), std::ceil(fitted * 4) / 4);
        QTest::mouseClick(button(*form, "PushButton2"), Qt::LeftButton);
        QTest::mouseClick(button(*form, "PushButton2"), Qt::LeftButton);
        QCOMPARE(form->zoom(), std::ceil(fitted * 4) / 4 - 0.5f);

        form->onActualSize();
        QCOMPARE(form->zoom(), 1.0f);
        // At 1.0 the 1071-pixel picture is past the designed limit: refused,
        // said so, and the picture stays as it was.
        QVERIFY(form->statusText().contains(QStringLiteral("refused")));
        QCOMPARE(form->shownZoomText(), preview::zoomFactorText(std::ceil(fitted * 4) / 4 - 0.5f));
    }

    void fitPageShowsATallPictureWhole() {
        auto form = harness::plainWindow();
        form->handOver(harness::picture(300, 900), run.dir.filePath("result.xls"));
        settle(*form);
        const int innerWidth = form->viewport()->width() * 15 - 30;
        const int innerHeight = form->viewport()->height() * 15 - 30;
        form->onFitPage();
        QVERIFY(form->scaledHeight() <= innerHeight && form->scaledHeight() >= innerHeight - 1);
        QVERIFY(form->scaledWidth() < innerWidth);
        QVERIFY(!form->vScrollBar()->isEnabled() && !form->hScrollBar()->isEnabled());
        QVERIFY(form->zoom() < 1.0f);
        // Fit Width of the same picture stops at the height limit (11400
        // twips): drawn larger, with the vertical bar, still narrower than the viewport.
        const float page = form->zoom();
        form->onFitWidth();
        QVERIFY(form->zoom() > page);
        QVERIFY(form->scaledHeight() < 11400 && form->scaledHeight() >= 11398);
        QVERIFY(form->vScrollBar()->isEnabled());
        QVERIFY(form->statusText().isEmpty());
    }

    void aLargerWindowZoomsFurtherAndARefusalIsShown() {
        auto form = harness::plainWindow();
        // 600 x 400 pixels: 8938 twips wide at 1.0; 1.5 gives 13407, past 12500.
        form->handOver(harness::picture(600, 400), run.dir.filePath("result.xls"));
        settle(*form);
        QTest::mouseClick(button(*form, "PushButton1"), Qt::LeftButton);
        QCOMPARE(form->shownZoomText(), QStringLiteral("125 %"));
        QVERIFY(form->statusText().isEmpty());
        QTest::mouseClick(button(*form, "PushButton1"), Qt::LeftButton);
        QCOMPARE(form->zoom(), 1.0f);  // refused: the next step starts from 1.0
        QCOMPARE(form->shownZoomText(), QStringLiteral("125 %"));  // still drawn so
        QCOMPARE(form->statusText(),
                 QStringLiteral("Zoom to 150 % refused: the picture would be larger than this "
                                "window can show. Make the window larger to zoom further."));

        // A viewport 150 pixels wider (9300 -> 11550 twips inner) allows
        // 15524 twips: 1.5 is drawn now.
        form->resize(form->size() + QSize(150, 120));
        QApplication::processEvents();
        QTest::mouseClick(button(*form, "PushButton1"), Qt::LeftButton);
        QTest::mouseClick(button(*form, "PushButton1"), Qt::LeftButton);
        QCOMPARE(form->zoom(), 1.5f);
        QCOMPARE(form->shownZoomText(), QStringLiteral("150 %"));
        QVERIFY(form->statusText().isEmpty());
    }

    void aStepPastTheRangeIsShown() {
        auto form = harness::plainWindow();
        form->handOver(harness::picture(100, 80), run.dir.filePath("result.xls"));
        settle(*form);
        for (int i = 0; i < 5; ++i) QTest::mouseClick(button(*form, "PushButton1"), Qt::LeftButton);
        QCOMPARE(form->zoom(), 2.25f);
        QVERIFY(form->statusText().isEmpty());
        QTest::mouseClick(button(*form, "PushButton1"), Qt::LeftButton);
        QCOMPARE(form->zoom(), 2.25f);
        QCOMPARE(form->statusText(), QStringLiteral("225 % is the largest zoom."));
        for (int i = 0; i < 9; ++i) QTest::mouseClick(button(*form, "PushButton2"), Qt::LeftButton);
        QCOMPARE(form->zoom(), 0.25f);
        QCOMPARE(form->statusText(), QStringLiteral("25 % is the smallest zoom."));
    }

    void escapeGoesBack() {
        QWidget mainWindow;
        const QString result = run.dir.filePath("escape.xls");
        harness::writeFile(result, "xls");
        auto form = harness::plainWindow();
        form->setMainWindow(&mainWindow);
        form->handOver(harness::picture(300, 200), result);
        settle(*form);
        QApplication::setActiveWindow(form.get());
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QTest::keyClick(form.get(), Qt::Key_Escape);
        QVERIFY(!form->isVisible());
        QVERIFY(mainWindow.isVisible());
        QVERIFY(!QFile::exists(result));
    }

    void thePlaceIsKeptInTheStore() {
        tallowby::SettingsStore store(run.dir.filePath("places.ini"));
        {
            auto form = harness::plainWindow();
            form->setPlaceStore(&store);
            form->handOver(harness::picture(300, 200), run.dir.filePath("result.xls"));
            settle(*form);
            form->setGeometry(30, 20, 700, 600);
            form->hide();
        }
        QCOMPARE(store.value("PreviewWindowPlace"), QStringLiteral("30,20,700,600"));
        auto again = harness::plainWindow();
        again->setPlaceStore(&store);
        again->handOver(harness::picture(300, 200), run.dir.filePath("result.xls"));
        settle(*again);
        QCOMPARE(again->geometry(), QRect(30, 20, 700, 600));
    }
};

QTEST_MAIN(PreviewWindowFitTest)
#include "preview_window_fit_qtest.moc"
