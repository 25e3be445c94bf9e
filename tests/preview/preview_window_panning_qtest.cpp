// Moving the preview's picture by dragging it and with the scroll bars, at
// zoom 1.0 unless a case says otherwise.

#include <QScrollBar>
#include <QTest>

#include "preview/picture_box.h"
#include "preview/preview_window.h"
#include "preview_window_harness.h"

using harness::drag;
using tallowby::preview::PreviewWindow;

class PreviewWindowPanningTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        prompter = std::make_unique<harness::ScriptedPrompter>();
        form = harness::plainWindow();
    }
    void cleanup() {
        QVERIFY2(prompter->reports().isEmpty(), qPrintable(prompter->reports().join("\n")));
        form.reset();
        prompter.reset();
    }

    void coarseBarFollowsTheDrop() {
        // 826 pixels: 12328 twips drawn, 2998 wider than the viewport.
        form->handOver(harness::picture(826, 300), "/tmp/result.xls");
        QCOMPARE(form->hStep(), 10);
        QCOMPARE(form->hScrollBar()->maximum(), 300);  // 299.8
        QVERIFY(form->hScrollBar()->isEnabled());
        auto* box = form->picture();

        harness::mouse(box, QEvent::MouseButtonPress, {400, 100}, Qt::LeftButton, Qt::LeftButton);
        harness::mouse(box, QEvent::MouseMove, {318, 100}, Qt::NoButton, Qt::LeftButton);
        QCOMPARE(box->leftTwips(), -1230.0f);
        QCOMPARE(form->hScrollBar()->value(), 0);  // the bars stay still during the drag
        harness::mouse(box, QEvent::MouseButtonRelease, {400, 100}, Qt::LeftButton, Qt::NoButton);
        QCOMPARE(form->hScrollBar()->value(), 123);  // 41 % of 300
        QCOMPARE(box->leftTwips(), -1230.0f);
        QCOMPARE(box->x(), -82);

        // As far left as it goes: its right edge meets the inner edge, the
        // percentage is 101 and the bar keeps its value.
        drag(box, {400, 100}, {-500, 0});
        QCOMPARE(box->leftTwips(), 9300.0f - 12328.0f);
        QCOMPARE(form->hScrollBar()->value(), 123);

        // Back to the start.
        drag(box, {10, 10}, {600, 0});
        QCOMPARE(box->leftTwips(), 0.0f);
        QCOMPARE(form->hScrollBar()->value(), 0);
    }

    void fineBarMovesOneTwipPerStep() {
        form->handOver(harness::picture(631, 300), "/tmp/result.xls");  // 73 wider
        QCOMPARE(form->hStep(), 1);
        QCOMPARE(form->hScrollBar()->maximum(), 73);
        drag(form->picture(), {100, 100}, {-2, 0});
        QCOMPARE(form->hScrollBar()->value(), 30);  // 41 % of 73 = 29.9
        QCOMPARE(form->picture()->leftTwips(), -30.0f);
        form->hScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(form->picture()->leftTwips(), -31.0f);
        form->hScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(form->picture()->leftTwips(), -32.0f);
    }

    void bothDirectionsAtOnce() {
        form->handOver(harness::picture(826, 600), "/tmp/result.xls");  // 8938 high
        QCOMPARE(form->vStep(), 10);
        QCOMPARE(form->vScrollBar()->maximum(), 151);  // 151.3
        drag(form->picture(), {300, 300}, {-82, -40}, Qt::RightButton);
        QCOMPARE(form->vScrollBar()->value(), 60);  // 40 % of 151 = 60.4
        QCOMPARE(form->picture()->topTwips(), -600.0f);
        QCOMPARE(form->hScrollBar()->value(), 123);
        form->vScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(form->picture()->topTwips(), -610.0f);

        drag(form->picture(), {300, 300}, {20, 20}, Qt::MiddleButton);
        QCOMPARE(form->picture()->topTwips(), -300.0f);
    }

    void pressAndReleaseAloneSetTheBars() {
        form->handOver(harness::picture(826, 300), "/tmp/result.xls");
        form->hScrollBar()->setValue(50);
        QCOMPARE(form->picture()->leftTwips(), -500.0f);
        harness::mouse(form->picture(), QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton,
                       Qt::LeftButton);
        harness::mouse(form->picture(), QEvent::MouseButtonRelease, {5, 5}, Qt::LeftButton,
                       Qt::NoButton);
        QCOMPARE(form->hScrollBar()->value(), 51);  // 500 / 2998 = 16.7 %, 17 % of 300
        QCOMPARE(form->picture()->leftTwips(), -510.0f);
    }

    void movingWithoutAButtonDoesNothing() {
        form->handOver(harness::picture(826, 300), "/tmp/result.xls");
        harness::mouse(form->picture(), QEvent::MouseButtonPress, {400, 100}, Qt::LeftButton,
                       Qt::LeftButton);
        harness::mouse(form->picture(), QEvent::MouseMove, {200, 100}, Qt::NoButton, Qt::NoButton);
        QCOMPARE(form->picture()->leftTwips(), 0.0f);
    }

    void aNarrowPictureJumpsToTheFarSide() {
        form->handOver(harness::picture(300, 200), "/tmp/result.xls");  // 4438 x 2938
        drag(form->picture(), {50, 50}, {-10, -10});
        QCOMPARE(form->picture()->leftTwips(), 9300.0f - 4438.0f);
        QCOMPARE(form->picture()->topTwips(), 7395.0f - 2938.0f);
        QVERIFY(!form->hScrollBar()->isEnabled());
        drag(form->picture(), {50, 50}, {10, 10});
        QCOMPARE(form->picture()->leftTwips(), 0.0f);
        QCOMPARE(form->picture()->topTwips(), 0.0f);
    }

    void pictureExactlyAsHighAsTheViewport() {
        // 287 pixels: base 4243, at 1.75 exactly 7425 twips high.
        form->handOver(harness::picture(287, 287), "/tmp/result.xls");
        form->onZoomInClicked();
        form->onZoomInClicked();
        form->onZoomInClicked();
        QCOMPARE(form->zoom(), 1.75f);
        QCOMPARE(form->picture()->heightTwips(), 7425);
        QVERIFY(!form->vScrollBar()->isEnabled());
        QCOMPARE(form->vStep(), 0);
        const int before = form->vScrollBar()->value();
        drag(form->picture(), {50, 50}, {0, -5});
        QCOMPARE(form->picture()->topTwips(), -30.0f);
        QCOMPARE(form->vScrollBar()->value(), before);
    }

    void onlyCommittedBarValuesMoveThePicture() {
        form->handOver(harness::picture(826, 300), "/tmp/result.xls");
        QScrollBar* bar = form->hScrollBar();
        bar->setSliderDown(true);
        bar->setSliderPosition(200);
        QCOMPARE(form->picture()->leftTwips(), 0.0f);
        bar->setSliderDown(false);
        QCOMPARE(bar->value(), 200);
        QCOMPARE(form->picture()->leftTwips(), -2000.0f);
    }

  private:
    std::unique_ptr<harness::ScriptedPrompter> prompter;
    std::unique_ptr<PreviewWindow> form;
};

QTEST_MAIN(PreviewWindowPanningTest)
#include "preview_window_panning_qtest.moc"
