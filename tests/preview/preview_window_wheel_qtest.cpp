// The wheel and the keys over the preview's viewport, with synthesized
// events sent to the real widgets: they move the scroll bars, whose changes
// move the picture, and Ctrl+wheel zooms as the zoom buttons do.

#include <QKeyEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include "preview/picture_box.h"
#include "preview/preview_window.h"
#include "preview_window_harness.h"

using tallowby::preview::PreviewWindow;

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

class PreviewWindowWheelTest : public QObject {
    Q_OBJECT

    std::unique_ptr<harness::ScriptedPrompter> prompter;
    QTemporaryDir dir;

    // 800 x 700 pixels: drawn at 1.0 as 11938 x 10438 twips, larger than the
    // viewport both ways: bars of step 10, maxima 261 (2608 / 10) and 301
    // (3013 / 10).
    std::unique_ptr<PreviewWindow> largePreview() {
        auto form = std::make_unique<PreviewWindow>(dir.path());
        form->handOver(harness::picture(800, 700), dir.filePath("result.xls"));
        return form;
    }
    QWidget* viewport(PreviewWindow& form) { return form.findChild<QWidget*>("Picture2"); }

  private slots:
    void init() { prompter = std::make_unique<harness::ScriptedPrompter>(); }
    void cleanup() { prompter.reset(); }

    void theWheelScrollsDownAndUpThroughTheVerticalBar() {
        auto form = largePreview();
        QCOMPARE(form->vStep(), 10);
        QCOMPARE(form->vScrollBar()->maximum(), 301);
        notches(form->picture(), -1);  // towards the user: down
        QCOMPARE(form->vScrollBar()->value(), kNotchValues);
        QCOMPARE(form->picture()->topTwips(), -900.0f);
        QCOMPARE(form->hScrollBar()->value(), 0);
        notches(form->picture(), -1);
        QCOMPARE(form->vScrollBar()->value(), 2 * kNotchValues);
        notches(form->picture(), 1);
        QCOMPARE(form->vScrollBar()->value(), kNotchValues);
        QCOMPARE(form->picture()->topTwips(), -900.0f);
        // The bar's own limit holds: the picture stops at its maximum.
        notches(form->picture(), -10);
        QCOMPARE(form->vScrollBar()->value(), 301);
        QCOMPARE(form->picture()->topTwips(), -3010.0f);
        notches(form->picture(), 10);
        QCOMPARE(form->vScrollBar()->value(), 0);
        QCOMPARE(form->picture()->topTwips(), 0.0f);
    }

    void shiftAndATiltingWheelScrollSideways() {
        auto form = largePreview();
        notches(form->picture(), -1, Qt::ShiftModifier);
        QCOMPARE(form->hScrollBar()->value(), kNotchValues);
        QCOMPARE(form->picture()->leftTwips(), -900.0f);
        QCOMPARE(form->vScrollBar()->value(), 0);
        wheel(form->picture(), QPoint(120, 0));  // tilted left
        QCOMPARE(form->hScrollBar()->value(), 0);
        wheel(form->picture(), QPoint(-240, 0));
        QCOMPARE(form->hScrollBar()->value(), 2 * kNotchValues);
        QCOMPARE(form->vScrollBar()->value(), 0);
    }

    void theWheelCountsAnywhereOverTheViewportButNotElsewhere() {
        auto form = largePreview();
        // Zoomed out, the picture leaves part of the viewport uncovered.
        notches(viewport(*form), -1);
        QCOMPARE(form->vScrollBar()->value(), kNotchValues);
        notches(form->findChild<QPushButton*>("PushButton6"), -1);
        QCOMPARE(form->vScrollBar()->value(), kNotchValues);
    }

    void aBarThatIsDisabledIsNotMoved() {
        auto form = std::make_unique<PreviewWindow>(dir.path());
        form->handOver(harness::picture(300, 200), dir.filePath("result.xls"));
        QVERIFY(!form->vScrollBar()->isEnabled());
        notches(form->picture(), -3);
        notches(form->picture(), -3, Qt::ShiftModifier);
        QCOMPARE(form->vScrollBar()->value(), 0);
        QCOMPARE(form->hScrollBar()->value(), 0);
        QCOMPARE(form->picture()->topTwips(), 0.0f);
        QCOMPARE(form->picture()->leftTwips(), 0.0f);
    }

    void ctrlWheelZoomsExactlyAsTheButtons() {
        // 400 x 300 pixels: base 5938 x 4438 twips, room to zoom in and out.
        PreviewWindow byWheel(dir.path());
        PreviewWindow byButton(dir.path());
        byWheel.handOver(harness::picture(400, 300), dir.filePath("a.xls"));
        byButton.handOver(harness::picture(400, 300), dir.filePath("b.xls"));
        const auto same = [&] {
            QCOMPARE(byWheel.zoom(), byButton.zoom());
            QCOMPARE(byWheel.scaledWidth(), byButton.scaledWidth());
            QCOMPARE(byWheel.picture()->size(), byButton.picture()->size());
            QCOMPARE(byWheel.picture()->surface(), byButton.picture()->surface());
        };
        notches(byWheel.picture(), 1, Qt::ControlModifier);
        QTest::mouseClick(byButton.findChild<QPushButton*>("PushButton1"), Qt::LeftButton);
        QCOMPARE(byWheel.zoom(), 1.25f);
        QCOMPARE(byWheel.scaledWidth(), 7422);  // floor(5938 x 1.25)
        same();
        notches(byWheel.picture(), -3, Qt::ControlModifier);
        for (int i = 0; i < 3; ++i)
            QTest::mouseClick(byButton.findChild<QPushButton*>("PushButton2"), Qt::LeftButton);
        QCOMPARE(byWheel.zoom(), 0.5f);
        same();
        // Past the smallest factor the step is refused, as the button's is.
        notches(byWheel.picture(), -2, Qt::ControlModifier);
        QCOMPARE(byWheel.zoom(), 0.25f);
        notches(byWheel.picture(), -1, Qt::ControlModifier);
        QCOMPARE(byWheel.zoom(), 0.25f);
        // Half notches add up to one step.
        wheel(byWheel.picture(), QPoint(0, 60), Qt::ControlModifier);
        QCOMPARE(byWheel.zoom(), 0.25f);
        wheel(byWheel.picture(), QPoint(0, 60), Qt::ControlModifier);
        QCOMPARE(byWheel.zoom(), 0.5f);
        QVERIFY(prompter->reports().isEmpty());
    }

    void ctrlWheelPastTheDrawingLimitFallsBackToOneAsZoomInDoes() {
        auto form = largePreview();
        const QImage drawn = form->picture()->surface();
        notches(form->picture(), 1, Qt::ControlModifier);  // 1.25 would be 14922 wide
        QCOMPARE(form->zoom(), 1.0f);
        QCOMPARE(form->picture()->surface(), drawn);
        QCOMPARE(form->scaledWidth(), 11938);
    }

    void keysScrollWhenTheViewportHasTheFocus() {
        auto form = largePreview();
        QWidget* box = viewport(*form);
        key(box, Qt::Key_Down);
        QCOMPARE(form->vScrollBar()->value(), 30);  // one line, 300 twips
        QCOMPARE(form->picture()->topTwips(), -300.0f);
        key(form->picture(), Qt::Key_Right);
        QCOMPARE(form->hScrollBar()->value(), 30);
        key(box, Qt::Key_Left);
        QCOMPARE(form->hScrollBar()->value(), 0);
        key(box, Qt::Key_PageDown);  // 7395 - 300 twips, 710 steps, held at 301
        QCOMPARE(form->vScrollBar()->value(), 301);
        key(box, Qt::Key_PageUp);
        QCOMPARE(form->vScrollBar()->value(), 0);
        key(box, Qt::Key_Up);
        QCOMPARE(form->vScrollBar()->value(), 0);
        // Shortcuts with modifiers are not taken for scrolling.
        key(box, Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(form->vScrollBar()->value(), 0);
    }
};

QTEST_MAIN(PreviewWindowWheelTest)

#include "preview_window_wheel_qtest.moc"
