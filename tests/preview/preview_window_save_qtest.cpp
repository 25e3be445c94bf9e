// Saving the result workbook from the preview window, with the dialog and
// the questions answered by a scripted prompter.

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>

#include "app/application_title.h"
#include "preview/pdf_export_command.h"
#include "preview/preview_window.h"
#include "preview_window_harness.h"
#include "tests/support/test_paths.h"
#include "tests/support/zip_entry.h"

using tallowby::preview::PreviewWindow;
using Answer = tallowby::Prompter::Answer;
using Buttons = tallowby::Prompter::Buttons;
using Icon = tallowby::Prompter::Icon;

class PreviewWindowSaveTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        tallowby::setApplicationTitle();
        prompter = std::make_unique<harness::ScriptedPrompter>();
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        result = dir->filePath("kovlar12345678.xls");
        resultBytes = QByteArray("\xD0\xCF\x11\xE0 result workbook", 21).repeated(500);
        harness::writeFile(result, resultBytes);
        form = harness::windowHolding(result);
    }
    void cleanup() {
        form.reset();
        prompter.reset();
        dir.reset();
    }

    void cancelCopiesNothing() {
        clickSave();
        QCOMPARE(prompter->dialogs.size(), std::size_t(1));
        QCOMPARE(prompter->dialogs[0].first, QStringLiteral("Save File"));
        QCOMPARE(prompter->dialogs[0].second, QStringLiteral("Excel 97-2003 Workbook (*.xls)|*.xls|"
                                                             "Excel Workbook (*.xlsx)|*.xlsx|"));
        QVERIFY(prompter->messages.empty());  // no "Done." for nothing done
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList{"kovlar12345678.xls"});
    }

    void newTargetIsCopiedWithoutAQuestion() {
        const QString target = dir->filePath("week.xls");
        prompter->fileNames.push_back(target);
        clickSave();
        QCOMPARE(harness::readFile(target), resultBytes);
        QCOMPARE(prompter->messages.size(), std::size_t(1));
        // "Done." first, then where the file went.
        QCOMPARE(prompter->messages[0].text, "Done.\nSaved as week.xls in " + dir->path());
        QCOMPARE(prompter->messages[0].caption, QStringLiteral("Tallowby"));
        QCOMPARE(prompter->messages[0].buttons, Buttons::Ok);
        QCOMPARE(prompter->messages[0].icon, Icon::None);
        QVERIFY(QFile::exists(result));  // the source stays for Back and close
        QVERIFY(form->isVisible());
    }

    void aNameWithoutExtensionGetsTheFiltersOne() {
        const QString target = dir->filePath("week12");
        prompter->fileNames.push_back(target);
        clickSave();
        QCOMPARE(harness::readFile(target + ".xls"), resultBytes);
        QVERIFY(!QFile::exists(target));
        // A name with an extension of its own is kept as typed.
        prompter->fileNames.push_back(dir->filePath("week13.bak"));
        clickSave();
        QCOMPARE(harness::readFile(dir->filePath("week13.bak")), resultBytes);
    }

    void theDialogSuggestsTheExportsNameInTheSaveFolder() {
        clickSave();
        QCOMPARE(prompter->saveRequests.size(), std::size_t(1));
        const tallowby::SaveRequest& request = prompter->saveRequests[0];
        QCOMPARE(request.title, QStringLiteral("Save File"));
        QCOMPARE(request.filters,
                 (QStringList{"Excel 97-2003 Workbook (*.xls)", "Excel Workbook (*.xlsx)"}));
        // The same name the PDF export suggests, as a workbook.
        const QString pdfName =
            QFileInfo(tallowby::preview::suggestedPdfPath(result, form->pdfFolder())).fileName();
        QCOMPARE(request.suggestedName, QFileInfo(pdfName).completeBaseName() + ".xls");
        QVERIFY(!request.folder.isEmpty());
    }

    void answeringNoReturnsToTheDialog() {
        const QString existing = dir->filePath("old.xls");
        harness::writeFile(existing, "the user's earlier week");
        const QString other = dir->filePath("other");
        prompter->fileNames = {existing, other};
        prompter->answers.push_back(Answer::No);
        clickSave();
        QCOMPARE(prompter->saveDialogs, 2);  // asked, then the dialog again
        QCOMPARE(harness::readFile(existing), QByteArray("the user's earlier week"));
        QCOMPARE(harness::readFile(other + ".xls"), resultBytes);
        QCOMPARE(prompter->messages.size(), std::size_t(2));
        QCOMPARE(prompter->messages[0].text,
                 "Are you sure you wish to overwrite " + existing + " ?");
        QCOMPARE(prompter->messages[1].text, "Done.\nSaved as other.xls in " + dir->path());
    }

    void theQuestionNamesTheNameWithItsAddedExtension() {
        const QString existing = dir->filePath("old.xls");
        harness::writeFile(existing, "the user's earlier week");
        prompter->fileNames.push_back(dir->filePath("old"));
        prompter->answers.push_back(Answer::Yes);
        clickSave();
        QCOMPARE(prompter->messages[0].text,
                 "Are you sure you wish to overwrite " + existing + " ?");
        QCOMPARE(harness::readFile(existing), resultBytes);
    }

    void existingTargetAnsweredNoIsUntouched() {
        const QString target = dir->filePath("old.xls");
        harness::writeFile(target, "the user's earlier week");
        prompter->fileNames.push_back(target);
        prompter->answers.push_back(Answer::No);
        clickSave();
        QCOMPARE(prompter->messages.size(), std::size_t(1));
        QCOMPARE(prompter->messages[0].text, "Are you sure you wish to overwrite " + target + " ?");
        QCOMPARE(prompter->messages[0].buttons, Buttons::YesNo);
        QCOMPARE(prompter->messages[0].caption, QStringLiteral("Tallowby"));
        QCOMPARE(harness::readFile(target), QByteArray("the user's earlier week"));
    }

    void existingTargetAnsweredYesIsReplaced() {
        const QString target = dir->filePath("old.xls");
        harness::writeFile(target, QByteArray(50000, 'o'));
        prompter->fileNames.push_back(target);
        prompter->answers.push_back(Answer::Yes);
        clickSave();
        QCOMPARE(harness::readFile(target), resultBytes);
        QCOMPARE(prompter->messages.size(), std::size_t(2));
        QCOMPARE(prompter->messages[1].text, "Done.\nSaved as old.xls in " + dir->path());
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files),
                 (QStringList{"kovlar12345678.xls", "old.xls"}));
    }

    void savingTwiceAsksTheSecondTime() {
        const QString target = dir->filePath("twice.xls");
        prompter->fileNames = {target, target};
        prompter->answers.push_back(Answer::Yes);
        clickSave();
        clickSave();
        QCOMPARE(prompter->messages.size(), std::size_t(3));
        QVERIFY(prompter->messages[0].text.startsWith("Done.\n"));
        QVERIFY(prompter->messages[1].text.startsWith("Are you sure you wish to overwrite "));
        QVERIFY(prompter->messages[2].text.startsWith("Done.\n"));
    }

    void anUnwritableFolderIsReportedWithoutDone() {
        // Beneath a regular file nothing can be created, not even by root.
        const QString blocker = dir->filePath("plain");
        harness::writeFile(blocker, "x");
        prompter->fileNames.push_back(blocker + "/week.xls");
        clickSave();
        const QStringList reports = prompter->reports();
        QCOMPARE(reports.size(), 1);
        QVERIFY(reports[0].contains("in Tallowby2021/08/31.Form2.PushButton6_Click at line 130"));
        QCOMPARE(prompter->messages.size(), std::size_t(1));  // the report only
    }

    void aFailedCopyKeepsTheOldFile() {
        const QString target = dir->filePath("old.xls");
        harness::writeFile(target, "the user's earlier week");
        QFile::remove(result);  // the copy cannot be made
        prompter->fileNames.push_back(target);
        prompter->answers.push_back(Answer::Yes);
        clickSave();
        QCOMPARE(prompter->reports().size(), 1);
        QVERIFY(prompter->reports()[0].contains("at line 130"));
        QCOMPARE(harness::readFile(target), QByteArray("the user's earlier week"));
        for (const harness::Asked& m : prompter->messages) QVERIFY(m.text != "Done.");
    }

    void aReadOnlyFolderKeepsTheOldFile() {
        if (::getuid() == 0) QSKIP("root writes into read-only folders");
        const QString folder = dir->filePath("locked");
        QVERIFY(QDir(dir->path()).mkdir("locked"));
        const QString target = folder + "/old.xls";
        harness::writeFile(target, "the user's earlier week");
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        prompter->fileNames.push_back(target);
        prompter->answers.push_back(Answer::Yes);
        clickSave();
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(prompter->reports().size(), 1);
        QCOMPARE(harness::readFile(target), QByteArray("the user's earlier week"));
    }

    // The .xlsx filter, or a typed .xlsx whatever the filter, writes the
    // workbook in that format, built from the result workbook itself.
    void theXlsxFilterOrExtensionWritesAnXlsx() {
        harness::writeFile(result, harness::readFile(tallowby::test_paths::kTemplateFile));
        const QString byFilter = dir->filePath("week12");
        const QString byName = dir->filePath("week.XLSX");
        const QString legacy = dir->filePath("old.xls");
        prompter->fileNames = {byFilter, byName, legacy};
        prompter->filterChoices = {1, 0, 1};
        clickSave();
        clickSave();
        clickSave();
        // A name typed without an extension gets the chosen filter's.
        QVERIFY(!QFile::exists(byFilter));
        for (const QString& xlsx : {byFilter + QStringLiteral(".xlsx"), byName}) {
            const std::string sheet =
                tallowby::testing::zipEntry(xlsx.toStdString(), "xl/worksheets/sheet1.xml");
            QVERIFY2(sheet.find("<f>SUM(B12:H12)</f>") != std::string::npos, qPrintable(xlsx));
        }
        // A typed .xls stays the byte-for-byte copy, whatever the filter.
        QCOMPARE(harness::readFile(legacy), harness::readFile(result));
        QCOMPARE(prompter->messages.size(), std::size_t(3));
        for (const harness::Asked& m : prompter->messages)
            QVERIFY2(m.text.startsWith(QStringLiteral("Done.\n")), qPrintable(m.text));
    }

    void anXlsxOfAnUnreadableResultIsReportedAndNothingWritten() {
        // The result here is no workbook, so it cannot be converted.
        const QString target = dir->filePath("week.xlsx");
        prompter->fileNames.push_back(target);
        clickSave();
        QCOMPARE(prompter->reports().size(), 1);
        QVERIFY(prompter->reports()[0].contains("at line 130"));
        QVERIFY(!QFile::exists(target));
        QCOMPARE(prompter->messages.size(), std::size_t(1));  // the report only
    }

  private:
    void clickSave() {
        QTest::mouseClick(form->findChild<QPushButton*>("PushButton6"), Qt::LeftButton);
    }

    std::unique_ptr<harness::ScriptedPrompter> prompter;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<PreviewWindow> form;
    QString result;
    QByteArray resultBytes;
};

QTEST_MAIN(PreviewWindowSaveTest)
#include "preview_window_save_qtest.moc"
