// The wheel and the keys over the preview's viewport, with synthesized
// events sent to the real widgets: they move the scroll bars, whose changes
// move the picture, and Ctrl+wheel zooms as the zoom buttons do.

#include <QKeyEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include "form2_harness.h"
#include "preview/form2.h"
#include "preview/picture_box.h"

using tallowby::Form2;

namespace {

void wheel(QWidget* over, QPoint angle, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QPointF at(over->width() / 2.0, over->height() / 2.0);
    QWheelEvent event(at, over->mapToGlobal(at), QPoint(), angle, Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(over, &event);
}

void notches(QWidget* over, int count, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    for (int i = 0; i < std::abs(count); ++i)
        wheel(over, QPoint(0, count > 0 ? 120 : -120), modifiers);
}

void key(QWidget* to, int code, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, code, modifiers);
    QApplication::sendEvent(to, &press);
}

// A notch moves three lines of 300 twips: on a bar of 10 twips per step,
// 90 steps.
constexpr int kNotchValues = 3 * 300 / 10;

}  // namespace

class Form2WheelTest : public QObject {
    Q_OBJECT

    std::unique_ptr<harness::ScriptedPrompter> prompter;
    QTemporaryDir dir;

    // 800 x 700 pixels: drawn at 1.0 as 11938 x 10438 twips, larger than the
    // viewport both ways: bars of step 10, maxima 261 (2608 / 10) and 301
    // (3013 / 10).
    std::unique_ptr<Form2> largePreview() {
        auto form = std::make_unique<Form2>(dir.path());
        form->handOver(harness::picture(800, 700), dir.filePath("result.xls"));
        return form;
    }
    QWidget* viewport(Form2& form) { return form.findChild<QWidget*>("Picture2"); }

  private slots:
    void init() { prompter = std::make_unique<harness::ScriptedPrompter>(); }
    void cleanup() { prompter.reset(); }

    void theWheelScrollsDownAndUpThroughTheVerticalBar() {
        auto form = largePreview();
        QCOMPARE(form->vStep(), 10);
        QCOMPARE(form->vScroll1()->maximum(), 301);
        notches(form->picture1(), -1);  // towards the user: down
        QCOMPARE(form->vScroll1()->value(), kNotchValues);
        QCOMPARE(form->picture1()->topTwips(), -900.0f);
        QCOMPARE(form->hScroll1()->value(), 0);
        notches(form->picture1(), -1);
        QCOMPARE(form->vScroll1()->value(), 2 * kNotchValues);
        notches(form->picture1(), 1);
        QCOMPARE(form->vScroll1()->value(), kNotchValues);
        QCOMPARE(form->picture1()->topTwips(), -900.0f);
        // The bar's own limit holds: the picture stops at its maximum.
        notches(form->picture1(), -10);
        QCOMPARE(form->vScroll1()->value(), 301);
        QCOMPARE(form->picture1()->topTwips(), -3010.0f);
        notches(form->picture1(), 10);
        QCOMPARE(form->vScroll1()->value(), 0);
        QCOMPARE(form->picture1()->topTwips(), 0.0f);
    }

    void shiftAndATiltingWheelScrollSideways() {
        auto form = largePreview();
        notches(form->picture1(), -1, Qt::ShiftModifier);
        QCOMPARE(form->hScroll1()->value(), kNotchValues);
        QCOMPARE(form->picture1()->leftTwips(), -900.0f);
        QCOMPARE(form->vScroll1()->value(), 0);
        wheel(form->picture1(), QPoint(120, 0));  // tilted left
        QCOMPARE(form->hScroll1()->value(), 0);
        wheel(form->picture1(), QPoint(-240, 0));
        QCOMPARE(form->hScroll1()->value(), 2 * kNotchValues);
        QCOMPARE(form->vScroll1()->value(), 0);
    }

    void theWheelCountsAnywhereOverTheViewportButNotElsewhere() {
        auto form = largePreview();
        // Zoomed out, the picture leaves part of the viewport uncovered.
        notches(viewport(*form), -1);
        QCOMPARE(form->vScroll1()->value(), kNotchValues);
        notches(form->findChild<QPushButton*>("PushButton6"), -1);
        QCOMPARE(form->vScroll1()->value(), kNotchValues);
    }

    void aBarThatIsDisabledIsNotMoved() {
        auto form = std::make_unique<Form2>(dir.path());
        form->handOver(harness::picture(300, 200), dir.filePath("result.xls"));
        QVERIFY(!form->vScroll1()->isEnabled());
        notches(form->picture1(), -3);
        notches(form->picture1(), -3, Qt::ShiftModifier);
        QCOMPARE(form->vScroll1()->value(), 0);
        QCOMPARE(form->hScroll1()->value(), 0);
        QCOMPARE(form->picture1()->topTwips(), 0.0f);
        QCOMPARE(form->picture1()->leftTwips(), 0.0f);
    }

    void ctrlWheelZoomsExactlyAsTheButtons() {
        // 400 x 300 pixels: base 5938 x 4438 twips, room to zoom in and out.
        Form2 byWheel(dir.path());
        Form2 byButton(dir.path());
        byWheel.handOver(harness::picture(400, 300), dir.filePath("a.xls"));
        byButton.handOver(harness::picture(400, 300), dir.filePath("b.xls"));
        const auto same = [&] {
            QCOMPARE(byWheel.zoom(), byButton.zoom());
            QCOMPARE(byWheel.scaledWidth(), byButton.scaledWidth());
            QCOMPARE(byWheel.picture1()->size(), byButton.picture1()->size());
            QCOMPARE(byWheel.picture1()->surface(), byButton.picture1()->surface());
        };
        notches(byWheel.picture1(), 1, Qt::ControlModifier);
        QTest::mouseClick(byButton.findChild<QPushButton*>("PushButton1"), Qt::LeftButton);
        QCOMPARE(byWheel.zoom(), 1.25f);
        QCOMPARE(byWheel.scaledWidth(), 7422);  // floor(5938 x 1.25)
        same();
        notches(byWheel.picture1(), -3, Qt::ControlModifier);
        for (int i = 0; i < 3; ++i)
            QTest::mouseClick(byButton.findChild<QPushButton*>("PushButton2"), Qt::LeftButton);
        QCOMPARE(byWheel.zoom(), 0.5f);
        same();
        // Past the smallest factor the step is refused, as the button's is.
        notches(byWheel.picture1(), -2, Qt::ControlModifier);
        QCOMPARE(byWheel.zoom(), 0.25f);
        notches(byWheel.picture1(), -1, Qt::ControlModifier);
        QCOMPARE(byWheel.zoom(), 0.25f);
        // Half notches add up to one step.
        wheel(byWheel.picture1(), QPoint(0, 60), Qt::ControlModifier);
        QCOMPARE(byWheel.zoom(), 0.25f);
        wheel(byWheel.picture1(), QPoint(0, 60), Qt::ControlModifier);
        QCOMPARE(byWheel.zoom(), 0.5f);
        QVERIFY(prompter->reports().isEmpty());
    }

    void ctrlWheelPastTheDrawingLimitFallsBackToOneAsZoomInDoes() {
        auto form = largePreview();
        const QImage drawn = form->picture1()->surface();
        notches(form->picture1(), 1, Qt::ControlModifier);  // 1.25 would be 14922 wide
        QCOMPARE(form->zoom(), 1.0f);
        QCOMPARE(form->picture1()->surface(), drawn);
        QCOMPARE(form->scaledWidth(), 11938);
    }

    void keysScrollWhenTheViewportHasTheFocus() {
        auto form = largePreview();
        QWidget* box = viewport(*form);
        key(box, Qt::Key_Down);
        QCOMPARE(form->vScroll1()->value(), 30);  // one line, 300 twips
        QCOMPARE(form->picture1()->topTwips(), -300.0f);
        key(form->picture1(), Qt::Key_Right);
        QCOMPARE(form->hScroll1()->value(), 30);
        key(box, Qt::Key_Left);
        QCOMPARE(form->hScroll1()->value(), 0);
        key(box, Qt::Key_PageDown);  // 7395 - 300 twips, 710 steps, held at 301
        QCOMPARE(form->vScroll1()->value(), 301);
        key(box, Qt::Key_PageUp);
        QCOMPARE(form->vScroll1()->value(), 0);
        key(box, Qt::Key_Up);
        QCOMPARE(form->vScroll1()->value(), 0);
        // Shortcuts with modifiers are not taken for scrolling.
        key(box, Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(form->vScroll1()->value(), 0);
    }
};

QTEST_MAIN(Form2WheelTest)

#include "form2_wheel_qtest.moc"
