// The preview window's menu bar: its place above the unchanged client area,
// its items and keys, and the commands they run (the buttons' own, the PDF
// export and printing).

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

#include "app/application_title.h"
#include "app/dialog_folder.h"
#include "app/settings_store.h"
#include "preview/pdf_export_command.h"
#include "preview/preview_menu.h"
#include "preview/preview_window.h"
#include "preview/print_command.h"
#include "preview_window_harness.h"
#include "timesheet/generation_run.h"

using tallowby::preview::PreviewMenu;
using tallowby::preview::PreviewWindow;
using Answer = tallowby::Prompter::Answer;

namespace {

QString pdfText(const QString& path) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

}  // namespace

class PreviewMenuTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        tallowby::setApplicationTitle();
        // A real filled week, made by the generation run.
        folder = std::make_unique<tallowby::PrivateTempFolder>();
        tallowby::TimesheetRecord record;
        record.company = QStringLiteral("Quillfeather Joinery Ltd");
        record.employee = QStringLiteral("Ana Example");
        record.supervisor = QStringLiteral("Bo Overseer");
        record.weekStart = QDate(2021, 8, 30);
        record.rates = {{QStringLiteral("Regular"), QStringLiteral("11.50")}};
        record.hours = {{QStringLiteral("Mon"), QStringLiteral("Regular"), QStringLiteral("08:00"),
                         QStringLiteral("0"), QStringLiteral("0")}};
        harness::ScriptedPrompter quiet;
        const auto made = tallowby::runGeneration(record, *folder, {});
        QVERIFY(made.handedOver);
        result = made.resultPath;
        picture = made.picture;
    }
    void init() {
        prompter = std::make_unique<harness::RecordingPrompter>();
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        form = harness::plainWindow();
        form->setEndProgram([this] { ++programEnds; });
        menu = new PreviewMenu(*form);
        // Each test's own copy: closing the window deletes the one it holds.
        handedOver = work.filePath(QStringLiteral("kovlar12345678.xls"));
        QFile::remove(handedOver);
        QVERIFY(QFile::copy(result, handedOver));
        form->handOver(picture, handedOver);
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    void cleanup() {
        tallowby::preview::setPrintDialogRunner({});
        form.reset();
        prompter.reset();
        dir.reset();
    }

    void theBarSitsAboveAnUnchangedClientArea() {
        const int bar = menu->menuBar()->height();
        QVERIFY(bar > 10);
        QCOMPARE(menu->menuBar()->geometry(), QRect(0, 0, 656, bar));
        // The window grew by the bar, so the viewport keeps its designed size.
        const int statusHeight = form->findChild<QLabel*>("StatusLine")->height();
        QCOMPARE(form->size(), QSize(656, bar + 624 - 7 + 4 + statusHeight + 2));
        const auto geometry = [&](const char* name) {
            return form->findChild<QWidget*>(QLatin1String(name))->geometry();
        };
        // The client area's own layout, moved down by the bar.
        QCOMPARE(geometry("Picture2"), QRect(8, 8 + bar, 622, 495));
        QCOMPARE(geometry("VScroll1"), QRect(630, 8 + bar, 17, 495));
        QCOMPARE(geometry("HScroll1"), QRect(8, 503 + bar, 622, 17));
        QCOMPARE(geometry("Frame1"), QRect(8, 524 + bar, 640, 57));
        QCOMPARE(geometry("PushButton1").topLeft(), QPoint(16, 20));  // inside the frame
        QCOMPARE(geometry("PushButton8"), QRect(8, 590 + bar, 312, 27));
        QCOMPARE(geometry("PushButton6"), QRect(328, 590 + bar, 320, 27));
    }

    void theMenusItemsAndKeys() {
        const QList<QAction*> menus = menu->menuBar()->actions();
        QCOMPARE(menus.size(), 2);
        QCOMPARE(menus[0]->text(), QStringLiteral("&File"));
        QCOMPARE(menus[1]->text(), QStringLiteral("&View"));
        QStringList file;
        for (QAction* a : menus[0]->menu()->actions())
            if (!a->isSeparator()) file << a->text();
        // Every item has its mnemonic.
        QCOMPARE(file, (QStringList{QStringLiteral("&Save Results To Excel File\u2026"),
                                    QStringLiteral("&Export as PDF\u2026"),
                                    QStringLiteral("&Print\u2026"), QStringLiteral("&Close")}));
        QStringList view;
        for (QAction* a : menus[1]->menu()->actions())
            if (!a->isSeparator()) view << a->text();
        QCOMPARE(view, (QStringList{QStringLiteral("Zoom &In"), QStringLiteral("Zoom &Out"),
                                    QStringLiteral("&Actual Size"), QStringLiteral("Fit &Width"),
                                    QStringLiteral("Fit &Page")}));
        QCOMPARE(menu->actualSizeAction()->shortcut(), QKeySequence(QStringLiteral("Ctrl+0")));
        QCOMPARE(menu->saveAction()->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
        QCOMPARE(menu->exportPdfAction()->shortcut(), QKeySequence(QStringLiteral("Ctrl+E")));
        QCOMPARE(menu->printAction()->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
        QCOMPARE(menu->zoomInAction()->shortcut(), QKeySequence(QStringLiteral("Ctrl++")));
        QCOMPARE(menu->zoomOutAction()->shortcut(), QKeySequence(QStringLiteral("Ctrl+-")));
    }

    void zoomItemsAndKeysStepLikeTheButtons() {
        QCOMPARE(form->zoom(), 1.0f);
        menu->zoomOutAction()->trigger();
        QCOMPARE(form->zoom(), 0.75f);
        const int width = form->scaledWidth();
        QTest::mouseClick(form->findChild<QPushButton*>("PushButton2"), Qt::LeftButton);
        QCOMPARE(form->zoom(), 0.5f);
        menu->zoomInAction()->trigger();
        QCOMPARE(form->zoom(), 0.75f);
        QCOMPARE(form->scaledWidth(), width);  // the same drawing as the first step
        form->activateWindow();
        QTest::keyClick(form.get(), Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(form->zoom(), 0.5f);
        QTest::keyClick(form.get(), Qt::Key_Plus, Qt::ControlModifier);
        QCOMPARE(form->zoom(), 0.75f);
    }

    void saveItemRunsTheButtonsCommand() {
        const QString target = dir->filePath("week.xls");
        prompter->fileNames = {target, target};
        menu->saveAction()->trigger();
        QCOMPARE(prompter->dialogs.size(), std::size_t(1));
        QCOMPARE(prompter->dialogs[0].first, QStringLiteral("Save File"));
        QCOMPARE(harness::readFile(target), harness::readFile(handedOver));
        QVERIFY(prompter->messages.back().text.startsWith(QStringLiteral("Done.\nSaved as ")));
        // Again by its key: the second save asks before overwriting, as the button does.
        prompter->answers = {Answer::Yes};
        form->activateWindow();
        QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(prompter->dialogs.size(), std::size_t(2));
        QCOMPARE(prompter->messages.size(), std::size_t(3));
        QCOMPARE(prompter->messages[1].text,
                 QStringLiteral("Are you sure you wish to overwrite ") + target + " ?");
    }

    void exportWritesThePdfAndSaysDone() {
        const QString target = dir->filePath("chosen.pdf");
        prompter->fileNames = {target};
        menu->exportPdfAction()->trigger();
        QCOMPARE(prompter->dialogs.size(), std::size_t(1));
        QCOMPARE(prompter->dialogs[0].first, QStringLiteral("Export as PDF"));
        QCOMPARE(prompter->dialogs[0].second, QStringLiteral("PDF Files (*.pdf)|*.pdf|"));
        QCOMPARE(prompter->suggestions.size(), 1);
        QCOMPARE(QFileInfo(prompter->suggestions[0]).fileName(),
                 QStringLiteral("Timesheet Ana Example 2021-08-30.pdf"));
        // The first export opens in Documents (home where there is none),
        // the next in the folder of this one.
        QCOMPARE(QFileInfo(prompter->suggestions[0]).absolutePath(),
                 QDir(tallowby::dialog_folder::startFolder(QString())).absolutePath());
        QVERIFY(harness::readFile(target).startsWith("%PDF-"));
        QCOMPARE(QFileInfo(tallowby::preview::suggestedPdfPath(handedOver, form->pdfFolder()))
                     .absolutePath(),
                 QFileInfo(target).absolutePath());
        QCOMPARE(prompter->messages.size(), std::size_t(1));
        QCOMPARE(prompter->messages[0].text, QStringLiteral("Done."));
        const QString text = pdfText(target);
        if (!text.isEmpty()) QVERIFY(text.contains(QStringLiteral("Quillfeather Joinery Ltd")));
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList{"chosen.pdf"});
    }

    void exportAsksBeforeReplacingAndKeepsTheFileOnNo() {
        const QString target = dir->filePath("old.pdf");
        harness::writeFile(target, "old contents");
        prompter->fileNames = {target};
        prompter->answers = {Answer::No};
        form->activateWindow();
        QTest::keyClick(form.get(), Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(prompter->messages.size(), std::size_t(1));
        QCOMPARE(prompter->messages[0].text,
                 QStringLiteral("Are you sure you wish to overwrite ") + target + " ?");
        QCOMPARE(harness::readFile(target), QByteArray("old contents"));

        prompter->fileNames = {target};
        prompter->answers = {Answer::Yes};
        menu->exportPdfAction()->trigger();
        QVERIFY(harness::readFile(target).startsWith("%PDF-"));
        QCOMPARE(prompter->messages.back().text, QStringLiteral("Done."));
    }

    void cancelledOrFailedExportSaysNoDone() {
        menu->exportPdfAction()->trigger();  // cancelled: no name
        QVERIFY(prompter->messages.empty());
        QVERIFY(QDir(dir->path()).entryList(QDir::Files).isEmpty());

        // A result workbook that has gone: reported at the drawing, no file, no "Done.".
        form->resultFile_ = dir->filePath("gone.xls");
        prompter->fileNames = {dir->filePath("week.pdf")};
        menu->exportPdfAction()->trigger();
        QCOMPARE(prompter->reports().size(), 1);
        QVERIFY(prompter->reports()[0].contains(QStringLiteral("mnuExportPdf_Click")));
        QVERIFY(prompter->reports()[0].contains(QStringLiteral("at line 114")));
        QVERIFY(!QFile::exists(dir->filePath("week.pdf")));
        for (const auto& m : prompter->messages) QVERIFY(m.text != QStringLiteral("Done."));
    }

    void printShowsTheDialogAndPrintsThePageChosenThere() {
        const QString printed = dir->filePath("printed.pdf");
        QString docName;
        int dialogs = 0;
        tallowby::preview::setPrintDialogRunner([&](QPrinter& printer, QWidget* parent) {
            ++dialogs;
            docName = printer.docName();
            if (parent != form.get()) return false;
            // What choosing "Print to File (PDF)" and A4 in the dialog does.
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(printed);
            printer.setPageSize(QPageSize(QPageSize::A4));
            return true;
        });
        form->activateWindow();
        QTest::keyClick(form.get(), Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(dialogs, 1);
        QCOMPARE(docName,
                 QStringLiteral("Employee Timesheet \u2013 Ana Example \u2013 week of 2021-08-30"));
        QVERIFY(harness::readFile(printed).startsWith("%PDF-"));
        QVERIFY(prompter->reports().isEmpty());
        const QString text = pdfText(printed);
        if (!text.isEmpty()) QVERIFY(text.contains(QStringLiteral("Bo Overseer")));

        // Cancelled in the dialog: nothing is printed.
        QFile::remove(printed);
        tallowby::preview::setPrintDialogRunner([&](QPrinter&, QWidget*) {
            ++dialogs;
            return false;
        });
        menu->printAction()->trigger();
        QCOMPARE(dialogs, 2);
        QVERIFY(!QFile::exists(printed));
    }

    // The save, export and print-to-file folders are kept in the store, each
    // under its own key: a new window over the same store (a restart) opens
    // each dialog where that dialog was last used.
    void eachDialogsFolderSurvivesARestart() {
        tallowby::SettingsStore store(dir->filePath("store/Marrowick.ini"));
        form->setPlaceStore(&store);
        const QString copies = dir->filePath("copies");
        const QString exports = dir->filePath("exports");
        const QString prints = dir->filePath("prints");
        for (const QString& f : {copies, exports, prints}) QVERIFY(QDir().mkpath(f));
        const QString documents = tallowby::dialog_folder::startFolder(QString());

        prompter->fileNames = {copies + "/copy.xls"};
        QTest::mouseClick(form->findChild<QPushButton*>("PushButton6"), Qt::LeftButton);
        prompter->fileNames = {exports + "/export.pdf"};
        menu->exportPdfAction()->trigger();
        QStringList offered;
        tallowby::preview::setPrintDialogRunner([&](QPrinter& printer, QWidget*) {
            offered << printer.outputFileName();
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(prints + "/printed.pdf");
            return true;
        });
        menu->printAction()->trigger();
        QVERIFY(QFile::exists(copies + "/copy.xls"));
        QVERIFY(QFile::exists(exports + "/export.pdf"));
        QVERIFY(QFile::exists(prints + "/printed.pdf"));
        // The first time, each started in Documents (home when there is none).
        QCOMPARE(prompter->folders.value(0), documents);
        // The save dialog suggests a name too: the export's suggestion is the second.
        QCOMPARE(prompter->suggestions.size(), 2);
        QCOMPARE(QFileInfo(prompter->suggestions.value(1)).absolutePath(),
                 QDir(documents).absolutePath());
        QCOMPARE(offered,
                 QStringList{QDir(documents).filePath("Timesheet Ana Example 2021-08-30.pdf")});

        // The restart: a new window over a new store object on the same file.
        menu = nullptr;
        form.reset();
        tallowby::SettingsStore again(dir->filePath("store/Marrowick.ini"));
        form = harness::plainWindow();
        form->setPlaceStore(&again);
        menu = new PreviewMenu(*form);
        QFile::remove(handedOver);
        QVERIFY(QFile::copy(result, handedOver));
        form->handOver(picture, handedOver);
        prompter->folders.clear();
        prompter->suggestions.clear();
        offered.clear();
        prompter->fileNames.clear();
        QString inRealDialog;
        tallowby::preview::setPrintDialogRunner([&](QPrinter& printer, QWidget* parent) {
            offered << printer.outputFileName();
            // The platform's own dialog shows that file for printing to a file.
            QPrintDialog dialog(&printer, parent);
            if (const auto* name = dialog.findChild<QLineEdit*>("filename"))
                inRealDialog = name->text();
            return false;
        });
        QTest::mouseClick(form->findChild<QPushButton*>("PushButton6"), Qt::LeftButton);
        menu->exportPdfAction()->trigger();
        menu->printAction()->trigger();
        QCOMPARE(prompter->folders, QStringList{copies});
        QCOMPARE(QFileInfo(prompter->suggestions.value(1)).absolutePath(), exports);
        QCOMPARE(offered, QStringList{prints + "/Timesheet Ana Example 2021-08-30.pdf"});
        QCOMPARE(inRealDialog, offered.value(0));

        // A remembered folder removed since: Documents again.
        QVERIFY(QDir(exports).removeRecursively());
        QCOMPARE(QFileInfo(tallowby::preview::suggestedPdfPath(handedOver, form->pdfFolder()))
                     .absolutePath(),
                 QDir(documents).absolutePath());
        form.reset();
    }

    void closeItemClosesTheWindowLikeItsCloseBox() {
        menu->closeAction()->trigger();
        QVERIFY(!form->isVisible());
        QCOMPARE(programEnds, 1);
        QVERIFY(!QFile::exists(handedOver));  // the result workbook goes with the window
    }

  private:
    std::unique_ptr<tallowby::PrivateTempFolder> folder;
    QString result;
    QImage picture;
    QTemporaryDir work;
    QString handedOver;
    std::unique_ptr<harness::RecordingPrompter> prompter;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<PreviewWindow> form;
    PreviewMenu* menu = nullptr;
    int programEnds = 0;
};

QTEST_MAIN(PreviewMenuTest)
#include "preview_menu_qtest.moc"
