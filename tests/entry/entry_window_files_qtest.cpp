// Timesheet files in the main window: File → "Open Timesheet…", "Save
// Timesheet As…" and "Open Recent"; the question before replacing, Undo, the
// title, bad files, and the dialogs' folders across restarts. Real widgets
// under the offscreen platform, dialogs answered by the scripted prompter.
#include <sys/stat.h>

#include <QAction>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QProcess>
#include <QTest>
#include <QTreeWidget>

#include "app/dialog_folder.h"
#include "entry/entry_menu.h"
#include "entry/entry_window.h"
#include "entry/select_all_line_edit.h"
#include "tests/entry/entry_window_fixture.h"
#include "tests/support/file_bytes.h"
#include "tests/support/timesheet_records.h"
#include "timesheet/timesheet_file_io.h"

using namespace tallowby;
using namespace tallowby::testing;
using Answer = Prompter::Answer;

namespace {

// Everything the window shows of a timesheet, for comparing two windows.
QStringList shown(const EntryWindow& form) {
    QStringList all{form.companyEdit_->text(),
                    form.addressEdit_->text(),
                    form.cityEdit_->text(),
                    form.phoneEdit_->text(),
                    form.employeeEdit_->text(),
                    form.supervisorEdit_->text(),
                    form.weekStartEdit_->date().toString(Qt::ISODate)};
    for (const QTreeWidget* list : {form.rateList_, form.hoursList_})
        for (int r = 0; r < list->topLevelItemCount(); ++r)
            all << row(list, r).join(QStringLiteral(" ~ "));
    return all;
}

// The timesheet values of a store, key by key.
QStringList storedTimesheet(const SettingsStore& store) {
    QStringList values;
    for (const char* key : {"txtName", "txtLocation", "txtCity", "txtPhone", "txtEmp", "txtSVisor",
                            "dtpDate", "Rates", "Hours"})
        values << store.value(QString::fromLatin1(key), QStringLiteral("(absent)"));
    return values;
}

TimesheetRecord otherWeek() {
    return timesheetRecord({"Quillfeather | Joinery ^ Ltd", "  1 Mill Lane  ", "Harrow", "555 0100",
                            "Bo Example", "Cy\nOverseer"},
                           QDate(2021, 10, 4), {{"Day", "20"}, {"Night \\ late", "30"}},
                           {{"Monday, October 4, 2021", "Day", "07:30", "0", "0"},
                            {"Sunday, October 10, 2021", "Night \\ late", "02:15", "6", "1"}});
}

QStringList recentEntries(QMenu* menu, QList<bool>* enabled = nullptr) {
    emit menu->aboutToShow();
    QStringList paths;
    for (QAction* a : menu->actions()) {
        if (a->data().toString().isEmpty()) continue;
        paths << a->data().toString();
        if (enabled) *enabled << a->isEnabled();
    }
    return paths;
}

}  // namespace

class EntryWindowFilesTest : public EntryWindowTest {
    Q_OBJECT

    QString file(const QString& name) const { return dir_->filePath(name); }

    std::unique_ptr<EntryWindow> windowWithSample() {
        auto form = start();
        form->onSampleClicked();
        return form;
    }

  private slots:
    void saveThenOpenInAFreshWindowGivesEveryFieldAndBothLists() {
        auto form = windowWithSample();
        // Characters that the packed lists and the INI text must escape.
        form->rateNameEdit_->setText("Night | shift ^ \\ late");
        form->rateAmountEdit_->setText("  $13,5 ");
        form->onAddRateClicked();
        form->supervisorEdit_->setText("  Rolf ; \"the boss\"  ");
        prompter_->fileNames = {file("weeks/ana")};
        QVERIFY(QDir().mkpath(file("weeks")));
        form->saveTimesheetAction_->trigger();

        QCOMPARE(prompter_->saveRequests.size(), std::size_t(1));
        QCOMPARE(prompter_->saveRequests[0].suggestedName,
                 QString("Timesheet Arlen Tovey Jr. 2021-08-30.ini"));
        // A name typed without an extension gets ".ini".
        QVERIFY(QFile::exists(file("weeks/ana.ini")));
        QCOMPARE(form->windowTitle(), QString("Tallowby - ana.ini"));

        // The file is what the store holds, and a fresh window opens it whole.
        SettingsStore asStore(file("weeks/ana.ini"));
        QCOMPARE(storedTimesheet(asStore), storedTimesheet(*store_));
        SettingsStore otherStore(file("other/Marrowick.ini"));
        EntryWindowOptions o = options(resourcesFolder());
        o.store = &otherStore;
        EntryWindow fresh(o);
        prompter_->openPaths = {file("weeks/ana.ini")};
        fresh.openTimesheetAction_->trigger();
        QCOMPARE(shown(fresh), shown(*form));
        QCOMPARE(prompter_->messages.size(), std::size_t(1));  // the sample's question only
        QCOMPARE(fresh.windowTitle(), QString("Tallowby - ana.ini"));
        // Everything opened is in the fresh window's store, as typing puts it there.
        QCOMPARE(storedTimesheet(otherStore), storedTimesheet(*store_));
    }

    void tallowbyFillReadsASavedFileAsItIs() {
        auto form = windowWithSample();
        prompter_->fileNames = {file("week.ini")};
        form->saveTimesheetAction_->trigger();
        QProcess fill;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("LC_ALL", "C.UTF-8");
        fill.setProcessEnvironment(environment);
        fill.start(QString::fromUtf8(test_paths::kFillTool),
                   {"--settings", file("week.ini"), "--xls", file("week.xls")});
        QVERIFY(fill.waitForFinished(60000));
        const QString err = QString::fromUtf8(fill.readAllStandardError());
        QVERIFY2(fill.exitCode() == 0, qPrintable(err));
        QVERIFY2(!err.contains("week.ini"), qPrintable(err));  // no notice about the file
        const QByteArray xls = readFile(file("week.xls"));
        QVERIFY(xls.startsWith("\xD0\xCF\x11\xE0"));
        QVERIFY(xls.contains("Arlen Tovey Jr."));  // the employee, from the file
        QVERIFY(xls.contains("ACME Inc"));
    }

    void noToTheQuestionKeepsEverythingYesReplacesIt() {
        auto form = windowWithSample();
        timesheet_file_io::write(file("bo.ini"), otherWeek());
        const QStringList before = shown(*form);
        const QStringList storedBefore = storedTimesheet(*store_);
        const qsizetype messages = static_cast<qsizetype>(prompter_->messages.size());
        prompter_->openPaths = {file("bo.ini")};
        prompter_->answers = {Answer::No};
        form->openTimesheetAction_->trigger();
        QCOMPARE(static_cast<qsizetype>(prompter_->messages.size()), messages + 1);
        QVERIFY(prompter_->messages.back().text.startsWith("Open bo.ini? It replaces"));
        QCOMPARE(prompter_->messages.back().buttons, Prompter::Buttons::YesNo);
        QCOMPARE(shown(*form), before);
        QCOMPARE(storedTimesheet(*store_), storedBefore);
        QCOMPARE(form->windowTitle(), QString("Tallowby"));
        QCOMPARE(form->recentTimesheets(), QStringList{});

        prompter_->openPaths = {file("bo.ini")};
        prompter_->answers = {Answer::Yes};
        form->openTimesheetAction_->trigger();
        QCOMPARE(form->record().employee, QString("Bo Example"));
        QCOMPARE(rowTexts(form->rateList_, 0), (QStringList{"Day", "Night \\ late"}));
        QCOMPARE(row(form->hoursList_, 1),
                 (QStringList{"Sunday, October 10, 2021", "Night \\ late", "02:15", "6", "1"}));
        QCOMPARE(store_->value("txtSVisor"), QString("Cy\nOverseer"));
        QCOMPARE(store_->value("dtpDate"), QString("2021-10-04"));
    }

    void anEmptyWindowOpensWithoutAsking() {
        auto form = start();
        timesheet_file_io::write(file("bo.ini"), otherWeek());
        prompter_->openPaths = {file("bo.ini")};
        form->openTimesheetAction_->trigger();
        QVERIFY(prompter_->messages.empty());
        QCOMPARE(form->companyEdit_->text(), QString("Quillfeather | Joinery ^ Ltd"));
    }

    void oneUndoReturnsWhatTheWindowHeldAndRedoTheFile() {
        auto form = windowWithSample();
        timesheet_file_io::write(file("bo.ini"), otherWeek());
        const QStringList before = shown(*form);
        const QStringList storedBefore = storedTimesheet(*store_);
        prompter_->openPaths = {file("bo.ini")};
        prompter_->answers = {Answer::Yes};
        form->openTimesheetAction_->trigger();
        const QStringList opened = shown(*form);
        QVERIFY(opened != before);
        QCOMPARE(form->menu_->undoAction()->text(), QString("&Undo Open Timesheet"));
        form->menu_->undoAction()->trigger();
        QCOMPARE(shown(*form), before);
        QCOMPARE(storedTimesheet(*store_), storedBefore);
        form->menu_->redoAction()->trigger();
        QCOMPARE(shown(*form), opened);
        QCOMPARE(store_->value("txtEmp"), QString("Bo Example"));
    }

    void theRecentListIsNewestFirstWithoutRepeatsAndAtMostEight() {
        auto form = start();
        QVERIFY(!form->recentMenu_->menuAction()->isEnabled());
        QStringList names;
        for (int i = 0; i < 10; ++i) {
            names << file(QStringLiteral("w%1.ini").arg(i));
            prompter_->fileNames = {names.back()};
            form->saveTimesheetAction_->trigger();
        }
        QStringList expected;
        for (int i = 9; i >= 2; --i) expected << names[i];
        QCOMPARE(recentEntries(form->recentMenu_), expected);
        QVERIFY(form->recentMenu_->menuAction()->isEnabled());

        // Opened again: to the top, once.
        prompter_->openPaths = {names[5]};
        prompter_->answers = {Answer::Yes};
        form->openTimesheetAction_->trigger();
        expected.removeAll(names[5]);
        expected.prepend(names[5]);
        QCOMPARE(form->recentTimesheets(), expected);
        QCOMPARE(form->windowTitle(), QString("Tallowby - w5.ini"));

        // A file gone since is shown but cannot be chosen.
        QVERIFY(QFile::remove(names[9]));
        QList<bool> enabled;
        QCOMPARE(recentEntries(form->recentMenu_, &enabled), expected);
        QCOMPARE(enabled.count(false), 1);
        QCOMPARE(enabled[expected.indexOf(names[9])], false);

        // Kept across a restart, and an entry opens its file.
        auto next = start();
        QCOMPARE(recentEntries(next->recentMenu_), expected);
        QAction* third = nullptr;
        for (QAction* a : next->recentMenu_->actions())
            if (a->data().toString() == expected[2]) third = a;
        QVERIFY(third);
        QCOMPARE(third->text(), QString("&3 ") + QFileInfo(expected[2]).fileName());
        third->trigger();
        QCOMPARE(next->timesheetFile(), expected[2]);
        QCOMPARE(next->recentTimesheets().first(), expected[2]);

        // Clear empties it, in the store too.
        QAction* clear = next->recentMenu_->findChild<QAction*>("clearRecentTimesheets");
        QVERIFY(clear && clear->isEnabled());
        clear->trigger();
        QCOMPARE(next->recentTimesheets(), QStringList{});
        QCOMPARE(store_->value("RecentTimesheets"), QString());
        QVERIFY(!next->recentMenu_->menuAction()->isEnabled());
    }

    void theTitleKeepsTheNotSavedMark() {
        // A folder where the store's file should be: no write ever reaches it.
        QVERIFY(QDir().mkpath(file("folder-store")));
        SettingsStore blocked(file("folder-store"));
        EntryWindowOptions o = options(resourcesFolder());
        o.store = &blocked;
        EntryWindow form(o);
        timesheet_file_io::write(file("bo.ini"), otherWeek());
        prompter_->openPaths = {file("bo.ini")};
        form.openTimesheetAction_->trigger();
        QCOMPARE(form.companyEdit_->text(), QString("Quillfeather | Joinery ^ Ltd"));
        QCOMPARE(form.windowTitle(), QString("Tallowby - bo.ini (not saved)"));
    }

    void badFilesAreToldAndChangeNothing() {
        auto form = windowWithSample();
        const QStringList before = shown(*form);
        const QByteArray storeBytes = readFile(store_->path());
        const int steps = form->lists().undoStack().count();
        QString many = "[Tallowby]\nRates=";
        for (int i = 0; i < 300; ++i) many += QStringLiteral("r%1^1|").arg(i);
        QVERIFY(QDir().mkpath(file("a folder.ini")));
        const QString fifo = file("pipe.ini");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const struct {
            QString name;
            QByteArray bytes;
            const char* reason;
        } cases[] = {
            {"missing.ini", {}, "No such file"},
            {"a folder.ini", {}, "it is a folder"},
            {"pipe.ini", {}, "it is a FIFO"},
            {"words.ini", "not an ini file at all\n", "line 1 is not an INI line"},
            {"other.ini", "[Other]\ntxtEmp=Bo\n", "no [Tallowby] section"},
            {"lists.ini", "[Tallowby]\nRates=Day^1^2^3\n", "hour rates are damaged"},
            {"hours.ini", "[Tallowby]\nHours=Mon^Day^1:00^9^0\n", "hours list is damaged"},
            {"many.ini", many.toUtf8() + "\n", "it has 300 hour rates"},
        };
        for (const auto& c : cases) {
            if (!c.bytes.isEmpty()) {
                QFile f(file(c.name));
                QVERIFY(f.open(QIODevice::WriteOnly));
                f.write(c.bytes);
            }
            const std::size_t messages = prompter_->messages.size();
            prompter_->openPaths = {file(c.name)};
            prompter_->answers = {Answer::Yes};
            form->openTimesheetAction_->trigger();
            QCOMPARE(prompter_->messages.size(), messages + 1);
            const QString told = prompter_->messages.back().text;
            QVERIFY2(told.contains(QString::fromUtf8(c.reason)) && told.contains(file(c.name)),
                     qPrintable(told));
            QCOMPARE(prompter_->messages.back().buttons, Prompter::Buttons::Ok);
            QCOMPARE(shown(*form), before);
        }
        QCOMPARE(readFile(store_->path()), storeBytes);
        QCOMPARE(form->lists().undoStack().count(), steps);
        QCOMPARE(form->windowTitle(), QString("Tallowby"));
        QCOMPARE(form->recentTimesheets(), QStringList{});
    }

    void saveAsksAboutReplacingInsideTheDialog() {
        auto form = windowWithSample();
        const QString existing = file("old.ini");
        QFile f(existing);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("old");
        f.close();
        // "No" goes back to the dialog, where another name is chosen.
        prompter_->fileNames = {existing, file("new.ini")};
        prompter_->answers = {Answer::No};
        form->saveTimesheetAction_->trigger();
        QCOMPARE(readFile(existing), QByteArray("old"));
        QVERIFY(QFile::exists(file("new.ini")));
        QVERIFY(prompter_->messages.back().text.contains("old.ini already exists"));
        // "Yes" replaces it.
        prompter_->fileNames = {existing};
        prompter_->answers = {Answer::Yes};
        form->saveTimesheetAction_->trigger();
        QCOMPARE(readFile(existing), readFile(file("new.ini")));
        // A folder given as the file: told, nothing written, no title change.
        QVERIFY(QDir().mkpath(file("dir.ini")));
        prompter_->fileNames = {file("dir.ini")};
        prompter_->answers = {Answer::Yes};
        form->saveTimesheetAction_->trigger();
        QVERIFY(prompter_->messages.back().text.startsWith("The timesheet was not saved."));
        QCOMPARE(form->windowTitle(), QString("Tallowby - old.ini"));
    }

    void eachDialogStartsInItsOwnLastFolderAfterARestart() {
        const QString documents = dialog_folder::startFolder(QString());
        for (const char* sub : {"opened", "saved", "imports"}) QVERIFY(QDir().mkpath(file(sub)));
        timesheet_file_io::write(file("opened/bo.ini"), otherWeek());
        QFile csv(file("imports/empty.csv"));
        QVERIFY(csv.open(QIODevice::WriteOnly));
        csv.close();
        {
            auto form = start();
            prompter_->openPaths = {file("opened/bo.ini")};
            form->openTimesheetAction_->trigger();
            prompter_->fileNames = {file("saved/bo copy.ini")};
            form->saveTimesheetAction_->trigger();
            prompter_->openPaths = {file("imports/empty.csv")};
            form->importHoursAction_->trigger();  // no header row: told, nothing imported
            QCOMPARE(prompter_->openFolders, (QStringList{documents, documents}));
            QCOMPARE(prompter_->saveRequests.back().folder, documents);
        }
        prompter_->openFolders.clear();
        auto next = start();
        next->openTimesheetAction_->trigger();  // cancelled
        next->saveTimesheetAction_->trigger();  // cancelled
        next->importHoursAction_->trigger();    // cancelled
        QCOMPARE(prompter_->openFolders, (QStringList{file("opened"), file("imports")}));
        QCOMPARE(prompter_->saveRequests.back().folder, file("saved"));
        // A folder removed since: Documents (home when there is none) again.
        QVERIFY(QDir(file("opened")).removeRecursively());
        next->openTimesheetAction_->trigger();
        QCOMPARE(prompter_->openFolders.last(), documents);
    }
};

int main(int argc, char** argv) {
    return runTestProgram<EntryWindowFilesTest>(argc, argv, ProgramLocale::UnitedStatesEnglish);
}

#include "entry_window_files_qtest.moc"
#include "moc_entry_window_fixture.cpp"
