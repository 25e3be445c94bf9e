#pragma once

#include <QCursor>
#include <QDate>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

#include "app/dialog_folder.h"
#include "app/store_write_failures.h"
#include "entry/duration_edit.h"
#include "entry/window_pointer.h"
#include "timesheet/timesheet_lists.h"
#include "timesheet/timesheet_record.h"
#include "timesheet/timesheet_store.h"
#include "ui/desktop.h"

class QAction;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QScrollArea;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace tallowby {

class EntryMenu;
class Guarded;
class WeekGrid;
class SelectAllLineEdit;
class SettingsStore;

// What the main window needs from its surroundings; tests replace the parts
// that would reach outside (the browser, the presence check, ending the program).
struct EntryWindowOptions {
    SettingsStore* store = nullptr;  // required; not owned
    QString programFolder;           // HAND-M.CUR here or in ../share/tallowby
    desktop::HomePageHooks homePage;
    std::function<void()> presenceCheck;  // default: presence_check::checkEngineInstalled
    std::function<void()> endProgram;     // default: leave the event loop
    std::function<QDate()> today;         // default: the current date
};

// The entry window: general fields, the hour-rate and employee-hours lists,
// the sample data. Creating it runs its load procedure.
class EntryWindow : public QWidget {
    Q_OBJECT
  public:
    explicit EntryWindow(EntryWindowOptions options, QWidget* parent = nullptr);
    ~EntryWindow() override;

    SettingsStore* store() const { return options_.store; }

    // The values the generation run reads, taken from the controls now.
    TimesheetRecord record() const;

    // Call after any change to either list (a command, sample data, a
    // relabelling): both lists go to the settings store at once, so a killed
    // program keeps everything up to the last change.
    void listsChanged();

    // Packs both lists and saves them as "Rates" and "Hours".
    void saveLists();

    // The closing query of every route that ends the program (the window's
    // own close, the preview's close): saves the lists and, when the store
    // still lacks changes, asks whether to close anyway. True: go on closing.
    bool mayClose();

    // Failed store writes of this session (only the first was shown).
    int storeWriteFailures() const { return storeFailures_.count(); }

    // "Start Creating Template" calls this; nothing happens until one is set.
    void setGenerationRunner(std::function<void()> runner);

    // The hourglass of a long operation; while it shows, hovering changes nothing.
    void setBusyCursor(bool busy);
    WindowPointer windowPointer() const { return pointer_; }
    bool hasCustomPointer() const { return customPointer_.has_value(); }

    // Controls, named as the rest of the program knows them.
    // The size the window opens with when none is remembered.
    static QSize designedSize();

    QScrollArea* scroller_ = nullptr;      // holds the page when the window is smaller
    QWidget* body_ = nullptr;              // the page: every control below lies on it
    QPushButton* startButton_ = nullptr;   // Start Creating Template
    QPushButton* helpButton_ = nullptr;    // Help
    QPushButton* sampleButton_ = nullptr;  // Load Sample/Example Data
    QGroupBox* generalBox_ = nullptr;
    SelectAllLineEdit* companyEdit_ = nullptr;
    SelectAllLineEdit* addressEdit_ = nullptr;
    SelectAllLineEdit* cityEdit_ = nullptr;
    SelectAllLineEdit* phoneEdit_ = nullptr;
    SelectAllLineEdit* employeeEdit_ = nullptr;
    SelectAllLineEdit* supervisorEdit_ = nullptr;
    QDateEdit* weekStartEdit_ = nullptr;
    QTabWidget* listTabs_ = nullptr;
    QWidget* ratesPage_ = nullptr;  // "Hour Rates" page
    SelectAllLineEdit* rateNameEdit_ = nullptr;
    SelectAllLineEdit* rateAmountEdit_ = nullptr;
    QPushButton* editRateButton_ = nullptr;    // Edit Selected
    QPushButton* addRateButton_ = nullptr;     // Add Rate
    QPushButton* removeRateButton_ = nullptr;  // Remove Rate
    QTreeWidget* rateList_ = nullptr;
    QWidget* hoursPage_ = nullptr;  // "Employee Hours" page
    QComboBox* dayChoice_ = nullptr;
    QComboBox* rateChoice_ = nullptr;
    DurationEdit* hoursEdit_ = nullptr;
    QPushButton* addHoursButton_ = nullptr;     // Add
    QPushButton* updateHoursButton_ = nullptr;  // Update Selected
    QPushButton* deleteHoursButton_ = nullptr;  // Delete Selected
    QTreeWidget* hoursList_ = nullptr;
    QWidget* weekPage_ = nullptr;  // "Week" page
    WeekGrid* weekGrid_ = nullptr;
    QPushButton* newWeekButton_ = nullptr;  // New Week
    EntryMenu* menu_ = nullptr;

    // The two lists behind the list views and the week grid; every change of
    // them is one undoable step and is announced by its `changed` signal.
    TimesheetLists& lists() { return lists_; }
    QAction* importHoursAction_ = nullptr;  // Import Hours from CSV…

    // File → "Import Hours from CSV…": asks for the file, then shows the import window.
    void importHoursFromCsv();
    // The import window for `path`; on Import its rows join the hours list
    // (and the week start moves when the user chose so), stored at once.
    void importHoursFrom(const QString& path);

    // Timesheet files (timesheet/timesheet_file_io.h) in the File menu.
    QAction* openTimesheetAction_ = nullptr;  // Open Timesheet…
    QAction* saveTimesheetAction_ = nullptr;  // Save Timesheet As…
    QMenu* recentMenu_ = nullptr;             // Open Recent
    // File → "Open Timesheet…": asks for the file, then opens it.
    void openTimesheet();
    // Reads the file; a bad one is told and changes nothing. When the window
    // holds typed data, asks first ("No" keeps everything). Then every field
    // and both lists are the file's, as one step that Undo takes back, and
    // everything reaches the settings store as typing does.
    void openTimesheetFrom(const QString& path);
    // File → "Save Timesheet As…": the whole timesheet to a file of the
    // user's choice, all or nothing.
    void saveTimesheetAs();
    // The file last opened or saved in this session, named in the title.
    const QString& timesheetFile() const { return timesheetFile_; }
    // The recent list as stored, newest first.
    QStringList recentTimesheets() const;
    // The Open Recent menu from the stored list (run each time it opens).
    void showRecentTimesheets();

    // Event procedures.
    void onHelpClicked();
    void onEditRateClicked();
    void onAddHoursClicked();
    void onDeleteHoursClicked();
    void onStartClicked();
    void onSampleClicked();
    void onRateClicked(QTreeWidgetItem* item);
    void onAddRateClicked();
    void onRemoveRateClicked();
    void onUpdateHoursClicked();
    void onNewWeek();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

  private:
    void buildWindow();
    void buildGeneralFrame();
    void buildRatesPage();
    void buildHoursPage();
    void buildWeekPage();
    void addImportHoursAction();
    void addTimesheetFileActions();
    void timesheetFileUsed(const QString& path);
    void setRecentTimesheets(const QStringList& paths);
    void setTabOrder();
    void connectHandlers();
    void watchHover();

    void load();
    void unpackInto(Guarded& g, QTreeWidget* list,
                    const std::function<std::vector<QStringList>()>& read, int firstLine);
    void addDefaultRates(Guarded& g);

    // The two choices of the hours page, from the week start and the rate list.
    void fillDayChoice();
    void fillRateChoice();
    void fillRateChoiceFrom(const std::vector<RateEntry>& rates);

    // The list views, the choices and the grid after a change of the lists.
    void onListsChanged(TimesheetLists::Parts parts);
    void showLists();
    void showCurrentRate();
    void onHoursSelectionChanged();
    QList<int> selectedHoursRows() const;
    void selectHoursRow(int row);
    // The entry the hours inputs describe; nothing (and the user told why)
    // when a choice or the hours are missing.
    std::optional<HoursEntry> entryFromInputs();
    bool holdsTypedData() const;
    // Tells the user what is wrong with a rate the boxes hold, if anything.
    bool rateAcceptable(const QString& description, const QString& rate);

    void saveField(const char* key, const QString& text);
    // One write of the settings store. A failure is shown only when it is the
    // session's first and `tell` is set; the title shows whether the store
    // holds every change.
    bool writeStore(const QString& what, const std::function<void(TimesheetStore&)>& write,
                    bool tell = true);
    void showStoreState();
    // The timesheet in the settings store: every load and save goes through it.
    TimesheetStore timesheet() const { return TimesheetStore(*options_.store); }
    void onWeekStartChanged();
    void onListTabChanged(int index);
    void setPointer(WindowPointer pointer);
    std::optional<HoverZone> zoneOf(QObject* watched, QEvent* event) const;

    EntryWindowOptions options_;
    TimesheetLists lists_;
    bool listsLoaded_ = false;
    QList<QWidget*> tabOrder_;
    std::function<void()> generationRunner_;
    std::optional<QCursor> customPointer_;
    WindowPointer pointer_ = WindowPointer::Arrow;
    bool placed_ = false;
    bool keepStoredDate_ = false;  // the date shown stands in for unreadable stored text
    bool restoring_ = false;       // the load fills the controls: nothing is written back
    bool running_ = false;         // a generation run is under way
    StoreWriteFailures storeFailures_;
    QString timesheetFile_;
    RememberedFolder openFolder_{dialog_folder::kOpenTimesheetKey};
    RememberedFolder saveFolder_{dialog_folder::kSaveTimesheetKey};
    RememberedFolder importFolder_{dialog_folder::kHoursImportKey};
};

}  // namespace tallowby
