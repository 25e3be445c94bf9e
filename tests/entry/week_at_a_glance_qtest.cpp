// A week with seven rate types through the real generation run: the preview
// shows it whole at zoom 1.0 and can zoom in one step. With the argument
// --scaled (run by the test itself with QT_SCALE_FACTOR=2) the same week on
// a screen scaled 2x: twice the pixels, the same logical size and twips.
#include <QApplication>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <cmath>
#include <memory>

#include "app/settings_store.h"
#include "entry/entry_window.h"
#include "preview/picture_box.h"
#include "preview/preview_window.h"
#include "program/preview_launcher.h"
#include "tests/entry/entry_window_fixture.h"
#include "workbook/engine/biff/workbook_io.h"
#include "workbook/engine/render/sheet_renderer.h"

using namespace tallowby;
using tallowby::preview::PreviewWindow;

namespace {

using testing::g_scaledRun;

// The viewport's inner area at 96 dpi: 9300 x 7395 twips.
constexpr int kViewportInnerPixels = 620;

// The result workbook drawn afresh at 96 dpi, apart from the preview's path.
QSize plainPictureSize(const QString& resultWorkbook) {
    const engine::Workbook book = engine::readWorkbookFile(resultWorkbook.toStdString());
    return engine::renderUsedRange(book, 0, engine::FormatLocale::english()).size();
}

}  // namespace

class WeekAtAGlanceTest : public QObject, private testing::EntryWindowFixture {
    Q_OBJECT

    PreviewWindow& startRun() {
        return EntryWindowFixture::startRun([] {});
    }

  private slots:
    void init() {
        setUp(true);
        store_->setValue("txtName", "Marrowick Joinery Ltd");
        store_->setValue("txtEmp", "Ada Pennington");
        store_->setValue("dtpDate", "2021-08-30");
        store_->setValue("Rates",
                         "Regular^11.50|Overtime^17.25|Illness^6.50|Vacation^5.50|"
                         "Holiday^23.00|Unpaid^0|Other^11");
        // An entry in every rate column, and a long week.
        store_->setValue("Hours",
                         "^^08:00^0^0|^^02:30^0^1|^^07:45^1^2|^^04:00^2^3|^^08:00^3^4|"
                         "^^03:00^4^5|^^01:15^5^6|^^10:00^6^0");
        openWindow(quietOptions(testing::kSampleToday, testing::resourcesFolder()), true);
        QVERIFY(showWindow());
    }
    void cleanup() { tearDown(); }

    void theWholeWeekIsDrawnWithinTheViewportsWidth() {
        QCOMPARE(form_->rateList_->topLevelItemCount(), 7);
        PreviewWindow& preview = startRun();
        QVERIFY2(prompter_->texts().isEmpty(), qPrintable(prompter_->texts().join("\n")));
        const QSize picture = plainPictureSize(preview.resultFile_);
        QVERIFY2(picture.width() <= 620 && picture.height() <= 600,
                 qPrintable(QString("%1 x %2").arg(picture.width()).arg(picture.height())));
        QCOMPARE(preview.baseWidth(), picture.width() * 15 - 62);
        QCOMPARE(preview.baseHeight(), picture.height() * 15 - 62);
        // At 1.0 the drawn picture is the whole width; nothing to scroll sideways.
        QCOMPARE(preview.zoom(), 1.0f);
        QVERIFY(preview.picture()->width() <= kViewportInnerPixels);
        QVERIFY(!preview.hScrollBar()->isEnabled());
        QCOMPARE(preview.hStep(), 0);
    }

    void zoomInFromOneDrawsOneAndAQuarter() {
        PreviewWindow& preview = startRun();
        const int base = preview.baseWidth();
        const int baseHeight = preview.baseHeight();
        QTest::mouseClick(preview.findChild<QPushButton*>("PushButton1"), Qt::LeftButton);
        QCOMPARE(preview.zoom(), 1.25f);
        QCOMPARE(preview.scaledWidth(), static_cast<int>(std::floor(base * 1.25)));
        QCOMPARE(preview.scaledHeight(), static_cast<int>(std::floor(baseHeight * 1.25)));
        QVERIFY(preview.scaledWidth() < 12500 && preview.scaledHeight() < 11400);
        // Drawn: the box and its surface have the zoomed size.
        const int widthPixels = static_cast<int>(std::lround(preview.scaledWidth() / 15.0));
        QCOMPARE(preview.picture()->width(), widthPixels);
        QCOMPARE(preview.picture()->surface().deviceIndependentSize().toSize(),
                 preview.picture()->size());
        QVERIFY(preview.hScrollBar()->isEnabled());
        // The next step is past the limit and falls back to 1.0 without drawing.
        QTest::mouseClick(preview.findChild<QPushButton*>("PushButton1"), Qt::LeftButton);
        QCOMPARE(preview.zoom(), 1.0f);
        QCOMPARE(preview.picture()->width(), widthPixels);
    }

    void aScaledScreenGetsTwiceThePixelsAtTheSameSize() {
        if (g_scaledRun) QSKIP("this is the scaled run");
        const testing::ScaledRun scaled =
            testing::runScaled("2", {"theScaledPictureHasTwiceThePixels"});
        QVERIFY(scaled.finished);
        QVERIFY2(scaled.exitCode == 0, scaled.output.constData());
        QVERIFY(scaled.output.contains(
            "PASS   : WeekAtAGlanceTest::theScaledPictureHasTwiceThePixels"));
    }

    void theScaledPictureHasTwiceThePixels() {
        if (!g_scaledRun) QSKIP("runs only in the scaled run");
        QCOMPARE(form_->devicePixelRatioF(), 2.0);
        PreviewWindow& preview = startRun();
        const QSize logical = plainPictureSize(preview.resultFile_);
        // The twips count logical pixels: the base size is that of the same
        // picture on a plain screen.
        QCOMPARE(preview.baseWidth(), logical.width() * 15 - 62);
        QCOMPARE(preview.baseHeight(), logical.height() * 15 - 62);
        // The drawn surface has the box's logical size and twice its pixels.
        const QImage surface = preview.picture()->surface();
        QCOMPARE(surface.deviceIndependentSize().toSize(), preview.picture()->size());
        QCOMPARE(surface.size(), preview.picture()->size() * 2);
        QVERIFY(logical.width() <= 620 && logical.height() <= 600);
        // Zoom In draws 1.25 from the fine picture, still twice the pixels.
        preview.onZoomInClicked();
        QCOMPARE(preview.zoom(), 1.25f);
        QCOMPARE(preview.picture()->surface().size(), preview.picture()->size() * 2);
    }
};

int main(int argc, char** argv) {
    return testing::runTestProgram<WeekAtAGlanceTest>(argc, argv, testing::ProgramLocale::System);
}

#include "week_at_a_glance_qtest.moc"
