// Moving the preview's picture by dragging it and with the scroll bars, at
// zoom 1.0 unless a case says otherwise.

#include <QScrollBar>
#include <QTest>

#include "form2_harness.h"
#include "preview/form2.h"
#include "preview/picture_box.h"

using harness::drag;
using tallowby::Form2;

class Form2PanningTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        prompter = std::make_unique<harness::ScriptedPrompter>();
        form = std::make_unique<Form2>(QStringLiteral("/nonexistent"));
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
        QCOMPARE(form->hScroll1()->maximum(), 300);  // 299.8
        QVERIFY(form->hScroll1()->isEnabled());
        auto* box = form->picture1();

        harness::mouse(box, QEvent::MouseButtonPress, {400, 100}, Qt::LeftButton, Qt::LeftButton);
        harness::mouse(box, QEvent::MouseMove, {318, 100}, Qt::NoButton, Qt::LeftButton);
        QCOMPARE(box->leftTwips(), -1230.0f);
        QCOMPARE(form->hScroll1()->value(), 0);  // the bars stay still during the drag
        harness::mouse(box, QEvent::MouseButtonRelease, {400, 100}, Qt::LeftButton, Qt::NoButton);
        QCOMPARE(form->hScroll1()->value(), 123);  // 41 % of 300
        QCOMPARE(box->leftTwips(), -1230.0f);
        QCOMPARE(box->x(), -82);

        // As far left as it goes: its right edge meets the inner edge, the
        // percentage is 101 and the bar keeps its value.
        drag(box, {400, 100}, {-500, 0});
        QCOMPARE(box->leftTwips(), 9300.0f - 12328.0f);
        QCOMPARE(form->hScroll1()->value(), 123);

        // Back to the start.
        drag(box, {10, 10}, {600, 0});
        QCOMPARE(box->leftTwips(), 0.0f);
        QCOMPARE(form->hScroll1()->value(), 0);
    }

    void fineBarMovesOneTwipPerStep() {
        form->handOver(harness::picture(631, 300), "/tmp/result.xls");  // 73 wider
        QCOMPARE(form->hStep(), 1);
        QCOMPARE(form->hScroll1()->maximum(), 73);
        drag(form->picture1(), {100, 100}, {-2, 0});
        QCOMPARE(form->hScroll1()->value(), 30);  // 41 % of 73 = 29.9
        QCOMPARE(form->picture1()->leftTwips(), -30.0f);
        form->hScroll1()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(form->picture1()->leftTwips(), -31.0f);
        form->hScroll1()->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(form->picture1()->leftTwips(), -32.0f);
    }

    void bothDirectionsAtOnce() {
        form->handOver(harness::picture(826, 600), "/tmp/result.xls");  // 8938 high
        QCOMPARE(form->vStep(), 10);
        QCOMPARE(form->vScroll1()->maximum(), 151);  // 151.3
        drag(form->picture1(), {300, 300}, {-82, -40}, Qt::RightButton);
        QCOMPARE(form->vScroll1()->value(), 60);  // 40 % of 151 = 60.4
        QCOMPARE(form->picture1()->topTwips(), -600.0f);
        QCOMPARE(form->hScroll1()->value(), 123);
        form->vScroll1()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(form->picture1()->topTwips(), -610.0f);

        drag(form->picture1(), {300, 300}, {20, 20}, Qt::MiddleButton);
        QCOMPARE(form->picture1()->topTwips(), -300.0f);
    }

    void pressAndReleaseAloneSetTheBars() {
        form->handOver(harness::picture(826, 300), "/tmp/result.xls");
        form->hScroll1()->setValue(50);
        QCOMPARE(form->picture1()->leftTwips(), -500.0f);
        harness::mouse(form->picture1(), QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton,
                       Qt::LeftButton);
        harness::mouse(form->picture1(), QEvent::MouseButtonRelease, {5, 5}, Qt::LeftButton,
                       Qt::NoButton);
        QCOMPARE(form->hScroll1()->value(), 51);  // 500 / 2998 = 16.7 %, 17 % of 300
        QCOMPARE(form->picture1()->leftTwips(), -510.0f);
    }

    void movingWithoutAButtonDoesNothing() {
        form->handOver(harness::picture(826, 300), "/tmp/result.xls");
        harness::mouse(form->picture1(), QEvent::MouseButtonPress, {400, 100}, Qt::LeftButton,
                       Qt::LeftButton);
        harness::mouse(form->picture1(), QEvent::MouseMove, {200, 100}, Qt::NoButton, Qt::NoButton);
        QCOMPARE(form->picture1()->leftTwips(), 0.0f);
    }

    void aNarrowPictureJumpsToTheFarSide() {
        form->handOver(harness::picture(300, 200), "/tmp/result.xls");  // 4438 x 2938
        drag(form->picture1(), {50, 50}, {-10, -10});
        QCOMPARE(form->picture1()->leftTwips(), 9300.0f - 4438.0f);
        QCOMPARE(form->picture1()->topTwips(), 7395.0f - 2938.0f);
        QVERIFY(!form->hScroll1()->isEnabled());
        drag(form->picture1(), {50, 50}, {10, 10});
        QCOMPARE(form->picture1()->leftTwips(), 0.0f);
        QCOMPARE(form->picture1()->topTwips(), 0.0f);
    }

    void pictureExactlyAsHighAsTheViewport() {
        // 287 pixels: base 4243, at 1.75 exactly 7425 twips high.
        form->handOver(harness::picture(287, 287), "/tmp/result.xls");
        form->PushButton1_Click();
        form->PushButton1_Click();
        form->PushButton1_Click();
        QCOMPARE(form->zoom(), 1.75f);
        QCOMPARE(form->picture1()->heightTwips(), 7425);
        QVERIFY(!form->vScroll1()->isEnabled());
        QCOMPARE(form->vStep(), 0);
        const int before = form->vScroll1()->value();
        drag(form->picture1(), {50, 50}, {0, -5});
        QCOMPARE(form->picture1()->topTwips(), -30.0f);
        QCOMPARE(form->vScroll1()->value(), before);
    }

    void onlyCommittedBarValuesMoveThePicture() {
        form->handOver(harness::picture(826, 300), "/tmp/result.xls");
        QScrollBar* bar = form->hScroll1();
        bar->setSliderDown(true);
        bar->setSliderPosition(200);
        QCOMPARE(form->picture1()->leftTwips(), 0.0f);
        bar->setSliderDown(false);
        QCOMPARE(bar->value(), 200);
        QCOMPARE(form->picture1()->leftTwips(), -2000.0f);
    }

  private:
    std::unique_ptr<harness::ScriptedPrompter> prompter;
    std::unique_ptr<Form2> form;
};

QTEST_MAIN(Form2PanningTest)
#include "form2_panning_qtest.moc"
